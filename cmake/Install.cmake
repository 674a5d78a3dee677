# cmake --install: the binary in bin/, its data in share/velm-orra/ (the program looks there,
# beside ../share from its own folder), a desktop entry and the icon in the usual sizes.
install(TARGETS velm-orra RUNTIME DESTINATION bin)
install(FILES ${VO_GAME_DIR}/strings.txt ${VO_GAME_DIR}/sounds.txt DESTINATION share/velm-orra)
install(DIRECTORY ${VO_GAME_DIR}/graphics ${VO_GAME_DIR}/sounds ${VO_GAME_DIR}/music
        DESTINATION share/velm-orra)
install(FILES ${PROJECT_SOURCE_DIR}/shell/velm-orra.desktop DESTINATION share/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/artgen/icons/velm-orra-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME velm-orra.png)
endforeach()

# cmake --install: the binary in bin/, its data in share/velm-orra/ (the program looks there,
# beside ../share from its own folder), the desktop entry, the AppStream metainfo and the icons,
# all named by the application id. `cpack -G DEB` in the build folder makes the Debian package of
# the same tree under /usr, with stripped binaries and the shared libraries it needs declared.
set(VO_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
set(VO_ICON_DIR ${CMAKE_BINARY_DIR}/artgen/icons)

install(TARGETS velm-orra RUNTIME DESTINATION bin)
install(FILES ${VO_GAME_DIR}/strings.txt ${VO_GAME_DIR}/sounds.txt ${VO_GAME_DIR}/icon.bmp
        DESTINATION share/velm-orra)
install(DIRECTORY ${VO_GAME_DIR}/graphics ${VO_GAME_DIR}/sounds ${VO_GAME_DIR}/music
                  ${VO_GAME_DIR}/lang ${VO_GAME_DIR}/@2x
        DESTINATION share/velm-orra)
install(FILES ${VO_DESKTOP_DIR}/${VO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${VO_DESKTOP_DIR}/${VO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size ${VO_ICON_SIZES})
  install(FILES ${VO_ICON_DIR}/${VO_APP_ID}-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${VO_APP_ID}.png)
endforeach()
install(FILES ${VO_ICON_DIR}/${VO_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME velm-orra)
set(CPACK_PACKAGE_VENDOR "The Velm Orra developers")
set(CPACK_PACKAGE_CONTACT "The Velm Orra developers <velm-orra@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ball puzzle: line up five balls of a colour")
set(CPACK_PACKAGE_DESCRIPTION
    "Velm Orra is a single-player ball puzzle on a 9 x 9 board. Send a ball along a free path;\n\
five or more of one colour in a line vanish and score. Special balls, a chain bonus and three\n\
modes, each with its own high-score table. In English, German, French, Spanish, Italian, Dutch\n\
and Portuguese.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/velmorra/velm-orra")
# dpkg-shlibdeps turns the binary's shared libraries into Depends (SDL2, SDL2_mixer, libjpeg,
# the C and C++ runtimes) with the versions the build linked against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

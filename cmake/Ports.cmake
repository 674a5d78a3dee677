# The browser and Windows builds: the game alone (no generator, tests or benchmarks), linked
# against static SDL2, SDL2_mixer and libjpeg built for the target from Debian's source packages
# (scripts/cross.sh keeps them in a cache outside the clone), with the data a Linux build
# generated (VO_DATA_DIR). The libraries are passed by path: emscripten's own "-lSDL2" would fetch
# its SDL port from the network.
set(VO_SDL_PREFIX "" CACHE PATH "Installed SDL2 and SDL2_mixer for the target")
set(VO_JPEG_PREFIX "" CACHE PATH "Installed libjpeg for the target")
if(NOT VO_SDL_PREFIX OR NOT VO_JPEG_PREFIX OR NOT VO_DATA_DIR)
  message(FATAL_ERROR
    "The ${VO_HOST} build needs VO_SDL_PREFIX, VO_JPEG_PREFIX and VO_DATA_DIR (see build-${VO_HOST}.sh)")
endif()
set(VO_TESTS OFF CACHE BOOL "" FORCE)
set(VO_BENCH OFF CACHE BOOL "" FORCE)
set(VO_FUZZ OFF CACHE BOOL "" FORCE)
set(VO_SANITIZE OFF CACHE BOOL "" FORCE)

# vo_port_library(<target> <archive> <include dir> [link items...])
function(vo_port_library target archive include)
  if(NOT EXISTS ${archive})
    message(FATAL_ERROR "${archive} is missing")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${archive}
                        INTERFACE_INCLUDE_DIRECTORIES ${include}
                        INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

# What a static SDL2 needs of the system: the libraries its pkg-config file names beside itself.
set(VO_SDL_SYSTEM_LIBS "")
if(VO_HOST STREQUAL "windows")
  file(STRINGS ${VO_SDL_PREFIX}/lib/pkgconfig/sdl2.pc libs REGEX "^Libs(.private)?:")
  string(REGEX REPLACE "Libs(.private)?:" " " libs "${libs}")
  separate_arguments(libs UNIX_COMMAND "${libs}")
  list(FILTER libs INCLUDE REGEX "^-l")
  list(REMOVE_ITEM libs -lmingw32 -lSDL2main -lSDL2)
  list(REMOVE_DUPLICATES libs)
  list(TRANSFORM libs REPLACE "^-l" "")
  set(VO_SDL_SYSTEM_LIBS ${libs})
endif()
vo_port_library(SDL2::SDL2 ${VO_SDL_PREFIX}/lib/libSDL2.a ${VO_SDL_PREFIX}/include/SDL2
                ${VO_SDL_SYSTEM_LIBS})
vo_port_library(SDL2_mixer::SDL2_mixer ${VO_SDL_PREFIX}/lib/libSDL2_mixer.a
                ${VO_SDL_PREFIX}/include/SDL2 SDL2::SDL2)
vo_port_library(JPEG::JPEG ${VO_JPEG_PREFIX}/lib/libjpeg.a ${VO_JPEG_PREFIX}/include)
if(VO_HOST STREQUAL "windows")
  # The decompressor of the data pack that holds the pictures.
  set(VO_ZSTD_PREFIX "" CACHE PATH "Installed libzstd for the target")
  if(NOT VO_ZSTD_PREFIX)
    message(FATAL_ERROR "The windows build needs VO_ZSTD_PREFIX (see build-windows.sh)")
  endif()
  vo_port_library(zstd::zstd ${VO_ZSTD_PREFIX}/lib/libzstd.a ${VO_ZSTD_PREFIX}/include)
endif()

# The files of the game data, as the Linux package installs them.
set(VO_DATA_ITEMS strings.txt sounds.txt icon.bmp graphics sounds music lang)

# vo_package_port(): what the game binary needs on the target, after shell/ made it.
function(vo_package_port)
  if(VO_HOST STREQUAL "web")
    vo_package_web()
  else()
    vo_package_windows()
  endif()
endfunction()

# The page, in build-web/web/: index.html (the game's page), boot.js, sw.js (its service worker),
# manifest.webmanifest with icon-192.png and icon-512.png, the program (index.js, index.wasm),
# and the game data under data/ in parts that the page fetches as they are needed (shell/
# DataNeeds.h names them): data/<part>.data holds a part's files packed and compressed with LZ4
# (unpacked file by file as the game reads them), data/<part>.data.gz the same gzipped for the
# transfer (the page unpacks it), data/<part>.js its loader, which puts the files at /game.
function(vo_package_web)
  set(web ${PROJECT_SOURCE_DIR}/platform/web)
  set(site ${CMAKE_BINARY_DIR}/web)
  set(VO_WEB_ICONS "${VO_DATA_DIR}/../artgen/icons" CACHE PATH
      "The generated icons (the Linux build's artgen/icons)")
  set_target_properties(velm-orra PROPERTIES OUTPUT_NAME index SUFFIX .js
                        RUNTIME_OUTPUT_DIRECTORY ${site})
  target_link_options(velm-orra PRIVATE
    # Pictures live in the program's memory (about 80 MB at play); it grows as needed.
    -sINITIAL_MEMORY=134217728 -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web -lidbfs.js
    # SDL's audio resumes the page's audio context on the first click or key, and calls back
    # through dynCall. The names start with "$", so they come from a file.
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${web}/library-functions.json"
    "SHELL:--pre-js ${web}/pre.js"
    # The data parts' loaders need the file system's calls and the LZ4 unpacker.
    -sFORCE_FILESYSTEM=1 -sLZ4=1)
  set_property(TARGET velm-orra APPEND PROPERTY LINK_DEPENDS ${web}/pre.js)

  file(GLOB languages RELATIVE ${VO_DATA_DIR}/lang CONFIGURE_DEPENDS ${VO_DATA_DIR}/lang/*)
  set(clear "*/graphics/balls/clear/*")
  set(parts "")
  vo_web_part(base ITEMS graphics sounds music strings.txt sounds.txt icon.bmp EXCLUDE ${clear})
  vo_web_part(symbols ITEMS graphics/balls/clear)
  vo_web_part(2x ITEMS @2x/graphics EXCLUDE ${clear})
  vo_web_part(2x-symbols ITEMS @2x/graphics/balls/clear)
  foreach(language ${languages})
    vo_web_part(lang-${language} ITEMS lang/${language})
    vo_web_part(2x-lang-${language} ITEMS @2x/lang/${language})
  endforeach()

  # The page's files with the build's id in them, last: the id is made from everything else.
  set(page ${web}/index.html ${web}/boot.js ${web}/sw.js ${web}/manifest.webmanifest)
  add_custom_command(OUTPUT ${site}/index.html ${site}/sw.js
    COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DWEB=${web} -DICONS=${VO_WEB_ICONS}
            -DAPP_ID=${VO_APP_ID} -P ${PROJECT_SOURCE_DIR}/cmake/WebSite.cmake
    DEPENDS velm-orra ${parts} ${page} ${PROJECT_SOURCE_DIR}/cmake/WebSite.cmake
    VERBATIM)
  add_custom_target(vo_web_site ALL DEPENDS ${site}/index.html)
endfunction()

# vo_web_part(<name> ITEMS <data items...> [EXCLUDE <patterns...>]): the part <name> of the page's
# data from the items of the data folder (files or folders, placed at /game/<item>), without the
# files whose path matches a pattern; its files are added to `parts` in the caller.
function(vo_web_part name)
  cmake_parse_arguments(P "" "" "ITEMS;EXCLUDE" ${ARGN})
  set(out ${CMAKE_BINARY_DIR}/web/data/${name})
  set(preload "")
  set(inputs "")
  foreach(item ${P_ITEMS})
    # The packager reads "@" as the separator of a source and its place; "@@" is an "@".
    string(REPLACE "@" "@@" escaped "${item}")
    list(APPEND preload "${VO_DATA_DIR}/${escaped}@/game/${escaped}")
    if(IS_DIRECTORY ${VO_DATA_DIR}/${item})
      file(GLOB_RECURSE files CONFIGURE_DEPENDS ${VO_DATA_DIR}/${item}/*)
      list(APPEND inputs ${files})
    else()
      list(APPEND inputs ${VO_DATA_DIR}/${item})
    endif()
  endforeach()
  set(exclude "")
  if(P_EXCLUDE)
    set(exclude --exclude ${P_EXCLUDE})
  endif()
  add_custom_command(OUTPUT ${out}.data ${out}.js ${out}.data.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web/data
    COMMAND python3 ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py ${out}.data --preload
            ${preload} ${exclude} --lz4 --no-node --js-output=${out}.js
    COMMAND gzip -9nf -k ${out}.data
    DEPENDS ${inputs}
    COMMENT "Packing the page's data part ${name}"
    VERBATIM)
  set(parts ${parts} ${out}.data ${out}.js ${out}.data.gz PARENT_SCOPE)
endfunction()

# velm-orra.exe with its icon, version information and manifest; the C and C++ runtimes and
# SDL linked in, so that the data folder beside it is all it needs. A window program that still
# starts at main().
function(vo_package_windows)
  set(VO_WINDOWS_ICON "" CACHE FILEPATH "The program's icon (.ico)")
  set(windows ${PROJECT_SOURCE_DIR}/platform/windows)
  string(REPLACE "." "," VO_VERSION_COMMAS "${PROJECT_VERSION}.0.0")
  set(VO_VERSION_TEXT ${PROJECT_VERSION})
  configure_file(${windows}/velm-orra.rc.in ${CMAKE_BINARY_DIR}/velm-orra.rc @ONLY)
  target_sources(velm-orra PRIVATE ${CMAKE_BINARY_DIR}/velm-orra.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/velm-orra.rc APPEND PROPERTY OBJECT_DEPENDS
               ${windows}/velm-orra.manifest ${VO_WINDOWS_ICON})
  set_target_properties(velm-orra PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/windows)
  target_link_options(velm-orra PRIVATE -s -static -static-libgcc -static-libstdc++
                      -Wl,--subsystem,windows -Wl,--entry,mainCRTStartup)
endfunction()

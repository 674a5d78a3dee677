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

if(VO_HOST STREQUAL "windows")
  # GCC 12 at -O3 warns of an overlap in "text" + std::string that cannot happen (GCC bug 105651).
  add_compile_options(-Wno-restrict)
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

# index.html, index.js, index.wasm and index.data (the game data, at /game in the page's files).
function(vo_package_web)
  set(web ${PROJECT_SOURCE_DIR}/platform/web)
  set(preload "")
  foreach(item ${VO_DATA_ITEMS})
    # SHELL: keeps CMake from merging the repeated option.
    list(APPEND preload "SHELL:--preload-file ${VO_DATA_DIR}/${item}@/game/${item}")
  endforeach()
  set_target_properties(velm-orra PROPERTIES OUTPUT_NAME index SUFFIX .html
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/web)
  target_link_options(velm-orra PRIVATE
    # Pictures live in the program's memory (about 80 MB at play); it grows as needed.
    -sINITIAL_MEMORY=134217728 -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web -lidbfs.js
    # SDL's audio resumes the page's audio context on the first click or key, and calls back
    # through dynCall. The names start with "$", so they come from a file.
    "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${web}/library-functions.json"
    # Debian's emscripten lacks the HTML minifier.
    -sMINIFY_HTML=0
    "SHELL:--shell-file ${web}/shell.html" "SHELL:--pre-js ${web}/pre.js"
    # The data is packed compressed and unpacked file by file as the game reads it.
    -sLZ4=1 ${preload})
  set_property(TARGET velm-orra APPEND PROPERTY LINK_DEPENDS ${web}/shell.html ${web}/pre.js
               ${VO_DATA_DIR}/strings.txt)
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

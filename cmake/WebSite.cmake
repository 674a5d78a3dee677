# cmake -DSITE=<build-web/web> -DWEB=<platform/web> -DICONS=<icon folder> -DAPP_ID=<id>
#       -P WebSite.cmake
# Completes the page in SITE once the program and the data parts are there: boot.js, the manifest
# and its icons beside them, then index.html and sw.js with the build's id, which names every
# file the page asks for (?v=<id>) and the service worker's cache. The id is made from the
# contents of every other file of the page: a build that changes any of them has a new id, and
# the service worker of that build replaces the old cache.
foreach(var SITE WEB ICONS APP_ID)
  if(NOT ${var})
    message(FATAL_ERROR "WebSite.cmake needs -D${var}=...")
  endif()
endforeach()

file(COPY ${WEB}/boot.js ${WEB}/manifest.webmanifest DESTINATION ${SITE})
foreach(size 192 512)
  if(NOT EXISTS ${ICONS}/${APP_ID}-${size}.png)
    message(FATAL_ERROR "${ICONS}/${APP_ID}-${size}.png is missing")
  endif()
  file(COPY_FILE ${ICONS}/${APP_ID}-${size}.png ${SITE}/icon-${size}.png ONLY_IF_DIFFERENT)
endforeach()

file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files index.html sw.js)
list(SORT files)
set(sums "")
foreach(file ${files})
  file(SHA256 ${SITE}/${file} sum)
  string(APPEND sums "${file} ${sum}\n")
endforeach()
string(SHA256 VO_BUILD "${sums}")
string(SUBSTRING ${VO_BUILD} 0 16 VO_BUILD)
configure_file(${WEB}/index.html ${SITE}/index.html @ONLY)
configure_file(${WEB}/sw.js ${SITE}/sw.js @ONLY)
message(STATUS "The page's build id: ${VO_BUILD}")

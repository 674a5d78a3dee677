#!/usr/bin/env bash
# Shared set-up of the browser and Windows builds (build-web.sh, build-windows.sh, test.sh):
# the Debian packages of the two tool chains, SDL2 and SDL2_mixer built from Debian's source
# packages for the target, kept in a cache outside the clone and reused while the versions and
# the recipe below stay the same. Source after scripts/setup.sh.
set -euo pipefail

VO_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/velm-orra
vo_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The source package version of an installed binary package (libsdl2-dev -> 2.26.5+dfsg-1).
vo_source_version() {
  dpkg-query -W -f='${source:Version}' "$1"
}

# vo_enable_deb_src <source package> <version>: adds deb-src entries for the suites Debian's
# binary packages come from (the release, its updates and its security fixes) when apt knows no
# such source package: a fresh machine's sources list has binary entries only.
vo_enable_deb_src() {
  if apt-cache showsrc "$1" 2>/dev/null | grep -qx "Version: $2"; then
    return 0
  fi
  local uri='' codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }' \
      /etc/apt/sources.list)
  fi
  uri=${uri:-http://deb.debian.org/debian}
  local security=''
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    security=$(awk '/^URIs:/ { u = $2 } /^Suites:.*-security/ { print u; exit }' \
      /etc/apt/sources.list.d/debian.sources)
  fi
  security=${security:-http://deb.debian.org/debian-security}
  echo "cross: adding deb-src entries ($uri $codename, its updates and security) for $1 $2"
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  {
    printf 'Types: deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: %s\n\n' \
      "$uri" "$codename" "$codename" "$keyring"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s-security\nComponents: main\nSigned-By: %s\n' \
      "$security" "$codename" "$keyring"
  } | vo_sudo tee /etc/apt/sources.list.d/velm-orra-deb-src.sources >/dev/null
  vo_sudo apt-get update -q
}

# vo_source_tree <source package> <version>: unpacks the source package (Debian's patches
# applied) under $VO_CACHE/src once; prints its folder.
vo_source_tree() {
  local package=$1 version=$2
  local upstream=${version#*:}
  upstream=${upstream%-*}
  local dir=$VO_CACHE/src/$package-$upstream
  if [ ! -f "$dir/.unpacked" ]; then
    vo_enable_deb_src "$package" "$version" >&2
    mkdir -p "$VO_CACHE/src"
    rm -rf "$dir"
    echo "cross: fetching the source package $package $version" >&2
    if ! (cd "$VO_CACHE/src" && apt-get source -q "$package=$version" >&2); then
      # A mirror may list a security update's source without carrying it: the release's own
      # source of the same upstream version serves then.
      local codename
      codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
      echo "cross: $package $version cannot be fetched; taking $codename's $package" >&2
      (cd "$VO_CACHE/src" && apt-get source -q "$package/$codename" >&2)
    fi
    [ -d "$dir" ] || { echo "cross: the source package gave no $dir" >&2; return 1; }
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

# The cmake arguments of each target; part of the cache key, so a change rebuilds. The source
# versions are those of the installed development packages.
vo_sdl_cmake_args() {
  case $1 in
    web)
      echo -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
      ;;
    windows)
      echo -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_STATIC_PIC=OFF \
        -DSDL_LIBC=ON -DSDL_RENDER_D3D=ON -DSDL_VULKAN=OFF -DSDL_HIDAPI_LIBUSB=OFF
      ;;
  esac
}
vo_mixer_cmake_args() {
  # WAVE and OGG through SDL_mixer's own decoders; nothing else, and nothing loaded at run time.
  echo -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_WAVE=ON \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVPACK=OFF
}

# The first line of the target compiler's version: part of the cache keys.
vo_target_compiler() {
  case $1 in
    web) NODE_PATH=/usr/share/nodejs emcc --version | head -n1 ;;
    windows) x86_64-w64-mingw32-gcc-posix --version | head -n1 ;;
  esac
}

# vo_cmake_for <target> <cmake args...>: cmake configured for the target's tool chain.
vo_cmake_for() {
  local target=$1
  shift
  case $target in
    web) NODE_PATH=/usr/share/nodejs emcmake cmake "$@" ;;
    windows) cmake -DCMAKE_TOOLCHAIN_FILE="$VO_ROOT/cmake/mingw-w64.cmake" "$@" ;;
  esac
}

# vo_sdl_for <web|windows>: builds SDL2 and SDL2_mixer for the target unless the cache holds
# them; sets VO_SDL_PREFIX to the installed tree (lib/libSDL2.a, include/SDL2/...).
vo_sdl_for() {
  local target=$1
  local sdl_version mixer_version recipe key
  sdl_version=$(vo_source_version libsdl2-dev)
  mixer_version=$(vo_source_version libsdl2-mixer-dev)
  recipe=$( (vo_sdl_cmake_args "$target"; vo_mixer_cmake_args; vo_target_compiler "$target";
    cat "$VO_ROOT/cmake/mingw-w64.cmake") | sha256sum | cut -c1-12)
  key="$target-sdl2-$sdl_version-mixer-$mixer_version-$recipe"
  VO_SDL_PREFIX=$VO_CACHE/sdl/$key
  if [ -f "$VO_SDL_PREFIX/.complete" ]; then
    echo "cross: SDL2 and SDL2_mixer for $target from the cache ($VO_SDL_PREFIX)"
    return 0
  fi
  local sdl_src mixer_src
  sdl_src=$(vo_source_tree libsdl2 "$sdl_version")
  mixer_src=$(vo_source_tree libsdl2-mixer "$mixer_version")
  local work=$VO_CACHE/build/$key
  rm -rf "$work" "$VO_SDL_PREFIX"
  mkdir -p "$work"
  local started=$SECONDS
  echo "cross: building SDL2 $sdl_version for $target (once; cached in $VO_SDL_PREFIX)"
  # shellcheck disable=SC2046
  vo_cmake_for "$target" -S "$sdl_src" -B "$work/sdl2" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$VO_SDL_PREFIX" $(vo_sdl_cmake_args "$target") >"$work/sdl2.log" 2>&1 ||
    { tail -n 40 "$work/sdl2.log"; return 1; }
  nice cmake --build "$work/sdl2" -j "$(nproc)" >>"$work/sdl2.log" 2>&1 ||
    { tail -n 40 "$work/sdl2.log"; return 1; }
  cmake --install "$work/sdl2" >>"$work/sdl2.log"
  echo "cross: building SDL2_mixer $mixer_version for $target"
  # shellcheck disable=SC2046
  vo_cmake_for "$target" -S "$mixer_src" -B "$work/mixer" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$VO_SDL_PREFIX" -DCMAKE_PREFIX_PATH="$VO_SDL_PREFIX" \
    -DSDL2_DIR="$VO_SDL_PREFIX/lib/cmake/SDL2" $(vo_mixer_cmake_args) >"$work/mixer.log" 2>&1 ||
    { tail -n 40 "$work/mixer.log"; return 1; }
  nice cmake --build "$work/mixer" -j "$(nproc)" >>"$work/mixer.log" 2>&1 ||
    { tail -n 40 "$work/mixer.log"; return 1; }
  cmake --install "$work/mixer" >>"$work/mixer.log"
  rm -rf "$work"
  touch "$VO_SDL_PREFIX/.complete"
  echo "cross: SDL2 and SDL2_mixer for $target built in $((SECONDS - started)) s"
}

# The version of libjpeg-turbo for the target: a static library without SIMD code (no assembler
# needed) and without the Java and TurboJPEG interfaces.
# CMake's type-size checks cannot read emscripten's output: the sizes are given.
vo_jpeg_cmake_args() {
  echo -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_JAVA=OFF -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
  if [ "$1" = web ]; then
    echo -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4
  fi
}

# vo_jpeg_for <web|windows>: libjpeg-turbo for the target, built once; sets VO_JPEG_PREFIX.
vo_jpeg_for() {
  local target=$1 version recipe key
  version=$(vo_source_version libjpeg62-turbo-dev)
  recipe=$( (vo_jpeg_cmake_args "$target"; vo_target_compiler "$target";
    cat "$VO_ROOT/cmake/mingw-w64.cmake") | sha256sum | cut -c1-12)
  key="$target-libjpeg-turbo-${version#*:}-$recipe"
  VO_JPEG_PREFIX=$VO_CACHE/jpeg/$key
  if [ -f "$VO_JPEG_PREFIX/.complete" ]; then
    echo "cross: libjpeg-turbo for $target from the cache ($VO_JPEG_PREFIX)"
    return 0
  fi
  local src work=$VO_CACHE/build/$key started=$SECONDS
  src=$(vo_source_tree libjpeg-turbo "$version")
  rm -rf "$work" "$VO_JPEG_PREFIX"
  mkdir -p "$work"
  echo "cross: building libjpeg-turbo $version for $target (once; cached in $VO_JPEG_PREFIX)"
  # shellcheck disable=SC2046
  vo_cmake_for "$target" -S "$src" -B "$work" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$VO_JPEG_PREFIX" $(vo_jpeg_cmake_args "$target") >"$work.log" 2>&1 ||
    { tail -n 40 "$work.log"; return 1; }
  nice cmake --build "$work" -j "$(nproc)" --target jpeg-static >>"$work.log" 2>&1 ||
    { tail -n 40 "$work.log"; return 1; }
  mkdir -p "$VO_JPEG_PREFIX/lib" "$VO_JPEG_PREFIX/include"
  cp "$work/libjpeg.a" "$VO_JPEG_PREFIX/lib/"
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$work/jconfig.h" "$VO_JPEG_PREFIX/include/"
  rm -rf "$work" "$work.log"
  touch "$VO_JPEG_PREFIX/.complete"
  echo "cross: libjpeg-turbo for $target built in $((SECONDS - started)) s"
}

# The compiler flags of libzstd's decompressor for the target: the C code alone (no assembler),
# without the legacy formats.
vo_zstd_flags() {
  echo -O2 -DNDEBUG -DZSTD_DISABLE_ASM -DZSTD_LEGACY_SUPPORT=0
}

# vo_zstd_for <windows>: the decompressor of libzstd (the data pack's members) for the target,
# built once from Debian's source package; sets VO_ZSTD_PREFIX (lib/libzstd.a, include/zstd.h).
vo_zstd_for() {
  local target=$1 version recipe key cc ar
  case $target in
    windows) cc=x86_64-w64-mingw32-gcc-posix ar=x86_64-w64-mingw32-ar ;;
    *) echo "cross: no libzstd recipe for $target" >&2; return 1 ;;
  esac
  local src
  src=$(vo_source_tree libzstd "$(vo_source_version libzstd-dev)")
  # The version of the source fetched (a mirror may have given the release's own).
  version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
  recipe=$( (vo_zstd_flags; vo_target_compiler "$target") | sha256sum | cut -c1-12)
  key="$target-libzstd-${version#*:}-$recipe"
  VO_ZSTD_PREFIX=$VO_CACHE/zstd/$key
  if [ -f "$VO_ZSTD_PREFIX/.complete" ]; then
    echo "cross: libzstd for $target from the cache ($VO_ZSTD_PREFIX)"
    return 0
  fi
  local work=$VO_CACHE/build/$key started=$SECONDS file
  rm -rf "$work" "$VO_ZSTD_PREFIX"
  mkdir -p "$work" "$VO_ZSTD_PREFIX/lib" "$VO_ZSTD_PREFIX/include"
  echo "cross: building the decompressor of libzstd $version for $target (once; cached in $VO_ZSTD_PREFIX)"
  for file in "$src"/lib/common/*.c "$src"/lib/decompress/*.c; do
    # shellcheck disable=SC2046
    nice "$cc" $(vo_zstd_flags) -c "$file" -o "$work/$(basename "$file" .c).o" ||
      { rm -rf "$work"; return 1; }
  done
  "$ar" rcs "$VO_ZSTD_PREFIX/lib/libzstd.a" "$work"/*.o
  cp "$src/lib/zstd.h" "$src/lib/zstd_errors.h" "$VO_ZSTD_PREFIX/include/"
  rm -rf "$work"
  touch "$VO_ZSTD_PREFIX/.complete"
  echo "cross: libzstd for $target built in $((SECONDS - started)) s"
}

# The game data of the Linux build in build/game (made by its generator): only the data target is
# built, with whatever options build/ has; a missing build/ is configured as ./play.sh does.
vo_game_data() {
  if [ ! -f "$VO_ROOT/build/CMakeCache.txt" ]; then
    echo "setup: configuring build (for the game data)"
    cmake -S "$VO_ROOT" -B "$VO_ROOT/build" -DVO_TESTS=OFF -DVO_BENCH=OFF >/dev/null
  fi
  echo "setup: generating the game data in build/game"
  cmake --build "$VO_ROOT/build" -j "$(nproc)" --target vo_gamedata
  VO_GAME_DATA=$VO_ROOT/build/game
}

# vo_build_port <web|windows> <build dir> [cmake args...]: the game for the target, on the cached
# libraries and the Linux build's data.
vo_build_port() {
  local target=$1 dir=$2
  shift 2
  echo "setup: configuring $dir ($target)"
  vo_cmake_for "$target" -S "$VO_ROOT" -B "$VO_ROOT/$dir" -DCMAKE_BUILD_TYPE=Release \
    -DVO_SDL_PREFIX="$VO_SDL_PREFIX" -DVO_JPEG_PREFIX="$VO_JPEG_PREFIX" \
    -DVO_DATA_DIR="$VO_GAME_DATA" "$@" >/dev/null
  echo "setup: building $dir"
  NODE_PATH=/usr/share/nodejs cmake --build "$VO_ROOT/$dir" -j "$(nproc)" --target velm-orra
}

# vo_cross_libraries: the libraries of both targets, built side by side: their configure steps
# run one test program at a time, so the two builds share two cores well. Each build's output is
# shown when both are done.
vo_cross_libraries() {
  vo_source_tree libsdl2 "$(vo_source_version libsdl2-dev)" >/dev/null
  vo_source_tree libsdl2-mixer "$(vo_source_version libsdl2-mixer-dev)" >/dev/null
  vo_source_tree libjpeg-turbo "$(vo_source_version libjpeg62-turbo-dev)" >/dev/null
  vo_source_tree libzstd "$(vo_source_version libzstd-dev)" >/dev/null
  local logs failed=0 web windows
  logs=$(mktemp -d)
  (set -e; vo_sdl_for web; vo_jpeg_for web) >"$logs/web.txt" 2>&1 &
  web=$!
  (set -e; vo_sdl_for windows; vo_jpeg_for windows; vo_zstd_for windows) >"$logs/windows.txt" 2>&1 &
  windows=$!
  wait "$web" || failed=1
  wait "$windows" || failed=1
  cat "$logs/web.txt" "$logs/windows.txt"
  rm -rf "$logs"
  return "$failed"
}

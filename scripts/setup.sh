#!/usr/bin/env bash
# Shared set-up of play.sh and test.sh: installs the Debian packages the build needs (only the
# missing ones), then configures and builds into build/ (and, for test.sh, the sanitizer build).
# Idempotent; prints what it does.
set -euo pipefail

VO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Never more compile jobs than processors: the builds below pass -j "$(nproc)", and a build started
# without one (cpack's, a tool chain's own) takes the same bound from the environment.
export CMAKE_BUILD_PARALLEL_LEVEL=$(nproc)
export EMCC_CORES=$(nproc)

VO_PACKAGES=(
  cmake g++ make pkg-config
  libsdl2-dev libsdl2-mixer-dev libjpeg62-turbo-dev libx11-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core libvorbis-dev libogg-dev libzstd-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils xauth
  appstream desktop-file-utils dpkg-dev
  clang libclang-rt-14-dev clang-format clang-tidy
)
# The browser and Windows builds and their smoke tests (build-web.sh, build-windows.sh, test.sh):
# the two tool chains, Wine to run the Windows program, Chromium to run the page, and dpkg-dev
# to unpack the source packages of SDL2, SDL2_mixer, libjpeg and libzstd (scripts/cross.sh);
# NSIS and zip make the Windows installer and download, unzip unpacks it again.
VO_CROSS_PACKAGES=(
  emscripten g++-mingw-w64-x86-64-posix wine wine64 chromium dpkg-dev
  nsis zip unzip
)

# vo_install_packages [packages...]: the missing ones of the list (default VO_PACKAGES).
vo_install_packages() {
  local wanted=("$@")
  [ $# -gt 0 ] || wanted=("${VO_PACKAGES[@]}")
  local missing=()
  local p
  for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all ${#wanted[@]} Debian packages are present"
    return 0
  fi
  echo "setup: installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# vo_build <build dir> [extra cmake args...]
vo_build() {
  local dir=$1
  shift
  echo "setup: configuring $dir"
  cmake -S "$VO_ROOT" -B "$dir" "$@" >/dev/null
  echo "setup: building $dir"
  cmake --build "$dir" -j "$(nproc)"
}

# vo_build_sanitized <build dir> <generated data folder>: the libraries, the tests and the
# libFuzzer programs with clang under AddressSanitizer and UndefinedBehaviorSanitizer; the game
# data of another build is reused, the benchmarks are left out.
vo_build_sanitized() {
  local dir=$1 data=$2
  echo "setup: configuring $dir (clang, AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer)"
  CC=clang CXX=clang++ cmake -S "$VO_ROOT" -B "$dir" -DVO_SANITIZE=ON -DVO_FUZZ=ON -DVO_BENCH=OFF \
    -DVO_DATA_DIR="$data" >/dev/null
  echo "setup: building $dir"
  cmake --build "$dir" -j "$(nproc)"
}

#!/usr/bin/env bash
# Installs what is missing, checks the formatting of every source file, builds, runs every test
# through CTest and the static checks (.clang-tidy); then builds the game and its tests again with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize, on the data the
# first build generated) and runs the tests and the fuzzers there. Between the two it builds the
# game for the browser and for Windows and runs a smoke test of each. Exits non-zero on any
# failure. VO_SANITIZE=0 ./test.sh leaves out the sanitizer part, VO_CROSS=0 the browser and
# Windows builds.
#
# ./test.sh --quick builds the same way and runs only the tests labelled "unit": the quick loop
# while working. The full run (no option) is what CI runs.
set -euo pipefail
cd "$(dirname "$0")"
quick=0
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    -h | --help)
      echo "Usage: ./test.sh [--quick]"
      echo "  (none)   the formatting, every test, the static checks, then the sanitizer build and"
      echo "           the fuzzers (what CI runs)"
      echo "  --quick  build, then only the tests labelled \"unit\""
      exit 0
      ;;
    *)
      echo "test.sh: unknown option \"$arg\" (try --help)" >&2
      exit 2
      ;;
  esac
done
source scripts/setup.sh
source scripts/checks.sh
vo_install_packages
if [ "${VO_CROSS:-1}" != 0 ]; then vo_install_packages "${VO_CROSS_PACKAGES[@]}"; fi
started=$SECONDS
[ "$quick" = 1 ] || vo_check_format
# Tests and benchmarks on, whatever an earlier ./play.sh configured build/ with.
vo_build build -DVO_TESTS=ON -DVO_BENCH=ON
if [ "$quick" = 1 ]; then
  echo "test.sh: running the unit tests"
  ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" -L '^unit$'
  echo "test.sh: the unit tests passed ($((SECONDS - started)) s)"
  exit 0
fi
echo "test.sh: validating the desktop entry and the AppStream metadata"
desktop-file-validate desktop/io.github.velmorra.velm_orra.desktop
appstreamcli validate --no-net --pedantic desktop/io.github.velmorra.velm_orra.metainfo.xml
echo "test.sh: running the tests"
# No test found is a failure, not a pass.
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)"
echo "test.sh: the tests passed ($((SECONDS - started)) s so far)"
tidy_started=$SECONDS
vo_check_tidy build
echo "test.sh: the static checks took $((SECONDS - tidy_started)) s"
if [ "${VO_CROSS:-1}" != 0 ]; then
  # The same game in a browser and on Windows: built from the clone (SDL and libjpeg come from
  # the cache outside it once built), then each started and played a little.
  source scripts/cross.sh
  vo_cross_libraries
  # The day's deal on Linux, for three days, which both builds must deal alike.
  daily=build/daily-deals.txt
  for day in 2025-01-01 2026-06-21 2031-12-31; do
    build/game/velm-orra --autoplay --daily "$day" --max-moves 1 | sed -n 1p
  done >"$daily"
  echo "test.sh: the browser build and its smoke test in headless Chromium"
  ./build-web.sh
  node tests/ports/web_smoke.mjs dist/web build-web/shots "$daily"
  echo "test.sh: the Windows build, its zip and installer, and their smoke test under Wine"
  ./build-windows.sh
  version=$(sed -n 's/^project(VelmOrra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  bash tests/e2e/with_xvfb.sh 180 tests/ports/windows_smoke.sh "dist/velm-orra-$version-windows.zip" \
    "dist/velm-orra-$version-setup.exe" build-windows/shots "$daily"
  echo "test.sh: the browser and Windows builds passed ($((SECONDS - started)) s so far)"
fi
if [ "${VO_SANITIZE:-1}" != 0 ]; then
  vo_build_sanitized build-sanitize "$VO_ROOT/build/game"
  echo "test.sh: running the tests and the fuzzers under the sanitizers"
  # A sanitizer report stops the program with a stack trace; a fuzzer that crashes, leaks,
  # hangs (10 s) or exceeds 2 GB fails its test.
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j "$(nproc)"
fi
echo "test.sh: all tests passed ($((SECONDS - started)) s)"

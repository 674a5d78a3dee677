#!/usr/bin/env bash
# Installs what is missing, checks the formatting of every source file, builds, runs every test
# through CTest and the static checks (.clang-tidy); then builds the game and its tests again with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize, on the data the
# first build generated) and runs the tests and the fuzzers there. Exits non-zero on any failure.
# VO_SANITIZE=0 ./test.sh leaves out the second part.
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
desktop-file-validate desktop/io.github.velmorra.VelmOrra.desktop
appstreamcli validate --no-net desktop/io.github.velmorra.VelmOrra.metainfo.xml
echo "test.sh: running the tests"
# No test found is a failure, not a pass.
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)"
echo "test.sh: the tests passed ($((SECONDS - started)) s so far)"
tidy_started=$SECONDS
vo_check_tidy build
echo "test.sh: the static checks took $((SECONDS - tidy_started)) s"
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

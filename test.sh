#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vo_install_packages
vo_build build
echo "test.sh: running the tests"
ctest --test-dir build --output-on-failure -j "$(nproc)"
echo "test.sh: all tests passed"

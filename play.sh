#!/usr/bin/env bash
# Installs what is missing, builds, generates the game data and starts Velm Orra in a window.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vo_install_packages
vo_build build -DVO_TESTS=OFF -DVO_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play.sh: no display (DISPLAY is not set), so the game cannot open its window."
  exit 1
fi
exec ./build/game/velm-orra "$@"

#!/usr/bin/env bash
# Builds Velm Orra for web browsers into dist/web/: the page (index.html, boot.js, its service
# worker sw.js, manifest.webmanifest and icons), the program (index.js, index.wasm) and the game
# data in parts under data/, fetched as the player's screen and language need them. Serve the
# folder over HTTP, e.g. `python3 -m http.server -d dist/web 8000`, and open
# http://127.0.0.1:8000/. Installs what is missing (Debian's emscripten), builds SDL2, SDL2_mixer
# and libjpeg for the browser once (cached in ${XDG_CACHE_HOME:-~/.cache}/velm-orra/), generates
# the data with the Linux build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
source scripts/cross.sh
vo_install_packages
vo_install_packages "${VO_CROSS_PACKAGES[@]}"
vo_game_data
vo_sdl_for web
vo_jpeg_for web
vo_build_port web build-web
NODE_PATH=/usr/share/nodejs cmake --build build-web -j "$(nproc)" --target vo_web_site
rm -rf dist/web
mkdir -p dist/web
cp -r build-web/web/. dist/web/
echo "build-web.sh: dist/web/ holds $(du -sh dist/web | cut -f1) in $(find dist/web -type f | wc -l) files"

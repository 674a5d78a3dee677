#!/usr/bin/env bash
# Builds Velm Orra for web browsers into dist/web/: index.html and what it loads (index.js,
# index.wasm, index.data with the game data, icon.png). Serve the folder over HTTP, e.g.
# `python3 -m http.server -d dist/web 8000`, and open http://127.0.0.1:8000/. Installs what is
# missing (Debian's emscripten), builds SDL2, SDL2_mixer and libjpeg for the browser once (cached in
# ${XDG_CACHE_HOME:-~/.cache}/velm-orra/), generates the data with the Linux build.
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
rm -rf dist/web
mkdir -p dist/web
cp build-web/web/index.html build-web/web/index.js build-web/web/index.wasm \
  build-web/web/index.data dist/web/
cp build/artgen/icons/io.github.velmorra.velm_orra-64.png dist/web/icon.png
echo "build-web.sh: dist/web/ holds $(du -sh dist/web | cut -f1) ($(ls dist/web | tr '\n' ' '))"

#!/usr/bin/env bash
# Builds Velm Orra for 64-bit Windows into dist/windows/: velm-orra.exe (SDL and the C++ runtime
# linked in, with its icon and version information) and the game data beside it; copy the folder
# anywhere and start the program. Installs what is missing (Debian's MinGW-w64), builds SDL2,
# SDL2_mixer and libjpeg for Windows once (cached in ${XDG_CACHE_HOME:-~/.cache}/velm-orra/),
# generates the data with the Linux build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
source scripts/cross.sh
vo_install_packages
vo_install_packages "${VO_CROSS_PACKAGES[@]}"
vo_game_data
vo_sdl_for windows
vo_jpeg_for windows
# The program's icon from the generator's pictures, every size in one file.
mkdir -p build-windows
icons=build/artgen/icons/io.github.velmorra.VelmOrra
convert "$icons-16.png" "$icons-24.png" "$icons-32.png" "$icons-48.png" "$icons-64.png" \
  "$icons-128.png" "$icons-256.png" build-windows/velm-orra.ico
vo_build_port windows build-windows -DVO_WINDOWS_ICON="$PWD/build-windows/velm-orra.ico"
rm -rf dist/windows
mkdir -p dist/windows
cp build-windows/windows/velm-orra.exe dist/windows/
for item in strings.txt sounds.txt icon.bmp graphics sounds music lang @2x; do
  cp -r "$VO_GAME_DATA/$item" dist/windows/
done
echo "build-windows.sh: dist/windows/ holds velm-orra.exe and the data ($(du -sh dist/windows | cut -f1))"

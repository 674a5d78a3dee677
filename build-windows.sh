#!/usr/bin/env bash
# Builds Velm Orra for 64-bit Windows: dist/windows/ holds velm-orra.exe (SDL, libjpeg, the
# decompressor and the C++ runtime linked in, with its icon and version information), the
# pictures packed into pictures.pak and the rest of the data beside them; copy the folder anywhere
# and start the program. From it come the two downloads: dist/velm-orra-<version>-windows.zip
# (the folder as velm-orra-<version>/) and the installer dist/velm-orra-<version>-setup.exe
# (NSIS: Program Files, a Start-menu entry, an uninstaller). Installs what is missing (Debian's
# MinGW-w64, NSIS), builds SDL2, SDL2_mixer, libjpeg and libzstd for Windows once (cached in
# ${XDG_CACHE_HOME:-~/.cache}/velm-orra/), generates and packs the data with the Linux build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
source scripts/cross.sh
vo_install_packages
vo_install_packages "${VO_CROSS_PACKAGES[@]}"
vo_game_data
echo "setup: packing the pictures into build/pack/pictures.pak"
cmake --build build -j "$(nproc)" --target vo_picture_pack
vo_sdl_for windows
vo_jpeg_for windows
vo_zstd_for windows
# The program's icon from the generator's pictures, every size in one file.
mkdir -p build-windows
icons=build/artgen/icons/io.github.velmorra.velm_orra
convert "$icons-16.png" "$icons-24.png" "$icons-32.png" "$icons-48.png" "$icons-64.png" \
  "$icons-128.png" "$icons-256.png" build-windows/velm-orra.ico
vo_build_port windows build-windows -DVO_WINDOWS_ICON="$PWD/build-windows/velm-orra.ico" \
  -DVO_ZSTD_PREFIX="$VO_ZSTD_PREFIX"

rm -rf dist/windows
mkdir -p dist/windows
cp build-windows/windows/velm-orra.exe build/pack/pictures.pak dist/windows/
for item in strings.txt sounds.txt icon.bmp sounds music; do
  cp -r "$VO_GAME_DATA/$item" dist/windows/
done
# Each language's texts; its pictures are in the pack.
for dir in "$VO_GAME_DATA"/lang/*/; do
  language=$(basename "$dir")
  mkdir -p "dist/windows/lang/$language"
  cp "$dir/strings.txt" "dist/windows/lang/$language/"
done

version=$(sed -n 's/^project(VelmOrra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=dist/velm-orra-$version-windows.zip
setup=dist/velm-orra-$version-setup.exe
stage=$(mktemp -d)
cp -al dist/windows "$stage/velm-orra-$version"
rm -f "$zip"
(cd "$stage" && zip -q -r -9 -X "$OLDPWD/$zip" "velm-orra-$version")
rm -rf "$stage"
makensis -V2 -DVERSION="$version" -DSOURCE="$PWD/dist/windows" \
  -DICON="$PWD/build-windows/velm-orra.ico" -DOUTFILE="$PWD/$setup" platform/windows/installer.nsi
echo "build-windows.sh: dist/windows/ holds velm-orra.exe and the data" \
  "($(find dist/windows -type f | wc -l) files, $(du -sh dist/windows | cut -f1));" \
  "$zip ($(du -h "$zip" | cut -f1)), $setup ($(du -h "$setup" | cut -f1))"

#!/usr/bin/env bash
# The installed game runs from any working directory with its data under share/velm-orra and
# comes with its desktop entry, AppStream metainfo and icons, all named by the application id.
# The Debian package (cpack) holds the same tree under /usr with a stripped binary and declares
# the shared libraries it needs; its game, extracted, starts in German with that id as its window
# class.
NAME=installed
source "$(dirname "$0")/lib.sh"
ID=io.github.velmorra.velm_orra

# check_tree <root>: the files a desktop needs, in <root> (a prefix).
check_tree() {
  local root=$1 size
  [ -f "$root/share/applications/$ID.desktop" ] || fail "no desktop entry in $root"
  [ -f "$root/share/metainfo/$ID.metainfo.xml" ] || fail "no AppStream metainfo in $root"
  for size in 16 24 32 48 64 128 256 512; do
    [ -f "$root/share/icons/hicolor/${size}x${size}/apps/$ID.png" ] || fail "no ${size}px icon in $root"
  done
  [ -f "$root/share/icons/hicolor/scalable/apps/$ID.svg" ] || fail "no scalable icon in $root"
  [ -f "$root/share/velm-orra/lang/de/strings.txt" ] || fail "no German texts in $root"
  [ -f "$root/share/velm-orra/@2x/lang/de/graphics/ingame.tga" ] || fail "no 2x pictures in $root"
  [ -f "$root/share/velm-orra/icon.bmp" ] || fail "no window icon in $root"
}

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >/dev/null || fail "cmake --install failed"
check_tree "$WORK/prefix"

(cd "$BUILD_DIR" && cpack -G DEB -B "$WORK/package" >"$WORK/cpack.txt" 2>&1) ||
  { cat "$WORK/cpack.txt" >&2; fail "cpack -G DEB failed"; }
DEB=$(ls "$WORK"/package/velm-orra_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || fail "cpack made no package"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for lib in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libjpeg62-turbo libstdc++6; do
  grep -q "$lib" <<<"$DEPENDS" || fail "the package does not depend on $lib (Depends: $DEPENDS)"
done
dpkg-deb -x "$DEB" "$WORK/deb" || fail "cannot extract $DEB"
check_tree "$WORK/deb/usr"
readelf -S "$WORK/deb/usr/bin/velm-orra" | grep -q '\.symtab' && fail "the packaged binary is not stripped"

# The packaged game, from its extracted tree, in German.
GAME=$WORK/deb/usr/bin/velm-orra
export LANGUAGE=de
cd /
start_game
wait_for_log "Loading config ..."
grep -q "Cannot load" "$LOG" && fail "pictures missing in the packaged game"
grep -q "Sounds:" "$LOG" && fail "sounds missing in the packaged game"
locate_window
xprop -id "$WIN_ID" WM_CLASS | grep -q "\"$ID\"" ||
  fail "the window class is not $ID: $(xprop -id "$WIN_ID" WM_CLASS)"
wait_for_balls 6 game
# The New Game button on the screen is the German picture, not the English one.
DATA=$WORK/deb/usr/share/velm-orra
convert "$LAST_SHOT" -crop "120x20+$(screen_x 83)+$(screen_y 170)" +repage "$WORK/button.png"
button_diff() { # button_diff <picture>: RMSE (thousandths) of its first pattern against the shot
  convert "$1" -crop 120x20+3+3 +repage -background black -flatten "$WORK/label.png"
  { compare -metric RMSE "$WORK/button.png" "$WORK/label.png" null: 2>&1 || true; } |
    sed -E 's/.*\(([0-9.e-]+)\).*/\1/' | awk '{printf "%d", $1 * 1000}'
}
GERMAN=$(button_diff "$DATA/lang/de/graphics/buttons/new game.tga")
ENGLISH=$(button_diff "$DATA/graphics/buttons/new game.tga")
[ "$GERMAN" -lt "$ENGLISH" ] ||
  fail "the menu does not show the German button (difference $GERMAN, to English $ENGLISH)"
click 144 536
click 466 344
wait_for_exit
echo "PASS ($NAME)"

#!/usr/bin/env bash
# The control gallery under Wine: it starts, shows its window with one of each control kind,
# and a screenshot of it lands in the build folder (gallery.png) for people to look at.
# The gallery is found beside the build's vemtaro.exe (<build>/tests/win32/gallery/), or
# wherever VM_GALLERY points.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build=$(cd "$(dirname "$EXE")/../.." && pwd)
gallery="${VM_GALLERY:-$build/tests/win32/gallery/vemtaro_gallery.exe}"
if [ ! -f "$gallery" ]; then
  fail "the gallery program exists at $gallery (build the vemtaro_gallery target)"
  finish
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/vemtaro-gallery.XXXXXX")
cp "$gallery" "$dir/vemtaro_gallery.exe"
( cd "$dir" && exec "$WINE_RUN" ./vemtaro_gallery.exe --ready ready.txt --close-after 15000 >/dev/null 2>&1 ) &
GALLERY_PID=$!

check "the gallery window was shown" wait_for_text "$dir/ready.txt" 60 "shown"
sleep 1
rm -f "$build/gallery.png"
if command -v import >/dev/null 2>&1; then
  import -window root -display "$DISPLAY" "$build/gallery.png" 2>/dev/null
  check "a screenshot was written to $build/gallery.png" test -s "$build/gallery.png"
else
  fail "ImageMagick's import is installed for the screenshot"
fi

ended=1
for i in $(seq 1 150); do kill -0 "$GALLERY_PID" 2>/dev/null || { ended=0; break; }; sleep 0.2; done
check "the gallery closed by itself" test "$ended" = 0
[ "$ended" = 0 ] || kill "$GALLERY_PID" 2>/dev/null
rm -rf "$dir"
finish

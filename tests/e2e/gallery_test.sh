#!/usr/bin/env bash
# The control gallery under Wine: it starts, shows its window with one of each control kind,
# and a screenshot of it lands in the build folder (build/gallery.png) for people to look at.
# The gallery is found beside the build's vemtaro.exe (<build>/tests/win32/gallery/), or
# wherever VM_GALLERY points.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"
require_tools xdotool import

build=$(cd "$(dirname "$EXE")/../.." && pwd)
gallery="${VM_GALLERY:-$build/tests/win32/gallery/vemtaro_gallery.exe}"
if [ ! -f "$gallery" ]; then
  fail "the gallery program exists at $gallery (build the vemtaro_gallery target)"
  finish
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/vemtaro-gallery.XXXXXX")
cp "$gallery" "$dir/vemtaro_gallery.exe"
( cd "$dir" && exec "$WINE_RUN" ./vemtaro_gallery.exe --ready ready.txt --close-after 25000 >/dev/null 2>&1 ) &
GALLERY_PID=$!

check "the gallery window was shown" wait_for_text "$dir/ready.txt" 60 "shown"
sleep 1

# Real input on the native controls reaches their portable events (the gallery writes what its
# status bar shows to ready.txt). The window's X geometry is its client area.
origin_x=0 origin_y=0
for id in $(xdotool search --onlyvisible --name '^Vemtaro gallery$' 2>/dev/null); do
  eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
  [ "${WIDTH:-0}" -ge 500 ] && { origin_x=$X origin_y=$Y; break; }
done
at() { xdotool mousemove $((origin_x + $1)) $((origin_y + $2)); }
if [ "$origin_x" -gt 0 ] || [ "$origin_y" -gt 0 ]; then
  at 540 130; xdotool click 3   # the list view's third row (sorted by id: explorer.exe)
  check "a right press on a list-view row is reported with its row" \
    wait_for_text "$dir/ready.txt" 10 "status: List view: right press at"
  check "the pressed row is the one under the pointer" grep -q "row 2 (explorer.exe)" "$dir/ready.txt"
  at 110 92; xdotool click 1    # the check box
  check "a press on the check box is reported" wait_for_text "$dir/ready.txt" 10 "status: Check box: left press"
  at 325 157; xdotool click --repeat 2 --delay 80 1   # the grid, row 9:00
  check "a double-click on the grid is reported" wait_for_text "$dir/ready.txt" 10 "status: Grid: double-click on 9:00"
  at 600 232                    # the label inside the panel
  check "the pointer entering a label inside a panel is reported" \
    wait_for_text "$dir/ready.txt" 10 "status: Mouse entered the label in the panel"
  at 700 340
  check "and its leaving" wait_for_text "$dir/ready.txt" 10 "status: Mouse left the label in the panel"
  sleep 0.5
else
  fail "the gallery's window was found on the screen"
fi
shots="$SRC/build"
rm -f "$shots/gallery.png"
import -window root -display "$DISPLAY" "$shots/gallery.png" 2>/dev/null
check "a screenshot was written to $shots/gallery.png" test -s "$shots/gallery.png"

ended=1
for i in $(seq 1 200); do kill -0 "$GALLERY_PID" 2>/dev/null || { ended=0; break; }; sleep 0.2; done
check "the gallery closed by itself" test "$ended" = 0
[ "$ended" = 0 ] || kill "$GALLERY_PID" 2>/dev/null
rm -rf "$dir"
finish

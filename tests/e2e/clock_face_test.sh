#!/usr/bin/env bash
# The clock as a user sees it, with a window manager and real input: a right click on the clock
# opens its menu with whole captions and icons beside them (build/clock_menu.png), its toggle
# buttons show their glyphs, and a film of the clock (a screenshot every half second for six
# seconds, build/clock_film-NN.png) shows the seconds in every frame.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build=$(cd "$(dirname "$EXE")/../.." && pwd)
require_tools openbox xdotool import tesseract

cleanup() {
  close_clock >/dev/null 2>&1 || true
  stop_window_manager
  [ -n "${dir:-}" ] && rm -rf "$dir"
}
trap cleanup EXIT
start_window_manager || { fail "the window manager starts"; finish; }

reset_registry
dir=$(new_program_folder)
start_clock "$dir"
check "the clock started" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"

# The clock's window: caption "Vemtaro", wider than 150 pixels (not the 1 x 1 application window).
clock_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Vemtaro$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$WIDTH" -gt 150 ] && [ "$HEIGHT" -gt 40 ]; then echo "$id $X $Y $WIDTH $HEIGHT"; return 0; fi
  done
  return 1
}
found=""
for i in $(seq 1 50); do found=$(clock_window) && break; sleep 0.2; done
check "the clock window is on screen" test -n "$found"
[ -n "$found" ] || finish
read -r WID WX WY WW WH <<<"$found"
sleep 2  # the fade-in

# ---- the film: a screenshot every half second for six seconds, within one minute ----
while [ "$(date +%S | sed 's/^0//')" -gt 50 ] || [ "$(date +%S | sed 's/^0//')" -lt 2 ]; do sleep 1; done
rm -f "$build"/clock_film-*.png
for n in $(seq -w 1 12); do
  import -display "$DISPLAY" -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$build/clock_film-$n.png" 2>/dev/null
  sleep 0.5
done
film=$(/usr/bin/python3 - "$build" <<'PY'
# The seconds' place: the pixels of the top half that change between the frames (the seconds
# are the only thing that changes within a minute). Every frame must show ink there.
import glob, sys
from PIL import Image
frames = [Image.open(p).convert('RGB') for p in sorted(glob.glob(sys.argv[1] + '/clock_film-*.png'))]
w, h = frames[0].size
top = h // 2
px = [f.load() for f in frames]
changed = [(x, y) for y in range(top) for x in range(w)
           if len({p[x, y] for p in px}) > 1]
if not changed:
    print('nothing changed in the top half of the clock over the film'); sys.exit(1)
x0 = min(x for x, _ in changed); x1 = max(x for x, _ in changed)
y0 = min(y for _, y in changed); y1 = max(y for _, y in changed)
# Ink: pixels that differ from the commonest colour of the area in all the frames together.
from collections import Counter
colours = Counter(p[x, y] for p in px for y in range(y0, y1 + 1) for x in range(x0, x1 + 1))
background = colours.most_common(1)[0][0]
def far(c): return sum(abs(a - b) for a, b in zip(c, background)) > 90
inks = [sum(1 for y in range(y0, y1 + 1) for x in range(x0, x1 + 1) if far(p[x, y])) for p in px]
print('area %d,%d-%d,%d ink per frame %s' % (x0, y0, x1, y1, inks))
sys.exit(0 if min(inks) >= 8 else 1)
PY
)
status=$?
echo "film: $film"
check "every frame of the film shows the seconds" test $status -eq 0

# The three toggle buttons in the clock's bottom right corner show their glyphs (menu icons,
# which are read after the first frame): dark or coloured pixels on the light buttons.
glyphs=$(/usr/bin/python3 - "$build/clock_film-12.png" <<'PY'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert('RGB')
w, h = img.size
px = img.load()
def ink(c): return (c[0] * 3 + c[1] * 6 + c[2]) / 10 < 110 or max(c) - min(c) > 80
print(sum(1 for y in range(h - 30, h) for x in range(w - 80, w) if ink(px[x, y])))
PY
)
check "the toggle buttons show their glyphs (${glyphs:-0} glyph pixels)" test "${glyphs:-0}" -gt 60

# ---- the menu: a right click on the clock ----
xdotool mousemove $((WX + 30)) $((WY + 20)) click 3
sleep 1.5
rm -f "$build/clock_menu.png"
import -display "$DISPLAY" -window root "$build/clock_menu.png" 2>/dev/null
check "a screenshot of the menu was written to $build/clock_menu.png" test -s "$build/clock_menu.png"
menu=$(/usr/bin/python3 - "$build/clock_menu.png" $((WX + 30)) $((WY + 20)) <<'PY'
# The menu opens at the pointer: its silver icon column starts at the pointer's place. Find the
# menu's rectangle (the run of silver going down from there), cut it out for reading.
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert('RGB')
mx, my = int(sys.argv[2]), int(sys.argv[3])
p = img.load()
W, H = img.size
silver = (192, 192, 192)
# The column: the first silver pixel right of and below the pointer.
start = next(((x, y) for y in range(my, min(my + 12, H)) for x in range(mx, min(mx + 12, W)) if p[x, y] == silver), None)
if start is None:
    print('no menu at the pointer'); sys.exit(1)
x, y = start
# Down the column beside the icons (separators interrupt it briefly).
bottom, gap, yy = y, 0, y
while yy + 1 < H and gap < 12:
    yy += 1
    if p[x, yy] == silver or p[x + 15, yy] == silver:
        bottom, gap = yy, 0
    else:
        gap += 1
# The menu's width: as far right as the menu colour goes on the first item's row.
row = y + 3
menu_colour = p[x + 30, row]
right = x + 30
while right + 1 < W and p[right + 1, row] == menu_colour:
    right += 1
crop = img.crop((x, y, right + 40, bottom + 1))
crop = crop.resize((crop.width * 3, crop.height * 3), Image.LANCZOS)
crop.save(sys.argv[1].replace('.png', '-items.png'))
# Icons: the 16 pixels of the icon column hold pictures (pixels far from silver) beside the
# captions.
icon_pixels = sum(1 for yy in range(y, bottom + 1) for xx in range(x, x + 16)
                  if sum(abs(c - 192) for c in p[xx, yy]) > 90)
print('%d %d %d %d %d' % (x, y, right, bottom, icon_pixels))
PY
)
check "the menu opened at the pointer ($menu)" test -n "$menu"
read -r MX MY MR MB ICONS <<<"$menu"
check "icons are drawn in the icon column ($ICONS coloured pixels)" test "${ICONS:-0}" -gt 100
text=$(tesseract "$build/clock_menu-items.png" - --psm 6 2>/dev/null)
echo "menu reads:"; echo "$text" | sed 's/^/  | /'
for caption in "Options" "Appearance" "DateTime Format" "Set Time" "Language" "Help" "Autostart" "Start in Icon"; do
  check "the caption \"$caption\" is whole" grep -q -F "$caption" <<<"$text"
done
xdotool key Escape
sleep 0.5

check "closing ends the clock" close_clock
finish

#!/usr/bin/env bash
# The options and about windows of the real clock under Wine, driven as a user drives them: a
# window manager (openbox) and real input (xdotool). Ctrl+O opens "Options" beside the clock;
# two clicks on the zoom track bar's channel make the clock larger by two pages, one click on
# the transparency track bar's channel lowers Transparency by one page (a track bar's page is a
# fifth of its range, the system's default), and the stored values are those: the clock's font
# height at once, Zoom on closing; the about window opens from the clock's menu. Screenshots of
# both windows land in the build folder (options.png, about.png).
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build=$(cd "$(dirname "$EXE")/../.." && pwd)
require_tools openbox xdotool xwininfo import tesseract python3

cleanup() {
  [ -n "${CLOCK_PID:-}" ] && kill "$CLOCK_PID" 2>/dev/null
  stop_window_manager
  [ -n "${dir:-}" ] && rm -rf "$dir"
}
trap cleanup EXIT
start_window_manager || { fail "the window manager starts"; finish; }

geometry() {  # geometry ID -> sets X Y WIDTH HEIGHT of the client area on the screen
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/{print "X="$4} /Absolute upper-left Y/{print "Y="$4}
                                   /Width:/{print "WIDTH="$2} /Height:/{print "HEIGHT="$2}')"
}
# The visible X window with caption $1 whose width is within $2..$3; waits up to $4 seconds.
find_window() {
  local name="$1" min="$2" max="$3" seconds="$4" i id
  for i in $(seq 1 $((seconds * 5))); do
    for id in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); do
      geometry "$id"
      if [ "$WIDTH" -ge "$min" ] && [ "$WIDTH" -le "$max" ]; then echo "$id"; return 0; fi
    done
    sleep 0.2
  done
  return 1
}

reset_registry
# The clock low on the screen, so that the options window has room above it.
"$WINE_RUN" reg add 'HKCU\Software\Vemtaro' /v Left /t REG_DWORD /d 100 /f >/dev/null 2>&1
"$WINE_RUN" reg add 'HKCU\Software\Vemtaro' /v Top /t REG_DWORD /d 500 /f >/dev/null 2>&1
dir=$(new_program_folder)
start_clock "$dir"

clock=$(find_window Vemtaro 150 700 60) || { fail "the clock window appears"; finish; }
pass "the clock window appears"
geometry "$clock"; clock_width=$WIDTH; clock_x=$X; clock_y=$Y; clock_h=$HEIGHT
sleep 1

# Ctrl+O on the clock, typed as people type it. (A click on the clock would start moving it.)
xdotool windowactivate --sync "$clock" 2>/dev/null || xdotool windowfocus "$clock"
sleep 0.5
xdotool keydown ctrl key o keyup ctrl
options=$(find_window Options 350 500 15) || { fail "Ctrl+O opens the options window"; finish; }
pass "Ctrl+O opens the options window"
sleep 1
geometry "$options"
opt_x=$X; opt_y=$Y
# Just above the clock: the frame's bottom edge (the window's outer bottom) meets the clock's top.
check "the options window opens above the clock (client $opt_x,$opt_y+$HEIGHT, clock $clock_x,$clock_y)" \
  test "$opt_x" -ge "$((clock_x - 10))" -a "$opt_x" -le "$((clock_x + 10))" -a "$((opt_y + HEIGHT))" -le "$clock_y" \
       -a "$((opt_y + HEIGHT))" -ge "$((clock_y - 12))"
import -window root -display "$DISPLAY" "$build/options.png" 2>/dev/null
check "a screenshot of the options window is in $build/options.png" test -s "$build/options.png"

# Zoom: two clicks on the track bar's channel right of the thumb (each one page up).
xdotool mousemove $((opt_x + 22 + 330)) $((opt_y + 330 + 13)) click 1
sleep 0.5
xdotool click 1
sleep 1
geometry "$clock"
check "the clock is larger after the zoom track bar moved (width $clock_width -> $WIDTH)" test "$WIDTH" -gt "$clock_width"
zoomed_width=$WIDTH

# Transparency: one click on the channel left of the thumb (one page down from 250).
xdotool mousemove $((opt_x + 22 + 20)) $((opt_y + 371 + 13)) click 1
sleep 1
import -window root -display "$DISPLAY" "$build/options-after.png" 2>/dev/null

# Closing through the window manager's close (Alt+F4 on the options window).
xdotool windowactivate --sync "$options" 2>/dev/null || xdotool windowfocus "$options"
sleep 0.3
xdotool keydown alt key F4 keyup alt
gone=1
for i in $(seq 1 25); do
  xdotool search --onlyvisible --name '^Options$' >/dev/null 2>&1 || { gone=0; break; }
  sleep 0.2
done
check "the options window closes" test "$gone" = 0

# The about window from the clock's menu: right button on the clock, Help, About...
geometry "$clock"
mx=$((X + 20)); my=$((Y + 15))
xdotool mousemove $mx $my click 3
sleep 1
import -window root -display "$DISPLAY" "$build/options-menu.png" 2>/dev/null
xdotool mousemove $((mx + 64)) $((my + 132)) click 1  # Help
sleep 1
xdotool mousemove $((mx + 209)) $((my + 153)) click 1  # About...
about=$(find_window Vemtaro 250 262 10)
if [ -z "$about" ]; then
  fail "the about window opens from the clock's menu"
else
  pass "the about window opens from the clock's menu"
  sleep 1
  import -window root -display "$DISPLAY" "$build/about.png" 2>/dev/null
  check "a screenshot of the about window is in $build/about.png" test -s "$build/about.png"
  geometry "$about"
  import -window root -display "$DISPLAY" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -resize 300% "$dir/about-big.png" 2>/dev/null
  text=$(tesseract "$dir/about-big.png" - --psm 6 2>/dev/null)
  check "the about window shows its texts (read: $(echo "$text" | tr '\n' ' '))" \
    sh -c 'echo "$1" | grep -qi "Task Manager" && echo "$1" | grep -qi "Version 4"' _ "$text"
  xdotool windowactivate --sync "$about" 2>/dev/null || xdotool windowfocus "$about"
  sleep 0.3
  xdotool keydown alt key F4 keyup alt
  sleep 1
fi

check "the clock ends" close_clock
sleep 3  # the registry reaches the prefix's files a moment after the program ended
# What the clicks give: Zoom from its first value 15 (range 8 to 120) two pages up,
# Transparency from its first value 250 (range 8 to 255) one page down.
zoom_page=$(((120 - 8) / 5)); tb_page=$(((255 - 8) / 5))
want_zoom=$((15 + 2 * zoom_page)); want_transparency=$((250 - tb_page))
zoom=$(reg_value Zoom)
transparency=$(reg_value Transparency)
check "closing stored the zoom (Zoom = $zoom, wanted $want_zoom)" test "$((zoom))" -eq "$want_zoom"
check "the transparency clicks stored Transparency $transparency (wanted $want_transparency)" \
  test "$((transparency))" -eq "$want_transparency"
# The clock's font at that size in points, stored at once: the first four bytes of FontLog2 are
# its height, -size x 96 / 72 at this screen's 96 pixels per inch, rounded.
font=$(reg_value FontLog2)
height=$(python3 -c "import sys, struct; print(struct.unpack('<i', bytes.fromhex(sys.argv[1][:8]))[0])" "$font" 2>/dev/null)
want_height=$(python3 -c "print(-int($want_zoom * 96 / 72 + 0.5))")
check "the clock's font height was stored at once (FontLog2 height $height, wanted $want_height)" \
  test "${height:-none}" = "$want_height"
finish

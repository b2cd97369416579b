#!/usr/bin/env bash
# The process manager as a user meets it, with a window manager and real input: Ctrl+P on the
# clock opens "Processes" with a row for vemtaro.exe and its path; a helper program started here
# appears within a refresh; "Kill process" answered with Yes ends it with exit code 0, and its
# row goes at a later sweep. The screenshots land in the build folder (process-question.png
# with the question open, process.png after the end).
# The helper is a copy of the Windows test program, which only sleeps when started with
# --vm-sleeping-child; it is the only process this test ends.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build=$(cd "$(dirname "$EXE")/../.." && pwd)
helper_exe="$build/tests/win32/tests_win32.exe"
require_tools openbox xdotool xwininfo import tesseract
[ -f "$helper_exe" ] || { fail "the helper program exists at $helper_exe (build tests_win32)"; finish; }

# A window manager gives the windows their frames and the keyboard focus, as on a desktop.
trap stop_window_manager EXIT
start_window_manager || { fail "the window manager starts"; finish; }

# The text on the screen in the rectangle X Y W H, read after enlarging it three times.
read_screen() {
  local shot
  shot=$(mktemp --suffix=.png)
  import -display "$DISPLAY" -window root "$shot" 2>/dev/null
  /usr/bin/python3 - "$shot" "$@" <<'PY'
import sys
from PIL import Image
path, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
im = Image.open(path).crop((x, y, x + w, y + h))
im = im.resize((w * 3, h * 3), Image.LANCZOS)
im.save(path)
PY
  tesseract "$shot" - --psm 6 2>/dev/null
  rm -f "$shot"
}
# Waits up to $1 seconds until the rectangle $2..$5 shows (or, with $6 = gone, no longer shows)
# the extended pattern $7, compared without regard to case or blanks. The texts looked for leave out the
# letters the text recognition misreads at the edge of a selected row ("v" of "vm-", "vemtaro").
# With $8, a text gone counts only in a reading that shows $8.
wait_for_screen() {
  local seconds="$1" x="$2" y="$3" w="$4" h="$5" mode="$6" text="$7" anchor="${8:-}" i seen
  for i in $(seq 1 "$seconds"); do
    seen=$(read_screen "$x" "$y" "$w" "$h" | tr 'A-Z' 'a-z' | tr -d ' ')
    if [ "$mode" = shown ]; then grep -q -E -- "$text" <<<"$seen" && return 0
    elif ! grep -q -E -- "$text" <<<"$seen"; then
      # Gone, in a reading that shows the anchor: the recognition itself worked.
      [ -z "$anchor" ] || grep -q -E -- "$anchor" <<<"$seen" && return 0
    fi
    sleep 1
  done
  echo "  screen showed: $(tr '\n' ' ' <<<"$seen")"
  return 1
}
# The window of that caption with a plausible size (Wine also makes 1 x 1 windows).
find_window() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -gt 50 ] && [ "$HEIGHT" -gt 30 ] && { echo "$w"; return 0; }
  done
  return 1
}
# The client area of window $1 on the screen: sets X, Y, WIDTH, HEIGHT.
client_geometry() {
  local info
  info=$(xwininfo -id "$1")
  X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  WIDTH=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
  HEIGHT=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
}
wait_window() {
  local i
  for i in $(seq 1 $(($2 * 5))); do find_window "$1" && return 0; sleep 0.2; done
  return 1
}
# A click as a hand makes it: move, rest, press, release.
click_at() {
  xdotool mousemove "$1" "$2"; sleep 0.3
  xdotool mousedown 1; sleep 0.15; xdotool mouseup 1
}

reset_registry
dir=$(new_program_folder)
start_clock "$dir"
check "the clock started" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
clock=$(wait_window Vemtaro 20)
check "the clock window is on the screen" test -n "$clock"
sleep 1
xdotool windowactivate --sync "$clock" 2>/dev/null
xdotool windowfocus "$clock" 2>/dev/null
sleep 0.3
xdotool keydown ctrl key p keyup ctrl
procs=$(wait_window Processes 15)
check "Ctrl+P opened the window \"Processes\"" test -n "$procs"
if [ -z "$procs" ]; then close_clock; rm -rf "$dir"; finish; fi
client_geometry "$procs"
PX=$X; PY=$Y; PW=$WIDTH; PH=$HEIGHT
# The rows (below the tool band and the column headers) and the status bar.
LIST_Y=$((PY + 49 + 18)); LIST_H=$((PH - 49 - 18 - 19 - 18))
STATUS_Y=$((PY + PH - 19))

check "a row for vemtaro.exe" wait_for_screen 5 "$PX" "$LIST_Y" 150 "$LIST_H" shown "emtaro.exe"
# Choosing the row by typing its first letters shows its full path in the status bar.
click_at $((PX + 60)) $((LIST_Y + 4))
xdotool type --delay 100 vemt
# The program's folder in the path; the letter after a backslash is left out, since the text
# recognition reads "\v" as "w" or "iv" now and then.
check "the status bar shows vemtaro.exe's full path" \
  wait_for_screen 5 "$PX" "$STATUS_Y" "$PW" 19 shown "tmp.{0,3}$(basename "$dir" | tr 'A-Z' 'a-z' | cut -c2-11)"
# The text recognition drops the dot before "exe" in the status bar now and then.
check "the path ends in vemtaro.exe" wait_for_screen 3 "$PX" "$STATUS_Y" "$PW" 19 shown 'e2e.+emt.+exe'
# A selected row reads badly: the first row is chosen while the helper comes.
xdotool type --delay 100 exp

# The helper appears within a refresh.
cp "$helper_exe" "$dir/vm-helper.exe"
( cd "$dir" && "$WINE_RUN" ./vm-helper.exe --vm-sleeping-child >/dev/null 2>&1; echo $? > "$dir/helper.code" ) &
check "the helper's row appears" wait_for_screen 20 "$PX" "$LIST_Y" 150 "$LIST_H" shown "helper.exe"
click_at $((PX + 60)) $((LIST_Y + 4))
xdotool type --delay 100 vm-h
check "the helper is chosen" wait_for_screen 5 "$PX" "$STATUS_Y" "$PW" 19 shown 'helper.?exe'

# "Kill process" asks; the user answers Yes with the Enter key.
click_at $((PX + 7 + 45)) $((PY + 5 + 20))
warning=$(wait_window 'Warning!' 10)
check "\"Kill process\" asks first" test -n "$warning"
if [ -n "$warning" ]; then
  client_geometry "$warning"
  check "the question names the helper" wait_for_screen 3 "$X" "$Y" "$WIDTH" "$HEIGHT" shown "helper.exe"
  import -display "$DISPLAY" -window root "$build/process-question.png" 2>/dev/null
  xdotool windowactivate --sync "$warning" 2>/dev/null
  xdotool key Return
fi
check "the helper ended with exit code 0" wait_for_text "$dir/helper.code" 10 "0"
test "$(cat "$dir/helper.code" 2>/dev/null)" = 0 || fail "exit code was $(cat "$dir/helper.code" 2>/dev/null)"
check "the status bar was cleared" wait_for_screen 3 "$PX" "$STATUS_Y" "$PW" 19 gone "helper"
check "the helper's row went at a later sweep" wait_for_screen 10 "$PX" "$LIST_Y" 150 "$LIST_H" gone "helper" "emtaro.exe"
check "vemtaro.exe's row is still there" wait_for_screen 3 "$PX" "$LIST_Y" 150 "$LIST_H" shown "emtaro.exe"

rm -f "$build/process.png"
import -display "$DISPLAY" -window root "$build/process.png" 2>/dev/null
check "a screenshot was written to $build/process.png" test -s "$build/process.png"

# Closing the window destroys it; the clock goes on.
xdotool windowactivate --sync "$procs" 2>/dev/null
xdotool key alt+F4
sleep 1
check "closing the window destroyed it" grep -q -a "TForm1::DeleteFormA:[0-9]* Form 0" "$dir/console.log"
check "the clock still runs" kill -0 "$CLOCK_PID"

[ -f "$dir/helper.code" ] || "$WINE_RUN" taskkill /im vm-helper.exe >/dev/null 2>&1
close_clock
rm -rf "$dir"
reset_registry
finish

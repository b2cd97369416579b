#!/usr/bin/env bash
# The task list as a user works it: Ctrl+T opens it on the tasks of a prepared tasks.sft, a click
# on the "Message" caption sorts, Delete and Yes removes the task of the first row from the file,
# the view toggle shows the month, and closing and opening again keeps the size and the view.
# Needs a window manager (openbox) and real input (xdotool); leaves screenshots in build/.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

require_tools openbox xdotool xwininfo import tesseract
SHOTS="$SRC/build"
mkdir -p "$SHOTS"

# A window manager of our own when none runs yet (titles, focus and Alt+F4 as on a desktop).
trap stop_window_manager EXIT
start_window_manager || { fail "the window manager starts"; finish; }

reset_registry
dir=$(new_program_folder)
python3 - "$dir/tasks.sft" <<'PY'
import datetime, struct, sys
now = datetime.datetime.now()
def days(t):
    return (t - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0
def record(when, message):
    r = bytearray(816)
    struct.pack_into('<dd', r, 0, days(when), 0.0)
    struct.pack_into('<IIIIi', r, 16, 0, 1, 0, 1, 1)   # message task, once, scheduled
    r[36:39] = bytes([0, 0, 0])
    struct.pack_into('<HH', r, 40, 127, 1)
    r[44:44 + len(message)] = message
    return bytes(r)
# Today's task late enough not to fire during the run, still today.
today = now + datetime.timedelta(hours=2)
if today.date() != now.date():
    today = now + datetime.timedelta(minutes=20)
records = [record(today, b'Charlie today'),
           record(now + datetime.timedelta(days=1), b'Bravo'),
           record(now + datetime.timedelta(days=2), b'alpha')]
with open(sys.argv[1], 'wb') as f:
    f.write(b'Vemtaro2' + b''.join(records))
PY
size_before=$(stat -c %s "$dir/tasks.sft")

find_window() {  # find_window NAME -> the visible window with this exact title (waits 15 s)
  local i w
  for i in $(seq 1 75); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}
geometry() { xdotool getwindowgeometry --shell "$1" | tr '\n' ' '; }
origin() {  # origin WINDOW -> "X Y" of its client area on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}
click_in() {  # click_in WINDOW X Y: a click at a client point of the window
  local o
  o=($(origin "$1"))
  xdotool mousemove $((o[0] + $2)) $((o[1] + $3)) click 1
  sleep 0.6
}
shot() { import -display "$DISPLAY" -window root "$SHOTS/$1"; }

start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
sleep 2
clock=$(find_window Vemtaro) || fail "the clock window is found"
# Ctrl+T as a user types it, on the clock window.
xdotool windowactivate --sync "$clock" 2>/dev/null || true
xdotool keydown ctrl key t keyup ctrl
list=$(find_window "Task List")
check "Ctrl+T opens the task list" test -n "$list"
if [ -z "$list" ]; then
  # The clock's task-list toggle button (the rightmost of the three at its bottom right).
  click_in "$clock" 274 54
  list=$(find_window "Task List")
  check "the clock's toggle button opens the task list" test -n "$list"
fi
[ -n "$list" ] || { close_clock; finish; }
sleep 1
shot task_list_table.png
echo "list window: $(geometry "$list")"

# The "Message" caption: right of the side panel (177), column 0 (one icon: 40) and "Date" (112).
click_in "$list" $((177 + 40 + 112 + 40)) $((49 + 12))
click_in "$list" $((177 + 40 + 112 + 40)) $((49 + 32 + 12))   # the first task row
shot task_list_sorted.png
# Delete (the third tool bar button), then Yes (the default button) in the question.
click_in "$list" $((202 + 45)) 22
sleep 1
shot task_list_delete_question.png
question=$(find_window Saving)
check "Delete asks its question" test -n "$question"
[ -n "$question" ] && { xdotool windowactivate --sync "$question" 2>/dev/null; xdotool key Return; }
sleep 1
size_after=$(stat -c %s "$dir/tasks.sft")
check "Delete and Yes shortens the file by one record ($size_before -> $size_after)" \
  test "$size_after" -eq $((size_before - 816))
messages=$(python3 -c "
import sys
d = open(sys.argv[1], 'rb').read()
print(','.join(d[8 + i * 816 + 44: 8 + i * 816 + 292].split(b'\0')[0].decode('latin-1') for i in range((len(d) - 8) // 816)))
" "$dir/tasks.sft")
echo "tasks left: $messages"
check "the task of the first row after sorting by message (Bravo) went" \
  test "$(tr ',' '\n' <<<"$messages" | sort | tr '\n' ',')" = "Charlie today,alpha,"

# The view toggle ("View") at (416, 24), 57 x 17.
click_in "$list" $((416 + 28)) $((24 + 8))
sleep 1
shot task_list_calendar.png
check "the view toggle turns the calendar on" grep -q -a "TMemForm::Pg4Click 851" "$dir/console.log"
# The month itself, below the calendar bar: its cells are light, an undrawn grid is black.
o=($(origin "$list"))
month_light=$(convert "$SHOTS/task_list_calendar.png" -crop "300x200+$((o[0] + 200))+$((o[1] + 100))" \
  -colorspace Gray -format "%[fx:mean]" info: 2>/dev/null)
echo "month area brightness: $month_light"
check "the month is drawn at the first toggle" awk -v m="${month_light:-0}" 'BEGIN { exit !(m > 0.5) }'
# The calendar bar alone: right of the side panel, below the tool bar, 32 high.
o=($(origin "$list"))
convert "$SHOTS/task_list_calendar.png" -crop "300x32+$((o[0] + 180))+$((o[1] + 49))" -colorspace Gray -resize 400% -threshold 70% "$dir/bar.png"
bar=$(tesseract "$dir/bar.png" - --psm 6 2>/dev/null | tr '\n' ' ')
echo "calendar bar reads: $bar"
month=$(date +%b); year=$(date +%Y)
check "the calendar bar names the current month and year ($month $year)" \
  grep -q "$month.*$year" <<<"$bar"
eval "$(xdotool getwindowgeometry --shell "$list")"; size1="${WIDTH}x${HEIGHT}"

# Close with Alt+F4, open again with Ctrl+T: calendar view and the same size.
xdotool windowactivate --sync "$list" 2>/dev/null || true
xdotool key alt+F4
sleep 1
check "Alt+F4 closes the list" test -z "$(xdotool search --onlyvisible --name '^Task List$' 2>/dev/null)"
check "MemView is 1" test "$(reg_value MemView)" = "0x1"
check "MemWidth is written" test -n "$(reg_value MemWidth)"
check "MemHeight is written" test -n "$(reg_value MemHeight)"
check "MemPanelW is written" test -n "$(reg_value MemPanelW)"
echo "registry: MemView=$(reg_value MemView) MemWidth=$(reg_value MemWidth) MemHeight=$(reg_value MemHeight) MemPanelW=$(reg_value MemPanelW)"
xdotool windowactivate --sync "$clock" 2>/dev/null || true
xdotool keydown ctrl key t keyup ctrl
list=$(find_window "Task List")
[ -n "$list" ] || { click_in "$clock" 274 54; list=$(find_window "Task List"); }
check "the list opens again" test -n "$list"
if [ -n "$list" ]; then
  sleep 1
  shot task_list_reopened.png
  eval "$(xdotool getwindowgeometry --shell "$list")"; size2="${WIDTH}x${HEIGHT}"
  check "the size is kept ($size1 -> $size2)" test "$size1" = "$size2"
  check "it opens in the calendar view" test "$(grep -a -c 'TMemForm::Pg4Click 851' "$dir/console.log")" -ge 2
fi
check "closing ends the clock" close_clock
finish

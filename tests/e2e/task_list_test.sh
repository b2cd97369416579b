#!/usr/bin/env bash
# The task list as a user works it: Ctrl+T opens it on the tasks of a prepared tasks.sft, a click
# on the "Message" caption sorts, Delete and Yes removes the task of the first row from the file,
# the window is made larger, the view toggle shows the month and brings the table back with its
# captions, and closing and opening again keeps the new size (also in the registry) and the view,
# from which the table comes back with its captions too.
# Needs a window manager (openbox) and real input (xdotool); leaves screenshots in build/.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

require_tools openbox xdotool xwininfo import convert tesseract python3
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
size_of() { eval "$(xdotool getwindowgeometry --shell "$1")"; echo "${WIDTH}x${HEIGHT}"; }
# The text of a part of a screenshot: read_area PNG X Y WIDTH HEIGHT (screen coordinates).
read_area() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" -colorspace Gray -resize 300% "$dir/area.png" 2>/dev/null
  tesseract "$dir/area.png" - --psm 6 2>/dev/null | tr '\n' ' '
}
# The table's caption row and the side panel of the list window $1 in screenshot $2, as read;
# the panel is $3 wide.
captions_of() {
  local o
  o=($(origin "$1"))
  read_area "$2" $((o[0] + $3)) $((o[1] + 49)) 700 32
}
panel_of() {
  local o
  o=($(origin "$1"))
  read_area "$2" "${o[0]}" $((o[1] + 49)) "$3" 240
}
# The captions a table shows after the month had its first row: all ten, no weekday.
check_table_captions() {  # check_table_captions WHAT LIST SCREENSHOT PANEL_WIDTH
  local header side
  header=$(captions_of "$2" "$SHOTS/$3" "$4")
  echo "$1, caption row reads: $header"
  check "$1: the caption row names Date, Message, Period, Program and Sound" \
    grep -q 'Date.*Message.*Period.*Program.*Sound' <<<"$header"
  check "$1: the caption row names Last start, Starts and Active" grep -q 'Last start.*Starts.*Active' <<<"$header"
  check "$1: no weekday is left in the caption row" bash -c '! grep -Eqw "Mn|Tu|We|Fi|Fr|St|Sn" <<<"$0"' "$header"
  side=$(panel_of "$2" "$SHOTS/$3" "$4")
  echo "$1, side panel reads: $side"
  # (The weekdays the period line shows are the task's, not captions.)
  check "$1: the side panel's box titles name the columns Info and Starts" \
    bash -c 'grep -q "Info" <<<"$0" && grep -q "Starts" <<<"$0"' "$side"
}

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

# Larger, as a user drags it: the whole table fits beside the side panel.
size0=$(size_of "$list")
xdotool windowsize --sync "$list" 960 430 2>/dev/null || xdotool windowsize "$list" 960 430
sleep 1
size1=$(size_of "$list")
echo "list window: $size0 -> $size1"
check "the window is larger now ($size0 -> $size1)" test "$size1" != "$size0"

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

# Back to the table: its captions, and the side panel's after a click on the first task.
click_in "$list" $((416 + 28)) $((24 + 8))
sleep 1
click_in "$list" $((220 + 40 + 56)) $((49 + 32 + 12))
shot task_list_table_again.png
check_table_captions "back from the month" "$list" task_list_table_again.png 220

# The month again, then closed with Alt+F4 and opened again with Ctrl+T: the month, the new size.
click_in "$list" $((416 + 28)) $((24 + 8))
sleep 1
xdotool windowactivate --sync "$list" 2>/dev/null || true
xdotool key alt+F4
sleep 1
check "Alt+F4 closes the list" test -z "$(xdotool search --onlyvisible --name '^Task List$' 2>/dev/null)"
echo "registry: MemView=$(reg_value MemView) MemWidth=$(reg_value MemWidth) MemHeight=$(reg_value MemHeight) MemPanelW=$(reg_value MemPanelW)"
check "MemView is 1" test "$(reg_value MemView)" = "0x1"
# The window's size in the registry, by the same frame as the first opening's 543 x 411.
w0=${size0%x*}; h0=${size0#*x}; w1=${size1%x*}; h1=${size1#*x}
check "MemWidth is the new width ($(reg_value MemWidth), wanted $((543 + w1 - w0)))" \
  test "$(($(reg_value MemWidth)))" -eq $((543 + w1 - w0))
check "MemHeight is the new height ($(reg_value MemHeight), wanted $((411 + h1 - h0)))" \
  test "$(($(reg_value MemHeight)))" -eq $((411 + h1 - h0))
check "MemPanelW is written" test -n "$(reg_value MemPanelW)"
xdotool windowactivate --sync "$clock" 2>/dev/null || true
xdotool keydown ctrl key t keyup ctrl
list=$(find_window "Task List")
[ -n "$list" ] || { click_in "$clock" 274 54; list=$(find_window "Task List"); }
check "the list opens again" test -n "$list"
if [ -n "$list" ]; then
  sleep 1
  shot task_list_reopened.png
  size2=$(size_of "$list")
  check "the new size is kept ($size1 -> $size2)" test "$size1" = "$size2"
  check "it opens in the calendar view" test "$(grep -a -c 'TMemForm::Pg4Click 851' "$dir/console.log")" -ge 4
  # From the month it opened in, back to the table.
  click_in "$list" $((416 + 28)) $((24 + 8))
  sleep 1
  click_in "$list" $((220 + 40 + 56)) $((49 + 32 + 12))
  shot task_list_reopened_table.png
  check_table_captions "opened in the month, then the table" "$list" task_list_reopened_table.png 220
fi
check "closing ends the clock" close_clock
finish

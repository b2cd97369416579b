#!/usr/bin/env bash
# The task editor as a user meets it, under Wine with a window manager and real input: the clock
# goes to the notification area with its "_" button, the icon's menu item "New Task" opens the
# editor, Esc on the untouched new task closes it without a question and adds nothing; then a
# message and a time are set, Esc asks "Save setting?" in a box titled "Saving", Yes adds the
# task to tasks.sft. A screenshot of the editor is left in the build folder (task_editor.png).
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build="$SRC/build"
mkdir -p "$build"
require_tools openbox xdotool import

cleanup() {
  close_clock >/dev/null 2>&1 || true
  stop_window_manager
}
trap cleanup EXIT
start_window_manager || { fail "the window manager starts"; finish; }

dir=$(new_program_folder)
reset_registry
start_clock "$dir"
check "the clock wrote its task file" wait_for_text "$dir/tasks.sft" 60 "Vemtaro2"
records() { echo $(( ($(stat -c %s "$dir/tasks.sft") - 8) / 816 )); }

# A visible window with this caption and size; prints its id.
find_window() {
  local name="$1" width="$2" w i
  for i in $(seq 1 50); do
    for w in $(xdotool search --onlyvisible --name "$name" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
      [ "${WIDTH:-0}" -eq "$width" ] && { echo "$w"; return 0; }
    done
    sleep 0.2
  done
  return 1
}

# Opens the editor from the notification-area icon's menu; sets EX, EY (client origin).
open_new_task() {
  xdotool mousemove 12 32 sleep 0.3 click 3
  sleep 1.5
  xdotool mousemove 64 105 sleep 0.3 click 1  # "New Task", the fourth item
  local w
  w=$(find_window "New Task" 653) || return 1
  eval "$(xdotool getwindowgeometry --shell "$w")"
  EX=$X; EY=$Y
}

clock=$(find_window Vemtaro 289)
check "the clock window is on screen" test -n "$clock"
eval "$(xdotool getwindowgeometry --shell "$clock")"
xdotool mousemove $((X + 263)) $((Y + 7)) sleep 0.3 click 1  # "_": to the notification area
tray_shown() { find_window "Wine System Tray" 160 >/dev/null; }
check "the notification-area icon appeared" tray_shown
sleep 1
before=$(records)

check "New Task opens the editor" open_new_task
# Under Wine the window opened from the notification-area menu gets the keyboard only when
# clicked, as any window the window manager does not activate: a click on the tab already shown
# changes nothing.
xdotool mousemove $((EX + 555)) $((EY + 265)) click 1 sleep 0.3 key Escape
sleep 1.5
check "Esc on an untouched new task closes the editor" test -z "$(xdotool search --onlyvisible --name 'New Task' 2>/dev/null)"
check "no question was asked" test -z "$(xdotool search --onlyvisible --name 'Saving' 2>/dev/null)"
check "no task was added" test "$(records)" -eq "$before"

check "New Task opens the editor again" open_new_task
xdotool mousemove $((EX + 150)) $((EY + 118)) click 1 sleep 0.3 key ctrl+End
for _ in $(seq 1 30); do xdotool key BackSpace; done
xdotool type --delay 30 "Call the dentist"
for _ in 1 2 3; do xdotool mousemove $((EX + 637)) $((EY + 84)) click 1 sleep 0.3; done  # minute up
# The next month (">" beside the calendar), so that the task is due ahead whatever the time of
# day: an hour up at 23:xx would wrap to 0:xx of today, already past.
xdotool mousemove $((EX + 487)) $((EY + 151)) click 1 sleep 0.5
rm -f "$build/task_editor.png"
import -window root -display "$DISPLAY" "$build/task_editor.png" 2>/dev/null
check "a screenshot was written to $build/task_editor.png" test -s "$build/task_editor.png"

xdotool mousemove $((EX + 555)) $((EY + 265)) click 1 sleep 0.3 key Escape
sleep 1.5
check "Esc after a change asks in a box titled Saving" test -n "$(xdotool search --onlyvisible --name Saving 2>/dev/null)"
import -window root -display "$DISPLAY" "$build/task_editor_saving.png" 2>/dev/null
xdotool key Return  # Yes
sleep 2
check "Yes added one task" test "$(records)" -eq $((before + 1))
check "the new task holds the message" grep -q -a -F "Call the dentist" "$dir/tasks.sft"

# The new record's due time: a month ahead, three minutes after the next whole minute at
# opening, seconds 0.
/usr/bin/python3 - "$dir/tasks.sft" <<'EOF'
import datetime, struct, sys
now = (datetime.datetime.now() - datetime.datetime(1899, 12, 30)).total_seconds() / 86400
data = open(sys.argv[1], 'rb').read()
record = data[8 + 816 * ((len(data) - 8) // 816 - 1):]
due = struct.unpack_from('<d', record, 0)[0]
seconds = round((due % 1) * 86400)
sys.exit(0 if seconds % 60 == 0 and due > now + 27 else 1)
EOF
check "the new task is due a month ahead at a whole minute" test $? -eq 0
finish

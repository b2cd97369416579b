#!/usr/bin/env bash
# Snooze in the real clock under Wine, with a window manager and real input: a task fires; a
# click on Snooze closes the alarm window and leaves tasks.sft with one one-time task of the same
# message (and the snooze marker) due the chosen length later, with the sound and the wake-up
# kept and the program action dropped; the task is still there after a restart of the clock and
# rings again in the alarm window at its time; there the length chooser, worked with the mouse,
# sets 10 minutes (remembered in the registry) and Alt+S snoozes again. The length is set to one
# minute through the registry value SnoozeMinutes to keep the run short.
# Screenshots: build/snooze.png (the first alarm), build/snooze-again.png (the snooze ringing).
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

shots="$SRC/build"
mkdir -p "$shots"

CLOCK_PID=""
cleanup() {
  [ -n "$CLOCK_PID" ] && kill "$CLOCK_PID" 2>/dev/null
  stop_window_manager
}
trap cleanup EXIT

require_tools xdotool openbox xwininfo import tesseract convert
start_window_manager || { fail "the window manager starts"; finish; }

# One task due in $2 seconds in folder $1: message, run program (no program), alarm sound (a WAV
# that does not exist, so nothing is heard), wake-up; repeat count 2.
write_task() {
  python3 - "$1" "$2" <<'PY'
import datetime, struct, sys
folder, secs = sys.argv[1], float(sys.argv[2])
def days(t):
    return (t - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0
r = bytearray(816)
struct.pack_into('<dd', r, 0, days(datetime.datetime.now() + datetime.timedelta(seconds=secs)), 0.0)
struct.pack_into('<IIIIi', r, 16, 0, 1 | 32 | 64 | 128, 0, 1, 1)
r[36:39] = bytes([0, 1, 0])
struct.pack_into('<HH', r, 40, 127, 2)
r[44:44 + 12] = b'Tea is ready'
r[556:556 + 12] = b'C:\\nowav.wav'
with open(folder + '/tasks.sft', 'wb') as f:
    f.write(b'Vemtaro2' + bytes(r))
PY
}

# Prints "count|message|minutes from now|period|active|state|repeat|sound on" for each record.
read_tasks() {
  python3 - "$1" <<'PY'
import datetime, struct, sys
data = open(sys.argv[1] + '/tasks.sft', 'rb').read()
now = (datetime.datetime.now() - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0
records = [data[i:i + 816] for i in range(8, len(data), 816)]
for r in records:
    due, = struct.unpack_from('<d', r, 0)
    state, period, cnt, active = struct.unpack_from('<IIIi', r, 20)
    repeat, = struct.unpack_from('<H', r, 42)
    message = r[44:292].split(b'\0')[0].decode('latin-1')
    print('%d|%s|%.2f|%d|%d|%d|%d|%d' % (len(records), message, (due - now) * 1440, period, active,
                                         state, repeat, r[37]))
PY
}

find_alarm() {
  local i id
  for i in $(seq 1 $(($1 * 5))); do
    for id in $(xdotool search --onlyvisible --name '^Vemtaro - alarm!$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      [ "$WIDTH" -gt 100 ] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  return 1
}
alarm_gone() {
  local i
  for i in $(seq 1 $(($1 * 5))); do
    [ -z "$(xdotool search --onlyvisible --name '^Vemtaro - alarm!$' 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  return 1
}
client_origin() {
  local info
  info=$(xwininfo -id "$1")
  CX=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  CY=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}
ocr() {
  convert "$1" -resize 300% "$1.big.png" 2>/dev/null && tesseract "$1.big.png" - --psm 6 2>/dev/null
  rm -f "$1.big.png"
}
# True when the minutes from now ($1) lie within [$2, $3].
minutes_between() { python3 -c "import sys; sys.exit(0 if $2 <= $1 <= $3 else 1)"; }

reset_registry
"$WINE_RUN" reg add 'HKCU\Software\Vemtaro' /v SnoozeMinutes /t REG_DWORD /d 1 /f >/dev/null 2>&1
dir=$(new_program_folder)
write_task "$dir" 5
start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"

# ---- 1: the alarm, and a click on Snooze ----
alarm=$(find_alarm 20)
check "the task opens the alarm window" test -n "$alarm"
if [ -n "$alarm" ]; then
  sleep 1.5
  import -window root -display "$DISPLAY" "$shots/snooze.png" 2>/dev/null
  check "a screenshot was written to $shots/snooze.png" test -s "$shots/snooze.png"
  text=$(ocr "$shots/snooze.png")
  check "the window shows the Snooze button" grep -q 'Snooze' <<<"$text"
  check "the length chooser shows the registry's one minute" grep -Eq '(^|[^0-9])1 ?min' <<<"$text"
  # The button's place in the window (300, 296, 93 x 44): a click in its middle.
  client_origin "$alarm"
  xdotool mousemove $((CX + 346)) $((CY + 318)) click 1
  check "a click on Snooze closes the alarm window" alarm_gone 5
  check "the snooze was logged" wait_for_text "$dir/console.log" 5 "TForm1::Snooze"
  sleep 0.5
  tasks=$(read_tasks "$dir")
  echo "tasks.sft: $tasks"
  IFS='|' read -r count message minutes period active state repeat sound <<<"$tasks"
  check "tasks.sft holds one task" test "$count" = 1
  check "its message is the task's with the marker (\"$message\")" test "$message" = "Tea is ready (snoozed)"
  check "it is due one minute later (in $minutes min)" minutes_between "$minutes" 0.85 1.0
  check "it is a one-time, scheduled task" test "$period" = 0 -a "$active" = 1
  check "it keeps message, sound and wake-up, not the program action (state $state)" test "$state" = 193
  check "it keeps the sound and its repeat count" test "$sound" = 1 -a "$repeat" = 2
fi

# ---- 2: a restart keeps it, and it rings again at its time ----
check "closing ends the clock" close_clock
CLOCK_PID=""
check "after the clock ended tasks.sft still holds the snooze" grep -q -a 'Tea is ready (snoozed)' "$dir/tasks.sft"
mv "$dir/console.log" "$dir/console-1.log"
start_clock "$dir"
check "the clock starts again" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
tasks=$(read_tasks "$dir")
check "after the restart the snooze is still the one task (${tasks%%|*})" \
  test "$(cut -d'|' -f1,2 <<<"$tasks")" = "1|Tea is ready (snoozed)"
alarm=$(find_alarm 75)
check "the snooze rings in the alarm window at its time" test -n "$alarm"
if [ -n "$alarm" ]; then
  check "the window shows the snoozed message" wait_for_text "$dir/console.log" 5 " Message = Tea is ready (snoozed)"
  check "it was not missed" bash -c "! grep -q -a 'Alarm was set to' '$dir/console.log'"
  sleep 1.5
  client_origin "$alarm"
  # The length chooser (180, 319, 105 x 21): a click opens it; two lines down is "10 min".
  xdotool mousemove $((CX + 232)) $((CY + 329)) click 1
  sleep 0.8
  import -window root -display "$DISPLAY" "$shots/snooze-again.png" 2>/dev/null
  check "a screenshot was written to $shots/snooze-again.png" test -s "$shots/snooze-again.png"
  text=$(ocr "$shots/snooze-again.png")
  check "the grid shows the snoozed message" grep -q 'Tea is ready (snoozed)' <<<"$text"
  check "the open chooser lists the five lengths" grep -q '60 min' <<<"$text"
  xdotool key Down Down Return
  sleep 0.5
  xdotool windowactivate --sync "$alarm" 2>/dev/null
  xdotool key alt+s
  check "Alt+S closes the alarm window" alarm_gone 5
  sleep 0.5
  tasks=$(read_tasks "$dir")
  echo "tasks.sft: $tasks"
  IFS='|' read -r count message minutes period active state repeat sound <<<"$tasks"
  check "tasks.sft holds the one new snooze" test "$count" = 1
  check "its message carries the marker once (\"$message\")" test "$message" = "Tea is ready (snoozed)"
  check "it is due the chosen ten minutes later (in $minutes min)" minutes_between "$minutes" 9.85 10.0
fi
check "closing ends the clock" close_clock
CLOCK_PID=""
sleep 2.5  # the registry reaches user.reg a moment after the end
check "the chosen length is remembered in the registry ($(reg_value SnoozeMinutes))" \
  test "$(reg_value SnoozeMinutes)" = 0xa
rm -rf "$dir"
reset_registry
finish

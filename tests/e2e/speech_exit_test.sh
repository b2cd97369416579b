#!/usr/bin/env bash
# The clock ends within a second of its window closing while a speech worker is still busy:
# a task due a few seconds after the start speaks a long message (longer than the ten seconds a
# text may take); once the log shows the worker in the speech engine, the clock is closed by
# real input (Alt+F4 on the activated clock window) and its process must end without the
# worker: the log says it left the worker behind, and the process is gone within 5 s (a worker
# that held it would keep it for the text's ten seconds, or for good in its warning box). The
# time it took is printed; it is not asserted, since on a loaded machine Wine's own teardown of
# a process varies by more than the program's 300 ms.
#
# Which state the worker is in depends on the engine. With a voice that speaks, the worker
# waits for the end of the text; under Wine here SAPI 5 is created but its Speak fails, and the
# worker then shows its warning box and waits in that box for the user. Both are a worker busy
# in a call that would not return for a long time; the test says which one it reached.
# Screenshot: build/speech-exit.png (the clock and the worker's box, just before Alt+F4).
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

shots="$SRC/build"
mkdir -p "$shots"
require_tools openbox xdotool import python3

CLOCK_PID=""
dir=""
cleanup() {
  [ -n "$CLOCK_PID" ] && kill -9 "$CLOCK_PID" 2>/dev/null
  stop_window_manager
  [ -n "$dir" ] && rm -rf "$dir"
  return 0
}
trap cleanup EXIT
start_window_manager || { fail "the window manager starts"; finish; }

# One active task, once, due $2 seconds after now, that only speaks $3 (no window, no sound).
write_speaking_task() {
  python3 - "$1" "$2" "$3" <<'PY'
import datetime, struct, sys
folder, secs, message = sys.argv[1], float(sys.argv[2]), sys.argv[3]
due = datetime.datetime.now() + datetime.timedelta(seconds=secs)
r = bytearray(816)
struct.pack_into('<dd', r, 0, (due - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0, 0.0)
struct.pack_into('<IIIIi', r, 16, 0, 0, 0, 1, 1)   # no window, once, active
r[36:39] = bytes([1, 0, 0])                        # speak, no sound
struct.pack_into('<HH', r, 40, 127, 1)
text = message.encode('latin-1')[:247]
r[44:44 + len(text)] = text
with open(folder + '/tasks.sft', 'wb') as f:
    f.write(b'Vemtaro2' + bytes(r))
PY
}

# The clock's window: caption "Vemtaro", wider than 150 pixels (not the 1 x 1 application window).
clock_window() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Vemtaro$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$WIDTH" -gt 150 ] && [ "$HEIGHT" -gt 40 ] && { echo "$id"; return 0; }
  done
  return 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

message="This is a long message for the speech test. It goes on for much longer than ten seconds\
 when it is read aloud, so the worker that speaks it is still busy when the clock is closed, and\
 the program must not wait for the end of it before it ends."

reset_registry
dir=$(new_program_folder)
write_speaking_task "$dir" 6 "$message"
start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
clock=""
for i in $(seq 1 50); do clock=$(clock_window) && break; sleep 0.2; done
check "the clock window is on screen" test -n "$clock"

# The worker takes the message and opens the engine.
check "the task's message goes to a speech worker" wait_for_text "$dir/console.log" 20 " Speak:226 This is a long"
check "the worker opens the speech engine" wait_for_text "$dir/console.log" 10 " Say:78 This is a long"
engine=""
for i in $(seq 1 50); do
  # The first engine line after the worker's start (the clock's own lines may come between).
  engine=$(sed -n '/ Say:78 This is a long/,$p' "$dir/console.log" | grep -a -o 'Speech: .*' | head -1 | tr -d '\r')
  [ -n "$engine" ] && break
  sleep 0.2
done
echo "engine: ${engine:-none logged}"
check "an engine was created for the message (log: ${engine:-nothing})" \
  grep -Eq '^Speech: (SAPI 5|Microsoft Agent)' <<<"$engine"

# Speaking, or the warning box after a failed Speak: either keeps the worker in a call.
state=""
box=""
for i in $(seq 1 25); do
  if grep -a -q "Speech: speaking failed" "$dir/console.log"; then
    box=$(xdotool search --onlyvisible --name 'vemtaro\.exe$' 2>/dev/null | head -1)
    [ -n "$box" ] && { state="box"; break; }
  fi
  sleep 0.2
done
if [ -z "$state" ] && ! grep -a -q "Speech: speaking failed" "$dir/console.log"; then
  state="speaking"
fi
case "$state" in
  speaking) echo "state: the worker is speaking the message (the engine accepted it)" ;;
  box) echo "state: Speak failed ($(grep -a -o 'code = 0x[0-9a-f]*' "$dir/console.log" | head -1)); the worker waits in its warning box" ;;
  *) echo "state: Speak failed but no warning box appeared" ;;
esac
check "the speech worker is busy in a call (speaking, or in its warning box)" test -n "$state"
sleep 0.5
check "the worker has not ended yet" bash -c "! grep -a -q 'Speech: cut short' '$dir/console.log'"
import -window root -display "$DISPLAY" "$shots/speech-exit.png" 2>/dev/null
check "a screenshot was written to $shots/speech-exit.png" test -s "$shots/speech-exit.png"

# Closing the clock as a user does.
if [ -n "$clock" ] && [ -n "$state" ]; then
  xdotool windowactivate --sync "$clock" 2>/dev/null || xdotool windowfocus "$clock"
  sleep 0.3
  pressed=$(now_ms)
  xdotool key alt+F4
  gone=""
  for i in $(seq 1 250); do
    kill -0 "$CLOCK_PID" 2>/dev/null || { gone=$(now_ms); break; }
    sleep 0.02
  done
  if [ -n "$gone" ]; then
    took=$((gone - pressed))
    echo "the process ended $took ms after Alt+F4"
    check "the window closed (logged)" grep -a -q "TForm1::FormClose" "$dir/console.log"
    check "the process ended without waiting for the worker (logged)" \
      grep -a -q "Exit: a speech worker is still busy; the process ends without it" "$dir/console.log"
  else
    fail "the clock's process ended within 5 s of Alt+F4"
    grep -a -q "TForm1::FormClose" "$dir/console.log" || echo "note: the window did not close"
  fi
  wait "$CLOCK_PID" 2>/dev/null
  CLOCK_PID=""
fi
tail -5 "$dir/console.log" | tr -d '\r' | sed 's/^/log: /'
reset_registry
finish

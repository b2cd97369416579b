#!/usr/bin/env bash
# The clock with the keyboard alone, under Wine with a window manager and real keys: Ctrl+T opens
# the task list, Tab reaches "Add new" and Enter opens the task editor, Esc closes the editor and
# then the list, Shift+F10 and the Menu key open the clock's menu; a firing alarm's Stop takes
# Space and Esc closes the alarm. A screen reader's client in a process of its own
# (vemtaro_reader_client, beside the build's tests) lists the task list's and the alarm window's
# objects and looks for their buttons by name with the push-button role.
# Screenshots: build/keys-*.png.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

build=$(cd "$(dirname "$EXE")/../.." && pwd)
shots="$SRC/build"
mkdir -p "$shots"
reader="${VM_READER_CLIENT:-$build/tests/win32/reader_client/vemtaro_reader_client.exe}"

CLOCK_PID=""
cleanup() {
  [ -n "$CLOCK_PID" ] && kill "$CLOCK_PID" 2>/dev/null
  stop_window_manager
}
trap cleanup EXIT

require_tools xdotool openbox xwininfo import tesseract
[ -f "$reader" ] || skip "the reader client $reader is not built"
start_window_manager || { fail "the window manager starts"; finish; }

find_window() {  # find_window NAME [SECONDS] -> the visible window with this exact title
  local i w
  for i in $(seq 1 $((${2:-15} * 5))); do
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$WIDTH" -gt 50 ] && { echo "$w"; return 0; }
    done
    sleep 0.2
  done
  return 1
}
gone() {  # gone NAME SECONDS: no visible window has this title any more
  local i
  for i in $(seq 1 $(($2 * 5))); do
    [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
    sleep 0.2
  done
  return 1
}
shot() { import -display "$DISPLAY" -window root "$shots/$1" 2>/dev/null; }
ocr() {  # ocr PNG -> the text tesseract reads in it, enlarged three times
  convert "$1" -resize 300% "$1.big.png" 2>/dev/null && tesseract "$1.big.png" - --psm 6 2>/dev/null
  rm -f "$1.big.png"
}
press() { xdotool key --clearmodifiers "$@"; sleep 0.7; }
# The reader client on window $1, expecting the push buttons named in the rest; its listing goes
# to $shots/keys-reader-<file>.txt. A cross-process question that Wine cannot carry is a skip of
# that check, reported with the error the client got.
ask_reader() {
  local file="$1" window="$2"; shift 2
  local out="$shots/keys-reader-$file.txt" status
  ( cd "$(dirname "$reader")" && timeout 60 "$WINE_RUN" "./$(basename "$reader")" "$window" "$@" ) \
    | tr -d '\r' >"$out" 2>&1
  status=${PIPESTATUS[0]}
  echo "--- what a screen reader finds in \"$window\" ($out):"; cat "$out"
  case "$status" in
    0) pass "a screen reader finds the push buttons of \"$window\": $*" ;;
    3) if grep -qiE '0x80040155|0x80004002|0x80040154' "$out"; then
         echo "SKIPPED CHECK: Wine could not carry the accessible object to another process ($(tail -1 "$out"))"
       else
         fail "the window \"$window\" gives a screen reader its accessible object"
       fi ;;
    *) fail "a screen reader finds the push buttons of \"$window\" (status $status)" ;;
  esac
}

# ---- 1: the task list, the editor and the clock's menu by keys ----
reset_registry
dir=$(new_program_folder)
start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
sleep 2
clock=$(find_window Vemtaro) || fail "the clock window is found"
xdotool windowactivate --sync "$clock" 2>/dev/null || true
xdotool keydown ctrl key t keyup ctrl
list=$(find_window "Task List")
check "Ctrl+T opens the task list" test -n "$list"
if [ -n "$list" ]; then
  sleep 1
  press Tab
  shot keys-task-list-add-new.png
  # The dotted focus frame 3 pixels inside "Add new" (90 x 39 at 4, 2): along its top edge every
  # other pixel is inverted, so neighbours differ all the way; an unfocused button's edge is even.
  o=($(xwininfo -id "$list" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'))
  changes=$(convert "$shots/keys-task-list-add-new.png" -crop "60x1+$((o[0] + 17))+$((o[1] + 5))" txt:- 2>/dev/null |
    awk 'NR > 1 { if (NR > 2 && $3 != last) n++; last = $3 } END { print n + 0 }')
  check "Tab reaches \"Add new\": its dotted focus frame is drawn ($changes changes along 60 pixels)" test "$changes" -ge 40
  ask_reader task-list "Task List" "Add new" "Edit" "Delete" "Calendar view" "Side panel"
  ask_reader clock Vemtaro Processes Options "Task List" "Hide to the notification area" Close
  size_before=$(stat -c %s "$dir/tasks.sft" 2>/dev/null || echo none)
  press Return
  editor=$(find_window "New Task" 10)
  check "Enter on \"Add new\" opens the task editor" test -n "$editor"
  if [ -n "$editor" ]; then
    sleep 1
    shot keys-task-editor.png
    text=$(ocr "$shots/keys-task-editor.png")
    check "the editor shows its WHAT and WHEN halves" grep -q 'WHEN' <<<"$text"
    press Escape
    check "Esc closes the editor (nothing changed, nothing asked)" gone "New Task" 5
    check "no question was asked" test -z "$(xdotool search --onlyvisible --name '^Saving$' 2>/dev/null)"
    check "no task was added (tasks.sft $size_before bytes before, $(stat -c %s "$dir/tasks.sft" 2>/dev/null) after)" \
      test "$(stat -c %s "$dir/tasks.sft" 2>/dev/null || echo none)" = "$size_before"
  fi
  sleep 0.5
  xdotool windowactivate --sync "$list" 2>/dev/null || true
  press Escape
  check "Esc closes the task list" gone "Task List" 5
  check "the list's close ran as from its close box" wait_for_text "$dir/console.log" 5 "TMemForm::FormClose 89"
fi

xdotool windowactivate --sync "$clock" 2>/dev/null || true
sleep 0.5
xdotool keydown shift key F10 keyup shift
sleep 1
shot keys-clock-menu.png
text=$(ocr "$shots/keys-clock-menu.png")
check "Shift+F10 opens the clock's menu" grep -q 'Always on top' <<<"$text"
press Escape
sleep 0.5
xdotool windowactivate --sync "$clock" 2>/dev/null || true
press Menu
shot keys-clock-menu-key.png
text=$(ocr "$shots/keys-clock-menu-key.png")
check "the Menu key opens the clock's menu" grep -q 'Always on top' <<<"$text"
press Escape
check "closing ends the clock" close_clock
CLOCK_PID=""
rm -rf "$dir"

# ---- 2: a firing alarm: Space on Stop, Esc closes ----
reset_registry
dir=$(new_program_folder)
python3 - "$dir" <<'PY'
import datetime, math, struct, sys, wave
folder = sys.argv[1]
with wave.open(folder + '/ding.wav', 'wb') as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
    w.writeframes(b''.join(struct.pack('<h', int(8000 * math.sin(2 * math.pi * 880 * i / 22050)))
                           for i in range(22050 // 2)))
now = datetime.datetime.now() + datetime.timedelta(seconds=5)
r = bytearray(816)
struct.pack_into('<dd', r, 0, (now - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0, 0.0)
struct.pack_into('<IIIIi', r, 16, 0, 1 | 64, 0, 1, 1)   # message and sound, once, active
r[36:39] = bytes([0, 1, 0])
struct.pack_into('<HH', r, 40, 127, 0)                   # the sound repeats until stopped
r[44:44 + 13] = b'Tea is ready!'
wav = ('Z:' + folder.replace('/', '\\') + '\\ding.wav').encode('latin-1')
r[556:556 + len(wav)] = wav
open(folder + '/tasks.sft', 'wb').write(b'Vemtaro2' + bytes(r))
PY
( cd "$dir" && WINEDEBUG=trace+mci exec "$WINE_RUN" ./vemtaro.exe >/dev/null 2>"$dir/mci.txt" ) &
CLOCK_PID=$!
check "the clock starts again" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
alarm=$(find_window 'Vemtaro - alarm!' 20)
check "the task opens the alarm window" test -n "$alarm"
if [ -n "$alarm" ]; then
  plays() { grep -a -c 'play song notify' "$dir/mci.txt" 2>/dev/null || true; }
  for i in $(seq 1 40); do [ "$(plays)" -ge 1 ] && break; sleep 0.2; done
  check "the sound plays" test "$(plays)" -ge 1
  ask_reader alarm 'Vemtaro - alarm!' Stop Play Pause
  xdotool windowactivate --sync "$alarm" 2>/dev/null || true
  closes_before=$(grep -a -c 'close song' "$dir/mci.txt" 2>/dev/null || true)
  press space
  shot keys-alarm-stopped.png
  closes_after=$(grep -a -c 'close song' "$dir/mci.txt" 2>/dev/null || true)
  check "Space on Stop closes the sound ($closes_before -> $closes_after closes)" test "$closes_after" -gt "$closes_before"
  played=$(plays)
  sleep 3
  # The sound device's report of the cut play re-arms the window, as for the mouse's Stop.
  echo "note: plays after Stop: $played, three seconds later $(plays)"
  check "the alarm window stays open after Stop" test -n "$(xdotool search --onlyvisible --name '^Vemtaro - alarm!$' 2>/dev/null)"
  press Escape
  check "Esc closes the alarm window" gone 'Vemtaro - alarm!' 5
  check "its close ran as from the close box" wait_for_text "$dir/console.log" 5 "TAlForm::FormClose"
fi
check "closing ends the clock" close_clock
CLOCK_PID=""
rm -rf "$dir"
reset_registry
finish

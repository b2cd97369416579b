#!/usr/bin/env bash
# What ships, as a new user meets it, under Wine with a window manager and real input: the release
# package zip (scripts/package writes it) is unzipped; its setup.exe greets a Russian user in
# Russian and anyone else in English; an installation through the real folder browser; the
# installed release clock, started from the last page, fires a task made in its editor in the
# alarm window; the uninstaller refuses while the clock runs; the clock closed, the removal leaves
# nothing but tasks.sft and console.log. Screenshots: build/package-*.png.
#
# Wine takes a process's user interface language from LC_ALL (LANG alone does not change it here),
# so the Russian run starts setup.exe with LC_ALL=ru_RU.UTF-8.
SRC="$1"; ZIP="$2"; VERSION="$3"
EXE=""
. "$SRC/tests/e2e/e2e_lib.sh"
shots="$SRC/build"
mkdir -p "$shots"

if [ ! -f "$ZIP" ]; then
  echo "FAIL: the release package $ZIP is missing: run scripts/package first"
  exit 1
fi
require_tools openbox xdotool xwininfo import convert tesseract python3
tesseract --list-langs 2>/dev/null | grep -qx rus || skip "tesseract-ocr-rus is not installed (Russian texts cannot be read)"

work=$(mktemp -d "${TMPDIR:-/tmp}/vemtaro-package-e2e.XXXXXX")
setup_pid=""
stop_setup() {
  [ -n "$setup_pid" ] || return 0
  kill "$setup_pid" 2>/dev/null
  for _ in $(seq 1 25); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.2; done
  kill -9 "$setup_pid" 2>/dev/null
  setup_pid=""
}
clock_gone() {  # no clock runs in this test's Wine prefix (other prefixes may run their own)
  local p
  for p in $(pgrep -f -i 'vemtaro\.exe' || true); do
    [ "$(tr 'A-Z' 'a-z' 2>/dev/null < /proc/$p/comm)" = vemtaro.exe ] || continue
    tr '\0' '\n' 2>/dev/null < /proc/$p/environ | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 1
  done
  return 0
}
cleanup() {
  stop_setup
  clock_gone || "$WINE_RUN" taskkill /f /im vemtaro.exe >/dev/null 2>&1
  stop_window_manager
  rm -rf "$work"
}
trap cleanup EXIT

# ---- the zip as it ships ----
python3 - "$ZIP" "$work" <<'PY' || { echo "FAIL: $ZIP cannot be unzipped"; exit 1; }
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
pkg=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'vemtaro-*' | head -1)
[ -n "$pkg" ] || { echo "FAIL: the zip holds no vemtaro-* folder"; exit 1; }
packaged=$(ls "$pkg" | sort | tr '\n' ' ')
shipped=(vemtaro.exe uninstall.exe uninstall.inf english.vml russian.vml bell.htm vemtaro-help.htm)

# The shortcut the automated tests use in place of the folder browser is not in what ships.
contains() {  # contains FILE TEXT: the text, in 8-bit or UTF-16 letters, occurs in the file
  python3 - "$1" "$2" <<'PY'
import sys
data, text = open(sys.argv[1], 'rb').read(), sys.argv[2]
sys.exit(0 if text.encode('ascii') in data or text.encode('utf-16-le') in data else 1)
PY
}
if contains "$pkg/setup.exe" VEMTARO_SETUP_TEST_FOLDER; then
  fail "the shipped setup.exe holds the test folder shortcut"
else
  pass "the shipped setup.exe holds no test folder shortcut"
fi

# The version: the installation script's entry and both programs' version resources.
version_of() {  # version_of EXE: the ProductVersion text of its version resource
  python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], 'rb').read()
key = 'ProductVersion'.encode('utf-16-le') + b'\0\0'
at = data.find(key)
if at < 0:
    sys.exit(1)
at += len(key)
while data[at:at + 2] == b'\0\0':
    at += 2
end = at
while data[end:end + 2] != b'\0\0':
    end += 2
print(data[at:end].decode('utf-16-le'))
PY
}
inf_version=$(sed -n 's/^Version="\(.*\)"\r\?$/\1/p' "$pkg/setup.inf")
check "setup.inf's version is $VERSION (got $inf_version)" test "$inf_version" = "$VERSION"
check "setup.exe's version is $VERSION (got $(version_of "$pkg/setup.exe"))" test "$(version_of "$pkg/setup.exe")" = "$VERSION"
check "vemtaro.exe's version is $VERSION (got $(version_of "$pkg/vemtaro.exe"))" test "$(version_of "$pkg/vemtaro.exe")" = "$VERSION"

# ---- a clean start: nothing of an earlier installation ----
win_path() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unix_path() { "$WINE_RUN" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vemtaro'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
entry_exists() { "$WINE_RUN" reg query "$uninstall_key" >/dev/null 2>&1; }
uninstall_value() {
  "$WINE_RUN" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '{ line=$0; sub(/^ +/, "", line); if (index(line, n" ") == 1) { sub(/^[^ ].*REG_[A-Z_]+ +/, "", line); print line } }'
}
appdata=$("$WINE_RUN" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
profile=$("$WINE_RUN" cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
localappdata=$("$WINE_RUN" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
programs=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs")
[ -n "$programs" ] && [ -n "$profile" ] || { echo "FAIL: no Start menu or profile folder in the prefix"; exit 1; }
"$WINE_RUN" reg delete "$uninstall_key" /f >/dev/null 2>&1
rm -rf "$programs/Vemtaro" "$(unix_path "$profile\\Vemtaro")" "$(unix_path "$localappdata\\Programs\\Vemtaro")"
reset_registry

start_window_manager || { fail "the window manager starts"; finish; }

# ---- windows, clicks, screenshots, text recognition ----
window_size() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w"x"h}'; }
find_setup_window() {  # find_setup_window main|box SECONDS: the setup window (554 x 395) or a box
  local kind="$1" i id size
  for i in $(seq 1 $(($2 * 4))); do
    for id in $(xdotool search --pid "$setup_pid" --onlyvisible --name '^Vemtaro$' 2>/dev/null); do
      size=$(window_size "$id")
      case "$kind:$size" in
        main:554x395) echo "$id"; return 0 ;;
        box:554x395 | box:x | box:) ;;
        box:*) echo "$id"; return 0 ;;
      esac
    done
    sleep 0.25
  done
  return 1
}
find_named() {  # find_named PATTERN MIN_WIDTH SECONDS: a visible window of that caption
  local i id w
  for i in $(seq 1 $(($3 * 4))); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      w=$(window_size "$id"); w=${w%x*}
      [ "${w:-0}" -ge "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.25
  done
  return 1
}
origin() {  # origin ID: sets OX, OY, the window's client corner on the screen
  local info
  info=$(xwininfo -id "$1")
  OX=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  OY=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
}
click_in() {  # click_in ID X Y: a click at client coordinates, as a user makes it
  origin "$1"
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  sleep 0.3
  xdotool mousemove $((OX + $2)) $((OY + $3)) sleep 0.2 click 1
}
key_in() {  # key_in ID KEY...
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  sleep 0.3
  shift
  xdotool key "$@"
}
shot() { import -display "$DISPLAY" -window root "$shots/$1" 2>/dev/null; }
window_picture() {  # window_picture ID: a checksum of what the window shows now
  local info
  info=$(xwininfo -id "$1") || return 1
  import -display "$DISPLAY" -window root \
    -crop "$(awk '/Width:/ {w=$2} /Height:/ {h=$2} /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print w"x"h"+"x"+"y}' <<<"$info")" \
    rgb:- 2>/dev/null | md5sum
}
settled() {  # settled ID: the window's picture stays the same for two seconds, within 30
  local last="" now i same=0
  for i in $(seq 1 30); do
    now=$(window_picture "$1") || return 1
    if [ "$now" = "$last" ]; then same=$((same + 1)); [ "$same" -ge 2 ] && return 0; else same=0; fi
    last=$now
    sleep 1
  done
  return 1
}
reaches_start_folder() {  # reaches_start_folder ID: the tree shows "Programs" within about a minute, then stands still
  local i
  for i in $(seq 1 4); do
    shows "$1" eng "Programs" >/dev/null && { settled "$1"; return; }
  done
  return 1
}
read_window() {  # read_window ID LANG [X Y W H]: the text in the window (or that part of it)
  local png info
  png=$(mktemp --suffix=.png)
  info=$(xwininfo -id "$1") || { rm -f "$png"; return 1; }
  import -display "$DISPLAY" -window root \
    -crop "$(awk -v px="${3:-}" -v py="${4:-}" -v pw="${5:-}" -v ph="${6:-}" '/Width:/ {w=$2} /Height:/ {h=$2} /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
      END { if (pw != "") { x += px; y += py; w = pw; h = ph } print w"x"h"+"x"+"y }' <<<"$info")" \
    -resize 300% "$png" 2>/dev/null
  # A block of text (--psm 6) reads most pages; a page with one line on white reads only as a
  # page (--psm 3).
  { tesseract "$png" - -l "$2" --psm 6; tesseract "$png" - -l "$2" --psm 3; } 2>/dev/null | tr -s ' \n' ' '
  rm -f "$png"
}
shows() {  # shows ID LANG TEXT [X Y W H]: the window (or that part) reads TEXT, blanks ignored
  local i seen
  for i in 1 2 3 4 5; do
    seen=$(read_window "$1" "$2" "${@:4}")
    grep -qiF -- "$(tr -d ' ' <<<"$3")" <<<"$(tr -d ' ' <<<"$seen")" && return 0
    sleep 1
  done
  echo "  the window read: $seen"
  return 1
}
start_setup() {  # start_setup FOLDER PROGRAM [ENV=VALUE...]
  local folder="$1" program="$2"; shift 2
  stop_setup
  ( cd "$folder" && exec env "$@" "$WINE_RUN" "./$program" >/dev/null 2>&1 ) &
  setup_pid=$!
}
setup_ends() {
  local i
  for i in $(seq 1 $(($1 * 5))); do kill -0 "$setup_pid" 2>/dev/null || { setup_pid=""; return 0; }; sleep 0.2; done
  return 1
}
answer_box() {  # presses Enter (the default button) in the box that is up, until it has gone
  local box attempt
  box=$(find_setup_window box "$1") || return 1
  for attempt in 1 2 3 4; do
    key_in "$box" Return
    for _ in $(seq 1 16); do
      xwininfo -id "$box" 2>/dev/null | grep -q IsViewable || return 0
      sleep 0.25
    done
  done
  return 1
}
# Places on the setup window (client coordinates): the buttons and the run check box.
next_button=(332 357); cancel_button=(442 357); run_after=(210 212)

# ---- Russian: the setup greets a Russian user in Russian ----
start_setup "$pkg" setup.exe LC_ALL=ru_RU.UTF-8
main=$(find_setup_window main 60) || fail "the setup window appears for a Russian user"
if [ -n "$main" ]; then
  sleep 1
  shot package-setup-ru.png
  check "the Russian start page reads \"Программа установки Vemtaro\"" shows "$main" rus "Программа установки"
  check "and \"Продолжить установку\"" shows "$main" rus "Продолжить установку"
  click_in "$main" "${cancel_button[@]}"  # "Отмена"
  check "Отмена closes it" setup_ends 20
fi
check "nothing was installed by a cancelled setup" bash -c '! "$0" reg query "$1" >/dev/null 2>&1' "$WINE_RUN" "$uninstall_key"

# ---- English: the installation, through the real folder browser ----
start_setup "$pkg" setup.exe
main=$(find_setup_window main 60) || fail "the setup window appears for an English user"
if [ -n "$main" ]; then
  sleep 1
  shot package-setup-en.png
  check "the English start page reads \"Vemtaro Setup\"" shows "$main" eng "Vemtaro Setup"
  check "and \"Click Next to continue\"" shows "$main" eng "Click Next to continue"
  click_in "$main" "${next_button[@]}"
  browser=$(find_named '^Browse for Folder$' 200 20)
  check "Next opens the system's folder browser" test -n "$browser"
  if [ -n "$browser" ]; then
    sleep 1
    check "the browser asks for the installation folder" shows "$browser" eng "Choose the folder to install"
    # The browser walks its tree down to the folder it starts in, one level after the other, and
    # on a busy machine it may stand still halfway: OK once "Programs" shows and the picture has
    # stood still.
    # In a new Wine prefix the browser's tree stops at the user's folder, above the hidden
    # AppData that holds the start folder: a Wine limitation, reported as skipped, and the
    # installation then goes on into the folder the browser shows.
    if reaches_start_folder "$browser"; then
      pass "the browser settles on its start folder"
      browser_started_right=1
    else
      echo "SKIP (Wine): the browser did not reach its start folder inside the hidden AppData"
      browser_started_right=0
      settled "$browser"
    fi
    shot package-browser.png
    key_in "$browser" Return  # OK
    for _ in $(seq 1 20); do xwininfo -id "$browser" 2>/dev/null | grep -q IsViewable || break; sleep 0.25; done
  fi
  sleep 1
  shot package-setup-folder.png
  click_in "$main" "${next_button[@]}"
  check "the installation writes the uninstall entry" bash -c 'for i in $(seq 1 240); do "$0" reg query "$1" >/dev/null 2>&1 && exit 0; sleep 0.25; done; exit 1' "$WINE_RUN" "$uninstall_key"
  sleep 1
  shot package-setup-done.png
  check "the last page reads \"Installation completed successfully\"" shows "$main" eng "Installation completed successfully"
  click_in "$main" "${run_after[@]}"
  sleep 0.5
  click_in "$main" "${next_button[@]}"  # "Close", the installed program to be started
  check "Close ends the setup" setup_ends 20
fi
win_target=$(uninstall_value InstallLocation)
target=$(unix_path "$win_target")
if [ "${browser_started_right:-1}" = 1 ]; then
  check "the files went to %LOCALAPPDATA%\\Programs\\Vemtaro, where the browser starts (got $win_target)" \
    test "$win_target" = "$localappdata\\Programs\\Vemtaro" -a -d "$target"
else
  check "the files went to a folder named Vemtaro in the one the browser showed (got $win_target)" \
    test "${win_target##*\\}" = Vemtaro -a -d "$target"
fi
[ -n "$target" ] && [ -d "$target" ] || { finish; }
for f in "${shipped[@]}"; do check "installed $f" test -f "$target/$f"; done
check "the installed clock is the shipped one" cmp -s "$target/vemtaro.exe" "$pkg/vemtaro.exe"
check "the uninstaller is the shipped setup program" cmp -s "$target/uninstall.exe" "$pkg/setup.exe"
check "DisplayVersion is $VERSION" test "$(uninstall_value DisplayVersion)" = "$VERSION"
check "the clock's shortcut is in the Start menu" test -f "$programs/Vemtaro/Vemtaro.lnk"
check "the setup left its package folder as it was" test "$(ls "$pkg" | sort | tr '\n' ' ')" = "$packaged"

# ---- the installed release clock: a task made in the editor fires in the alarm window ----
check "the installed clock started" wait_for_text "$target/console.log" 40 "TForm1::FormCreate"
clock=$(find_named '^Vemtaro$' 250 20)
check "the clock window is on screen" test -n "$clock"
records() { echo $(( ($(stat -c %s "$target/tasks.sft" 2>/dev/null || echo 8) - 8) / 816 )); }
if [ -n "$clock" ]; then
  sleep 1
  shot package-clock.png
  check "nothing but the shipped files, tasks.sft and console.log are in the folder" \
    test "$(ls "$target" | sort | tr '\n' ' ')" = "$(printf '%s\n' "${shipped[@]}" tasks.sft console.log | sort | tr '\n' ' ')"
  # Autostart switched on from the clock's options menu (its last item but one), as a user does.
  origin "$clock"
  xdotool mousemove $((OX + 60)) $((OY + 30)) sleep 0.3 click 3
  sleep 1.5
  shot package-options-menu.png
  xdotool mousemove $((OX + 120)) $((OY + 30 + 160)) sleep 0.3 click 1
  check "Autostart writes the clock's Run entry" bash -c 'for i in $(seq 1 20); do "$0" reg query "$1" /v Vemtaro >/dev/null 2>&1 && exit 0; sleep 0.25; done; exit 1' "$WINE_RUN" "$run_key"
  origin "$clock"
  xdotool mousemove $((OX + 263)) $((OY + 7)) sleep 0.3 click 1  # "_": to the notification area
  check "the notification-area icon appears" test -n "$(find_named '^Wine System Tray$' 20 10)"
  sleep 1
  before=$(records)
  # A new task is due at the next whole minute: opened early in a minute, it is saved in time.
  while [ "$(date +%S | sed 's/^0//')" -gt 35 ]; do sleep 1; done
  xdotool mousemove 12 32 sleep 0.3 click 3
  sleep 1.5
  xdotool mousemove 64 105 sleep 0.3 click 1  # "New Task", the fourth item
  editor=$(find_named '^New Task$' 600 15)
  check "the icon's menu item New Task opens the editor" test -n "$editor"
  if [ -n "$editor" ]; then
    origin "$editor"
    EX=$OX; EY=$OY
    # A window opened from the notification-area menu gets the keyboard when clicked.
    xdotool mousemove $((EX + 555)) $((EY + 265)) click 1 sleep 0.3
    xdotool mousemove $((EX + 150)) $((EY + 118)) click 1 sleep 0.3 key ctrl+End
    for _ in $(seq 1 30); do xdotool key BackSpace; done
    xdotool type --delay 30 "Tea is ready"
    sleep 0.5
    shot package-editor.png
    xdotool mousemove $((EX + 555)) $((EY + 265)) click 1 sleep 0.3 key Escape
    saving=$(find_named '^Saving$' 100 10)
    check "Esc asks whether to save" test -n "$saving"
    [ -n "$saving" ] && key_in "$saving" Return  # Yes
    sleep 2
    check "the task was saved" test "$(records)" -eq $((before + 1))
  fi
  alarm=$(find_named '^Vemtaro - alarm!$' 100 90)
  check "the task fires in the alarm window" test -n "$alarm"
  if [ -n "$alarm" ]; then
    check "the alarm window shows the task" wait_for_text "$target/console.log" 10 " Message = Tea is ready"
    sleep 1.5
    shot package-alarm.png
    check "the alarm window's row reads the message" shows "$alarm" eng "Tea is ready" 150 110 230 24
    key_in "$alarm" alt+F4
    sleep 1
  fi

  # ---- the uninstaller refuses while the clock runs ----
  start_setup "$target" uninstall.exe
  main=$(find_setup_window main 60) || fail "the uninstaller's window appears"
  if [ -n "$main" ]; then
    check "the uninstaller's start page is English" shows "$main" eng "This is the uninstaller"
    click_in "$main" "${next_button[@]}"
    check "the removal asks first" answer_box 20
    refusal=$(find_setup_window box 20)
    check "a running clock is reported" test -n "$refusal"
    if [ -n "$refusal" ]; then
      shot package-uninstall-refused.png
      check "the report says the program runs" shows "$refusal" eng "The program is running now"
      answer_box 10
    fi
    check "the refused removal left the uninstall entry" entry_exists
    check "and the clock's files" test -f "$target/vemtaro.exe" -a -f "$target/english.vml"
    click_in "$main" "${cancel_button[@]}"
    check "Cancel ends the uninstaller" setup_ends 20
  fi
fi

# ---- the clock closed, the removal ----
"$WINE_RUN" taskkill /im vemtaro.exe >/dev/null 2>&1  # the close message, as the system sends it
for _ in $(seq 1 80); do clock_gone && break; sleep 0.25; done
check "the clock closes" clock_gone
start_setup "$target" uninstall.exe
main=$(find_setup_window main 60) || fail "the uninstaller's window appears again"
if [ -n "$main" ]; then
  click_in "$main" "${next_button[@]}"
  check "the removal asks again" answer_box 20
  check "the uninstall entry goes" bash -c 'for i in $(seq 1 240); do "$0" reg query "$1" >/dev/null 2>&1 || exit 0; sleep 0.25; done; exit 1' "$WINE_RUN" "$uninstall_key"
  sleep 1
  shot package-removed.png
  check "the last page reads \"The program has been removed\"" shows "$main" eng "The program has been removed"
  click_in "$main" "${next_button[@]}"  # "Close"
  check "Close ends the uninstaller" setup_ends 20
fi
for _ in $(seq 1 160); do [ -e "$target/uninstall.exe" ] || break; sleep 0.25; done
check "nothing but tasks.sft and console.log is left (left: $(ls "$target" | tr '\n' ' '))" \
  test "$(ls "$target" | sort | tr '\n' ' ')" = "console.log tasks.sft "
check "the Start menu shortcuts are gone" test ! -e "$programs/Vemtaro"
check "the clock's Run entry is gone" bash -c '! "$0" reg query "$1" /v Vemtaro >/dev/null 2>&1' "$WINE_RUN" "$run_key"
check "the setup left its package folder as it was after the removal too" test "$(ls "$pkg" | sort | tr '\n' ' ')" = "$packaged"

finish

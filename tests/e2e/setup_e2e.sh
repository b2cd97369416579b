#!/usr/bin/env bash
# The setup program as a user meets it, under Wine with a window manager and real input: Cancel on
# the start page, an installation from a package folder (setup.exe beside setup.inf) into a test
# folder, the installed clock started from the last page, the removal by the installed
# uninstaller, and a package with a file missing, which takes back what it had copied. Only the
# folder browser is bypassed: this is the test build of the setup program (vemtaro-setup-testing),
# which takes the folder from VEMTARO_SETUP_TEST_FOLDER; the shipped program is driven through its
# real folder browser by release_package_e2e.sh.
EXE="$1"; SRC="$2"; SETUP="$3"
. "$SRC/tests/e2e/e2e_lib.sh"
shots="$SRC/build"
mkdir -p "$shots"

work=$(mktemp -d "${TMPDIR:-/tmp}/vemtaro-setup-e2e.XXXXXX")
pkg="$work/package"
setup_pid=""
stop_setup() {  # ends a setup program that is still running, whatever it is showing
  [ -n "$setup_pid" ] || return 0
  kill "$setup_pid" 2>/dev/null
  for _ in $(seq 1 25); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.2; done
  kill -9 "$setup_pid" 2>/dev/null
  setup_pid=""
}
cleanup() {
  stop_setup
  "$WINE_RUN" taskkill /f /im vemtaro.exe >/dev/null 2>&1
  stop_window_manager
  rm -rf "$work"
}
trap cleanup EXIT

"$SRC/scripts/lay-out-package" "$pkg" "$EXE" "$SETUP" || { echo "FAIL: package layout"; exit 1; }
win_path() { "$WINE_RUN" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unix_path() { "$WINE_RUN" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# A window manager gives the windows title bars and focus as on a desktop.
require_tools openbox xdotool xwininfo import python3
start_window_manager || { echo "FAIL: the window manager starts"; exit 1; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vemtaro'
appdata=$("$WINE_RUN" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
programs=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs")
common=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')
[ -n "$programs" ] || { echo "FAIL: no Start menu folder in the prefix"; exit 1; }
"$WINE_RUN" reg delete "$uninstall_key" /f >/dev/null 2>&1
rm -rf "$programs/Vemtaro" "$common/Vemtaro"

uninstall_value() {  # the data of one value of the uninstall entry, or nothing
  "$WINE_RUN" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '{ line=$0; sub(/^ +/, "", line); if (index(line, n" ") == 1) { sub(/^[^ ].*REG_[A-Z_]+ +/, "", line); print line } }'
}
entry_exists() { "$WINE_RUN" reg query "$uninstall_key" >/dev/null 2>&1; }

# The windows titled "Vemtaro": the setup window is 554 x 395 inside its frame, a message box is
# smaller.
window_size() { xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w"x"h}'; }
find_window() {  # find_window main|box SECONDS -> prints the window id
  local kind="$1" seconds="$2" i id size
  for i in $(seq 1 $((seconds * 4))); do
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
# Clicks at a point given in the window's client coordinates, as a user would.
click_at() {
  local id="$1" x="$2" y="$3" left top
  left=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $4}')
  top=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $4}')
  xdotool windowactivate --sync "$id" >/dev/null 2>&1
  sleep 0.3
  xdotool mousemove $((left + x)) $((top + y)) click 1
}
click_next() { click_at "$1" 332 357; }
click_cancel() { click_at "$1" 442 357; }
click_run_after() { click_at "$1" 210 212; }
answer_box() {  # presses Enter (the default button) in the message box that is up
  local box
  box=$(find_window box "$1") || return 1
  # The key goes again until the box has gone (activation may come late on a loaded machine).
  local attempt
  for attempt in 1 2 3 4; do
    xdotool windowactivate --sync "$box" >/dev/null 2>&1
    sleep 0.3
    xdotool key Return
    wait_until 4 bash -c '! xwininfo -id "$0" >/dev/null 2>&1 || ! xwininfo -id "$0" | grep -q IsViewable' "$box" &&
      return 0
  done
  return 1
}
start_setup() {  # start_setup FOLDER PROGRAM [TEST_FOLDER]
  stop_setup
  if [ -n "${3:-}" ]; then
    ( cd "$1" && VEMTARO_SETUP_TEST_FOLDER="$3" exec "$WINE_RUN" "./$2" >/dev/null 2>&1 ) &
  else
    ( cd "$1" && exec "$WINE_RUN" "./$2" >/dev/null 2>&1 ) &
  fi
  setup_pid=$!
}
setup_ends() {  # waits up to $1 seconds for the setup program to end
  local i
  for i in $(seq 1 $(($1 * 5))); do kill -0 "$setup_pid" 2>/dev/null || { setup_pid=""; return 0; }; sleep 0.2; done
  return 1
}
wait_until() {  # wait_until SECONDS command...
  local seconds="$1" i; shift
  for i in $(seq 1 $((seconds * 4))); do "$@" && return 0; sleep 0.25; done
  return 1
}
shot() { import -display "$DISPLAY" -window root "$shots/$1" 2>/dev/null; }
# The file a shortcut points at, as its link-information block names it: the local base path
# (the wide one where the block has it) followed by the common path suffix.
link_target() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
def text(at, wide):
    if wide:
        end = at
        while data[end:end + 2] != b'\0\0': end += 2
        return data[at:end].decode('utf-16-le')
    return data[at:data.index(b'\0', at)].decode('latin-1')
if len(data) < 0x4C or struct.unpack_from('<I', data, 0)[0] != 0x4C:
    sys.exit('not a shell link')
flags = struct.unpack_from('<I', data, 0x14)[0]
at = 0x4C
if flags & 1:  # an item list comes first
    at += 2 + struct.unpack_from('<H', data, at)[0]
if not flags & 2:
    sys.exit('no link information')
size, header, info_flags, volume, base, network, suffix = struct.unpack_from('<7I', data, at)
if not info_flags & 1:
    sys.exit('no local path')
if header >= 0x24:
    base_w, suffix_w = struct.unpack_from('<2I', data, at + 0x1C)
    print(text(at + base_w, True) + text(at + suffix_w, True))
else:
    print(text(at + base, False) + text(at + suffix, False))
PY
}

shipped=(vemtaro.exe uninstall.exe uninstall.inf english.vml russian.vml bell.htm vemtaro-help.htm)

# --- Cancel on the start page changes nothing.
target_parent="$work/installed"
mkdir -p "$target_parent"
start_setup "$pkg" setup.exe
main=$(find_window main 60) || fail "the setup window appears"
if [ -n "$main" ]; then
  shot setup-start.png
  click_cancel "$main"
  check "Cancel on the start page closes the setup" setup_ends 20
fi
check "Cancel copied nothing" test -z "$(ls -A "$target_parent")"
check "Cancel wrote no uninstall entry" bash -c '! "$0" reg query "$1" >/dev/null 2>&1' "$WINE_RUN" "$uninstall_key"
check "Cancel made no shortcuts" test ! -e "$programs/Vemtaro"

# --- Installation.
start_setup "$pkg" setup.exe "$(win_path "$target_parent")"
main=$(find_window main 60) || fail "the setup window appears for the installation"
target="$target_parent/Vemtaro"
if [ -n "$main" ]; then
  click_next "$main"     # start page -> folder chosen
  sleep 1.5
  shot setup-folder.png
  check "choosing the folder copies nothing yet" test ! -e "$target"
  click_next "$main"     # folder chosen -> the work is done
  check "the uninstall entry appears" wait_until 60 entry_exists
  sleep 1
  shot setup-done.png
  click_run_after "$main"
  sleep 0.5
  click_next "$main"     # "Close", with the run check box ticked
  check "Close ends the setup" setup_ends 20
fi
for f in "${shipped[@]}"; do check "installed $f" test -f "$target/$f"; done
check "the uninstaller is the setup program" cmp -s "$target/uninstall.exe" "$pkg/setup.exe"
check "setup.inf stays in the package only" test ! -e "$target/setup.inf"
check "DisplayName" test "$(uninstall_value DisplayName)" = Vemtaro
check "DisplayVersion" test -n "$(uninstall_value DisplayVersion)"
check "Publisher" test -n "$(uninstall_value Publisher)"
win_target=$(win_path "$target"); win_target=${win_target%\\}
check "InstallLocation is the folder ($(uninstall_value InstallLocation))" test "$(uninstall_value InstallLocation)" = "$win_target"
check "DisplayIcon is the clock" test "$(uninstall_value DisplayIcon)" = "$win_target\\vemtaro.exe"
check "UninstallString starts the installed uninstaller" test "$(uninstall_value UninstallString)" = "\"$win_target\\uninstall.exe\""
check "NoModify" test "$(uninstall_value NoModify)" = 0x1
check "NoRepair" test "$(uninstall_value NoRepair)" = 0x1
check "the clock's shortcut is in the user's Start menu" test -f "$programs/Vemtaro/Vemtaro.lnk"
check "the uninstaller's shortcut is in the user's Start menu" test -f "$programs/Vemtaro/Uninstall Vemtaro.lnk"
for link in "Vemtaro:vemtaro.exe" "Uninstall Vemtaro:uninstall.exe"; do
  pointed=$(link_target "$programs/Vemtaro/${link%%:*}.lnk" 2>&1 | tr -d '\r')
  check "the shortcut \"${link%%:*}\" points at the installed ${link#*:} ($pointed)" \
    test "${pointed,,}" = "${win_target,,}\\${link#*:}"
done
check "nothing went to the all-users Start menu" test ! -e "$common/Vemtaro"

# The check box started the installed clock, which saves its tasks beside itself.
check "the installed clock started" wait_for_text "$target/console.log" 40 "TForm1::FormCreate"
check "the clock runs from the installed folder" bash -c 'pgrep -af "vemtaro.exe" | grep -qiF "$0"' "$win_target"
"$WINE_RUN" taskkill /im vemtaro.exe >/dev/null 2>&1
clock_gone() {  # no clock runs in this test's Wine prefix (other prefixes may run their own)
  local p
  for p in $(pgrep -f -i 'vemtaro\.exe' || true); do
    [ "$(tr 'A-Z' 'a-z' 2>/dev/null < /proc/$p/comm)" = vemtaro.exe ] || continue
    tr '\0' '\n' 2>/dev/null < /proc/$p/environ | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 1
  done
  return 0
}
check "the clock closed" wait_until 20 clock_gone
check "the clock saved its tasks there" test "$(stat -c %s "$target/tasks.sft" 2>/dev/null)" = 824

# --- Removal by the installed uninstaller.
cp "$target/tasks.sft" "$work/tasks.before"
start_setup "$target" uninstall.exe
main=$(find_window main 60) || fail "the uninstaller's window appears"
if [ -n "$main" ]; then
  shot setup-uninstall.png
  click_next "$main"
  check "the removal asks first" answer_box 20
  check "the uninstall entry goes" wait_until 60 bash -c '! "$0" reg query "$1" >/dev/null 2>&1' "$WINE_RUN" "$uninstall_key"
  sleep 1
  shot setup-removed.png
  click_next "$main"     # "Close"
  check "Close ends the uninstaller" setup_ends 20
fi
for f in "${shipped[@]}"; do
  [ "$f" = uninstall.exe ] && continue
  check "removed $f" test ! -e "$target/$f"
done
check "the uninstaller removes itself after it ended" wait_until 40 test ! -e "$target/uninstall.exe"
check "tasks.sft stays, unchanged" cmp -s "$target/tasks.sft" "$work/tasks.before"
check "console.log stays" test -f "$target/console.log"
check "the shortcuts are gone" test ! -e "$programs/Vemtaro"

# --- A package with a file missing: a clear message, no hang, nothing registered, and what had
# been copied before the stop is taken back. Once into a new folder (which goes again), once into
# a folder that holds a file of the user's (which stays, with the folder).
broken="$work/broken"
cp -r "$pkg" "$broken"
rm "$broken/russian.vml"  # the fifth file copied: four are there when the copy stops
install_broken() {  # install_broken PARENT
  start_setup "$broken" setup.exe "$(win_path "$1")"
  main=$(find_window main 60) || { fail "the setup window appears for the broken package"; return; }
  click_next "$main"
  sleep 1
  click_next "$main"
  box=$(find_window box 40) || true
  check "a missing file is reported instead of retried for ever" test -n "$box"
  shot setup-missing-file.png
  [ -n "$box" ] && answer_box 10
  sleep 0.5
  check "the setup stays on its page and can be cancelled" test -n "$(find_window main 10)"
  click_cancel "$main"
  check "Cancel ends it" setup_ends 20
}
mkdir -p "$work/installed2"
install_broken "$work/installed2"
check "the stopped installation took back the folder it had made" test ! -e "$work/installed2/Vemtaro"
mkdir -p "$work/installed3/Vemtaro"
echo "the user's own" > "$work/installed3/Vemtaro/notes.txt"
install_broken "$work/installed3"
check "the stopped installation left the user's file" test "$(cat "$work/installed3/Vemtaro/notes.txt" 2>/dev/null)" = "the user's own"
check "and took back every file it had copied (left: $(ls "$work/installed3/Vemtaro" | tr '\n' ' '))" \
  test "$(ls "$work/installed3/Vemtaro")" = notes.txt
check "a broken installation writes no uninstall entry" bash -c '! "$0" reg query "$1" >/dev/null 2>&1' "$WINE_RUN" "$uninstall_key"
check "a broken installation makes no shortcuts" test ! -e "$programs/Vemtaro"

finish

# Helpers for the end-to-end tests of vemtaro.exe under Wine. Source it after setting EXE and SRC.
set -u
WINE_RUN="$SRC/cmake/wine-run"
: "${VM_WINE_DIR:=$SRC/build/wine}"
export VM_WINE_DIR
export WINEPREFIX="${WINEPREFIX:-$VM_WINE_DIR/prefix}"
[ -z "${DISPLAY:-}" ] && [ -f "$VM_WINE_DIR/display" ] && export DISPLAY=$(cat "$VM_WINE_DIR/display")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="

failures=0
# The exit code ctest reads as "skipped" (SKIP_RETURN_CODE in tests/e2e/CMakeLists.txt).
VM_SKIP=77
skip() { echo "SKIP: $*"; exit "$VM_SKIP"; }
# Skips the whole run, naming the first of the given programs that is not installed.
require_tools() {
  local tool
  for tool in "$@"; do command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"; done
}
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() { local what="$1"; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

# A fresh program folder with the executable and the English language file.
new_program_folder() {
  local dir
  dir=$(mktemp -d "${TMPDIR:-/tmp}/vemtaro-e2e.XXXXXX")
  cp "$EXE" "$dir/vemtaro.exe"
  cp "$SRC/lang/english.vml" "$dir/" 2>/dev/null || true
  cp "$SRC"/data/* "$dir/" 2>/dev/null || true
  echo "$dir"
}

# Removes the clock's registry key so every test starts like a first start. The hourly spoken
# time stays off: Wine cannot speak, and the failure box of a test running across a full hour
# would keep the clock from ending.
reset_registry() {
  "$WINE_RUN" reg delete 'HKCU\Software\Vemtaro' /f >/dev/null 2>&1 || true
  "$WINE_RUN" reg add 'HKCU\Software\Vemtaro' /v UseMonitor /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  "$WINE_RUN" reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Vemtaro /f >/dev/null 2>&1 || true
}

# Starts the clock in folder $1 (its working directory); sets CLOCK_PID.
start_clock() {
  ( cd "$1" && exec "$WINE_RUN" ./vemtaro.exe >/dev/null 2>&1 ) &
  CLOCK_PID=$!
}

# Waits up to $2 seconds for file $1 to contain text $3.
wait_for_text() {
  local file="$1" seconds="$2" text="$3" i
  for i in $(seq 1 $((seconds * 5))); do
    [ -f "$file" ] && grep -q -a -F -- "$text" "$file" && return 0
    sleep 0.2
  done
  return 1
}

# Waits up to $2 seconds for file $1 to be $3 bytes long.
wait_for_size() {
  local file="$1" seconds="$2" size="$3" i
  for i in $(seq 1 $((seconds * 5))); do
    [ "$(stat -c %s "$file" 2>/dev/null)" = "$size" ] && return 0
    sleep 0.2
  done
  return 1
}

# Asks every running clock to close, as the user would, and waits for it.
close_clock() {
  "$WINE_RUN" taskkill /im vemtaro.exe >/dev/null 2>&1 || true
  local i
  for i in $(seq 1 75); do kill -0 "$CLOCK_PID" 2>/dev/null || return 0; sleep 0.2; done
  return 1
}

# The clock processes running in program folder $1 (Wine shows them as "vemtaro.exe").
clock_count() {
  local n=0 pid
  for pid in $(pgrep -f 'vemtaro\.exe' || true); do
    [ "$(cat /proc/$pid/comm 2>/dev/null)" = vemtaro.exe ] || continue
    [ "$(readlink /proc/$pid/cwd 2>/dev/null)" = "$1" ] && n=$((n + 1))
  done
  echo $n
}

reg_value() {  # reg_value NAME -> prints the data of HKCU\Software\Vemtaro\NAME, or nothing
  "$WINE_RUN" reg query 'HKCU\Software\Vemtaro' /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '{ line=$0; sub(/^ +/, "", line); if (index(line, n" ") == 1) { sub(/^[^ ].*REG_[A-Z_]+ +/, "", line); print line } }'
}

# The window manager's check window named on the root window, when it still exists.
wm_check_window() {
  local id
  id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
  [ -n "$id" ] && xprop -id "$id" _NET_WM_NAME >/dev/null 2>&1 && echo "$id"
  return 0
}

# Starts a window manager of the test's own (openbox, replacing any other on this display) and
# waits until it manages the screen: its own check window is on the root window. A manager that
# was killed can leave its property behind, so the property alone does not prove one runs.
# Sets WM_PID; stop_window_manager ends it and waits until it has gone.
start_window_manager() {
  local before i now
  before=$(wm_check_window)
  openbox --replace --sm-disable >/dev/null 2>&1 &
  WM_PID=$!
  for i in $(seq 1 100); do
    now=$(wm_check_window)
    [ -n "$now" ] && [ "$now" != "$before" ] && kill -0 "$WM_PID" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "openbox did not start managing the screen" >&2
  return 1
}
stop_window_manager() {
  [ -n "${WM_PID:-}" ] || return 0
  kill "$WM_PID" 2>/dev/null
  local i
  for i in $(seq 1 50); do kill -0 "$WM_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$WM_PID" 2>/dev/null
  wait "$WM_PID" 2>/dev/null
  WM_PID=""
  return 0
}

finish() {
  if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
  exit 0
}

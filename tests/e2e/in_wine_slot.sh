#!/usr/bin/env bash
# Runs one end-to-end script (its path and arguments follow) on a display and Wine prefix that no
# other end-to-end run uses at the same time. VM_E2E_SLOTS names the folders that scripts/test
# prepared, each with its own Xvfb ("display") and prefix ("prefix"), so that runs side by side
# cannot click into each other's windows. Without it the one shared folder is the only slot and
# the runs take turns.
set -u
slots=${VM_E2E_SLOTS:-${VM_WINE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)/build/wine}}
while :; do
  for slot in $slots; do
    exec 9>"$slot/e2e.lock" || exit 1
    if flock -n 9; then
      export VM_WINE_DIR=$slot WINEPREFIX=$slot/prefix
      [ -f "$slot/display" ] && export DISPLAY=$(cat "$slot/display")
      bash "$@" 9>&-  # the lock stays with this shell, not with a Wine server the run starts
      exit $?
    fi
    exec 9>&-
  done
  sleep 0.5
done

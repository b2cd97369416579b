#!/usr/bin/env bash
# Temporary task files left behind by a save that never finished: at start the real clock
# removes "tasks.sft.tmp-<id>" when no running process has that id, and leaves every other name
# (an id with a leading zero, a name with more after the id, the damaged copies, tasks.sft).
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

CLOCK_PID=""
dir=""
cleanup() {
  [ -n "$CLOCK_PID" ] && kill -9 "$CLOCK_PID" 2>/dev/null
  [ -n "$dir" ] && rm -rf "$dir"
  return 0
}
trap cleanup EXIT

reset_registry
dir=$(new_program_folder)
printf 'Vemtaro2' > "$dir/tasks.sft"
# Process ids are multiples of 4 far above what a fresh prefix hands out.
for name in tasks.sft.tmp-999996 tasks.sft.tmp-999992 tasks.sft.tmp-0999988 \
            tasks.sft.tmp-999984.bak tasks.sft.damaged-20261207-101500 notes.tmp-999980; do
  printf 'Vemtaro2 left over' > "$dir/$name"
done
start_clock "$dir"
check "the clock starts" wait_for_text "$dir/console.log" 30 "TForm1::LoadList"
check "the left-over temporary files of ended processes are removed" \
  test ! -e "$dir/tasks.sft.tmp-999996" -a ! -e "$dir/tasks.sft.tmp-999992"
check "their removal is logged" grep -a -q "Stray files: tasks.sft.tmp-999996 removed" "$dir/console.log"
for name in tasks.sft.tmp-0999988 tasks.sft.tmp-999984.bak tasks.sft.damaged-20261207-101500 notes.tmp-999980; do
  check "$name is left as it is" test "$(cat "$dir/$name" 2>/dev/null)" = "Vemtaro2 left over"
done
check "tasks.sft is loaded and kept (no damaged copy of it)" \
  test "$(ls "$dir" | grep -c '^tasks.sft.damaged-')" = 1
check "closing ends the clock" close_clock
CLOCK_PID=""
reset_registry
finish

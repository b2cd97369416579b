#!/usr/bin/env bash
# First start in an empty program folder, single instance, closing; the task file cases.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

reset_registry
dir=$(new_program_folder)
start_clock "$dir"
check "the log shows FormCreate" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
first=$(head -c 200 "$dir/console.log" | head -1)
check "the log begins with the construction line" grep -q "TForm1::TForm1" <<<"$first"
# The file is written while the window is being created, after the log's FormCreate line.
check "tasks.sft holds one default task" wait_for_size "$dir/tasks.sft" 10 824
check "tasks.sft begins with Vemtaro2" test "$(head -c 8 "$dir/tasks.sft")" = Vemtaro2
check "Vemtaro Path written" test -n "$(reg_value 'Vemtaro Path')"
check "Language written" grep -qi 'english.vml' <<<"$(reg_value Language)"
check "DisplayTime written" test "$(reg_value DisplayTime)" = 0x1
check "AutoStart written as false" test "$(reg_value AutoStart)" = 0x0

# A second start ends by itself and leaves the first one the only clock.
start=$(date +%s)
( cd "$dir" && timeout 30 "$WINE_RUN" ./vemtaro.exe >/dev/null 2>&1 )
check "a second start ends within a few seconds" test $(( $(date +%s) - start )) -lt 15
check "the first clock still runs" kill -0 "$CLOCK_PID"
check "only one clock runs" test "$(clock_count "$dir")" = 1
lines_before=$(wc -l < "$dir/console.log")
check "the second start left the log alone" test "$(grep -c 'TForm1::TForm1' "$dir/console.log")" = 1

check "closing ends the clock" close_clock
check "closing saved the tasks" grep -q -a "TForm1::SaveList" "$dir/console.log"
check "closing logged the destruction" grep -q -a "TForm1::FormDestroy Finished" "$dir/console.log"
check "closing stored the position" test -n "$(reg_value Left)"
rm -rf "$dir"

# An old task file: "Vemtaro" + NUL, records with ids 7, 3, 9.
dir=$(new_program_folder)
python3 - "$dir/tasks.sft" <<'PY'
import struct, sys
def record(task_id, when):
    r = bytearray(816)
    struct.pack_into('<d', r, 0, when)
    struct.pack_into('<I', r, 20, 1)        # State: message
    struct.pack_into('<i', r, 32, 0)        # inactive
    struct.pack_into('<HH', r, 40, 127, 1)
    r[44:44 + 5] = b'hello'
    struct.pack_into('<I', r, 292, task_id)
    return bytes(r)
with open(sys.argv[1], 'wb') as f:
    f.write(b'Vemtaro\0' + record(7, 40000.0) + record(3, 40001.0) + record(9, 40002.0))
PY
start_clock "$dir"
check "an old task file loads" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
close_clock
check "the old file is upgraded to Vemtaro2" test "$(head -c 8 "$dir/tasks.sft")" = Vemtaro2
ids=$(python3 -c "
import struct,sys
d=open(sys.argv[1],'rb').read()
print(' '.join(str(struct.unpack_from('<I',d,8+i*816+292)[0]) for i in range((len(d)-8)//816)))" "$dir/tasks.sft")
check "its tasks are renumbered 0 1 2 (got $ids)" test "$ids" = "0 1 2"
rm -rf "$dir"

# A damaged file is kept aside, never overwritten.
dir=$(new_program_folder)
printf 'not a task file at all' > "$dir/tasks.sft"
start_clock "$dir"
check "a damaged file does not stop the start" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
close_clock
kept=$(ls "$dir" | grep '^tasks\.sft\.damaged-' | head -1)
check "the damaged file is kept aside" test -n "$kept"
check "the kept file holds the old bytes" test "$(cat "$dir/$kept" 2>/dev/null)" = 'not a task file at all'
check "a fresh task file replaces it" test "$(stat -c %s "$dir/tasks.sft")" = 824
rm -rf "$dir"
reset_registry
finish

#!/usr/bin/env bash
# A task file with past-due repeating tasks of every kind, one-time tasks, a "Power On" task and
# broken records: the clock reschedules, removes and keeps them, never hangs, and saves the file.
EXE="$1"; SRC="$2"
. "$SRC/tests/e2e/e2e_lib.sh"

reset_registry
dir=$(new_program_folder)
python3 - "$dir/tasks.sft" <<'PY'
import datetime, math, struct, sys
now = datetime.datetime.now()
def days(t):
    return (t - datetime.datetime(1899, 12, 30)).total_seconds() / 86400.0
def record(when, period, cnt, active=1, event=0, message=b'task', terminated=True):
    r = bytearray(816)
    struct.pack_into('<dd', r, 0, when, 0.0)
    struct.pack_into('<IIIIi', r, 16, 0, 1, period, cnt, active)   # State 1, SoundOn below
    r[36:39] = bytes([0, 0, 0])                                    # no speech, no sound, no report
    struct.pack_into('<HH', r, 40, 127, 1)
    text = message if terminated else message * 300
    r[44:44 + min(len(text), 248)] = text[:248]
    if terminated:
        r[44 + len(text)] = 0
    struct.pack_into('<HH', r, 296, 0, event)
    return bytes(r)
past = days(now - datetime.timedelta(days=3, hours=5))
records = [
    record(past, 1, 5, message=b'every 5 minutes'),
    record(past, 2, 2, message=b'every 2 hours'),
    record(past, 3, 1, message=b'daily'),
    record(past, 4, 0, message=b'weekly'),
    record(days(now - datetime.timedelta(days=400)), 5, 0, message=b'monthly'),
    record(days(now - datetime.timedelta(days=800)), 6, 0, message=b'yearly'),
    record(past, 0, 0, message=b'once, missed'),
    record(days(now - datetime.timedelta(minutes=10)), 0, 0, message=b'once, also missed'),
    record(0.0, 2, 1, active=2, event=16, message=b'power on'),
    record(past, 9, 1, message=b'period nine'),
    record(past, 2, 0, message=b'hours with count 0'),
    record(past, 3, 1, message=b'X', terminated=False),
    record(float('nan'), 3, 1, message=b'broken time'),
]
with open(sys.argv[1], 'wb') as f:
    f.write(b'Vemtaro2' + b''.join(records))
with open(sys.argv[1] + '.start', 'w') as f:
    f.write(repr(days(now)))
PY
start_clock "$dir"
check "the clock starts with the task file" wait_for_text "$dir/console.log" 30 "TForm1::FormCreate"
sleep 15   # one task per tick
check "the clock still answers (nothing hangs)" kill -0 "$CLOCK_PID"
check "closing ends the clock" close_clock
check "the tasks were saved" grep -q -a "TForm1::SaveList" "$dir/console.log"
python3 - "$dir/tasks.sft" > "$dir/result.txt" <<'PY'
import math, struct, sys
data = open(sys.argv[1], 'rb').read()
start = float(open(sys.argv[1] + '.start').read())
out = []
for i in range((len(data) - 8) // 816):
    r = data[8 + i * 816: 8 + (i + 1) * 816]
    when, = struct.unpack_from('<d', r, 0)
    period, cnt, active = struct.unpack_from('<IIi', r, 24)
    event, = struct.unpack_from('<H', r, 298)
    msg = r[44:292].split(b'\0')[0].decode('latin-1')
    out.append((msg[:20], period, cnt, active, event, when))
for m, period, cnt, active, event, when in out:
    late = 'nan' if math.isnan(when) else ('future' if when >= start else 'past')
    print(f'{m}|{period}|{active}|{late}|{when - start if not math.isnan(when) else 0:.5f}')
PY
result=$(cat "$dir/result.txt")
echo "$result"
row() { grep -F "$1|" <<<"$result"; }
for name in 'every 5 minutes' 'every 2 hours' 'daily' 'weekly' 'monthly' 'yearly'; do
  check "'$name' is rescheduled after now" grep -q '|1|future|' <<<"$(row "$name")"
done
check "one-time tasks are gone" test -z "$(grep -F 'once' <<<"$result")"
power=$(row 'power on')
check "the Power On task is active" grep -q '|1|future|' <<<"$power"
offset=$(cut -d'|' -f5 <<<"$power")
check "the Power On task is due one hour after the start (got $offset days)" \
  python3 -c "import sys; d=float(sys.argv[1]); sys.exit(0 if abs(d - 1/24) < 3/1440 else 1)" "$offset"
check "period 9 is kept, inactive" grep -q '|9|0|' <<<"$(row 'period nine')"
check "hours with count 0 is kept, inactive" grep -q '|2|0|' <<<"$(row 'hours with count 0')"
# A broken time is never due: the record stays as it is.
check "the broken time is kept and never fired" grep -q '|nan|' <<<"$(row 'broken time')"
check "the unterminated message is read within its field and rescheduled" \
  grep -q '^XXXXXXXXXXXXXXXXXXXX|3|1|future|' <<<"$result"
check "the file holds the eleven remaining tasks" test "$(wc -l <<<"$result")" = 11
rm -rf "$dir"
reset_registry
finish

#pragma once
// The next due time of a repeating task, computed in constant time.
//
// The rule it answers: starting from the task's time, advance by one period and repeat while the
// result is strictly earlier than `now` (at least one advance always happens). Each advance works
// on the clock fields: seconds and milliseconds of the start stay; minutes, hours, days and weeks
// move a whole number of minutes along the calendar; months and years move the month or the year
// and take the wanted day of the month (the start's own day unless one is given), clamped to the
// length of the month reached (the 31st monthly gives 28 February, then 31 March; 29 February
// yearly gives 28 February, and 29 February again in the next leap year). The wanted day is the
// same for every step, so a task that was due on 28 February for the 31st is due on 31 March
// next. The result is the same, bit for bit, as advancing step by step.

#include <cstdint>

#include "core/date_time.h"

namespace vm {

enum class ChainResult {
  Advanced,      // `time` is the next due time, not earlier than `now`
  Unchanged,     // Period 1 with Cnt 0: "immediately", the time stays
  CannotRepeat,  // Period 0 or above 6, or kinds 2 and 3 with Cnt 0: no advance would progress
  InvalidTime,   // the start time is not a date (NaN, infinite, outside the years 100 to 9999)
  OutOfRange,    // the next due time would lie after the year 9999
};

struct ChainOutcome {
  ChainResult result = ChainResult::Unchanged;
  DateTime time = 0.0;  // the new time when Advanced, otherwise the start time
};

// `now` is the current local time. Times are compared as the stored values, which order like the
// instants they stand for from 30 December 1899 on (the clock never reads earlier).
// `wantedDay` (1..31) is the day of the month for kinds 5 and 6; 0 takes the start's day.
ChainOutcome NextAlarmTime(DateTime start, std::uint32_t period, std::uint32_t cnt, DateTime now,
                           int wantedDay = 0);

}  // namespace vm

#pragma once
// Local due times against real time. The task file keeps local wall-clock times; a daylight-saving
// change makes some of them happen never (the skipped hour in spring) or twice (the repeated
// hour in autumn). These helpers find the real moment a local time is first reached, from the
// time-zone rules the clock service reports.

#include <optional>

#include "core/date_time.h"

namespace vm {

class Clock;

// The current time counted in UTC, on the scale of date-time values.
DateTime UtcNow(Clock& clock);

// The first UTC moment at which the local clock shows `local` or later: the moment itself when
// the time exists, the earlier one when it happens twice, and the moment of the jump when it is
// skipped. Nothing when the clock knows no time-zone rules or `local` is not a date.
std::optional<DateTime> FirstUtcReaching(Clock& clock, DateTime local);

}  // namespace vm

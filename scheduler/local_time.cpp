#include "scheduler/local_time.h"

#include "platform/services.h"

namespace vm {

namespace {

// Days between 1601-01-01 (file times) and 1899-12-30 (date-time values).
constexpr double kFileTimeEpochDays = 109205.0;
constexpr double kFileTimeUnitsPerDay = 864'000'000'000.0;
// Close enough for the search of a jump: a tenth of a millisecond.
constexpr double kSearchPrecisionDays = 0.0001 / 86400.0;

}  // namespace

DateTime UtcNow(Clock& clock) {
  return static_cast<double>(clock.FileTimeNow()) / kFileTimeUnitsPerDay - kFileTimeEpochDays;
}

std::optional<DateTime> FirstUtcReaching(Clock& clock, DateTime local) {
  if (!IsValidDateTime(local)) return std::nullopt;
  // The offsets in force a day before and a day after: no zone changes twice within two days.
  auto before = clock.UtcOffsetMinutes(local - 1.0);
  auto after = clock.UtcOffsetMinutes(local + 1.0);
  if (!before || !after) return std::nullopt;

  // Local time = utc + offset(utc). A candidate is right when the offset at it is the one it
  // was computed with.
  std::optional<DateTime> first;
  for (int offset : {*before, *after}) {
    DateTime utc = local - offset / kMinutesPerDay;
    auto actual = clock.UtcOffsetMinutes(utc);
    if (!actual) return std::nullopt;
    if (*actual == offset && (!first || utc < *first)) first = utc;
  }
  if (first) return first;

  // The local time is skipped: find the jump, between the moment the old offset would give
  // (already after it) and the one the new offset would give (still before it).
  DateTime low = local - *after / kMinutesPerDay;
  DateTime high = local - *before / kMinutesPerDay;
  if (!(low < high)) return std::nullopt;
  while (high - low > kSearchPrecisionDays) {
    DateTime middle = low + (high - low) / 2;
    auto offset = clock.UtcOffsetMinutes(middle);
    if (!offset) return std::nullopt;
    if (middle + *offset / kMinutesPerDay >= local)
      high = middle;
    else
      low = middle;
  }
  return high;
}

}  // namespace vm

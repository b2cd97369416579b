#include "scheduler/chain_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

#include "scheduler/task.h"

namespace vm {

namespace {

using namespace std::chrono;

constexpr std::int64_t kWholeMinutesPerDay = 1440;
// Day numbers (days since 1899-12-30) of 0100-01-01 and 9999-12-31, the range a value can hold.
constexpr std::int64_t kFirstDay = -657434;
constexpr std::int64_t kLastDay = 2958465;
constexpr int kLastYear = 9999;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

std::int64_t DayNumber(const DateParts& date) {
  year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                     day{static_cast<unsigned>(date.day)}};
  return (sys_days{ymd} - kDateTimeEpoch).count();
}

std::optional<DateTime> BuildAtDay(std::int64_t dayNumber, const TimeParts& time) {
  if (dayNumber < kFirstDay || dayNumber > kLastDay) return std::nullopt;
  year_month_day ymd{kDateTimeEpoch + days{dayNumber}};
  DateParts date{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                 static_cast<int>(static_cast<unsigned>(ymd.day()))};
  return EncodeDateTime(date, time);
}

// The smallest k >= 1 whose value is not earlier than `now`, starting from an estimate made on
// whole minutes or months. The stored values round differently from those whole units, so the
// estimate can be one step off either way; the two short walks settle it on the stored values,
// exactly as a step-by-step advance compares them.
template <typename ValueAt>
ChainOutcome SettleOnEstimate(ValueAt valueAt, std::int64_t estimate, DateTime start, DateTime now,
                              bool singleStep) {
  if (singleStep) {
    auto value = valueAt(1);
    if (!value) return {ChainResult::OutOfRange, start};
    return {ChainResult::Advanced, *value};
  }
  std::int64_t k = std::max<std::int64_t>(1, estimate);
  for (int i = 0; i < 2 && k > 1; ++i) {
    auto previous = valueAt(k - 1);
    if (!previous || *previous < now) break;
    --k;
  }
  // Each step is at least a minute later, so this ends within a step or two of the estimate,
  // at the latest when the year 9999 runs out.
  for (;;) {
    auto value = valueAt(k);
    if (!value) return {ChainResult::OutOfRange, start};
    if (!(*value < now)) return {ChainResult::Advanced, *value};
    ++k;
  }
}

}  // namespace

ChainOutcome NextAlarmTime(DateTime start, std::uint32_t period, std::uint32_t cnt, DateTime now,
                           int wantedDay) {
  if (period == kPeriodMinutes && cnt == 0) return {ChainResult::Unchanged, start};
  const bool counted = period == kPeriodMinutes || period == kPeriodHours || period == kPeriodDays;
  if (period == kPeriodOnce || period > kPeriodYear || (counted && cnt == 0))
    return {ChainResult::CannotRepeat, start};
  auto parts = SplitDateTime(start);
  if (!parts) return {ChainResult::InvalidTime, start};

  auto nowParts = SplitDateTime(now);
  if (!nowParts && std::isfinite(now) && now > 0) {
    // A clock beyond the year 9999: no due time can be late enough.
    return {ChainResult::OutOfRange, start};
  }
  // A NaN clock, or one before 30 December 1899 (where stored values stop ordering like
  // instants), is taken as not later than any due time: one advance is the answer.
  const bool singleStep = !(now >= 0.0);

  if (period <= kPeriodWeek) {
    // Minutes, hours, days and weeks all move the minute of the calendar; seconds and
    // milliseconds stay. 2^32-1 days in minutes still fits easily in 64 bits.
    std::int64_t step = period == kPeriodMinutes ? std::int64_t{cnt}
                        : period == kPeriodHours ? std::int64_t{cnt} * 60
                        : period == kPeriodDays  ? std::int64_t{cnt} * kWholeMinutesPerDay
                                                 : 7 * kWholeMinutesPerDay;
    const std::int64_t firstMinute =
        DayNumber(parts->date) * kWholeMinutesPerDay + parts->time.hour * 60 + parts->time.minute;
    const int second = parts->time.second;
    const int millisecond = parts->time.millisecond;
    auto valueAt = [&](std::int64_t k) -> std::optional<DateTime> {
      std::int64_t minute = firstMinute + k * step;
      std::int64_t dayNumber = FloorDiv(minute, kWholeMinutesPerDay);
      if (dayNumber > kLastDay) return std::nullopt;
      int minuteOfDay = static_cast<int>(minute - dayNumber * kWholeMinutesPerDay);
      return BuildAtDay(dayNumber, {minuteOfDay / 60, minuteOfDay % 60, second, millisecond});
    };
    std::int64_t estimate = 1;
    if (nowParts && !singleStep) {
      std::int64_t nowMinute = DayNumber(nowParts->date) * kWholeMinutesPerDay +
                               nowParts->time.hour * 60 + nowParts->time.minute;
      estimate = CeilDiv(nowMinute - firstMinute, step);
    }
    return SettleOnEstimate(valueAt, estimate, start, now, singleStep);
  }

  // Months and years count on year*12 + month and keep the start's day, clamped to the month.
  const std::int64_t step = period == kPeriodMonth ? 1 : 12;
  const std::int64_t firstMonth = std::int64_t{parts->date.year} * 12 + (parts->date.month - 1);
  const int dayOfMonth = wantedDay >= 1 && wantedDay <= 31 ? wantedDay : parts->date.day;
  const TimeParts time = parts->time;
  auto valueAt = [&](std::int64_t k) -> std::optional<DateTime> {
    std::int64_t monthIndex = firstMonth + k * step;
    std::int64_t y = monthIndex / 12;
    if (y > kLastYear) return std::nullopt;
    int m = static_cast<int>(monthIndex % 12) + 1;
    int d = std::min(dayOfMonth, DaysInMonth(static_cast<int>(y), m));
    return EncodeDateTime({static_cast<int>(y), m, d}, time);
  };
  std::int64_t estimate = 1;
  if (nowParts && !singleStep) {
    std::int64_t nowMonth = std::int64_t{nowParts->date.year} * 12 + (nowParts->date.month - 1);
    estimate = FloorDiv(nowMonth - firstMonth, step);
  }
  return SettleOnEstimate(valueAt, estimate, start, now, singleStep);
}

}  // namespace vm

#include "core/date_time.h"

#include <cmath>

namespace vm {

namespace {

using namespace std::chrono;

constexpr double kMillisecondsPerDay = 86'400'000.0;

}  // namespace

bool IsValidDateTime(DateTime value) {
  if (!std::isfinite(value)) return false;
  // 0100-01-01 is day -657434, 9999-12-31 23:59:59.999 just below day 2958466.
  return value >= -657434.0 && value < 2958466.0;
}

sys_days DayOf(DateTime value) {
  return kDateTimeEpoch + days{static_cast<int>(std::trunc(value))};
}

std::optional<DateTimeParts> SplitDateTime(DateTime value) {
  if (!IsValidDateTime(value)) return std::nullopt;
  // Negative values count days backwards but the time of day forwards (the classic rule).
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  auto ms = static_cast<std::int64_t>(std::llround(fraction * kMillisecondsPerDay));
  auto day = static_cast<std::int64_t>(whole);
  if (ms >= static_cast<std::int64_t>(kMillisecondsPerDay)) {  // rounded up to midnight
    ms = 0;
    day += value < 0 ? -1 : 1;
  }
  year_month_day ymd{kDateTimeEpoch + days{day}};
  DateTimeParts parts;
  parts.date = {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day()))};
  parts.time.hour = static_cast<int>(ms / 3'600'000);
  parts.time.minute = static_cast<int>(ms / 60'000 % 60);
  parts.time.second = static_cast<int>(ms / 1000 % 60);
  parts.time.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

std::optional<DateTime> EncodeDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!ymd.ok()) return std::nullopt;
  return static_cast<DateTime>((sys_days{ymd} - kDateTimeEpoch).count());
}

DateTime EncodeTime(const TimeParts& t) {
  std::int64_t ms = ((std::int64_t{t.hour} * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
  return static_cast<double>(ms) / kMillisecondsPerDay;
}

std::optional<DateTime> EncodeDateTime(const DateParts& date, const TimeParts& time) {
  if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
      time.second > 59 || time.millisecond < 0 || time.millisecond > 999)
    return std::nullopt;
  auto day = EncodeDate(date.year, date.month, date.day);
  if (!day) return std::nullopt;
  // Before the epoch the time of day still counts forwards from midnight.
  return *day < 0 ? *day - EncodeTime(time) : *day + EncodeTime(time);
}

int IsoWeekday(DateTime value) {
  if (!IsValidDateTime(value)) return 1;
  weekday wd{DayOf(value)};
  return static_cast<int>(wd.iso_encoding());
}

int DaysInMonth(int y, int m) {
  year_month_day_last last{year{y} / month{static_cast<unsigned>(m)} / std::chrono::last};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::int64_t SecondsBetween(DateTime later, DateTime earlier) {
  double seconds = (later - earlier) * 86400.0;
  if (!std::isfinite(seconds)) return 0;
  if (seconds > 9.0e18) return INT64_MAX;
  if (seconds < -9.0e18) return INT64_MIN;
  return static_cast<std::int64_t>(seconds);
}

}  // namespace vm

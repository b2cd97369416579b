#pragma once
// The step-by-step form of the advancing rule, written as plainly as it reads: split the time into
// its fields, advance by one period on the fields, rebuild, and repeat while the result is
// strictly earlier than now. Minutes and hours are added one at a time with their carries. The
// closed form in scheduler/chain_time.h must give the same value bit for bit; the tests compare
// them and the benchmark measures how much faster the closed form is.
//
// Months and years keep the start's day of the month, clamped to each month reached. Dates before
// 30 December 1899 are moved on the calendar, like every other date.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>

#include "core/date_time.h"

namespace vm::reference {

// Nothing when the rule cannot progress (Period 0, above 6, Cnt 0 for kinds 2 and 3), when the
// start or a step is not a valid date, or when more than `maxSteps` advances would be needed.
// Period 1 with Cnt 0 returns the start unchanged.
inline std::optional<DateTime> StepwiseChainTime(DateTime start, std::uint32_t period,
                                                 std::uint32_t cnt, DateTime now,
                                                 std::uint64_t maxSteps) {
  using namespace std::chrono;
  if (period == 1 && cnt == 0) return start;
  if (period == 0 || period > 6 || ((period == 2 || period == 3) && cnt == 0)) return std::nullopt;
  auto first = SplitDateTime(start);
  if (!first) return std::nullopt;
  const int dayOfMonth = first->date.day;

  auto addDays = [](const DateParts& date, std::int64_t n) {
    year_month_day ymd{sys_days{year_month_day{year{date.year},
                                               month{static_cast<unsigned>(date.month)},
                                               day{static_cast<unsigned>(date.day)}}} +
                       days{n}};
    return DateParts{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                     static_cast<int>(static_cast<unsigned>(ymd.day()))};
  };

  DateTime value = start;
  std::uint64_t steps = 0;
  do {
    if (++steps > maxSteps) return std::nullopt;
    auto p = SplitDateTime(value);
    if (!p) return std::nullopt;
    DateParts date = p->date;
    TimeParts time = p->time;
    switch (period) {
      case 1:
      case 2: {
        std::int64_t carried = 0;
        for (std::uint32_t i = 0; i < cnt; ++i) {
          if (period == 1 && ++time.minute < 60) continue;
          if (period == 1) time.minute = 0;
          if (++time.hour == 24) {
            time.hour = 0;
            ++carried;
          }
        }
        if (date.year + carried / 366 > 9999) return std::nullopt;
        date = addDays(date, carried);
        break;
      }
      case 3:
        if (date.year + cnt / 366 > 9999) return std::nullopt;
        date = addDays(date, cnt);
        break;
      case 4:
        date = addDays(date, 7);
        break;
      case 5:
        if (++date.month > 12) {
          date.month = 1;
          ++date.year;
        }
        break;
      case 6:
        ++date.year;
        break;
    }
    if (date.year > 9999) return std::nullopt;
    if (period >= 5) date.day = std::min(dayOfMonth, DaysInMonth(date.year, date.month));
    auto rebuilt = EncodeDateTime(date, time);
    if (!rebuilt) return std::nullopt;
    value = *rebuilt;
  } while (value < now);
  return value;
}

}  // namespace vm::reference

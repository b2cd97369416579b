#pragma once
// Date-time values as the task file stores them: days since 30 December 1899 00:00 local time,
// the fraction being the time of day; 0.0 means "no time". Splitting and building use the C++20
// calendar types, so month lengths and leap years come from the standard library.

#include <chrono>
#include <cstdint>
#include <optional>

namespace vm {

using DateTime = double;

struct DateParts {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
};

struct TimeParts {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

struct DateTimeParts {
  DateParts date;
  TimeParts time;
};

// The day 0 of the scale: 1899-12-30.
inline constexpr std::chrono::sys_days kDateTimeEpoch =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / 30};

// Minutes in a day: a count of minutes divided by it is a DateTime span.
inline constexpr double kMinutesPerDay = 1440.0;

// True for values the program can split: finite and within the years 100 to 9999.
bool IsValidDateTime(DateTime value);

// The calendar day of a value. Before the epoch the whole part counts days backwards and the
// fraction still counts the time of day forwards: -1.25 is 1899-12-29 06:00.
std::chrono::sys_days DayOf(DateTime value);

// Splits a valid value; milliseconds are rounded to the nearest (a value stored as 08:00:00
// minus a rounding error reads back as 08:00:00.000). Nothing for an invalid value.
std::optional<DateTimeParts> SplitDateTime(DateTime value);

// Builds a value. Nothing when the date does not exist (31 April, 29 February 2027) or a field
// is out of range.
std::optional<DateTime> EncodeDateTime(const DateParts& date, const TimeParts& time = {});
std::optional<DateTime> EncodeDate(int year, int month, int day);

// The time of day of a value as a fraction of a day.
DateTime EncodeTime(const TimeParts& time);

// Day of the week, 1 Monday to 7 Sunday.
int IsoWeekday(DateTime value);

// Number of days in a month.
int DaysInMonth(int year, int month);

// Whole seconds from `earlier` to `later`, truncated toward zero (difference in days × 86400).
std::int64_t SecondsBetween(DateTime later, DateTime earlier);

}  // namespace vm

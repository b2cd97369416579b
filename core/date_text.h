#pragma once
// Date-time values as texts: the log's time stamp and the task dates of the task windows.

#include <string>

#include "core/date_time.h"

namespace vm {

class Language;
class Locale;

// The system's short date, and unless the time of day is exactly midnight, a blank and the long
// time ("12/7/2026 8:05:03 AM", at midnight "12/7/2026"). An invalid value gives an empty text.
std::string DateTimeText(Locale& locale, DateTime value);

// A task's due date: day without leading zero, the month abbreviation of the message-text table
// (C.22 .. C.33) and the four-digit year ("1 Mar 2027"), with `withTime` a blank and the long
// time. No date (0.0) and values that are not a date (NaN, infinite, outside the years
// 100..9999) give "00/00/00".
std::string FormatTaskDate(DateTime value, bool withTime, const Language& language,
                           Locale& locale);

}  // namespace vm

#include "core/date_text.h"


#include "core/language.h"
#include "platform/services.h"
#include "core/text_format.h"

namespace vm {

namespace {

constexpr const char* kNoDate = "00/00/00";

bool IsMidnight(const TimeParts& time) {
  return time.hour == 0 && time.minute == 0 && time.second == 0 && time.millisecond == 0;
}

}  // namespace

std::string DateTimeText(Locale& locale, DateTime value) {
  auto parts = SplitDateTime(value);
  if (!parts) return {};
  // Judged on the rounded time so that a value a rounding error past midnight still counts as
  // midnight instead of printing a time of 0:00:00.
  if (IsMidnight(parts->time)) return locale.ShortDate(value);
  return locale.ShortDate(value) + " " + locale.LongTime(value);
}

std::string FormatTaskDate(DateTime value, bool withTime, const Language& language,
                           Locale& locale) {
  if (value == 0.0) return kNoDate;
  auto parts = SplitDateTime(value);
  if (!parts) return kNoDate;  // a damaged record must not reach the calendar code
  const std::string year = FormatText("%04d", parts->date.year);
  std::string text = std::to_string(parts->date.day) + " " +
                     language.Msg("C." + std::to_string(21 + parts->date.month)) + " " + year;
  if (withTime) text += " " + locale.LongTime(value);
  return text;
}

}  // namespace vm

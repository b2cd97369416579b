#include "platform/win32_services_win32.h"


#include "platform/wide_text_win32.h"
#include "core/text_format.h"

namespace vm {

namespace {

// The formatting functions take the years 1601 to 30827 only; the time of day is formatted on
// a fixed date, so that it works for every value the program can split.
constexpr int kFirstSystemYear = 1601;

SYSTEMTIME ToSystemTime(const DateTimeParts& p, DateTime when) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(p.date.year);
  st.wMonth = static_cast<WORD>(p.date.month);
  st.wDay = static_cast<WORD>(p.date.day);
  // The day of the week is ignored by the formatting but must not be out of range.
  st.wDayOfWeek = static_cast<WORD>(IsoWeekday(when) % 7);
  st.wHour = static_cast<WORD>(p.time.hour);
  st.wMinute = static_cast<WORD>(p.time.minute);
  st.wSecond = static_cast<WORD>(p.time.second);
  st.wMilliseconds = static_cast<WORD>(p.time.millisecond);
  return st;
}

SYSTEMTIME TimeOnly(const DateTimeParts& p) {
  SYSTEMTIME st{};
  st.wYear = 2000;
  st.wMonth = 1;
  st.wDay = 1;
  st.wDayOfWeek = 6;
  st.wHour = static_cast<WORD>(p.time.hour);
  st.wMinute = static_cast<WORD>(p.time.minute);
  st.wSecond = static_cast<WORD>(p.time.second);
  st.wMilliseconds = static_cast<WORD>(p.time.millisecond);
  return st;
}

// Calls `format(buffer, size)` once for the size and once for the text.
template <typename Format>
std::string FormatWith(Format format) {
  int needed = format(nullptr, 0);
  if (needed <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(needed), L'\0');
  int written = format(buffer.data(), needed);
  if (written <= 0) return {};
  return WideToUtf8(WideFromBuffer(buffer.data(), static_cast<std::size_t>(written)));
}

// Used only when the system refuses to format: the log and the clock still get a readable
// stamp instead of an empty text.
std::string IsoDate(const DateTimeParts& p) {
  return FormatText("%04d-%02d-%02d", p.date.year, p.date.month, p.date.day);
}

std::string IsoTime(const DateTimeParts& p) {
  return FormatText("%02d:%02d:%02d", p.time.hour, p.time.minute, p.time.second);
}

}  // namespace

std::string Win32Locale::ShortDate(DateTime when) {
  auto parts = SplitDateTime(when);
  if (!parts) return {};
  std::string text;
  if (parts->date.year >= kFirstSystemYear) {
    SYSTEMTIME st = ToSystemTime(*parts, when);
    text = FormatWith([&](wchar_t* buffer, int size) {
      return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size,
                             nullptr);
    });
  }
  return text.empty() ? IsoDate(*parts) : text;
}

std::string Win32Locale::LongTime(DateTime when) {
  auto parts = SplitDateTime(when);
  if (!parts) return {};
  SYSTEMTIME st = TimeOnly(*parts);
  std::string text = FormatWith([&](wchar_t* buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, size);
  });
  return text.empty() ? IsoTime(*parts) : text;
}

std::string Win32Locale::TimeSeparator() {
  std::string text = FormatWith([](wchar_t* buffer, int size) {
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, buffer, size);
  });
  return text.empty() ? ":" : text;
}

}  // namespace vm

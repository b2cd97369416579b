#include "platform/win32_services_win32.h"

#include <cmath>

namespace vm {

DateTime Win32Clock::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  DateParts date{st.wYear, st.wMonth, st.wDay};
  TimeParts time{st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  // The system always gives a real date; 0.0 ("no time") only if it ever did not.
  return EncodeDateTime(date, time).value_or(0.0);
}

std::int64_t Win32Clock::TickMs() { return static_cast<std::int64_t>(GetTickCount64()); }

std::uint64_t Win32Clock::FileTimeNow() {
  FILETIME ft{};
  GetSystemTimeAsFileTime(&ft);
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::optional<int> Win32Clock::UtcOffsetMinutes(DateTime utc) {
  auto parts = SplitDateTime(utc);
  if (!parts || parts->date.year < 1601 || parts->date.year > 30827) return std::nullopt;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(parts->date.year);
  st.wMonth = static_cast<WORD>(parts->date.month);
  st.wDay = static_cast<WORD>(parts->date.day);
  st.wHour = static_cast<WORD>(parts->time.hour);
  st.wMinute = static_cast<WORD>(parts->time.minute);
  st.wSecond = static_cast<WORD>(parts->time.second);
  st.wMilliseconds = static_cast<WORD>(parts->time.millisecond);
  // The rules in force in that year (zones change their rules now and then), else today's.
  TIME_ZONE_INFORMATION zone{};
  if (!GetTimeZoneInformationForYear(st.wYear, nullptr, &zone) &&
      GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
    return std::nullopt;
  SYSTEMTIME local{};
  if (!SystemTimeToTzSpecificLocalTime(&zone, &st, &local)) return std::nullopt;
  auto localValue = EncodeDateTime({local.wYear, local.wMonth, local.wDay},
                                   {local.wHour, local.wMinute, local.wSecond, local.wMilliseconds});
  if (!localValue) return std::nullopt;
  return static_cast<int>(std::llround((*localValue - utc) * 1440.0));
}

}  // namespace vm

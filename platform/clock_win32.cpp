#include "platform/win32_services_win32.h"

namespace vm {

DateTime Win32Clock::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  DateParts date{st.wYear, st.wMonth, st.wDay};
  TimeParts time{st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  // The system always gives a real date; 0.0 ("no time") only if it ever did not.
  return EncodeDateTime(date, time).value_or(0.0);
}

std::uint64_t Win32Clock::FileTimeNow() {
  FILETIME ft{};
  GetSystemTimeAsFileTime(&ft);
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace vm

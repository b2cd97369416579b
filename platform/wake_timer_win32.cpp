#include "platform/action_services_win32.h"
#include "platform/wide_text_win32.h"

namespace vm {

TimerHandle Win32WakeTimerService::CreateTimer(const std::string& name) {
  std::wstring wide = Utf8ToWide(name);
  HANDLE timer = CreateWaitableTimerW(nullptr, FALSE, wide.empty() ? nullptr : wide.c_str());
  return reinterpret_cast<TimerHandle>(timer);
}

bool Win32WakeTimerService::SetTimer(TimerHandle timer, std::uint64_t dueFileTime,
                                     std::int32_t periodMs, bool resume) {
  if (timer == 0) return false;
  LARGE_INTEGER due{};
  // A positive due time is absolute (UTC file time).
  due.QuadPart = static_cast<LONGLONG>(dueFileTime);
  return SetWaitableTimer(reinterpret_cast<HANDLE>(timer), &due, periodMs, nullptr, nullptr,
                          resume ? TRUE : FALSE) != 0;
}

void Win32WakeTimerService::CancelTimer(TimerHandle timer) {
  if (timer != 0) CancelWaitableTimer(reinterpret_cast<HANDLE>(timer));
}

void Win32WakeTimerService::CloseTimer(TimerHandle timer) {
  if (timer != 0) CloseHandle(reinterpret_cast<HANDLE>(timer));
}

std::optional<std::uint64_t> Win32TempFileTime::CreationTimeOfNewFile(const std::string& name) {
  std::wstring wide = Utf8ToWide(name);
  if (wide.empty()) return std::nullopt;
  // CREATE_NEW, not "create always": a user's file of that name is neither emptied nor deleted.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  FILETIME created{};
  BOOL ok = GetFileTime(file, &created, nullptr, nullptr);
  CloseHandle(file);
  DeleteFileW(wide.c_str());
  if (!ok) return std::nullopt;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace vm

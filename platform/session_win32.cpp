#include <string>

#include "platform/action_services_win32.h"

namespace vm {

namespace {

constexpr DWORD kNotifyForAllSessions = 1;

template <typename Fn>
Fn EntryPoint(HMODULE module, const char* name) {
  // Through void* so that the compiler accepts the cast between unrelated function types.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

Win32SessionNotifications::~Win32SessionNotifications() {
  if (module_ != nullptr) FreeLibrary(module_);
}

bool Win32SessionNotifications::Register(WindowId window) {
  if (module_ == nullptr) {
    wchar_t directory[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    // Only from the system directory: a wtsapi32.dll lying in the current directory or the
    // program's folder is never loaded.
    if (length == 0 || length >= MAX_PATH) return false;
    std::wstring path(directory, length);
    path += L"\\wtsapi32.dll";
    module_ = LoadLibraryW(path.c_str());
    if (module_ == nullptr) return false;
    register_ = EntryPoint<RegisterFn>(module_, "WTSRegisterSessionNotification");
    unregister_ = EntryPoint<UnregisterFn>(module_, "WTSUnRegisterSessionNotification");
  }
  if (register_ == nullptr || unregister_ == nullptr) return false;
  return register_(ToHwnd(window), kNotifyForAllSessions) != 0;
}

void Win32SessionNotifications::Unregister(WindowId window) {
  if (module_ == nullptr) return;
  if (unregister_ != nullptr) unregister_(ToHwnd(window));
  FreeLibrary(module_);
  module_ = nullptr;
  register_ = nullptr;
  unregister_ = nullptr;
}

}  // namespace vm

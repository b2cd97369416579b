#include "platform/action_services_win32.h"

namespace vm {

PrivilegeResult Win32Privileges::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
    return {PrivilegeStep::OpenToken, GetLastError()};
  PrivilegeResult result;
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    result = {PrivilegeStep::LookupValue, GetLastError()};
  } else {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr,
                                          nullptr);
    // The call succeeds even when the privilege was not granted; the last error tells:
    // ERROR_NOT_ALL_ASSIGNED then, 0 only when it was.
    DWORD error = GetLastError();
    if (!adjusted || error != ERROR_SUCCESS) result = {PrivilegeStep::Adjust, error};
  }
  CloseHandle(token);
  return result;
}

bool Win32PowerRequests::RequestExit(ExitRequest request) {
  UINT flags = request == ExitRequest::PowerOff ? EWX_POWEROFF
               : request == ExitRequest::Shutdown ? EWX_SHUTDOWN
                                                  : EWX_REBOOT;
  return ExitWindowsEx(flags, 0xFFFFFFFFu) != 0;
}

bool Win32PowerRequests::Hibernate() { return SetSystemPowerState(FALSE, FALSE) != 0; }

}  // namespace vm

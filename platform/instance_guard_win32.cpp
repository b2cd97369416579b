#include "platform/win32_services_win32.h"

#include "platform/wide_text_win32.h"

namespace vm {

bool Win32InstanceGuard::CreateMutexAlreadyExisted(const std::string& name) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, Utf8ToWide(name).c_str());
  DWORD error = GetLastError();
  // The handle is deliberately never closed: the mutex marks this process as the running
  // instance until the process ends.
  if (mutex != nullptr) return error == ERROR_ALREADY_EXISTS;
  // A mutex of that name that this process may not open (another user's instance in the same
  // session) also means the program already runs. Any other failure cannot tell; the program
  // then starts rather than refusing for no reason.
  return error == ERROR_ACCESS_DENIED;
}

void Win32InstanceGuard::BroadcastRegisteredMessage(const std::string& name) {
  UINT message = RegisterWindowMessageW(Utf8ToWide(name).c_str());
  if (message == 0) return;
  // SendMessage would wait for ever on a window that has stopped answering; with the time-out
  // a hung window is skipped and every other top-level window still gets the message.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      kBroadcastTimeoutMs, &result);
}

}  // namespace vm

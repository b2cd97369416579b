#pragma once
// The system's notifications to the main window, as portable typed events. The window toolkit's
// Win32 backend translates the real window messages into these; the main window decides what to
// do and what the system gets back.

#include <cstdint>
#include <cstddef>
#include <string>

namespace vm {

// The registered message a second start sends to bring the running clock's window up.
inline constexpr const char* kShowMessageName = "VMR_SHOW";

enum class SystemMessageKind {
  Registered,       // a registered window message; `name` holds its name ("VMR_SHOW", "TaskbarCreated")
  QueryEndSession,  // may the session end?
  EndSession,
  PowerBroadcast,   // code: the PBT_* value (0 query suspend, 4 suspend, 6/7 resume ...)
  SettingChange,
  TimeChange,
  SysCommand,       // code: the SC_* command with its low four bits cleared (0xF140 screen saver)
  SessionChange,    // code: the WTS_* reason (5 logon, 6 logoff, 7 lock, 8 unlock)
  MciNotify,        // code: the MCI_NOTIFY_* flag (1 successful, 2 superseded, 4 aborted, 8 failure)
  TrayCallback,     // code: the mouse message of the notification-area icon (514 left up, 517 right up)
};

struct SystemMessage {
  SystemMessageKind kind = SystemMessageKind::Registered;
  std::uint32_t code = 0;
  std::string name;
};

// What the main window answers: when `handled` is false the message goes on to the normal
// window procedure; otherwise `result` is returned to the system.
struct SystemMessageResult {
  bool handled = false;
  std::intptr_t result = 0;
};

}  // namespace vm

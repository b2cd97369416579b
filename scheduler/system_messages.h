#pragma once
// What the main window does with the system's notifications: power broadcasts and the end of
// the session arm the wake timer, session changes and the screen saver start event tasks, a
// finished sound is rewound for the alarm window, and setting or time changes refresh the
// clock. Every case the window does not handle goes on to the normal window procedure.

#include <cstdint>

#include "platform/services.h"
#include "platform/system_message.h"

namespace vm {

class Scheduler;
class WakeTimer;

// The registered message a second start of the program broadcasts.

// Codes of the notifications handled.
inline constexpr std::uint32_t kPbtQuerySuspend = 0;
inline constexpr std::uint32_t kPbtSuspend = 4;
inline constexpr std::uint32_t kPbtResumeCritical = 6;
inline constexpr std::uint32_t kPbtResumeSuspend = 7;
inline constexpr std::uint32_t kScScreenSave = 0xF140;
inline constexpr std::uint32_t kWtsLogon = 5;
inline constexpr std::uint32_t kWtsLogoff = 6;
inline constexpr std::uint32_t kWtsLock = 7;
inline constexpr std::uint32_t kWtsUnlock = 8;

// The main window's part in these notifications.
class SystemMessageHost {
 public:
  virtual ~SystemMessageHost() = default;
  // Shows the main window (a second start of the program asked for it).
  virtual void ShowMainWindow() = 0;
  // The system settings (`reloadTheme` true: reload the theme first) or the time changed:
  // refresh the date labels and lay the clock out again.
  virtual void RefreshDisplay(bool reloadTheme) = 0;
  // The sound device reported the end of a play: rewind the sound ("seek song to start").
  virtual void RewindSound() = 0;
  // ...and let the alarm window, when it exists, play it again (its play-again flag).
  virtual void ArmAlarmSound() = 0;
  // The session really ends (the system may end the process without closing the window):
  // keep what closing the window keeps, the tasks and the window position.
  virtual void SessionEnding() {}
};

class SystemMessageHandler {
 public:
  SystemMessageHandler(SystemMessageHost& host, Scheduler& scheduler, WakeTimer& wakeTimer,
                       Clock& clock);

  // Handles one notification and says what the system gets back.
  SystemMessageResult Handle(const SystemMessage& message);

 private:
  void ArmForSuspend();

  SystemMessageHost& host_;
  Scheduler& scheduler_;
  WakeTimer& wakeTimer_;
  Clock& clock_;
};

}  // namespace vm

#include "scheduler/system_messages.h"

#include "core/log.h"
#include "platform/media_services.h"
#include "scheduler/event_triggers.h"
#include "scheduler/scheduler.h"
#include "scheduler/wake_timer.h"

namespace vm {

namespace {

constexpr SystemMessageResult Handled(std::intptr_t result) { return {true, result}; }
constexpr SystemMessageResult PassedOn() { return {false, 0}; }

}  // namespace

SystemMessageHandler::SystemMessageHandler(SystemMessageHost& host, Scheduler& scheduler,
                                           WakeTimer& wakeTimer, Clock& clock)
    : host_(host), scheduler_(scheduler), wakeTimer_(wakeTimer), clock_(clock) {}

void SystemMessageHandler::ArmForSuspend() {
  wakeTimer_.SetResumeTimer(scheduler_.TaskList);
  WriteLog(" WM_POWERBROADCAST 1");
}

SystemMessageResult SystemMessageHandler::Handle(const SystemMessage& message) {
  switch (message.kind) {
    case SystemMessageKind::Registered:
      // The show message still goes on to the normal procedure; other registered messages
      // (the taskbar's) are the main window's own business.
      if (message.name == kShowMessageName) host_.ShowMainWindow();
      return PassedOn();

    case SystemMessageKind::QueryEndSession:
      UpdateEventTask(scheduler_, clock_, kEventPowerOff);
      ArmForSuspend();
      return Handled(1);  // the session may end

    case SystemMessageKind::PowerBroadcast:
      if (message.code == kPbtQuerySuspend || message.code == kPbtSuspend) {
        ArmForSuspend();
      } else if (message.code == kPbtResumeCritical || message.code == kPbtResumeSuspend) {
        WriteLog(" WM_POWERBROADCAST 2");
      }
      return Handled(1);

    case SystemMessageKind::EndSession:
      // The code is the message's first parameter: non-zero when the session really ends,
      // zero when another program refused and it goes on.
      if (message.code != 0) host_.SessionEnding();
      return Handled(0);

    case SystemMessageKind::SettingChange:
      host_.RefreshDisplay(true);
      return Handled(0);

    case SystemMessageKind::TimeChange:
      host_.RefreshDisplay(false);
      return Handled(0);

    case SystemMessageKind::SysCommand:
      // The screen saver's command is consumed and turned into its event instead of being
      // started by this window. Every other command goes on to the normal procedure: swallowing
      // them all would leave the clock deaf to Alt+F4, to moving by the mouse and to the
      // notification-area menu's own commands.
      if (message.code == kScScreenSave) {
        WriteLog(" SC_SCREENSAVE");
        UpdateEventTask(scheduler_, clock_, kEventScreenSaverOn);
        return Handled(0);
      }
      return {};

    case SystemMessageKind::SessionChange:
      switch (message.code) {
        case kWtsLock:
          UpdateEventTask(scheduler_, clock_, kEventSessionLock);
          break;
        case kWtsUnlock:
          UpdateEventTask(scheduler_, clock_, kEventSessionUnlock);
          break;
        case kWtsLogon:
          UpdateEventTask(scheduler_, clock_, kEventLogon);
          break;
        case kWtsLogoff:
          UpdateEventTask(scheduler_, clock_, kEventLogoff);
          break;
        default:
          break;
      }
      return Handled(0);

    case SystemMessageKind::MciNotify:
      // Only a play that ran to its end rewinds the sound and lets the alarm window play it
      // again; a pause, a stop, a play superseded by another or a failure leave it alone.
      if (message.code == kMciNotifySuccessful) {
        host_.RewindSound();
        host_.ArmAlarmSound();
      }
      return Handled(0);

    case SystemMessageKind::TrayCallback:
      return PassedOn();
  }
  return PassedOn();
}

}  // namespace vm

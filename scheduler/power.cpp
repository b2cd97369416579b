#include "scheduler/power.h"

#include "core/language.h"
#include "core/log.h"

namespace vm {

PowerActions::PowerActions(Privileges& privileges, PowerRequests& power, MessageBoxes& boxes,
                           const Language& language)
    : privileges_(privileges), power_(power), boxes_(boxes), language_(language) {}

void PowerActions::ShowPrivilegeError(const char* messageKey) {
  MessageBoxRequest request;
  request.text = language_.Msg(messageKey);
  request.caption = kApplicationTitle;
  boxes_.Show(request);
}

void PowerActions::ShowRefused(const char* messageKey) {
  MessageBoxRequest request;
  request.text = language_.Msg(messageKey);
  request.caption = language_.Msg("C.2");
  boxes_.Show(request);
}

void PowerActions::SetPrivileges(int versionCode) {
  WriteLog("  %s:%d", "TForm1::SetPrivileges", 1056);
  if (versionCode < kNtVersionCode) return;
  PrivilegeResult result = privileges_.EnableShutdownPrivilege();
  switch (result.failedStep) {
    case PrivilegeStep::Granted:
      break;
    case PrivilegeStep::OpenToken:
      ShowPrivilegeError("M.6");
      break;
    case PrivilegeStep::LookupValue:
      ShowPrivilegeError("M.7");
      break;
    case PrivilegeStep::Adjust:
      ShowPrivilegeError("M.8");
      break;
  }
}

void PowerActions::ShutDown(int versionCode) {
  if (versionCode < kNtVersionCode) {
    if (!power_.RequestExit(ExitRequest::Shutdown)) ShowRefused("M.4");
  }
  if (!power_.RequestExit(ExitRequest::PowerOff)) ShowRefused("M.3");
}

void PowerActions::Hibernate() { power_.Hibernate(); }

void PowerActions::Reboot() {
  if (!power_.RequestExit(ExitRequest::Reboot)) ShowRefused("M.5");
}

}  // namespace vm

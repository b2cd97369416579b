#pragma once
// The power actions of a firing task: enabling the shutdown privilege, and the requests to
// power off, hibernate or reboot, each with its failure message.

#include "platform/action_services.h"
#include "platform/services.h"

namespace vm {

class Language;

// Version codes below this one are the Windows 9x family: no privileges, and a shutdown is
// requested in two steps.
inline constexpr int kNtVersionCode = 20;

// The application title, the caption of the privilege messages.
inline constexpr const char* kApplicationTitle = "Vemtaro";

class PowerActions {
 public:
  PowerActions(Privileges& privileges, PowerRequests& power, MessageBoxes& boxes,
               const Language& language);

  // Enables the shutdown privilege. A failing step is shown (M.6, M.7 or M.8) and waits for
  // the user, but the power request that follows is still made.
  void SetPrivileges(int versionCode);

  // Powers the computer off; below the NT version code a shutdown request comes first. A
  // refused request is shown (M.4 / M.3) without owner.
  void ShutDown(int versionCode);

  // Hibernates; a failure is not shown.
  void Hibernate();

  // Reboots; a refused request is shown (M.5).
  void Reboot();

 private:
  void ShowRefused(const char* messageKey);
  void ShowPrivilegeError(const char* messageKey);

  Privileges& privileges_;
  PowerRequests& power_;
  MessageBoxes& boxes_;
  const Language& language_;
};

}  // namespace vm

#include "ui/toolkit/tray_icon.h"

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

TrayIcon::TrayIcon(Form& owner) : owner_(owner) {}

bool TrayIcon::Add() { return Command(TrayAction::Add); }
bool TrayIcon::Modify(const std::string& tip) { return Command(TrayAction::Modify, tip); }
bool TrayIcon::Delete() { return Command(TrayAction::Delete); }

bool TrayIcon::Command(TrayAction action, const std::string& tip) {
  // The system refuses to change an icon it was not given; asking it anyway would load the
  // shell's library at the start of every clock that is not hidden to the notification area.
  if (action == TrayAction::Modify && !added_) return false;
  TrayIconData data;
  if (action == TrayAction::Modify) {
    data.icon = owner_.GetIcon();
    data.tip = Utf8Truncate(tip, kTrayTipMaxChars);
  }
  // The icon belongs to a window: the callback messages need one.
  owner_.Realize();
  if (!owner_.IsRealized()) return false;
  const bool accepted = owner_.App().GetBackend().TrayCommand(owner_.Peer(), action, data);
  if (action == TrayAction::Add && accepted) added_ = true;
  if (action == TrayAction::Delete) added_ = false;
  return accepted;
}

}  // namespace vm::ui

// The icon in the notification area: its tip, hiding the clock there, the icon's messages and
// the items of its menu that show, hide and end the program.

#include "app/main_form.h"
#include "platform/desktop.h"
#include "platform/shell_icons.h"

namespace vm {

namespace {

// Mouse messages of the icon's callback.
constexpr std::uint32_t kLeftButtonUp = 514;
constexpr std::uint32_t kRightButtonUp = 517;

// The task kinds named in the tip, in the order they are appended.
constexpr std::pair<std::uint32_t, const char*> kTipKinds[] = {
    {kStateShutdown, "H.3"}, {kStateReboot, "H.4"}, {kStateHibernate, "H.5"}, {kStateRunProgram, "H.6"}};

}  // namespace

void TForm1::BuildTrayTip() {
  std::string tip = VML.Hint();
  const TTask& task = scheduler.CurTask;
  if (task.Active == kScheduled) {
    if (task.State & kStateMessage) tip = language_.Msg("H.1");
    for (const auto& [bit, key] : kTipKinds)
      if (task.State & bit) tip += language_.Msg(key);
    tip += " " + services_.locale.ShortDate(task.AlarmTime) + " " + services_.locale.LongTime(task.AlarmTime);
  }
  MemProcL.SetCaption(tip);
}

bool TForm1::NotifyTray(int command) {
  BuildTrayTip();
  switch (command) {
    case 0:
      return Tray.Add();
    case 1:
      // The icon shown is the window's: a window without one would put a slot without a picture
      // into the notification area, where the user of a hidden clock could not find it.
      if (Tray.Added()) EnsureWindowIcon();
      return Tray.Modify(MemProcL.Caption());  // the toolkit cuts the tip to 127 characters
    case 2:
      // An icon belongs to a window: without one there is none to delete, and no window is made
      // just for that (the clock may be going).
      if (!IsRealized()) return false;
      return Tray.Delete();
    default:
      return false;
  }
}

void TForm1::CurrentTaskChanged() { NotifyTray(1); }

void TForm1::HideToTray() {
  NotifyTray(0);
  NotifyTray(1);
  Hide();
  App().SetTaskbarButton(false);
  DesktopTimeWanted = true;
  FollowVisibilityWithIdleTimers();
}

SystemMessageResult TForm1::TrayMessage(const SystemMessage& message) {
  if (message.code == kLeftButtonUp) {
    // Showing the clock ends the desktop time as the menu's Show does.
    MenuShowClick(MenuShow);
  } else if (message.code == kRightButtonUp) {
    // The menu puts its owner in front itself, which lets it close when the user clicks
    // elsewhere; the hidden clock is not shown for that.
    PopupMenu1.SetPopupComponent(this);
    const ui::Point at = App().GetScreen().CursorPos();
    PopupMenu1.Popup(at.x, at.y);
  }
  return {};  // the default processing runs as well
}

void TForm1::MenuShowClick(ui::MenuItem&) {
  // The desktop is redrawn here, once, whether the desktop time ran or not.
  DesktopTimeWanted = false;
  Timer3.SetEnabled(false);
  ShowMainWindow();
  if (services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
}

void TForm1::Hide1Click(ui::MenuItem&) {
  NotifyTray(2);
  DesktopTimeWanted = false;
  FollowVisibilityWithIdleTimers();
  if (services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
}

void TForm1::Shutdown1Click(ui::MenuItem&) { Close(); }

void TForm1::OffPClick(ui::Control&) { Close(); }

void TForm1::MinPClick(ui::Control&) { HideToTray(); }

}  // namespace vm

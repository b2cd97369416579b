// The notification-area icon: its tip, hiding the clock there and the icon's messages.

#include <gtest/gtest.h>

#include "main_form_fixture.h"

namespace vm::testing {
namespace {

class TrayTest : public MainFormTest {
 protected:
  // A task due at 22:00 on the clock's day; the tip it gives.
  std::string TipFor(std::uint32_t state, std::int32_t active = kScheduled) {
    form->scheduler.CurTask.AlarmTime = 46363.0 + 22.0 / 24.0;
    form->scheduler.CurTask.State = state;
    form->scheduler.CurTask.Active = active;
    form->BuildTrayTip();
    return form->MemProcL.Caption();
  }
  std::string When() { return locale.ShortDate(46363.0 + 22.0 / 24.0) + " " + locale.LongTime(46363.0 + 22.0 / 24.0); }
};

TEST_F(TrayTest, TheTipNamesTheProgramOrTheScheduledTasksKindsInOrderAndItsDueTime) {
  Create();
  EXPECT_EQ(TipFor(kStateMessage, kInactive), "Vemtaro  ");
  EXPECT_EQ(TipFor(kStateMessage, kWaitingForEvent), "Vemtaro  ");
  EXPECT_EQ(TipFor(kStateShutdown), "Vemtaro  ShutDown at  " + When());
  // The message replaces the program name; the other kinds follow in bit order.
  EXPECT_EQ(TipFor(kStateRunProgram | kStateReboot | kStateMessage | kStateHibernate),
            "Message at Reboot at Hibernate at Run program at  " + When());
}

TEST_F(TrayTest, HideProgramWhileHiddenLeavesNoTraceAndASecondStartBringsTheClockBack) {
  services.desktop = &desktop;
  services.shellIcons = &shellIcons;
  auto& f = Create();
  f.Show();
  backend.PressKey(f, ui::KeyOf('Y'), {.ctrl = true});
  ASSERT_TRUE(backend.TrayIconShown());
  // A clock without a window icon shows the program's icon, not an empty slot.
  ASSERT_TRUE(backend.TrayIcon()->icon);
  EXPECT_EQ(backend.TrayIcon()->icon->Image().ColorAt(8, 8), fakes::FakeShellIcons::ColorOfStock(StockIcon::Application));
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(backend.TaskbarButtonVisible());
  EXPECT_TRUE(f.Timer3.Enabled());

  desktop.redraws.clear();
  backend.ChooseMenuItem(f.Hide1);
  EXPECT_FALSE(backend.TrayIconShown());
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(f.Timer3.Enabled());
  EXPECT_EQ(desktop.redraws, (std::vector<WindowId>{desktop.desktopWindow}));  // the desktop time goes
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  EXPECT_TRUE(f.Visible());
}

TEST_F(TrayTest, RightButtonOpensTheMenuAtTheMouseLeftButtonShowsTheClock) {
  services.desktop = &desktop;
  auto& f = Create();
  f.HideToTray();
  backend.SetCursorPos({900, 740});
  EXPECT_FALSE(backend.SendTrayCallback(f, 517).handled);
  ASSERT_EQ(backend.Popups().size(), 1u);
  EXPECT_EQ(backend.Popups()[0].menu, &f.PopupMenu1);
  EXPECT_EQ(backend.Popups()[0].at, (ui::Point{900, 740}));
  EXPECT_EQ(f.PopupMenu1.PopupComponent(), &f);
  EXPECT_FALSE(f.Visible());  // the menu does not show the clock

  desktop.redraws.clear();
  EXPECT_FALSE(backend.SendTrayCallback(f, 514).handled);
  EXPECT_TRUE(f.Visible());
  EXPECT_FALSE(f.Timer3.Enabled());  // shown: no more desktop time
  EXPECT_EQ(desktop.redraws.size(), 1u);
  EXPECT_TRUE(backend.TrayIconShown());
}

}  // namespace
}  // namespace vm::testing

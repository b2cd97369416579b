// The clock with the keyboard alone and with a screen reader: its menu on the Menu key and
// Shift+F10, the tab order of the program name and the buttons, their names, and the clock
// face's value.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_form_fixture.h"
#include "support/tab_walk.h"
#include "theme/dgroup_buts.h"

namespace vm::testing {
namespace {

class ClockAccessTest : public MainFormTest {
 protected:
  TForm1& Shown() {
    TForm1& f = Create();
    f.Show();
    return f;
  }
};

TEST_F(ClockAccessTest, TheMenuKeyAndShiftF10OpenTheClocksMenuBelowItAndNothingElseDoes) {
  TForm1& f = Shown();
  backend.PressKey(f, ui::kKeyApps);
  ASSERT_EQ(backend.Popups().size(), 1u);
  EXPECT_EQ(backend.Popups().back().menu, &f.OptMenu);
  EXPECT_EQ(backend.Popups().back().at, f.ClientToScreen({0, f.ClientHeight()}));
  backend.PressKey(f, ui::kKeyF10, ui::ShiftState{.shift = true});
  EXPECT_EQ(backend.Popups().size(), 2u);
  backend.PressKey(f, ui::kKeyF10);
  backend.PressKey(f, ui::kKeyApps, ui::ShiftState{.ctrl = true});
  backend.PressKey(f, ui::kKeyF10, ui::ShiftState{.shift = true, .alt = true});
  EXPECT_EQ(backend.Popups().size(), 2u);
  // Also while a button has the focus, and the key goes no further.
  f.TopButtons->Button(0)->FocusWindow().SetFocus();
  EXPECT_EQ(f.TopButtons->Button(0)->FocusWindow().PeerKeyDown(ui::kKeyF10, ui::ShiftState{.shift = true}), 0);
  EXPECT_EQ(f.TopButtons->Button(0)->FocusWindow().PeerKeyUp(ui::kKeyF10, ui::ShiftState{.shift = true}), 0);
  EXPECT_EQ(backend.Popups().size(), 3u);
}

TEST_F(ClockAccessTest, TabWalksTheProgramNameTheCaptionButtonsThenTheToggles) {
  TForm1& f = Shown();
  EXPECT_EQ(TabWalk(f), (std::vector<std::string>{"VML", "MinP", "OffP", "TopP", "TopA", "TopH"}));
}

TEST_F(ClockAccessTest, ButtonsAreNamedByTheLanguageTextsWithEnglishDefaults) {
  TForm1& f = Shown();
  const std::vector<std::string> names = {"Processes", "Options", "Task List", "Hide to the notification area", "Close"};
  ui::Image* buttons[5] = {&f.TopP, &f.TopA, &f.TopH, &f.MinP, &f.OffP};
  for (int i = 0; i < 5; ++i) {
    const ui::AccessInfo info = ui::Describe({buttons[i]});
    EXPECT_EQ(info.role, ui::AccessRole::PushButton) << buttons[i]->Name();
    EXPECT_EQ(info.name, names[static_cast<std::size_t>(i)]);
  }
  UseLanguage("L1.6Einstellungen\r\nL1.80In den Infobereich\r\nL1.81Beenden\r\n");
  f.ApplyLanguage();
  EXPECT_EQ(ui::Describe({&f.TopA}).name, "Einstellungen");
  EXPECT_EQ(ui::Describe({&f.MinP}).name, "In den Infobereich");
  EXPECT_EQ(ui::Describe({&f.OffP}).name, "Beenden");
  EXPECT_EQ(ui::Describe({&f.TopP}).name, "Processes");  // a key the file lacks keeps the text
}

TEST_F(ClockAccessTest, TheClockFaceGivesTheTimeAndTheDateAsItsValue) {
  TForm1& f = Shown();
  f.Timer1Timer(f.Timer1);
  const ui::AccessInfo face = ui::Describe({&f});
  EXPECT_EQ(face.role, ui::AccessRole::Clock);
  EXPECT_EQ(face.name, "Vemtaro");
  ASSERT_FALSE(f.TimeLabel.Caption().empty());
  EXPECT_EQ(face.value, f.TimeLabel.Caption() + ", " + f.DaywL.Caption() + " " + f.DateLabel.Caption());
  EXPECT_EQ(f.DaywL.Caption(), "Monday");  // the fake clock's 7 December 2026
}

}  // namespace
}  // namespace vm::testing

// The options and about windows with the keyboard alone: the tab order, Esc as the close box,
// the desktop-time mark moved by the arrow keys, and the about window's links by Enter.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form_fixture.h"
#include "support/tab_walk.h"
#include "ui/options/about_form.h"
#include "ui/options/options_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

constexpr const char* kProgramKey = "Software\\Vemtaro";

class OptionsKeysTest : public MainFormTest {
 protected:
  OptionsKeysTest() {
    services.windows = AllWindowKinds();
    services.desktop = &desktop;
    backend.SetScreen(1024, 768);
    registry.CreateKey(RegRoot::CurrentUser, kProgramKey);
  }
  TOptF& Open() {
    Create();
    form->Show();
    backend.PressKey(*form, ui::KeyOf('O'), {.ctrl = true});
    auto* options = dynamic_cast<TOptF*>(form->Slots[kOptionsWindow]);
    if (!options) throw std::logic_error("no options window");
    return *options;
  }
};

TEST_F(OptionsKeysTest, TabGoesDownTheLeftColumnThenTheRightOneThenAcross) {
  registry.WriteDword(RegRoot::CurrentUser, kProgramKey, "DisplayTime", 1);  // the two links usable
  TOptF& o = Open();
  const std::vector<std::string> expected = {"AStartCB", "HideCB", "AsPanCB", "UseMonCB", "ThemeCB",
                                             "FontIm", "TLab", "ShowTimeCB", "SetPosL", "SetFontL",
                                             "Button1", "ZoomT", "Tb", "TransColorCB"};
  EXPECT_EQ(TabWalk(o), expected) << "UseMonCB is there only when speech works: " << o.UseMonCB.Enabled();
}

TEST_F(OptionsKeysTest, EscClosesTheWindowAndStoresItsSettingsAsTheCloseBoxDoes) {
  TOptF& o = Open();
  o.ZoomT.SetFocus();
  backend.PressKey(o, ui::kKeyEscape);
  EXPECT_EQ(form->Slots[kOptionsWindow], nullptr);
  EXPECT_TRUE(registry.Dword(kProgramKey, "Zoom").has_value());
  EXPECT_TRUE(registry.Dword(kProgramKey, "TransColor").has_value());
}

TEST_F(OptionsKeysTest, ArrowKeysMoveTheDesktopTimeMarkInsideTheMiniatureAndStoreThePlace) {
  TOptF& o = Open();
  o.TLab.SetBounds(10, 5, o.TLab.Width(), o.TLab.Height());
  o.TLabFocus.SetFocus();
  backend.PressKey(o, ui::kKeyRight);
  EXPECT_EQ(o.TLab.Left(), 11);
  // 1024 / 146 = 7 screen pixels per miniature pixel (the width's integer ratio).
  EXPECT_EQ(registry.Dword(kProgramKey, "DispLeft"), 7u * 11u);
  o.TLab.SetBounds(0, 0, o.TLab.Width(), o.TLab.Height());
  backend.PressKey(o, ui::kKeyUp);  // at the edge: stays, nothing stored anew
  EXPECT_EQ(o.TLab.Top(), 0);
  EXPECT_EQ(registry.Dword(kProgramKey, "DispLeft"), 77u);
  EXPECT_EQ(ui::Describe({&o.TLab}).name, "Drag to set position");
}

TEST_F(OptionsKeysTest, TheAboutWindowsLinksTakeEnterAndEscClosesIt) {
  Create();
  form->Show();
  bool open = false;
  backend.OnNextModal([&](ui::Form& window) {
    auto& about = dynamic_cast<TForm5&>(window);
    about.Label4Focus.SetFocus();
    backend.PressKey(about, ui::kKeyEnter);
    backend.PressKey(about, ui::kKeyEscape);
    open = about.Visible() && !about.IsReleased() && about.ModalResult() == ui::mrNone;
  });
  backend.ChooseMenuItem(form->About2);
  EXPECT_FALSE(open);
  EXPECT_EQ(backend.UnansweredModals(), 0);
  EXPECT_THAT(calls, ::testing::Contains(::testing::HasSubstr("verb=open file=")));
}

}  // namespace
}  // namespace vm::testing

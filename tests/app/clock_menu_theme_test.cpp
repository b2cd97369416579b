// The check items of the clock's menu (Autostart, Start in Icon, Always on top) and the clock's
// visual-style pictures.

#include <gtest/gtest.h>

#include "clock_fixture.h"
#include "theme/builtin_pictures.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_fakes.h"
#include "theme/visual_style.h"

namespace vm::testing {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStyle = "C:\\windows\\resources\\themes\\luna\\luna.msstyles";

TEST_F(ClockTest, AutostartWritesAndRemovesTheRunEntry) {
  registry.CreateKey(RegRoot::CurrentUser, kRunKey);
  registry.CreateKey(RegRoot::LocalMachine, kRunKey);
  registry.WriteString(RegRoot::LocalMachine, kRunKey, "Vemtaro", "C:\\old\\vemtaro.exe");
  TForm1& f = Shown();
  backend.ChooseMenuItem(f.AutostartM);
  EXPECT_TRUE(f.AutostartM.Checked());
  EXPECT_EQ(registry.ReadValue(RegRoot::CurrentUser, kRunKey, "Vemtaro")->text, env.exePath);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "AutoStart"), 1u);
  EXPECT_FALSE(registry.ReadValue(RegRoot::LocalMachine, kRunKey, "Vemtaro"));

  backend.ChooseMenuItem(f.AutostartM);
  EXPECT_FALSE(f.AutostartM.Checked());
  EXPECT_FALSE(registry.ReadValue(RegRoot::CurrentUser, kRunKey, "Vemtaro"));
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "AutoStart"), 0u);
}

TEST_F(ClockTest, AutostartWithoutARunKeyStaysOff) {
  TForm1& f = Shown();
  backend.ChooseMenuItem(f.AutostartM);
  EXPECT_FALSE(f.AutostartM.Checked());
  EXPECT_FALSE(f.settings.AutoStart);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "AutoStart"), 0u);
  EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, kRunKey));  // never created
}

TEST_F(ClockTest, StartInIconAndAlwaysOnTopToggleTheirSettings) {
  TForm1& f = Shown();
  backend.ChooseMenuItem(f.HideM);
  backend.ChooseMenuItem(f.OntopM);
  EXPECT_TRUE(f.HideM.Checked());
  EXPECT_TRUE(f.OntopM.Checked());
  EXPECT_TRUE(backend.State(f)->topMost);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Background"), 1u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "StayOnTop"), 1u);
  backend.ChooseMenuItem(f.HideM);
  backend.ChooseMenuItem(f.OntopM);
  EXPECT_FALSE(f.HideM.Checked());
  EXPECT_FALSE(f.OntopM.Checked());
  EXPECT_FALSE(backend.State(f)->topMost);
  EXPECT_TRUE(backend.State(f)->visible);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Background"), 0u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "StayOnTop"), 0u);
}

bool SameFrames(const ui::ImageList& a, void (*fill)(ui::ImageList&)) {
  ui::ImageList b;
  fill(b);
  if (a.Count() != b.Count() || a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (!a.Frame(i)->SamePixels(*b.Frame(i))) return false;
  return true;
}

class ClockThemeTest : public ClockTest {
 protected:
  ClockThemeTest() {
    fakes::SetThemeManager(registry, kStyle, "Metallic");
    themes.files[kStyle] = {};
    services.themes = &themes;
  }
  // The clock's visual-style record releases its file through `themes`, which goes first.
  ~ClockThemeTest() override {
    if (form && form->Speaker) form->Speaker->WaitForWorkers(std::chrono::seconds(10));
    app.Shutdown();
    form = nullptr;
  }
  fakes::FakeThemeSource themes;
};

TEST_F(ClockThemeTest, WithoutStyleBitmapsTheBuiltInPicturesStay) {
  TForm1& f = Create();
  ASSERT_NE(f.Style, nullptr);
  EXPECT_EQ(f.Style->SchemeName(), "METALLIC");
  EXPECT_TRUE(SameFrames(f.ImL1, theme::FillBuiltinImL1));
  EXPECT_TRUE(SameFrames(f.ImL2, theme::FillBuiltinImL2));
  EXPECT_TRUE(SameFrames(f.ImL3, theme::FillBuiltinImL3));
  EXPECT_TRUE(SameFrames(f.AddList, theme::FillBuiltinAddList));
  EXPECT_TRUE(f.Image1.Picture().SamePixels(theme::BuiltinClockBackground()));
  EXPECT_TRUE(log.Contains(" LoadTheme finished OK "));
}

TEST_F(ClockThemeTest, WithoutAThemeReaderNothingIsLoaded) {
  services.themes = nullptr;
  TForm1& f = Create();
  EXPECT_EQ(f.Style, nullptr);
  EXPECT_EQ(themes.openCount, 0);
  EXPECT_TRUE(SameFrames(f.ImL2, theme::FillBuiltinImL2));
  EXPECT_EQ(LogCount("TForm1::LoadTheme"), 1);
}

TEST_F(ClockThemeTest, ASettingsChangeLoadsTheStyleAndRepaintsTheButtonsAsTheyStand) {
  TForm1& f = Shown();
  f.TopButtons = std::make_unique<theme::DGroupButs>(
      std::initializer_list<ui::Image*>{&f.TopP, &f.TopA, &f.TopH}, f, nullptr, f.ImL1);
  f.TopButtons->Press(1);
  const ui::Bitmap before = f.TopP.Picture();

  themes.files[kStyle].bitmaps["METALLIC_EXPLORERBARTOOLBARBUTTONS_BMP"] = fakes::CodedBitmap(20, 138, 3);
  themes.files[kStyle].bitmaps["METALLIC_TASKBARBACKGROUND_BMP"] = fakes::CodedBitmap(40, 30, 2);
  backend.SendSystemMessage(f, {SystemMessageKind::SettingChange});
  EXPECT_EQ(f.ImL1.Height(), 23);  // 138 / 6
  EXPECT_TRUE(SameFrames(f.ImL3, theme::FillBuiltinImL3));  // its strip is missing
  EXPECT_TRUE(f.Image1.Picture().SamePixels(fakes::CodedBitmap(40, 30, 2)));
  EXPECT_FALSE(f.TopP.Picture().SamePixels(before));
  EXPECT_EQ(f.TopButtons->Button(0)->LastFrame(), theme::DBut::kFrameNormal);
  EXPECT_EQ(f.TopButtons->Button(1)->LastFrame(), theme::DBut::kFramePressed);
}

}  // namespace
}  // namespace vm::testing

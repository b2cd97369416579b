// LoadTheme: what it logs, what it replaces and what it keeps, and the order of the windows'
// ApplyTheme hooks.

#include <gtest/gtest.h>

#include "core/log.h"
#include "theme/builtin_pictures.h"
#include "theme/theme_loader.h"
#include "theme_fakes.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/toolkit.h"

namespace vm::theme {
namespace {

using fakes::CodedBitmap;

constexpr const char* kPath = "C:\\windows\\resources\\themes\\light\\light.msstyles";

bool SameFrames(const ui::ImageList& a, const ui::ImageList& b) {
  if (a.Count() != b.Count() || a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (!a.Frame(i)->SamePixels(*b.Frame(i))) return false;
  return true;
}

class LoadThemeTest : public ::testing::Test {
 protected:
  LoadThemeTest() {
    FillBuiltinImL1(ImL1);
    FillBuiltinImL2(ImL2);
    FillBuiltinImL3(ImL3);
    Image1.SetPicture(BuiltinClockBackground());
    fakes::SetThemeManager(registry, kPath, "Blue");
    source.files[kPath] = {};
  }
  void ExpectBuiltIn(bool l1, bool l2, bool l3, bool image) {
    ui::ImageList builtIn;
    FillBuiltinImL1(builtIn);
    EXPECT_EQ(SameFrames(ImL1, builtIn), l1);
    FillBuiltinImL2(builtIn);
    EXPECT_EQ(SameFrames(ImL2, builtIn), l2);
    FillBuiltinImL3(builtIn);
    EXPECT_EQ(SameFrames(ImL3, builtIn), l3);
    EXPECT_EQ(Image1.Picture().SamePixels(BuiltinClockBackground()), image);
  }

  fakes::FakeRegistry registry;
  fakes::FakeThemeSource source;
  ui::HeadlessBackend backend;
  ui::Application app{backend};
  ui::Form& form = app.CreateForm<ui::Form>("Form1");
  ui::Image Image1{form, "Image1"};
  ui::ImageList ImL1, ImL2, ImL3;
  std::unique_ptr<VisualStyle> style;
  ThemeTargets targets{registry, source, style, ImL1, ImL2, ImL3, Image1};
  ScopedLogCapture log;
};

TEST_F(LoadThemeTest, LogsEachStepAndCallsTheWindowsHooksInOrder) {
  std::vector<std::string> calls;
  const auto hook = [&](const char* name) {
    return [&calls, name, this] {
      calls.push_back(name);
      EXPECT_TRUE(log.Contains(" Loading OK  "));  // the pictures are loaded by now
    };
  };
  // No task editor open.
  LoadTheme(targets, {hook("alarm"), nullptr, hook("options"), hook("process"), hook("tasks")});
  EXPECT_EQ(calls, (std::vector<std::string>{"alarm", "options", "process", "tasks"}));
  EXPECT_EQ(log.Messages(), (std::vector<std::string>{"  TForm1::LoadTheme:1109", " Loading images...",
                                                      " Loading OK  ", " LoadTheme finished OK "}));
}

TEST_F(LoadThemeTest, WithoutAVisualStyleFileNothingChanges) {
  source.files.clear();
  bool hookCalled = false;
  LoadTheme(targets, {[&] { hookCalled = true; }});
  EXPECT_EQ(log.Messages(), std::vector<std::string>{"  TForm1::LoadTheme:1109"});
  EXPECT_FALSE(hookCalled);
  ExpectBuiltIn(true, true, true, true);
}

// Every system since Vista names a visual-style file that opens but holds none of these
// bitmaps: loading must not leave every button blank.
TEST_F(LoadThemeTest, AFileWithoutTheBitmapsKeepsTheBuiltInPictures) {
  LoadTheme(targets, {});
  ExpectBuiltIn(true, true, true, true);
  EXPECT_EQ(source.bitmapRequests,
            (std::vector<std::string>{"BLUE_EXPLORERBARTOOLBARBUTTONS_BMP", "BLUE_COMBOBUTTON_BMP",
                                      "BLUE_TASKBANDBUTTONVERTICAL_BMP", "BLUE_TASKBARBACKGROUND_BMP"}));
}

TEST_F(LoadThemeTest, AFileWithTheBitmapsReplacesThoseItHas) {
  source.files[kPath].bitmaps = {{"BLUE_COMBOBUTTON_BMP", CodedBitmap(17, 84)},
                                 {"BLUE_TASKBARBACKGROUND_BMP", CodedBitmap(40, 30)}};
  // What it reports taken tells the clock which of its own pictures it still has to draw.
  LoadedPictures loaded = LoadTheme(targets, {});
  EXPECT_FALSE(loaded.ImL1 || loaded.ImL3);
  EXPECT_TRUE(loaded.ImL2 && loaded.Image1);
  // All four pictures come from the one file opened for the check, read from disk once.
  EXPECT_EQ(source.loadCount, 1);
  EXPECT_EQ(source.openCount, 1);
  ExpectBuiltIn(true, false, true, false);
  EXPECT_EQ(ImL2.Count(), 4);
  EXPECT_EQ((ui::Size{ImL2.Width(), ImL2.Height()}), (ui::Size{17, 21}));
  EXPECT_TRUE(Image1.Picture().SamePixels(CodedBitmap(40, 30)));

  source.files[kPath].bitmaps = {{"BLUE_EXPLORERBARTOOLBARBUTTONS_BMP", CodedBitmap(24, 138)},
                                 {"BLUE_TASKBANDBUTTONVERTICAL_BMP", CodedBitmap(22, 132)}};
  loaded = LoadTheme(targets, {});
  EXPECT_TRUE(loaded.ImL1 && loaded.ImL3);
  EXPECT_FALSE(loaded.ImL2 || loaded.Image1);
  EXPECT_EQ((ui::Size{ImL1.Width(), ImL1.Height()}), (ui::Size{24, 23}));
  EXPECT_EQ((ui::Size{ImL3.Width(), ImL3.Height()}), (ui::Size{22, 22}));
  EXPECT_EQ(ImL2.Height(), 21);  // what the first file gave stays
}

}  // namespace
}  // namespace vm::theme

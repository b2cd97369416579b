// Reading the user's visual style: the registry values, the scheme-name rule, the file's
// lifetime and the cutting of frame strips.

#include <gtest/gtest.h>

#include "theme/visual_style.h"
#include "theme_fakes.h"

namespace vm::theme {
namespace {

using fakes::CodedBitmap;
using fakes::SetThemeManager;
using fakes::WideBytes;

constexpr const char* kLunaPath = "C:\\Windows\\Resources\\Themes\\Luna\\Luna.msstyles";

class VisualStyleTest : public ::testing::Test {
 protected:
  void AddFile(std::map<std::string, ui::Bitmap> bitmaps = {},
               std::optional<std::vector<std::uint8_t>> names = std::nullopt) {
    source.files[kLunaPath] = {std::move(names), std::move(bitmaps)};
  }
  // A list as the built-in pictures leave it: three marked 20 x 23 frames.
  static ui::ImageList BuiltIn() {
    ui::ImageList list(20, 23);
    for (int i = 0; i < 3; ++i) list.Add(CodedBitmap(20, 23, 100 + i));
    return list;
  }

  fakes::FakeRegistry registry;
  fakes::FakeThemeSource source;
};

TEST_F(VisualStyleTest, NormalColorTakesTheSchemeFromTheNamesResourceOthersAreUpperCased) {
  SetThemeManager(registry, kLunaPath, "NormalColor");
  AddFile({}, WideBytes("NORMALBLUE_NORMAL_METALLIC"));
  VisualStyle style(registry, source);
  ui::ImageList list;
  for (const char* name : {"EXPLORERBARTOOLBARBUTTONS", "COMBOBUTTON", "TASKBANDBUTTONVERTICAL"})
    LoadThemeStrip(style, list, name, 4);
  EXPECT_EQ(source.bitmapRequests,
            (std::vector<std::string>{"BLUE_EXPLORERBARTOOLBARBUTTONS_BMP", "BLUE_COMBOBUTTON_BMP",
                                      "BLUE_TASKBANDBUTTONVERTICAL_BMP"}));

  // Only NormalColor looks at the names resource.
  SetThemeManager(registry, kLunaPath, "Metallic");
  source.bitmapRequests.clear();
  LoadThemeBitmap(style, "COMBOBUTTON");
  EXPECT_EQ(source.bitmapRequests, std::vector<std::string>{"METALLIC_COMBOBUTTON_BMP"});
}

TEST_F(VisualStyleTest, NormalColorStaysWhenTheNamesResourceNamesNoScheme) {
  for (auto names : {std::optional<std::vector<std::uint8_t>>(), std::optional(WideBytes("NORMAL_BLUE")),
                     std::optional(std::vector<std::uint8_t>{})}) {
    AddFile({}, names);
    SetThemeManager(registry, kLunaPath, "NormalColor");
    VisualStyle style(registry, source);
    ASSERT_TRUE(OpenVisualStyle(style));
    EXPECT_EQ(style.SchemeName(), "NORMALCOLOR");
  }
  // Without an underscore the text ends with the first 256 bytes of the resource.
  EXPECT_EQ(SchemeFromNames(WideBytes("NORMAL" + std::string(200, 'a') + "_B")), std::string(122, 'A'));
}

TEST_F(VisualStyleTest, NoUsableDllNameMeansNoFile) {
  AddFile();
  source.env["%THEMES%"] = "C:\\" + std::string(300, 'w');
  const std::function<void()> setUps[] = {
      [] {},  // no key
      [&] { SetThemeManager(registry, std::nullopt, "Blue"); },
      [&] { SetThemeManager(registry, "", "Blue"); },
      [&] {
        SetThemeManager(registry, std::nullopt, "Blue");
        registry.WriteDword(RegRoot::CurrentUser, kThemeManagerKey, kThemeDllNameValue, 7);
      },
      [&] { SetThemeManager(registry, "C:\\nowhere.msstyles", "Blue"); },
      [&] { SetThemeManager(registry, "%THEMES%\\Luna.msstyles", "Blue"); },  // too long expanded
  };
  for (std::size_t i = 0; i < std::size(setUps); ++i) {
    SCOPED_TRACE(i);
    registry.DeleteKeyTree(RegRoot::CurrentUser, kThemeManagerKey);
    setUps[i]();
    VisualStyle style(registry, source);
    EXPECT_FALSE(OpenVisualStyle(style));
    EXPECT_EQ(LoadThemeBitmap(style, "COMBOBUTTON"), std::nullopt);
    if (i == 0) {  // reading does not create the key
      EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, kThemeManagerKey));
    }
  }
  EXPECT_TRUE(source.bitmapRequests.empty());

  source.env["%THEMES%"] = "C:\\Windows\\Resources\\Themes\\Luna";
  VisualStyle style(registry, source);
  EXPECT_TRUE(OpenVisualStyle(style));
}

TEST_F(VisualStyleTest, EachOpenReleasesThePreviousFileAndTheRecordReleasesTheLast) {
  AddFile();
  SetThemeManager(registry, kLunaPath, "Metallic");
  {
    VisualStyle style(registry, source);
    ASSERT_TRUE(OpenVisualStyle(style));
    ASSERT_TRUE(OpenVisualStyle(style));
    EXPECT_EQ(source.openCount, 1);
    source.files.clear();  // gone: the failed open still lets go of the old one
    EXPECT_FALSE(OpenVisualStyle(style));
    EXPECT_EQ(source.openCount, 0);
    AddFile();
    ASSERT_TRUE(OpenVisualStyle(style));
  }
  EXPECT_EQ(source.openCount, 0);
  EXPECT_EQ(source.badReleases, 0);
}

TEST_F(VisualStyleTest, StripIsCutIntoOpaqueFramesStackedVertically) {
  // 140 rows in 6 frames: 23 each, the last 2 rows unused. Alpha 0 everywhere must still show.
  ui::Bitmap strip = CodedBitmap(30, 140);
  for (ui::Pixel& p : strip.MutablePixels()) p &= 0x00FFFFFFu;
  AddFile({{"METALLIC_TASKBANDBUTTONVERTICAL_BMP", strip}});
  SetThemeManager(registry, kLunaPath, "Metallic");
  VisualStyle style(registry, source);
  ui::ImageList list = BuiltIn();
  ASSERT_TRUE(LoadThemeStrip(style, list, "TASKBANDBUTTONVERTICAL", 6));
  EXPECT_EQ((ui::Size{list.Width(), list.Height()}), (ui::Size{30, 23}));
  ASSERT_EQ(list.Count(), 6);
  for (int i = 0; i < 6; ++i)
    EXPECT_TRUE(list.Frame(i)->SamePixels(CodedBitmap(30, 140).Crop({0, 23 * i, 30, 23 * i + 23}))) << i;
}

TEST_F(VisualStyleTest, MissingStripKeepsTheFramesAStripOfSizeZeroEmptiesThem) {
  SetThemeManager(registry, kLunaPath, "Metallic");
  AddFile({{"METALLIC_COMBOBUTTON_BMP", ui::Bitmap()}, {"METALLIC_TASKBANDBUTTONVERTICAL_BMP", CodedBitmap(20, 5)}});
  VisualStyle style(registry, source);
  ui::ImageList list = BuiltIn();
  EXPECT_FALSE(LoadThemeStrip(style, list, "EXPLORERBARTOOLBARBUTTONS", 6));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_TRUE(list.Frame(1)->SamePixels(CodedBitmap(20, 23, 101)));

  for (const char* sizeZero : {"COMBOBUTTON", "TASKBANDBUTTONVERTICAL"}) {  // 5 rows for 6 frames
    list = BuiltIn();
    EXPECT_TRUE(LoadThemeStrip(style, list, sizeZero, 6));
    EXPECT_EQ(list.Height(), 0);
    EXPECT_EQ(list.Count(), 0);
  }
}

}  // namespace
}  // namespace vm::theme

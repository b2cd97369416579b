// The visual-style services against the system: the ThemeManager key of this installation, its
// visual-style file opened as a data file, and a resource file made here with known bitmaps.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/theme_source.h"
#include "services_test_support_win32.h"
#include "theme/theme_loader.h"
#include "theme/visual_style.h"

namespace vm {
namespace {

// The bitmap names the clock looks for, without the scheme.
const char* const kThemeBitmaps[] = {"EXPLORERBARTOOLBARBUTTONS", "COMBOBUTTON", "TASKBANDBUTTONVERTICAL",
                                     "TASKBARBACKGROUND", "TOOLBARBACKGROUND"};

// ---- the visual style this system names ----

TEST(ThemeSourceWin32Test, TheSystemsVisualStyleOpensButHoldsNoneOfTheOldBitmaps) {
  Win32Registry registry;
  auto dllName = registry.ReadValue(RegRoot::CurrentUser, kThemeManagerKey, kThemeDllNameValue);
  if (!dllName || dllName->type != RegType::String || dllName->text.empty())
    GTEST_SKIP() << "no visual style is named under HKCU\\" << kThemeManagerKey;
  auto source = MakeWin32ThemeSource();
  auto path = source->ExpandEnvironment(dllName->text);
  ASSERT_TRUE(path.has_value()) << dllName->text;
  if (GetFileAttributesW(Utf8ToWide(*path).c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the named visual-style file " << *path << " does not exist here";

  auto module = source->LoadDataFile(*path);
  ASSERT_TRUE(module.has_value()) << *path;
  auto colorName = registry.ReadValue(RegRoot::CurrentUser, kThemeManagerKey, kThemeColorNameValue);
  const std::string scheme = theme::UpperAscii(colorName ? colorName->text : std::string());
  // A visual style of the kind every system since Vista uses: the bitmaps the clock looks for
  // are not there, which the loading has to survive with the built-in pictures.
  for (const char* name : kThemeBitmaps)
    EXPECT_EQ(source->LoadBitmapResource(*module, theme::ThemeBitmapResourceName(scheme, name)), std::nullopt)
        << name;
  source->Release(*module);

  theme::VisualStyle style(registry, *source);
  ASSERT_TRUE(theme::OpenVisualStyle(style));
  ui::ImageList list(20, 23);
  list.Add(ui::Bitmap(20, 23, 0xFF336699u));
  EXPECT_FALSE(theme::LoadThemeStrip(style, list, theme::kToolbarButtonsBitmap, theme::kImL1Frames));
  EXPECT_EQ(list.Count(), 1);
}

TEST(ThemeSourceWin32Test, AFileThatIsMissingOrNotAResourceFileDoesNotLoad) {
  win32test::ScratchFolder folder;
  auto source = MakeWin32ThemeSource();
  const std::string text = folder.File("plain.msstyles");
  FILE* file = _wfopen(Utf8ToWide(text).c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("not a program", file);
  std::fclose(file);
  for (const std::string& path : {folder.File("none.msstyles"), std::string(), text})
    EXPECT_EQ(source->LoadDataFile(path), std::nullopt) << path;
}

TEST(ThemeSourceWin32Test, ExpandsVariablesUpTo256Characters) {
  auto source = MakeWin32ThemeSource();
  const std::string windows = Win32Environment().WindowsDirectory().value_or("");
  ASSERT_FALSE(windows.empty());
  auto expanded = source->ExpandEnvironment("%SystemRoot%\\resources\\themes");
  ASSERT_TRUE(expanded.has_value());
  EXPECT_EQ(CompareStringOrdinal(Utf8ToWide(*expanded).c_str(), -1,
                                 Utf8ToWide(windows + "\\resources\\themes").c_str(), -1, TRUE),
            CSTR_EQUAL)
      << *expanded;

  // Counted in characters, not in the bytes of their UTF-8 text.
  const std::string name = win32test::UniqueName("VM_THEME");
  SetEnvironmentVariableW(Utf8ToWide(name).c_str(), std::wstring(250, L'\x00E9').c_str());
  std::string accents;
  for (int i = 0; i < 250; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(source->ExpandEnvironment("C:\\%" + name + "%"), "C:\\" + accents);
  EXPECT_EQ(source->ExpandEnvironment("C:\\themes\\%" + name + "%"), std::nullopt);  // 260 characters
  SetEnvironmentVariableW(Utf8ToWide(name).c_str(), nullptr);
}

// ---- a resource file made here ----

// A bottom-up DIB resource (BITMAPINFOHEADER + rows) of `width` x `height` at `bits` bits per
// pixel; pixel (x, y), y counted from the top, is `color(x, y)` as 0xRRGGBB (alpha in 32 bits).
std::vector<std::uint8_t> DibResource(int width, int height, int bits,
                                      std::uint32_t (*color)(int x, int y)) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bits);
  header.biCompression = BI_RGB;
  const int stride = ((width * bits / 8) + 3) & ~3;
  std::vector<std::uint8_t> data(sizeof header + static_cast<std::size_t>(stride) * height);
  std::memcpy(data.data(), &header, sizeof header);
  for (int row = 0; row < height; ++row) {
    const int y = height - 1 - row;  // rows are stored from the bottom
    std::uint8_t* line = data.data() + sizeof header + static_cast<std::size_t>(stride) * row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = color(x, y);
      std::uint8_t* p = line + x * bits / 8;
      p[0] = static_cast<std::uint8_t>(c);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c >> 16);
      if (bits == 32) p[3] = static_cast<std::uint8_t>(c >> 24);
    }
  }
  return data;
}

std::uint32_t Coded(int x, int y) { return 0x102030u + static_cast<std::uint32_t>(x * 0x10000 + y * 0x100); }
// 32-bit pixels that leave their alpha at 0, as many 32-bit bitmaps do.
std::uint32_t NoAlpha(int x, int y) { return 0x00406080u + static_cast<std::uint32_t>(x + y); }

class MadeResourceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Any program file can carry resources: a copy of this test program gets ours.
    wchar_t self[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    path_ = folder_.File("made.msstyles");
    ASSERT_TRUE(CopyFileW(self, Utf8ToWide(path_).c_str(), FALSE));
    HANDLE update = BeginUpdateResourceW(Utf8ToWide(path_).c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    const auto strip = DibResource(5, 138, 24, &Coded);
    const auto alpha = DibResource(4, 4, 32, &NoAlpha);
    std::vector<std::uint8_t> names;
    for (char c : std::string("NORMALBLUE_NORMAL_METALLIC") + std::string(200, 'x')) {
      names.push_back(static_cast<std::uint8_t>(c));
      names.push_back(0);
    }
    const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(2), L"BLUE_TASKBANDBUTTONVERTICAL_BMP", language,
                                const_cast<std::uint8_t*>(strip.data()), static_cast<DWORD>(strip.size())));
    ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(2), L"BLUE_TASKBARBACKGROUND_BMP", language,
                                const_cast<std::uint8_t*>(alpha.data()), static_cast<DWORD>(alpha.size())));
    ASSERT_TRUE(UpdateResourceW(update, L"FILERESNAMES", L"NORMAL", language, names.data(),
                                static_cast<DWORD>(names.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
  }

  win32test::ScratchFolder folder_;
  std::string path_;
  std::unique_ptr<ThemeSource> source_ = MakeWin32ThemeSource();
};

TEST_F(MadeResourceFileTest, ReadsTheSchemeNamesAndBitmapsTopRowFirst) {
  auto module = source_->LoadDataFile(path_);
  ASSERT_TRUE(module.has_value());

  auto names = source_->SchemeNamesResource(*module);
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(names->size(), ThemeSource::kMaxSchemeNamesBytes);  // of 452 bytes
  EXPECT_EQ(theme::SchemeFromNames(*names), "BLUE");

  auto strip = source_->LoadBitmapResource(*module, "BLUE_TASKBANDBUTTONVERTICAL_BMP");
  ASSERT_TRUE(strip.has_value());
  ASSERT_EQ(strip->Width(), 5);
  ASSERT_EQ(strip->Height(), 138);
  for (int y : {0, 1, 22, 23, 137})
    for (int x : {0, 4}) EXPECT_EQ(strip->PixelAt(x, y), 0xFF000000u | Coded(x, y)) << x << "," << y;

  // 32-bit pixels whose alpha is all zero are opaque pictures, not invisible ones.
  auto flat = source_->LoadBitmapResource(*module, "BLUE_TASKBARBACKGROUND_BMP");
  ASSERT_TRUE(flat.has_value());
  EXPECT_EQ(flat->PixelAt(3, 0), 0xFF000000u | NoAlpha(3, 0));

  EXPECT_EQ(source_->LoadBitmapResource(*module, "BLUE_COMBOBUTTON_BMP"), std::nullopt);
  source_->Release(*module);
}

}  // namespace
}  // namespace vm

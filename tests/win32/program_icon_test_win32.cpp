// The program's icon file (app/win/vemtaro.ico, written by tools/make_icon.py) loads at each of
// its sizes, the 48-pixel one from its PNG-compressed image: the corners clear, the dark blue rim
// at the top, the face's centre drawn.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "draw/gdi_win32.h"

namespace vm {
namespace {

// The icon file's image at `size`, as the program draws icons; empty when it does not load.
ui::Icon LoadIconFile(const std::wstring& path, int size) {
  HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
  ui::Icon loaded = ui::win32::IconFromHandle(icon, size);
  if (icon) DestroyIcon(icon);
  return loaded;
}

TEST(ProgramIconTest, EverySizeLoadsWithItsRimAndClearCorners) {
  const std::string source = VM_SOURCE_DIR "/app/win/vemtaro.ico";
  const std::wstring path(source.begin(), source.end());
  for (int size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    const ui::Icon icon = LoadIconFile(path, size);
    ASSERT_EQ(icon.Width(), size);
    const auto at = [&](int x, int y) { return icon.Image().Pixels()[static_cast<std::size_t>(y * size + x)]; };
    EXPECT_EQ(ui::AlphaOf(at(0, 0)), 0);
    EXPECT_EQ(ui::AlphaOf(at(size - 1, size - 1)), 0);
    EXPECT_EQ(ui::AlphaOf(at(size / 2, size / 2)), 255);
    if (size < 32) continue;  // the 16-pixel rim is a single, partly covered row
    const ui::Pixel rim = at(size / 2, 1);
    EXPECT_EQ(ui::AlphaOf(rim), 255);
    const ui::Color rimColour = ui::PixelToColor(rim);
    EXPECT_NEAR(ui::RedOf(rimColour), 30, 8);
    EXPECT_NEAR(ui::GreenOf(rimColour), 60, 8);
    EXPECT_NEAR(ui::BlueOf(rimColour), 110, 8);
  }
}

}  // namespace
}  // namespace vm

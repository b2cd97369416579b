// The program's icon file (app/win/vemtaro.ico, written by tools/make_icon.py) loads at each of
// its sizes, the 48-pixel one from its PNG-compressed image: the corners clear, the dark blue rim
// at the top, the face's centre drawn.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Rgba {
  int r, g, b, a;
};

// The icon's colour image, top row first; empty when it does not load.
std::vector<Rgba> IconPixels(const std::wstring& path, int size) {
  HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
  if (!icon) return {};
  ICONINFO info{};
  std::vector<Rgba> pixels;
  if (GetIconInfo(icon, &info) && info.hbmColor) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(size * size));
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), bits.data(), &format, DIB_RGB_COLORS) == size)
      for (std::uint32_t p : bits)
        pixels.push_back({int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF), int(p >> 24)});
    ReleaseDC(nullptr, screen);
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyIcon(icon);
  return pixels;
}

TEST(ProgramIconTest, EverySizeLoadsWithItsRimAndClearCorners) {
  const std::string source = VM_SOURCE_DIR "/app/win/vemtaro.ico";
  const std::wstring path(source.begin(), source.end());
  for (int size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    const std::vector<Rgba> pixels = IconPixels(path, size);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
    const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * size + x)]; };
    EXPECT_EQ(at(0, 0).a, 0);
    EXPECT_EQ(at(size - 1, size - 1).a, 0);
    EXPECT_EQ(at(size / 2, size / 2).a, 255);
    if (size < 32) continue;  // the 16-pixel rim is a single, partly covered row
    const Rgba rim = at(size / 2, 1);
    EXPECT_EQ(rim.a, 255);
    EXPECT_NEAR(rim.r, 30, 8);
    EXPECT_NEAR(rim.g, 60, 8);
    EXPECT_NEAR(rim.b, 110, 8);
  }
}

}  // namespace

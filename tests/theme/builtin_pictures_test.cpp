// The program's own pictures: the sizes the windows rely on, the transparency that lets them sit
// on any window, and the button states told apart by their look.

#include <gtest/gtest.h>

#include <set>

#include "theme/builtin_pictures.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::theme {
namespace {

double Luminance(ui::Pixel p) { return 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF); }

// Mean luminance inside the border.
double Inside(const ui::Bitmap& b) {
  double sum = 0;
  for (int y = 4; y < b.Height() - 4; ++y)
    for (int x = 4; x < b.Width() - 4; ++x) sum += Luminance(b.PixelAt(x, y));
  return sum / ((b.Width() - 8) * (b.Height() - 8));
}

TEST(BuiltinPicturesTest, ButtonFramesAreRoundedAndTellTheirStatesApart) {
  struct Case { void (*fill)(ui::ImageList&); int width, height, count; };
  const Case cases[] = {{&FillBuiltinImL1, 20, 23, kButtonFrameCount},
                        {&FillBuiltinImL2, 14, 14, kCaptionFrameCount},
                        {&FillBuiltinImL3, 20, 23, kButtonFrameCount}};
  for (const Case& c : cases) {
    ui::ImageList list(c.width, c.height);
    list.Add(ui::Bitmap(c.width, c.height));  // what was there before goes
    c.fill(list);
    ASSERT_EQ((std::vector{list.Width(), list.Height(), list.Count()}), (std::vector{c.width, c.height, c.count}));
    std::set<std::vector<ui::Pixel>> distinct;
    for (int f = 0; f < list.Count(); ++f) {
      SCOPED_TRACE(::testing::Message() << c.width << " frame " << f);
      const ui::Bitmap& b = *list.Frame(f);
      distinct.insert(b.Pixels());
      // See-through corners (the holder shows there), an opaque inside, a darker border.
      EXPECT_EQ(ui::AlphaOf(b.PixelAt(0, 0)) + ui::AlphaOf(b.PixelAt(c.width - 1, c.height - 1)), 0);
      for (int y = 1; y < c.height - 1; ++y)
        for (int x = 1; x < c.width - 1; ++x) ASSERT_EQ(ui::AlphaOf(b.PixelAt(x, y)), 255) << x << "," << y;
      EXPECT_LT(Luminance(b.PixelAt(c.width / 2, 0)), Inside(b));
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), list.Count());
    // Hot at least as light as normal, pressed clearly darker; normal lighter at the top.
    const ui::Bitmap& normal = *list.Frame(0);
    EXPECT_GT(Inside(*list.Frame(1)), Inside(normal) - 1);
    EXPECT_LT(Inside(*list.Frame(2)), Inside(normal) - 10);
    EXPECT_GT(Luminance(normal.PixelAt(c.width / 2, 3)), Luminance(normal.PixelAt(c.width / 2, c.height - 3)));
  }
}

TEST(BuiltinPicturesTest, AddListPicturesLeaveTheKeyPixelsToTheBackground) {
  ui::ImageList list;
  FillBuiltinAddList(list);
  ASSERT_EQ((std::vector{list.Width(), list.Height(), list.Count()}), (std::vector{16, 16, int{kAddListCount}}));
  const ui::Color background = ui::CurrentColorResolver().ToRgb(list.BkColor());
  for (int i = 0; i < list.Count(); ++i) {
    SCOPED_TRACE(i);
    // The menus take pixel (1, 1) as the transparent colour, transparent images the bottom-left.
    const ui::Bitmap out = list.GetBitmap(i);
    EXPECT_EQ(out.ColorAt(1, 1), background);
    EXPECT_EQ(out.TransparentColor(), background);
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) drawn += out.ColorAt(x, y) != background;
    EXPECT_GT(drawn, 15);
  }
}

TEST(BuiltinPicturesTest, BackgroundBandsAreOpaqueRowByRowGradients) {
  for (const ui::Bitmap& band : {BuiltinClockBackground(), BuiltinToolbarBackground()}) {
    SCOPED_TRACE(band.Width());
    for (ui::Pixel p : band.Pixels()) ASSERT_EQ(ui::AlphaOf(p), 255);
    for (int y = 0; y < band.Height(); ++y) EXPECT_EQ(band.PixelAt(0, y), band.PixelAt(band.Width() - 1, y));
    EXPECT_GT(Luminance(band.PixelAt(0, 1)), Luminance(band.PixelAt(0, band.Height() - 3)));
  }
  EXPECT_EQ((ui::Size{BuiltinClockBackground().Width(), BuiltinClockBackground().Height()}), (ui::Size{262, 30}));
  EXPECT_EQ((ui::Size{BuiltinToolbarBackground().Width(), BuiltinToolbarBackground().Height()}), (ui::Size{535, 49}));
}

}  // namespace
}  // namespace vm::theme

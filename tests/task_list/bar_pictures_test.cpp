// The details boxes' own title bars and buttons: whole pixels only, so that the colour left out
// when they are drawn never shows as a tinted fringe at their rounded edges.

#include "ui/task_list/bar_pictures.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

constexpr ui::Pixel kKey = 0xFFFF00FFu;

// Every colour of these pictures is a blue or a white, with at least as much green as red; any
// share of the magenta key in a pixel shows as less green than red.
bool Untinted(ui::Pixel p) { return ((p >> 8) & 0xFF) >= ((p >> 16) & 0xFF); }

TEST(BarPictures, TheTitleBarIsSolidOrExactlyTheKeyWithRoundedTopCorners) {
  const ui::Bitmap bar = BuiltinBarPicture();
  ASSERT_EQ(bar.Width(), kBarWidth);
  ASSERT_EQ(bar.Height(), kBarHeight);
  EXPECT_EQ(bar.PixelAt(0, 0), kKey);
  EXPECT_EQ(bar.PixelAt(kBarWidth - 1, 0), kKey);  // rounded: the corner is left out
  EXPECT_EQ(bar.PixelAt(0, kBarHeight - 1), kKey);  // the colour images leave out
  EXPECT_NE(bar.PixelAt(kBarWidth / 2, kBarHeight / 2), kKey);
  int keyed = 0;
  for (int y = 0; y < bar.Height(); ++y)
    for (int x = 0; x < bar.Width(); ++x) {
      const ui::Pixel p = bar.PixelAt(x, y);
      if (p == kKey) {
        ++keyed;
        continue;
      }
      ASSERT_EQ(ui::AlphaOf(p), 255) << x << "," << y;
      ASSERT_TRUE(Untinted(p)) << std::hex << p << " at " << std::dec << x << "," << y;
    }
  EXPECT_GT(keyed, 4);      // both top corners are rounded off
  EXPECT_LT(keyed, 2 * 40);  // and no more than the corners
}

TEST(BarPictures, TheButtonsAreWholeCirclesWithoutAFringe) {
  ui::ImageList list(5, 5);
  list.Add(ui::Bitmap(5, 5));
  FillBuiltinBarButtons(list);
  ASSERT_EQ(list.Count(), kBarButtonPictures);  // the old content is gone
  for (int i = 0; i < list.Count(); ++i) {
    const ui::Bitmap* frame = list.Frame(i);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->Width(), kBarButtonSize);
    EXPECT_EQ(ui::AlphaOf(frame->PixelAt(0, 0)), 0) << i;  // outside the circle
    EXPECT_EQ(ui::AlphaOf(frame->PixelAt(10, 10)), 255) << i;
    for (int y = 0; y < frame->Height(); ++y)
      for (int x = 0; x < frame->Width(); ++x) {
        const ui::Pixel p = frame->PixelAt(x, y);
        if (ui::AlphaOf(p) == 0) continue;
        ASSERT_EQ(ui::AlphaOf(p), 255) << i << ": " << x << "," << y;
        ASSERT_TRUE(Untinted(p)) << i << ": " << std::hex << p << " at " << std::dec << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace vm

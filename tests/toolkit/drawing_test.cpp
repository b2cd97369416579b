// Drawing in memory: the bitmap canvas, bitmaps, image lists and icons, text utilities, and the
// size arithmetic (points, DPI scaling).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/toolkit/toolkit.h"

namespace vm::ui {
namespace {

const Pixel kWhite = ColorToPixel(clWhite);
const Pixel kRed = ColorToPixel(clRed);

TEST(BitmapCanvasTest, LinesStopBeforeTheirEndAndFramesLieInside) {
  Bitmap bmp(10, 10, kWhite);
  Canvas& c = bmp.GetCanvas();
  c.Line({0, 0}, {5, 0}, clRed);
  EXPECT_EQ(bmp.PixelAt(4, 0), kRed);
  EXPECT_EQ(bmp.PixelAt(5, 0), kWhite);
  c.Line({9, 9}, {9, 9}, clRed);  // zero length draws nothing
  EXPECT_EQ(bmp.PixelAt(9, 9), kWhite);
  c.Line({2, 2}, {6, 6}, clRed);  // diagonal
  EXPECT_EQ(bmp.PixelAt(5, 5), kRed);
  EXPECT_EQ(bmp.PixelAt(6, 6), kWhite);
  c.FrameRect({2, 5, 6, 9}, clBlue);
  EXPECT_EQ(bmp.ColorAt(2, 5), clBlue);
  EXPECT_EQ(bmp.ColorAt(5, 8), clBlue);
  EXPECT_EQ(bmp.ColorAt(3, 6), clWhite);
  EXPECT_EQ(bmp.ColorAt(6, 5), clWhite);
}

TEST(BitmapCanvasTest, DrawingOutsideTheBitmapOrClipIsCutNotACrash) {
  Bitmap bmp(4, 4, kWhite);
  Canvas& c = bmp.GetCanvas();
  c.FillRect({-100, -100, 2, 2}, clRed);
  c.FillRect({3, 3, 1000000, 1000000}, clRed);
  c.Line({-50, 1}, {50, 1}, clBlue);
  c.SetPixel({-1, 0}, clRed);
  EXPECT_EQ(bmp.PixelAt(0, 0), kRed);
  EXPECT_EQ(bmp.PixelAt(3, 3), kRed);
  EXPECT_EQ(bmp.ColorAt(3, 1), clBlue);
  EXPECT_EQ(c.GetPixel({10, 10}), clBlack);
  c.Save();
  c.Translate({1, 1});
  c.ClipTo({0, 0, 2, 1});
  c.FillRect({0, 0, 10, 10}, clLime);
  c.Restore();
  EXPECT_EQ(bmp.ColorAt(1, 1), clLime);
  EXPECT_EQ(bmp.ColorAt(2, 1), clLime);
  EXPECT_EQ(bmp.ColorAt(1, 2), clWhite);  // outside the clip
  c.FillRect({0, 2, 1, 3}, clLime);       // restored: no clip, no offset
  EXPECT_EQ(bmp.ColorAt(0, 2), clLime);
  c.Restore();  // one Restore too many is ignored
}

TEST(BitmapCanvasTest, SystemColoursAreResolvedAndClNoneDrawsNothing) {
  Bitmap bmp(2, 2, kWhite);
  bmp.GetCanvas().FillRect({0, 0, 1, 1}, clBtnFace);
  bmp.GetCanvas().FillRect({1, 1, 2, 2}, clNone);
  EXPECT_EQ(bmp.ColorAt(0, 0), DefaultSystemColor(15));
  EXPECT_EQ(bmp.PixelAt(1, 1), kWhite);
}

TEST(BitmapCanvasTest, StretchCopyKeyedAndAlphaBlits) {
  Bitmap src(2, 1);
  src.SetPixelAt(0, 0, kRed);
  src.SetPixelAt(1, 0, kWhite);
  Bitmap dst(4, 2, ColorToPixel(clBlack));
  Canvas& c = dst.GetCanvas();
  c.StretchBitmap({0, 0, 4, 2}, src);
  EXPECT_EQ(dst.PixelAt(1, 1), kRed);
  EXPECT_EQ(dst.PixelAt(2, 0), kWhite);

  Bitmap dst2(4, 1, ColorToPixel(clBlack));
  dst2.GetCanvas().DrawBitmapTransparent({0, 0, 2, 1}, src, clWhite);
  EXPECT_EQ(dst2.PixelAt(0, 0), kRed);
  EXPECT_EQ(dst2.ColorAt(1, 0), clBlack);

  Bitmap dst3(3, 1, ColorToPixel(clBlack));
  dst3.GetCanvas().CopyRect({0, 0, 1, 1}, src, {1, 0, 2, 1});
  dst3.GetCanvas().CopyRect({1, 0, 3, 1}, src, {5, 5, 9, 9});  // source outside: nothing
  dst3.GetCanvas().CopyRect({1, 0, 3, 1}, src, {0, 0, 0, 0});  // empty source: nothing
  EXPECT_EQ(dst3.PixelAt(0, 0), kWhite);
  EXPECT_EQ(dst3.ColorAt(1, 0), clBlack);

  Bitmap half(1, 1, ColorToPixel(clWhite, 128));
  Bitmap dst4(1, 1, ColorToPixel(clBlack));
  dst4.GetCanvas().DrawBitmapAlpha({0, 0, 1, 1}, half);
  EXPECT_EQ(RedOf(dst4.ColorAt(0, 0)), 128);
  EXPECT_EQ(AlphaOf(dst4.PixelAt(0, 0)), 255);
}

TEST(BitmapCanvasTest, OpaqueTextFillsItsCellWithTheBrush) {
  Bitmap bmp(20, 12, kWhite);
  Canvas& c = bmp.GetCanvas();
  Font f;
  f.height = -10;
  c.SetFont(f);
  c.SetTextColor(clRed);
  c.SetBrushColor(clYellow);
  c.SetTransparentText(false);
  c.TextOut({0, 0}, "a b");
  EXPECT_EQ(c.TextExtent("a b"), (Size{18, 10}));
  EXPECT_EQ(bmp.ColorAt(1, 1), clRed);     // 'a'
  EXPECT_EQ(bmp.ColorAt(7, 1), clYellow);  // the blank: background
  EXPECT_EQ(bmp.ColorAt(19, 1), clWhite);  // beyond the text
}

TEST(BitmapTest, ResizeKeepsTheOverlapAndRejectsNegativeSizes) {
  Bitmap bmp(3, 3, kRed);
  bmp.SetSize(5, 2);
  EXPECT_EQ(bmp.PixelAt(2, 1), kRed);
  EXPECT_EQ(bmp.PixelAt(4, 1), 0xFF000000u);
  bmp.SetSize(-5, 7);
  EXPECT_TRUE(bmp.IsEmpty());
  EXPECT_EQ(bmp.PixelAt(0, 0), 0u);
  Bitmap empty(-1, -1);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.TransparentColor(), clBlack);
}

TEST(BitmapTest, CopiesAreIndependentAndTheTransparentColourIsTheBottomLeftPixel) {
  Bitmap a(2, 2, kWhite);
  a.SetPixelAt(0, 1, kRed);
  Bitmap b = a;
  b.GetCanvas().FillRect({0, 0, 2, 2}, clBlue);
  EXPECT_EQ(a.PixelAt(0, 0), kWhite);
  EXPECT_EQ(a.TransparentColor(), clRed);
  a.SetTransparentColor(clLime);
  EXPECT_EQ(a.TransparentColor(), clLime);
  Bitmap moved = std::move(b);
  EXPECT_EQ(moved.ColorAt(1, 1), clBlue);
}

TEST(ImageListTest, StripsAreCutIntoFramesOfEqualSize) {
  ImageList list(4, 2);
  Bitmap strip(14, 2, kWhite);  // three frames and a partial fourth
  strip.SetPixelAt(4, 0, kRed);
  EXPECT_EQ(list.Add(strip), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Frame(1)->PixelAt(0, 0), kRed);
  EXPECT_EQ(list.Frame(3), nullptr);
  EXPECT_EQ(list.Frame(-1), nullptr);
  EXPECT_EQ(list.Add(Bitmap()), -1);
  list.Delete(0);
  EXPECT_EQ(list.Frame(0)->PixelAt(0, 0), kRed);
  list.SetSize(8, 8);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListTest, MaskedFramesComposeOnTheBackgroundColour) {
  ImageList list(2, 1);
  list.SetBkColor(clSilver);
  Bitmap pic(2, 1, kWhite);
  pic.SetPixelAt(1, 0, kRed);
  list.AddMasked(pic, clWhite);
  const Bitmap composed = list.GetBitmap(0);
  EXPECT_EQ(composed.ColorAt(0, 0), clSilver);
  EXPECT_EQ(composed.PixelAt(1, 0), kRed);
  EXPECT_EQ(list.GetBitmap(9).ColorAt(1, 0), clSilver);  // out of range: background only

  Bitmap onto(2, 1, ColorToPixel(clNavy));
  list.Draw(onto.GetCanvas(), {0, 0}, 0);
  EXPECT_EQ(onto.ColorAt(0, 0), clNavy);
  EXPECT_EQ(onto.PixelAt(1, 0), kRed);
}

TEST(ImageListTest, IconsAreScaledAndAnEmptyIconKeepsTheNumbering) {
  ImageList list(2, 2);
  Bitmap big(4, 4, kRed);
  list.AddIcon(Icon(big));
  list.AddIcon(Icon());
  list.AddIcon(Icon::FromBitmap(Bitmap(2, 2, kWhite), clWhite));
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Frame(0)->PixelAt(1, 1), kRed);
  EXPECT_EQ(AlphaOf(list.Frame(1)->PixelAt(0, 0)), 0);
  EXPECT_EQ(AlphaOf(list.Frame(2)->PixelAt(0, 0)), 0);
  EXPECT_EQ(list.GetIcon(0).Width(), 2);
  EXPECT_TRUE(list.GetIcon(5).IsEmpty());
}

TEST(TextTest, Utf8CountingAndCuttingNeverSplitACharacter) {
  const std::string test = "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82";  // "Тест"
  EXPECT_EQ(Utf8Length(test), 4u);
  EXPECT_EQ(Utf8Truncate(test, 2), "\xD0\xA2\xD0\xB5");
  EXPECT_EQ(Utf8Truncate(test, 10), test);
  EXPECT_EQ(Utf8Length("a\xFF" "b"), 3u);           // a stray byte is one character
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2u);              // a cut-off sequence: its bytes count
  EXPECT_EQ(Utf8ToCodePoints("\xE2\x82\xAC"), U"\u20AC");
  EXPECT_EQ(Utf8ToCodePoints("x\xC3"), U"x\uFFFD");
}

TEST(TextTest, WrappingBreaksBetweenWordsAndAtLineBreaks) {
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()); };
  EXPECT_EQ(WrapText("one two three", 7, width), (std::vector<std::string>{"one two", "three"}));
  EXPECT_EQ(WrapText("a\r\nb\nc", 0, width), (std::vector<std::string>{"a", "b", "c"}));
  // LF CR is one break too, and a lone CR breaks; two LFs leave an empty line between.
  EXPECT_EQ(WrapText("due\n\r12:00\rx", 0, width), (std::vector<std::string>{"due", "12:00", "x"}));
  EXPECT_EQ(WrapText("a\n\nb\r\n\r\nc", 0, width), (std::vector<std::string>{"a", "", "b", "", "c"}));
  EXPECT_EQ(WrapText("averyverylongword x", 5, width), (std::vector<std::string>{"averyverylongword", "x"}));
  EXPECT_EQ(WrapText("", 5, width), (std::vector<std::string>{""}));
}

TEST(TextTest, FixedMetricsAreSixTenthsOfTheHeightPerCharacter) {
  FixedTextRenderer fixed;
  Font f;
  f.height = -25;
  EXPECT_EQ(fixed.Measure(f, "12:34"), (Size{75, 25}));
  f.height = 13;  // a cell height counts the same
  EXPECT_EQ(fixed.Measure(f, "ab"), (Size{16, 13}));
  EXPECT_EQ(fixed.Measure(f, "").width, 0);
}

TEST(ArithmeticTest, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 3, 2), 2);
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);
  EXPECT_EQ(MulDiv(10, 1, 3), 3);
  EXPECT_EQ(MulDiv(5, 5, 0), 0);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // the product itself overflows 32 bits
  EXPECT_EQ(MulDiv(2000000000, 3, 2), -1);          // a result that does not fit, as the system
}

TEST(ArithmeticTest, FontPointsAt96Dpi) {
  Font f;
  f.SetSizePoints(8);
  EXPECT_EQ(f.height, -11);
  f.height = -25;
  EXPECT_EQ(f.SizePoints(), 19);
  f.SetSizePoints(17 / 2);  // halving a 17-point font
  EXPECT_EQ(f.height, -11);
  f.height = 20;  // cell height: a negative size, and back
  EXPECT_EQ(f.SizePoints(), -15);
  f.SetSizePoints(f.SizePoints());
  EXPECT_EQ(f.height, 20);
}

TEST(ArithmeticTest, DpiScalingMaps96To144AsOneAndAHalf) {
  EXPECT_EQ(ToDevice(272, 144), 408);
  EXPECT_EQ(ToDevice(55, 144), 83);   // 82.5 rounds away from zero
  EXPECT_EQ(ToDevice(-25, 144), -38); // font heights keep their sign
  EXPECT_EQ(ToDesign(408, 144), 272);
  EXPECT_EQ(ToDesign(83, 144), 55);
  EXPECT_EQ(ToDevice(100, 96), 100);
  EXPECT_EQ(ToDevice(100, 0), 100);   // a missing DPI counts as 96
  EXPECT_EQ(ToDesignCeil(76, 144), 51);  // 50.67: a measured width never shrinks
  EXPECT_EQ(ToDesignCeil(-76, 144), -51);
  EXPECT_EQ(ToDevice(10, 120), 13);   // 125 %
}

}  // namespace
}  // namespace vm::ui

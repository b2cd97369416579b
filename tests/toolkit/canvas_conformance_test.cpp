// The drawings that every canvas must draw alike, on the in-memory canvas: the pixels that the
// drawing contract asks for. Under Windows the same drawings on a device context are compared
// with these (tests/win32/canvas_conformance_test_win32.cpp).

#include <gtest/gtest.h>

#include "toolkit/canvas_conformance.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui::conformance {
namespace {

class CanvasConformanceTest : public ::testing::Test {
 protected:
  void SetUp() override { textRects = DrawConformanceScript(surface.GetCanvas()); }
  Color At(int x, int y) const { return surface.ColorAt(x, y); }

  FixedTextRenderer fixedText;
  DefaultColorResolver colors;
  ScopedRenderContext context{&fixedText, &colors};
  Bitmap surface{kWidth, kHeight};
  std::vector<Rect> textRects;
};

TEST_F(CanvasConformanceTest, CopiesWhoseSourceReachesPastTheBitmapCopyWhatIsThereAndLeaveTheRest) {
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(At(kCopyPastEnd.left + x, kCopyPastEnd.top + y), SourceColor(x, y));
  EXPECT_EQ(At(kCopyPastEnd.left + 6, kCopyPastEnd.top), clWhite);  // not stretched over the rest
  EXPECT_EQ(At(kCopyPastEnd.right - 1, kCopyPastEnd.bottom - 1), clWhite);
  EXPECT_EQ(At(kCopyPastEnd.left, kCopyPastEnd.top + 4), clWhite);
  // A source rectangle starting before the bitmap: the first two columns and the first row stay.
  EXPECT_EQ(At(kCopyBeforeStart.left + 1, kCopyBeforeStart.top + 1), clWhite);
  EXPECT_EQ(At(kCopyBeforeStart.left + 2, kCopyBeforeStart.top), clWhite);
  EXPECT_EQ(At(kCopyBeforeStart.left + 2, kCopyBeforeStart.top + 1), SourceColor(0, 0));
  EXPECT_EQ(At(kCopyBeforeStart.right - 1, kCopyBeforeStart.bottom - 1), SourceColor(3, 2));
}

TEST_F(CanvasConformanceTest, StretchesTakeTheNearestSourcePixelWithoutSmoothing) {
  for (int y = 0; y < kStretchUp.Height(); ++y)
    for (int x = 0; x < kStretchUp.Width(); ++x)
      ASSERT_EQ(At(kStretchUp.left + x, kStretchUp.top + y), SourceColor(x / 3, y / 3)) << x << "," << y;
  // 6 x 4 into 4 x 3: columns 0, 1, 3, 4 and rows 0, 1, 2.
  EXPECT_EQ(At(kStretchDown.left + 1, kStretchDown.top), SourceColor(1, 0));
  EXPECT_EQ(At(kStretchDown.left + 2, kStretchDown.top + 2), SourceColor(3, 2));
  EXPECT_EQ(At(kStretchDown.left + 3, kStretchDown.top + 1), SourceColor(4, 1));
  EXPECT_EQ(At(kStretchDown.right, kStretchDown.top), clWhite);
  // 6 x 4 into 13 x 7: the last column and row show the last source pixel.
  EXPECT_EQ(At(kStretchOdd.right - 1, kStretchOdd.bottom - 1), SourceColor(5, 3));
  EXPECT_EQ(At(kStretchOdd.left, kStretchOdd.top), SourceColor(0, 0));
  // Cut by the surface's edges.
  EXPECT_EQ(At(kOffCanvas.x, kOffCanvas.y), SourceColor(0, 0));
  EXPECT_EQ(At(kWidth - 1, kHeight - 1), SourceColor(3, 1));
}

TEST_F(CanvasConformanceTest, TransparentCopiesLeaveTheKeyColourOut) {
  EXPECT_EQ(At(kKeyedDest.left, kKeyedDest.top), clBlue);        // key
  EXPECT_EQ(At(kKeyedDest.left + 3, kKeyedDest.top + 3), clBlue);  // source 1,1: key
  EXPECT_EQ(At(kKeyedDest.left + 4, kKeyedDest.top), clGreen);    // source 2,0
  EXPECT_EQ(At(kKeyedDest.left + 15, kKeyedDest.top + 15), clBlue);
  EXPECT_EQ(At(kKeyedDest.left + 15, kKeyedDest.top + 11), clGreen);
  EXPECT_EQ(At(kKeyedArea.left, kKeyedArea.top), clBlue);
}

TEST_F(CanvasConformanceTest, IconsKeepTheirTransparencyAndMenusCopyThemUnscaled) {
  const Color ringOverLime = MakeRgb(0, 127, 128);
  EXPECT_EQ(At(kIconMasked.x, kIconMasked.y), clLime);
  EXPECT_EQ(At(kIconMasked.x + 3, kIconMasked.y + 3), ringOverLime);
  EXPECT_EQ(At(kIconMasked.x + 8, kIconMasked.y + 8), clRed);
  // Unmasked: the frame as it is, opaque.
  EXPECT_EQ(At(kIconOpaque.x, kIconOpaque.y), clBlack);
  EXPECT_EQ(At(kIconOpaque.x + 3, kIconOpaque.y + 3), clBlue);
  EXPECT_EQ(At(kIconOpaque.x + 8, kIconOpaque.y + 8), clRed);
  // The menu's icon: 16 x 16 at the left of the 32 x 22 rectangle; beside and below it the
  // column stays silver (a stretched icon would cover it and the caption after it).
  EXPECT_EQ(At(kMenuIconDest.left + 8, kMenuIconDest.top + 8), clRed);
  EXPECT_EQ(At(kMenuIconDest.left + 11, kMenuIconDest.top + 11), clRed);
  EXPECT_EQ(At(kMenuIconDest.left + 15, kMenuIconDest.top + 8), clSilver);
  for (int x = kMenuIconDest.left + 16; x < kMenuIconArea.right; ++x)
    ASSERT_EQ(At(x, kMenuIconDest.top + 8), clSilver) << x;
  EXPECT_EQ(At(kMenuIconDest.left + 8, kMenuIconDest.top + 18), clSilver);
  // Blended and stretched twice over yellow.
  EXPECT_EQ(At(kAlphaDest.left, kAlphaDest.top), clYellow);
  EXPECT_EQ(At(kAlphaDest.left + 7, kAlphaDest.top + 7), MakeRgb(127, 127, 128));
  EXPECT_EQ(At(kAlphaDest.left + 16, kAlphaDest.top + 16), clRed);
  EXPECT_EQ(At(kAlphaDest.left + 26, kAlphaDest.top + 26), clYellow);
}

TEST_F(CanvasConformanceTest, ClippingFollowsTheOriginAndEndsWithRestore) {
  EXPECT_EQ(At(kClip.left - 1, kClip.top), clAqua);
  EXPECT_EQ(At(kClip.right, kClip.top), clAqua);
  EXPECT_EQ(At(kClip.left, kClip.top - 1), clAqua);
  EXPECT_EQ(At(kClip.right - 1, kClip.bottom - 1), clNavy);
  // The picture stretched 3x from -4, -2 (origin at the clip): the clip's corner shows source 1, 0.
  EXPECT_EQ(At(kClip.left, kClip.top), SourceColor(1, 0));
  EXPECT_EQ(At(kClip.left + 7, kClip.top + 7), SourceColor(3, 3));
  EXPECT_EQ(At(kClip.left + 14, kClip.top + 1), clNavy);
  // The frame around the clip was cut away completely; the band below drew unclipped.
  EXPECT_EQ(At(kClip.left - 1, kClip.top - 1), clAqua);
  EXPECT_EQ(At(kClipArea.left, kClipArea.bottom - 1), clMaroon);
  EXPECT_EQ(At(kClipArea.right - 1, kClipArea.bottom - 3), clMaroon);
}

TEST_F(CanvasConformanceTest, FramesLinesAndPixels) {
  EXPECT_EQ(At(kFrame.left, kFrame.top), clPurple);
  EXPECT_EQ(At(kFrame.right - 1, kFrame.bottom - 1), clPurple);
  EXPECT_EQ(At(kFrame.left + 1, kFrame.top + 1), clWhite);
  EXPECT_EQ(At(kFrame.right, kFrame.top), clWhite);
  EXPECT_EQ(At(kFrame.left + 3, kFrame.top + 3), DefaultSystemColor(SystemColorIndex(clBtnShadow)));
  EXPECT_EQ(At(kRectangle.left, kRectangle.top), clBlack);
  EXPECT_EQ(At(kRectangle.left + 1, kRectangle.top + 1), clTeal);
  EXPECT_EQ(At(kRectangle.right - 1, kRectangle.bottom - 1), clBlack);
  EXPECT_EQ(At(kLineFrom.x, kLineFrom.y), clRed);
  EXPECT_EQ(At(kLineTo.x - 1, kLineTo.y), clRed);
  EXPECT_EQ(At(kLineTo.x, kLineTo.y), clWhite);  // the end point is not drawn
  EXPECT_EQ(At(kVLineFrom.x, kVLineTo.y - 1), clGreen);
  EXPECT_EQ(At(kVLineTo.x, kVLineTo.y), clWhite);
  EXPECT_EQ(At(kDiagFrom.x + 6, kDiagFrom.y + 6), clBlue);
  EXPECT_EQ(At(kDiagTo.x - 1, kDiagTo.y - 1), clBlue);
  EXPECT_EQ(At(kDiagTo.x, kDiagTo.y), clWhite);
  EXPECT_EQ(At(kPixel.x, kPixel.y), clRed);
  EXPECT_EQ(At(kPixel.x + 1, kPixel.y), clRed);  // read back and written beside it
  EXPECT_EQ(At(kPixel.x + 2, kPixel.y), clWhite);
}

TEST_F(CanvasConformanceTest, TheFocusFrameInvertsEveryOtherPixelOnceRoundAndNothingInside) {
  const Color inverted = MakeRgb(255, 127, 127);  // teal (0, 128, 128) inverted
  const Rect f = kFocusFrame;
  // Counted from the top-left corner along the top, down the right, back along the bottom.
  EXPECT_EQ(At(f.left, f.top), inverted);
  EXPECT_EQ(At(f.left + 1, f.top), clTeal);
  EXPECT_EQ(At(f.right - 1, f.top), inverted);   // dot 10
  EXPECT_EQ(At(f.right - 1, f.top + 1), clTeal);  // dot 11
  EXPECT_EQ(At(f.right - 1, f.top + 2), inverted);
  EXPECT_EQ(At(f.right - 1, f.bottom - 1), clTeal);  // dot 15
  EXPECT_EQ(At(f.right - 2, f.bottom - 1), inverted);
  EXPECT_EQ(At(f.left, f.bottom - 1), clTeal);     // dot 25
  EXPECT_EQ(At(f.left, f.bottom - 2), inverted);   // dot 26: the corner is not taken twice
  EXPECT_EQ(At(f.left, f.top + 1), clTeal);        // dot 29, before the first again
  for (int y = f.top + 1; y < f.bottom - 1; ++y)
    for (int x = f.left + 1; x < f.right - 1; ++x) EXPECT_EQ(At(x, y), clTeal) << x << "," << y;
  EXPECT_EQ(At(f.left - 1, f.top), clTeal);  // outside the frame
}

TEST_F(CanvasConformanceTest, TextIsOpaqueOnlyInItsCellAndCutByTheClip) {
  // The fixed metrics: 14 pixels high, 8.4 wide per character.
  EXPECT_EQ(At(kOpaqueText.x, kOpaqueText.y), clMaroon);
  EXPECT_EQ(At(kOpaqueText.x + 60, kOpaqueText.y + 5), clYellow);  // the blank's cell
  EXPECT_EQ(At(kOpaqueText.x, kOpaqueText.y + 14), clWhite);
  EXPECT_EQ(At(kOpaqueText.x + 110, kOpaqueText.y), clWhite);
  EXPECT_EQ(At(kTransparentText.x, kTransparentText.y), clNavy);
  EXPECT_EQ(At(kTransparentText.x + 90, kTransparentText.y), clYellow);
  EXPECT_EQ(At(kTextClip.left - 1, kTextClip.top + 2), clWhite);
  EXPECT_EQ(At(kTextClip.left, kTextClip.top), clNavy);
  EXPECT_EQ(At(kTextClip.left, kTextClip.bottom), clWhite);
  EXPECT_EQ(At(kTextClip.right, kTextClip.top), clWhite);
  ASSERT_EQ(textRects.size(), 3u);
  for (const Rect& r : textRects) EXPECT_FALSE(r.IsEmpty());
}

}  // namespace
}  // namespace vm::ui::conformance

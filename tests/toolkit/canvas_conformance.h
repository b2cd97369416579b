#pragma once
// One set of drawings that every canvas must draw with the same pixels: the in-memory canvas
// natively (where its expected pixels are checked) and the device-context canvas under Windows
// (where its pixels are compared with the in-memory canvas's). Each drawing has a cell of its
// own on a white 240 x 160 surface; text is the one place where the pixels may differ a little,
// so the places that text covers are collected.

#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/canvas.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/font.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/image_list.h"

namespace vm::ui::conformance {

inline constexpr int kWidth = 240;
inline constexpr int kHeight = 160;

// A 6 x 4 picture whose every pixel has its own colour.
inline Color SourceColor(int x, int y) { return MakeRgb(30 + x * 40, 20 + y * 60, 200 - x * 10 - y * 30); }
inline Bitmap SourcePicture() {
  Bitmap b(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) b.SetPixelAt(x, y, ColorToPixel(SourceColor(x, y)));
  return b;
}

// 8 x 8, fuchsia (the key) in a checker of 2 x 2 blocks over green.
inline constexpr Color kKey = clFuchsia;
inline Bitmap KeyedPicture() {
  Bitmap b(8, 8, ColorToPixel(clGreen));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (((x / 2) + (y / 2)) % 2 == 0) b.SetPixelAt(x, y, ColorToPixel(kKey));
  return b;
}

// A 16 x 16 icon: a transparent border of 3 pixels, a half-transparent ring of 1 pixel, an
// opaque red core.
inline constexpr int kIconAlphaRing = 128;
inline Icon TestIcon() {
  Bitmap b(16, 16, 0x00000000u);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x) {
      const bool ring = x == 3 || y == 3 || x == 12 || y == 12;
      b.SetPixelAt(x, y, ring ? ColorToPixel(clBlue, kIconAlphaRing) : ColorToPixel(clRed));
    }
  return Icon(std::move(b));
}

// Where each drawing goes (design pixels on the surface).
inline const Rect kCopyPastEnd = Rect::FromXYWH(4, 4, 12, 8);       // 6 x 4 source shown in 12 x 8
inline const Rect kCopyBeforeStart = Rect::FromXYWH(20, 4, 6, 4);   // source rectangle from -2, -1
inline const Rect kStretchUp = Rect::FromXYWH(30, 4, 18, 12);       // 3 times
inline const Rect kStretchDown = Rect::FromXYWH(52, 4, 4, 3);       // 6 x 4 into 4 x 3
inline const Rect kStretchOdd = Rect::FromXYWH(60, 4, 13, 7);       // not a whole multiple
inline const Rect kKeyedArea = Rect::FromXYWH(80, 4, 20, 20);       // blue behind the keyed picture
inline const Rect kKeyedDest = Rect::FromXYWH(82, 6, 16, 16);       // the keyed picture stretched 2x
inline const Point kIconMasked{104, 4};
inline const Point kIconOpaque{124, 4};
inline const Rect kMenuIconArea = Rect::FromXYWH(144, 4, 40, 22);   // silver column as menus draw it
inline const Rect kMenuIconDest = Rect::FromXYWH(146, 4, 32, 22);   // icon copied "32 wide, H high"
inline const Rect kAlphaDest = Rect::FromXYWH(190, 4, 32, 32);      // icon blended, stretched 2x
inline const Rect kClipArea = Rect::FromXYWH(4, 40, 40, 30);
inline const Rect kClip = Rect::FromXYWH(10, 46, 20, 12);
inline const Rect kFrame = Rect::FromXYWH(50, 40, 30, 20);
inline const Rect kRectangle = Rect::FromXYWH(84, 40, 20, 14);
inline const Point kLineFrom{110, 40}, kLineTo{140, 40};
inline const Point kVLineFrom{110, 44}, kVLineTo{110, 60};
inline const Point kDiagFrom{114, 44}, kDiagTo{130, 60};
inline const Point kPixel{150, 44};
inline const Rect kFocusArea = Rect::FromXYWH(160, 40, 14, 9);     // teal behind a focus frame
inline const Rect kFocusFrame = Rect::FromXYWH(161, 41, 11, 6);    // odd width: the corner dots meet
inline const Point kOffCanvas{236, 158};                             // 6 x 4 picture cut by the edges
inline const Point kOpaqueText{4, 90};
inline const Point kTransparentText{4, 115};
inline const Rect kTextBand = Rect::FromXYWH(0, 112, 200, 26);       // yellow behind the transparent text
inline const Rect kTextClip = Rect::FromXYWH(170, 90, 30, 10);       // text cut by a clip
inline const Point kClippedText{160, 88};

inline Font TextFont() {
  Font f;
  f.name = "Arial";
  f.height = -14;
  f.bold = true;
  return f;
}

// Runs the drawings on `canvas` (which shows a surface of kWidth x kHeight) and returns the
// rectangles that text covers (with a margin for the font's overhangs).
inline std::vector<Rect> DrawConformanceScript(Canvas& canvas) {
  std::vector<Rect> text;
  const Bitmap source = SourcePicture();
  canvas.FillRect({0, 0, kWidth, kHeight}, clWhite);

  // Copies: a source rectangle that reaches past the bitmap copies what there is, 1:1.
  canvas.CopyRect(kCopyPastEnd, source, {0, 0, 12, 8});
  canvas.CopyRect(kCopyBeforeStart, source, {-2, -1, 4, 3});
  // Stretches.
  canvas.StretchBitmap(kStretchUp, source);
  canvas.StretchBitmap(kStretchDown, source);
  canvas.StretchBitmap(kStretchOdd, source);
  canvas.DrawBitmap(kOffCanvas, source);

  // A transparent copy over blue.
  canvas.FillRect(kKeyedArea, clBlue);
  canvas.DrawBitmapTransparent(kKeyedDest, KeyedPicture(), kKey);

  // Icons: a masked list (transparency kept), an unmasked one (opaque), the menu's way (the
  // icon on the list's background, copied into a wider and higher rectangle) and an alpha
  // blend stretched.
  ImageList masked(16, 16);
  masked.AddIcon(TestIcon());
  ImageList opaque(16, 16);
  opaque.SetMasked(false);
  opaque.SetBkColor(clSilver);
  opaque.AddIcon(TestIcon());
  canvas.FillRect(Rect::FromXYWH(kIconMasked.x, kIconMasked.y, 16, 16), clLime);
  canvas.DrawImage(kIconMasked, masked, 0);
  canvas.DrawImage(kIconOpaque, opaque, 0);
  canvas.DrawImage(kIconOpaque, masked, 7);  // out of range: nothing
  ImageList menuIcons(16, 16);
  menuIcons.SetBkColor(clSilver);
  menuIcons.AddIcon(TestIcon());
  canvas.FillRect(kMenuIconArea, clSilver);
  canvas.CopyRect(kMenuIconDest, menuIcons.GetBitmap(0), {0, 0, kMenuIconDest.Width(), kMenuIconDest.Height()});
  canvas.FillRect(kAlphaDest, clYellow);
  canvas.DrawBitmapAlpha(kAlphaDest, TestIcon().Image());

  // Clipping, with a moved origin, and the state restored afterwards.
  canvas.FillRect(kClipArea, clAqua);
  canvas.Save();
  canvas.Translate({kClip.left, kClip.top});
  canvas.ClipTo({0, 0, kClip.Width(), kClip.Height()});
  canvas.FillRect({-20, -20, 100, 100}, clNavy);
  canvas.FrameRect({-1, -1, kClip.Width() + 1, kClip.Height() + 1}, clRed);  // the clip cuts its edges
  canvas.StretchBitmap({-4, -2, 14, 10}, source);
  canvas.Restore();
  canvas.FillRect({kClipArea.left, kClipArea.bottom - 3, kClipArea.right, kClipArea.bottom}, clMaroon);

  // Frames and lines.
  canvas.FrameRect(kFrame, clPurple);
  canvas.FrameRect(kFrame.Inflate(-3, -3), clBtnShadow);  // a system colour
  canvas.SetBrushColor(clTeal);
  canvas.SetPenColor(clBlack);
  canvas.Rectangle(kRectangle);
  canvas.Line(kLineFrom, kLineTo, clRed);
  canvas.Line(kVLineFrom, kVLineTo, clGreen);
  canvas.Line(kDiagFrom, kDiagTo, clBlue);
  canvas.SetPixel(kPixel, clRed);
  canvas.SetPixel({kPixel.x + 1, kPixel.y}, canvas.GetPixel(kPixel));
  canvas.FillRect(kFocusArea, clTeal);
  canvas.FocusRect(kFocusFrame);

  // Text: opaque on the brush, transparent over a band, and cut by a clip.
  const Font font = TextFont();
  canvas.SetFont(font);
  canvas.SetTextColor(clMaroon);
  canvas.SetBrushColor(clYellow);
  canvas.SetTransparentText(false);
  canvas.TextOut(kOpaqueText, "Options 12:45");
  const Size opaqueSize = canvas.TextExtent("Options 12:45");
  text.push_back(Rect::FromXYWH(kOpaqueText.x, kOpaqueText.y, opaqueSize.width, opaqueSize.height).Inflate(3, 2));
  canvas.FillRect(kTextBand, clYellow);
  canvas.SetTransparentText(true);
  canvas.SetTextColor(clNavy);
  canvas.TextOut(kTransparentText, "Appearance");
  const Size transparentSize = canvas.TextExtent("Appearance");
  text.push_back(Rect::FromXYWH(kTransparentText.x, kTransparentText.y, transparentSize.width,
                                transparentSize.height).Inflate(3, 2));
  canvas.Save();
  canvas.ClipTo(kTextClip);
  canvas.SetTransparentText(false);
  canvas.TextOut(kClippedText, "WWWWWWWW");
  canvas.Restore();
  text.push_back(kTextClip);
  return text;
}

}  // namespace vm::ui::conformance

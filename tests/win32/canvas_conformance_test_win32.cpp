// The device-context canvas draws the same pixels as the in-memory canvas: the drawings of
// tests/toolkit/canvas_conformance.h run on both (the in-memory canvas with the system's fonts
// and colours, as in the program) and every pixel is compared, text with a small tolerance.

#include <cstring>
#include <sstream>
#include <string>

// Windows headers first: their TextOut macro then renames the canvas's method alike everywhere.
#include "toolkit_support_win32.h"
#include "ui/toolkit/gdi_win32.h"

#include "toolkit/canvas_conformance.h"

namespace vm::ui::testing {
namespace {

using namespace conformance;

// The script drawn by a GdiCanvas into a 32-bit memory bitmap.
Bitmap DrawOnDeviceContext(int dpi, std::vector<Rect>* textRects) {
  const int scale = dpi / kDesignDpi;
  Bitmap result(kWidth * scale, kHeight * scale, ColorToPixel(clBlack));
  void* bits = nullptr;
  HBITMAP dib = win32::CreateDibFrom(result, &bits);
  if (!dib) return {};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  {
    win32::FontCache fonts;
    win32::GdiCanvas canvas(dc, dpi, fonts);
    std::vector<Rect> rects = DrawConformanceScript(canvas);
    if (textRects) *textRects = rects;
  }
  GdiFlush();
  std::memcpy(result.MutablePixels().data(), bits, result.Pixels().size() * sizeof(Pixel));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return result;
}

bool InAny(const std::vector<Rect>& rects, Point p) {
  for (const Rect& r : rects)
    if (r.Contains(p)) return true;
  return false;
}

class CanvasConformanceWin32Test : public Win32ToolkitTest {};

TEST_F(CanvasConformanceWin32Test, DeviceContextAndMemoryDrawTheSamePixels) {
  Bitmap memory(kWidth, kHeight);
  const std::vector<Rect> memoryText = DrawConformanceScript(memory.GetCanvas());
  std::vector<Rect> gdiText;
  const Bitmap gdi = DrawOnDeviceContext(kDesignDpi, &gdiText);
  ASSERT_EQ(gdi.Width(), kWidth);
  ASSERT_EQ(gdiText.size(), memoryText.size());
  std::vector<Rect> text = memoryText;
  text.insert(text.end(), gdiText.begin(), gdiText.end());

  // Everything but text: the same RGB, pixel for pixel.
  int differing = 0;
  std::ostringstream firstFew;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (InAny(text, {x, y}) || memory.ColorAt(x, y) == gdi.ColorAt(x, y)) continue;
      if (++differing <= 12)
        firstFew << " (" << x << "," << y << ") memory " << std::hex << memory.ColorAt(x, y) << " gdi "
                 << gdi.ColorAt(x, y) << std::dec;
    }
  EXPECT_EQ(differing, 0) << "pixels that differ outside text:" << firstFew.str();

  // Text: the same fonts draw nearly the same pixels; and there is text in both.
  for (std::size_t i = 0; i < memoryText.size(); ++i) {
    const Rect r = memoryText[i].Intersect({0, 0, kWidth, kHeight});
    int area = 0, textDiff = 0, inkMemory = 0, inkGdi = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        ++area;
        if (memory.ColorAt(x, y) != gdi.ColorAt(x, y)) ++textDiff;
        if (memory.ColorAt(x, y) == clMaroon || memory.ColorAt(x, y) == clNavy) ++inkMemory;
        if (gdi.ColorAt(x, y) == clMaroon || gdi.ColorAt(x, y) == clNavy) ++inkGdi;
      }
    EXPECT_LE(textDiff * 100, area * 3) << "text " << i << ": " << textDiff << " of " << area << " pixels differ";
    EXPECT_GT(inkMemory, 20) << "text " << i;
    EXPECT_GT(inkGdi, 20) << "text " << i;
  }
}

// The pixels that the contract names, read from the device context itself: a copy whose source
// reaches past the bitmap is not stretched (the menu icon beside its caption).
TEST_F(CanvasConformanceWin32Test, DeviceContextCopiesPastTheBitmapUnscaled) {
  const Bitmap gdi = DrawOnDeviceContext(kDesignDpi, nullptr);
  ASSERT_EQ(gdi.Width(), kWidth);
  EXPECT_EQ(gdi.ColorAt(kCopyPastEnd.left + 5, kCopyPastEnd.top + 3), SourceColor(5, 3));
  EXPECT_EQ(gdi.ColorAt(kCopyPastEnd.left + 6, kCopyPastEnd.top), clWhite);
  EXPECT_EQ(gdi.ColorAt(kMenuIconDest.left + 8, kMenuIconDest.top + 8), clRed);
  EXPECT_EQ(gdi.ColorAt(kMenuIconDest.left + 20, kMenuIconDest.top + 8), clSilver);
  EXPECT_EQ(gdi.ColorAt(kMenuIconDest.left + 8, kMenuIconDest.top + 18), clSilver);
}

// At twice the design DPI every design pixel of a fill, a copy and a whole-multiple stretch is a
// 2 x 2 block of the same colour. (A stretch by an odd ratio is sampled at device pixels, so it
// is finer than the doubled design picture.)
TEST_F(CanvasConformanceWin32Test, DoubleDpiDrawsEachDesignPixelAsABlock) {
  Bitmap memory(kWidth, kHeight);
  DrawConformanceScript(memory.GetCanvas());
  const Bitmap gdi = DrawOnDeviceContext(2 * kDesignDpi, nullptr);
  ASSERT_EQ(gdi.Width(), 2 * kWidth);
  const Rect blocks[] = {kCopyPastEnd, kCopyBeforeStart, kStretchUp, kKeyedArea,
                         kMenuIconArea, kAlphaDest, kClip};
  int differing = 0;
  std::ostringstream firstFew;
  for (const Rect& r : blocks)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        for (int k = 0; k < 4; ++k) {
          const Color got = gdi.ColorAt(2 * x + k % 2, 2 * y + k / 2);
          if (got == memory.ColorAt(x, y)) continue;
          if (++differing <= 8)
            firstFew << " (" << x << "," << y << ") memory " << std::hex << memory.ColorAt(x, y) << " gdi "
                     << got << std::dec;
        }
  EXPECT_EQ(differing, 0) << firstFew.str();
}

}  // namespace
}  // namespace vm::ui::testing

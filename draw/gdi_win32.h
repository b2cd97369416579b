#pragma once
// GDI drawing for the Win32 backend: fonts, bitmaps and icons made from the portable records,
// the canvas on a device context (scaled from design to device pixels), and the text renderer
// that measures with the system's fonts and draws text into portable bitmaps.

#include "draw/win32_util_win32.h"

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "draw/bitmap.h"
#include "draw/canvas.h"
#include "draw/image_list.h"
#include "draw/text_metrics.h"

namespace vm::ui::win32 {

// Fonts by description and device height, created once and kept until the cache goes.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  // The font scaled to `dpi`; never null (falls back to the system's GUI font).
  HFONT Get(const Font& font, int dpi);

 private:
  using Key = std::tuple<std::string, int, bool, bool, bool, bool, int, int>;
  std::map<Key, HFONT> fonts_;
};

// A top-down 32-bit DIB section holding a copy of `bitmap`; `bits` receives its pixels.
HBITMAP CreateDibFrom(const Bitmap& bitmap, void** bits);
// An icon handle for the portable icon (alpha and mask from the pixels); null when empty.
HICON CreateIconFrom(const Icon& icon);
// The portable icon of a system icon at `size` x `size` (alpha kept, or taken from the mask).
Icon IconFromHandle(HICON icon, int size);

class GdiCanvas : public Canvas {
 public:
  // Draws on `dc` with design coordinates scaled to `dpi`. The device context's state is saved
  // and restored around the canvas's life.
  GdiCanvas(HDC dc, int dpi, FontCache& fonts);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void SetFont(const Font& font) override;
  const Font& GetFont() const override { return state_.font; }
  void SetTextColor(Color color) override { state_.textColor = color; }
  Color TextColor() const override { return state_.textColor; }
  void SetBrushColor(Color color) override { state_.brush = color; }
  Color BrushColor() const override { return state_.brush; }
  void SetPenColor(Color color) override { state_.pen = color; }
  Color PenColor() const override { return state_.pen; }
  void SetTransparentText(bool transparent) override { state_.transparentText = transparent; }
  bool TransparentText() const override { return state_.transparentText; }

  void Save() override;
  void Restore() override;
  void Translate(Point offset) override { state_.origin = state_.origin + offset; }
  void ClipTo(const Rect& r) override;

  void FillRect(const Rect& r, Color color) override;
  void FrameRect(const Rect& r, Color color) override;
  void Line(Point from, Point to, Color color) override;
  Color GetPixel(Point p) override;
  void SetPixel(Point p, Color color) override;
  void TextOut(Point at, std::string_view text) override;
  Size TextExtent(std::string_view text) override;
  void DrawBitmap(Point at, const Bitmap& bitmap) override;
  void StretchBitmap(const Rect& dest, const Bitmap& bitmap) override;
  void CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) override;
  void DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) override;
  void DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) override;

 private:
  struct State {
    Font font;
    Color textColor = clWindowText;
    Color brush = clWhite;
    Color pen = clBlack;
    bool transparentText = false;
    Point origin;
  };
  RECT Device(const Rect& r) const;
  POINT Device(Point p) const;
  int Thickness() const;
  void Blit(const Rect& dest, const Bitmap& bitmap, const Rect& source, BlendMode mode, Color key);

  HDC dc_;
  int dpi_;
  FontCache& fonts_;
  int savedDc_;
  State state_;
  std::vector<std::pair<State, int>> saved_;
};

// Text with the system's fonts: measured at the system DPI (rounded up to design pixels, so a
// label sized from it is never too small) and drawn into bitmaps at design size.
class GdiTextRenderer : public TextRenderer {
 public:
  explicit GdiTextRenderer(FontCache& fonts) : fonts_(fonts) {}
  Size Measure(const Font& font, std::string_view text) override;
  void DrawText(Bitmap& target, Point at, std::string_view text, const Font& font, Color textColor,
                std::optional<Color> background, const Rect& clip) override;

 private:
  FontCache& fonts_;
};

}  // namespace vm::ui::win32

#pragma once
// The drawing surface handed to paint handlers and owner-draw hooks. Implementations: the
// system's device context (Win32 backend), a bitmap in memory (Bitmap::GetCanvas) and the
// recording canvas of the tests. Coordinates are design pixels relative to the current origin;
// colours may be system colours, which the canvas resolves.

#include <string_view>

#include "draw/color.h"
#include "draw/font.h"
#include "draw/geometry.h"

namespace vm::ui {

class Bitmap;
class ImageList;

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Drawing state. SetFont also makes the font's colour the text colour.
  virtual void SetFont(const Font& font) = 0;
  virtual const Font& GetFont() const = 0;
  virtual void SetTextColor(Color color) = 0;
  virtual Color TextColor() const = 0;
  virtual void SetBrushColor(Color color) = 0;
  virtual Color BrushColor() const = 0;
  virtual void SetPenColor(Color color) = 0;
  virtual Color PenColor() const = 0;
  // Transparent text leaves the background behind the characters; opaque text fills the text's
  // cell with the brush colour first.
  virtual void SetTransparentText(bool transparent) = 0;
  virtual bool TransparentText() const = 0;

  // Save/Restore keep the drawing state, origin and clip; Translate moves the origin; ClipTo
  // narrows the drawing area to `r` (in current coordinates).
  virtual void Save() = 0;
  virtual void Restore() = 0;
  virtual void Translate(Point offset) = 0;
  virtual void ClipTo(const Rect& r) = 0;

  virtual void FillRect(const Rect& r, Color color) = 0;
  // A one-pixel frame just inside `r`.
  virtual void FrameRect(const Rect& r, Color color) = 0;
  // A one-pixel line from `from` up to, but not including, `to`.
  virtual void Line(Point from, Point to, Color color) = 0;
  // The RGB colour at `p`; black outside the surface.
  virtual Color GetPixel(Point p) = 0;
  virtual void SetPixel(Point p, Color color) = 0;
  // One line of text with its top-left corner at `at`, in the current font and text colour.
  virtual void TextOut(Point at, std::string_view text) = 0;
  virtual Size TextExtent(std::string_view text) = 0;

  // Bitmaps: drawn opaque; stretched to `dest`; the `source` part copied (stretched) to `dest`;
  // keyed (pixels of colour `key` left out); blended by the pixels' alpha.
  virtual void DrawBitmap(Point at, const Bitmap& bitmap) = 0;
  virtual void StretchBitmap(const Rect& dest, const Bitmap& bitmap) = 0;
  virtual void CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) = 0;
  virtual void DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) = 0;
  virtual void DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) = 0;
  // One frame of an image list, masked lists with their transparency. Out-of-range indices
  // draw nothing.
  virtual void DrawImage(Point at, const ImageList& list, int index);

  // Built on the above.
  // Fills with the brush colour and frames with the pen colour; clNone skips either part.
  void Rectangle(const Rect& r);
  // The keyboard focus mark: a dotted one-pixel frame just inside `r`, every other pixel
  // inverted, so that it shows on any background as the system's focus rectangle does.
  void FocusRect(const Rect& r);
  int TextWidth(std::string_view text) { return TextExtent(text).width; }
  int TextHeight(std::string_view text) { return TextExtent(text).height; }
};

}  // namespace vm::ui

#pragma once
// A canvas that keeps every draw call by value and also renders it into a bitmap, so tests can
// ask both "was cell 3,1 filled with colour X" and "what colour is the pixel at 5,5".
// Recorded coordinates are surface coordinates (after the origin moved); colours are recorded
// as given (system colours stay symbolic).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/canvas.h"

namespace vm::ui {

struct DrawCall {
  enum class Kind {
    FillRect, FrameRect, Line, SetPixel, Text,
    Bitmap, StretchBitmap, CopyRect, TransparentBitmap, AlphaBitmap, Image,
  };
  Kind kind = Kind::FillRect;
  Rect rect;          // fills, frames, bitmaps: the destination; text: its extent
  Point from, to;     // lines; text and images: `from` is the position
  Color color = 0;    // fill, frame, line, pixel colour; text colour; transparent key
  std::string text;
  Font font;          // text: the font in use
  bool transparentText = false;
  Color brush = 0;    // text: the background when not transparent
  Rect sourceRect;    // CopyRect
  Bitmap bitmap;      // the bitmap drawn (a copy)
  int imageIndex = -1;
  Rect clip;          // the clip in force
};

class RecordingCanvas : public Canvas {
 public:
  // The surface the calls are rendered into.
  explicit RecordingCanvas(Size surface = {0, 0});

  void SetFont(const Font& font) override { inner_.SetFont(font); }
  const Font& GetFont() const override { return inner_.GetFont(); }
  void SetTextColor(Color color) override { inner_.SetTextColor(color); }
  Color TextColor() const override { return inner_.TextColor(); }
  void SetBrushColor(Color color) override { inner_.SetBrushColor(color); }
  Color BrushColor() const override { return inner_.BrushColor(); }
  void SetPenColor(Color color) override { inner_.SetPenColor(color); }
  Color PenColor() const override { return inner_.PenColor(); }
  void SetTransparentText(bool transparent) override { inner_.SetTransparentText(transparent); }
  bool TransparentText() const override { return inner_.TransparentText(); }
  void Save() override { inner_.Save(); }
  void Restore() override { inner_.Restore(); }
  void Translate(Point offset) override { inner_.Translate(offset); }
  void ClipTo(const Rect& r) override { inner_.ClipTo(r); }

  void FillRect(const Rect& r, Color color) override;
  void FrameRect(const Rect& r, Color color) override;
  void Line(Point from, Point to, Color color) override;
  Color GetPixel(Point p) override { return inner_.GetPixel(p); }
  void SetPixel(Point p, Color color) override;
  void TextOut(Point at, std::string_view text) override;
  Size TextExtent(std::string_view text) override { return inner_.TextExtent(text); }
  void DrawBitmap(Point at, const Bitmap& bitmap) override;
  void StretchBitmap(const Rect& dest, const Bitmap& bitmap) override;
  void CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) override;
  void DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) override;
  void DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) override;
  void DrawImage(Point at, const ImageList& list, int index) override;

  // ---- queries ----
  const std::vector<DrawCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  const Bitmap& Surface() const { return surface_; }
  int Count(DrawCall::Kind kind) const;
  // A fill of exactly `r` with `color`.
  bool HasFill(const Rect& r, Color color) const;
  // A fill of exactly `r` in any colour (the last one), or nothing.
  std::optional<Color> FillColorOf(const Rect& r) const;
  bool HasFrame(const Rect& r, Color color) const;
  bool HasLine(Point from, Point to, Color color) const;
  // The last text call writing exactly `text`, or nullptr.
  const DrawCall* FindText(std::string_view text) const;
  // Text `text` written at `at`.
  bool HasText(std::string_view text, Point at) const;
  // Text `text` at `at` in a font with this name, height and weight.
  bool HasText(std::string_view text, Point at, const Font& font) const;
  // Every text written, in order.
  std::vector<std::string> Texts() const;
  // A frame of the image list drawn at `at`.
  bool HasImage(int index, Point at) const;

 private:
  DrawCall Base(DrawCall::Kind kind) const;

  Bitmap surface_;
  BitmapCanvas inner_;
  std::vector<DrawCall> calls_;
};

}  // namespace vm::ui

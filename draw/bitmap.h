#pragma once
// Bitmaps with 32-bit pixels in memory (0xAARRGGBB), and the canvas that draws into them. The
// backend converts when it paints a bitmap on a window, so portable code can compose pictures
// (themed buttons, menu icons) and tests can read every pixel back.

#include <memory>
#include <optional>
#include <vector>

#include "draw/canvas.h"
#include "draw/color.h"
#include "draw/geometry.h"

namespace vm::ui {

class Bitmap {
 public:
  Bitmap();
  // A new bitmap is opaque black, as a fresh device-independent bitmap.
  Bitmap(int width, int height, Pixel fill = 0xFF000000u);
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  ~Bitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
  // Keeps the pixels that still fit; new pixels are opaque black. Negative sizes count as 0.
  void SetSize(int width, int height);

  // Pixel access; reads outside the bitmap give 0, writes outside are ignored.
  Pixel PixelAt(int x, int y) const;
  void SetPixelAt(int x, int y, Pixel value);
  Color ColorAt(int x, int y) const { return PixelToColor(PixelAt(x, y)); }
  const std::vector<Pixel>& Pixels() const { return pixels_; }
  std::vector<Pixel>& MutablePixels() { return pixels_; }
  // Fills `r`, clipped to the bitmap.
  void Fill(const Rect& r, Pixel value);
  // A copy of the part `r` (clipped).
  Bitmap Crop(const Rect& r) const;

  // The colour that counts as transparent when the bitmap is drawn transparently: the one set,
  // else the bottom-left pixel (the classic rule); black for an empty bitmap.
  Color TransparentColor() const;
  void SetTransparentColor(std::optional<Color> color) { transparentColor_ = color; }

  // A canvas that draws into this bitmap. It lives as long as the bitmap (copies of a bitmap
  // get their own); do not keep it across a move of the bitmap.
  Canvas& GetCanvas();

  // Same size and pixels.
  bool SamePixels(const Bitmap& other) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  std::optional<Color> transparentColor_;
  std::unique_ptr<Canvas> canvas_;
};

// How every canvas copies bitmaps (the in-memory canvas below and the system's device contexts
// alike): the part `sourceRect` of the source is mapped onto `dest`, each destination pixel
// taking the source pixel at its scaled offset (nearest pixel, no smoothing), so a source as big
// as the destination copies 1:1 and a smaller or larger one is stretched. Destination pixels whose
// source pixel lies outside the bitmap are left as they are: a copy whose source rectangle
// reaches past the bitmap copies what is there, unscaled, and leaves the rest.
enum class BlendMode {
  Opaque,  // the source pixels, made opaque
  Keyed,   // as Opaque, except pixels of the key colour, which are left out
  Alpha,   // blended over the destination by the source pixels' alpha
};
// The part of `dest` that receives pixels from `sourceRect` of a bitmap of `sourceSize`.
Rect CoveredPart(const Rect& dest, const Rect& sourceRect, Size sourceSize);
// Blends `sourceRect` of `source` onto `dest` of `target` (bitmap coordinates), inside `clip`
// only; `keyRgb` is the RGB key colour of BlendMode::Keyed.
void BlendBitmap(Bitmap& target, const Rect& dest, const Rect& clip, const Bitmap& source,
                 const Rect& sourceRect, BlendMode mode, Color keyRgb);

// Draws into a bitmap: the software implementation of every canvas operation. Text goes
// through the current text renderer, system colours through the current colour resolver.
class BitmapCanvas : public Canvas {
 public:
  explicit BitmapCanvas(Bitmap& target);

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
  void Translate(Point offset) override;
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

  // The current origin and clip in bitmap coordinates.
  Point Origin() const { return state_.origin; }
  Rect CurrentClip() const { return Clip(); }

 private:
  struct State {
    Font font;
    Color textColor = clWindowText;
    Color brush = clWhite;
    Color pen = clBlack;
    bool transparentText = false;
    Point origin;
    std::optional<Rect> clip;  // in bitmap coordinates; nothing = the whole bitmap
  };
  Rect ToDevice(const Rect& r) const { return r.Offset(state_.origin); }
  Rect Clip() const;
  Pixel Resolve(Color c) const;
  void Blit(const Rect& dest, const Bitmap& source, const Rect& sourceRect, BlendMode mode,
            Color key);

  Bitmap& target_;
  State state_;
  std::vector<State> saved_;
};

}  // namespace vm::ui

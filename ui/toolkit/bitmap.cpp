#include "ui/toolkit/bitmap.h"

#include <algorithm>
#include <cstdlib>

#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height, Pixel fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_), height_(other.height_), pixels_(other.pixels_),
      transparentColor_(other.transparentColor_) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    transparentColor_ = other.transparentColor_;
  }
  return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_), height_(other.height_), pixels_(std::move(other.pixels_)),
      transparentColor_(other.transparentColor_) {
  other.width_ = other.height_ = 0;
  other.pixels_.clear();
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = std::move(other.pixels_);
    transparentColor_ = other.transparentColor_;
    other.width_ = other.height_ = 0;
    other.pixels_.clear();
  }
  return *this;
}

Bitmap::~Bitmap() = default;

void Bitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<Pixel> resized(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                             0xFF000000u);
  const int w = std::min(width, width_);
  const int h = std::min(height, height_);
  for (int y = 0; y < h; ++y)
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, w,
                resized.begin() + static_cast<std::ptrdiff_t>(y) * width);
  width_ = width;
  height_ = height;
  pixels_ = std::move(resized);
}

Pixel Bitmap::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Bitmap::SetPixelAt(int x, int y, Pixel value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = value;
}

void Bitmap::Fill(const Rect& r, Pixel value) {
  const Rect c = r.Intersect({0, 0, width_, height_});
  for (int y = c.top; y < c.bottom; ++y)
    std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + c.left, c.Width(), value);
}

Bitmap Bitmap::Crop(const Rect& r) const {
  const Rect c = r.Intersect({0, 0, width_, height_});
  Bitmap out(c.Width(), c.Height());
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) out.SetPixelAt(x, y, PixelAt(c.left + x, c.top + y));
  return out;
}

Color Bitmap::TransparentColor() const {
  if (transparentColor_) return *transparentColor_;
  if (IsEmpty()) return clBlack;
  return ColorAt(0, height_ - 1);
}

Canvas& Bitmap::GetCanvas() {
  if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(*this);
  return *canvas_;
}

bool Bitmap::SamePixels(const Bitmap& other) const {
  return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

// ---- BitmapCanvas ----

BitmapCanvas::BitmapCanvas(Bitmap& target) : target_(target) {
  state_.textColor = state_.font.color;
}

Rect BitmapCanvas::Clip() const {
  const Rect all{0, 0, target_.Width(), target_.Height()};
  return state_.clip ? state_.clip->Intersect(all) : all;
}

Pixel BitmapCanvas::Resolve(Color c) const { return ColorToPixel(CurrentColorResolver().ToRgb(c)); }

void BitmapCanvas::SetFont(const Font& font) {
  state_.font = font;
  state_.textColor = font.color;
}

void BitmapCanvas::Save() { saved_.push_back(state_); }

void BitmapCanvas::Restore() {
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
}

void BitmapCanvas::Translate(Point offset) { state_.origin = state_.origin + offset; }

void BitmapCanvas::ClipTo(const Rect& r) { state_.clip = ToDevice(r).Intersect(Clip()); }

void BitmapCanvas::FillRect(const Rect& r, Color color) {
  if (color == clNone) return;
  target_.Fill(ToDevice(r).Intersect(Clip()), Resolve(color));
}

void BitmapCanvas::FrameRect(const Rect& r, Color color) {
  if (r.IsEmpty()) return;
  FillRect({r.left, r.top, r.right, r.top + 1}, color);
  FillRect({r.left, r.bottom - 1, r.right, r.bottom}, color);
  FillRect({r.left, r.top, r.left + 1, r.bottom}, color);
  FillRect({r.right - 1, r.top, r.right, r.bottom}, color);
}

void BitmapCanvas::Line(Point from, Point to, Color color) {
  if (color == clNone) return;
  const Pixel value = Resolve(color);
  const Rect clip = Clip();
  Point a = from + state_.origin;
  const Point b = to + state_.origin;
  const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
  const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
  int err = dx + dy;
  while (!(a == b)) {  // the end point itself is not drawn
    if (clip.Contains(a)) target_.SetPixelAt(a.x, a.y, value);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; a.x += sx; }
    if (e2 <= dx) { err += dx; a.y += sy; }
  }
}

Color BitmapCanvas::GetPixel(Point p) {
  const Point d = p + state_.origin;
  return PixelToColor(target_.PixelAt(d.x, d.y));
}

void BitmapCanvas::SetPixel(Point p, Color color) {
  const Point d = p + state_.origin;
  if (Clip().Contains(d)) target_.SetPixelAt(d.x, d.y, Resolve(color));
}

void BitmapCanvas::TextOut(Point at, std::string_view text) {
  const ColorResolver& colors = CurrentColorResolver();
  std::optional<Color> background;
  if (!state_.transparentText) background = colors.ToRgb(state_.brush);
  CurrentTextRenderer().DrawText(target_, at + state_.origin, text, state_.font,
                                 colors.ToRgb(state_.textColor), background, Clip());
}

Size BitmapCanvas::TextExtent(std::string_view text) {
  return CurrentTextRenderer().Measure(state_.font, text);
}

void BitmapCanvas::Blit(const Rect& dest, const Bitmap& source, const Rect& sourceRect,
                        Blend blend, Color key) {
  const Rect src = sourceRect.Intersect({0, 0, source.Width(), source.Height()});
  if (dest.IsEmpty() || src.IsEmpty() || sourceRect.IsEmpty()) return;
  const Rect out = dest.Intersect(Clip());
  const Color keyRgb = CurrentColorResolver().ToRgb(key);
  const long long dw = dest.Width(), dh = dest.Height();
  const long long sw = sourceRect.Width(), sh = sourceRect.Height();
  for (int y = out.top; y < out.bottom; ++y) {
    const int sy = sourceRect.top + static_cast<int>((y - dest.top) * sh / dh);
    for (int x = out.left; x < out.right; ++x) {
      const int sx = sourceRect.left + static_cast<int>((x - dest.left) * sw / dw);
      if (!src.Contains({sx, sy})) continue;
      const Pixel p = source.PixelAt(sx, sy);
      switch (blend) {
        case Blend::Opaque:
          target_.SetPixelAt(x, y, p | 0xFF000000u);
          break;
        case Blend::Keyed:
          if (PixelToColor(p) != keyRgb) target_.SetPixelAt(x, y, p | 0xFF000000u);
          break;
        case Blend::Alpha: {
          const int a = AlphaOf(p);
          if (a == 0) break;
          const Pixel d = target_.PixelAt(x, y);
          const auto mix = [a](Pixel s, Pixel t, int shift) {
            const int sc = static_cast<int>((s >> shift) & 0xFF), tc = static_cast<int>((t >> shift) & 0xFF);
            return static_cast<Pixel>((sc * a + tc * (255 - a) + 127) / 255) << shift;
          };
          const int outA = a + AlphaOf(d) * (255 - a) / 255;
          target_.SetPixelAt(x, y, (static_cast<Pixel>(outA) << 24) | mix(p, d, 16) | mix(p, d, 8) | mix(p, d, 0));
          break;
        }
      }
    }
  }
}

void BitmapCanvas::DrawBitmap(Point at, const Bitmap& bitmap) {
  const Rect dest = Rect::FromXYWH(at.x, at.y, bitmap.Width(), bitmap.Height());
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, Blend::Opaque, 0);
}

void BitmapCanvas::StretchBitmap(const Rect& dest, const Bitmap& bitmap) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, Blend::Opaque, 0);
}

void BitmapCanvas::CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) {
  Blit(ToDevice(dest), source, sourceRect, Blend::Opaque, 0);
}

void BitmapCanvas::DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, Blend::Keyed, key);
}

void BitmapCanvas::DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, Blend::Alpha, 0);
}

}  // namespace vm::ui

#include "draw/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "draw/text_metrics.h"

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

// ---- copying bitmaps ----

namespace {

// The source column (row) of destination column (row) `offset` of a `destLength` long run
// that shows `sourceLength` source pixels starting at `sourceStart`.
int SourceOffset(int offset, int destLength, int sourceStart, int sourceLength) {
  return sourceStart + static_cast<int>(static_cast<long long>(offset) * sourceLength / destLength);
}

// The destination run [first, last) of `destStart`.. whose source lies in [0, limit).
std::pair<int, int> CoveredRun(int destStart, int destLength, int sourceStart, int sourceLength,
                               int limit) {
  int first = destStart + destLength, last = destStart;
  for (int i = 0; i < destLength; ++i) {
    const int s = SourceOffset(i, destLength, sourceStart, sourceLength);
    if (s < 0 || s >= limit) continue;
    first = std::min(first, destStart + i);
    last = std::max(last, destStart + i + 1);
  }
  return {first, last};
}

Pixel BlendPixel(Pixel source, Pixel target) {
  const int a = AlphaOf(source);
  const auto mix = [a](Pixel s, Pixel t, int shift) {
    const int sc = static_cast<int>((s >> shift) & 0xFF), tc = static_cast<int>((t >> shift) & 0xFF);
    return static_cast<Pixel>((sc * a + tc * (255 - a) + 127) / 255) << shift;
  };
  const int outA = a + AlphaOf(target) * (255 - a) / 255;
  return (static_cast<Pixel>(outA) << 24) | mix(source, target, 16) | mix(source, target, 8) |
         mix(source, target, 0);
}

}  // namespace

Rect CoveredPart(const Rect& dest, const Rect& sourceRect, Size sourceSize) {
  if (dest.IsEmpty() || sourceRect.IsEmpty()) return {};
  const auto [left, right] =
      CoveredRun(dest.left, dest.Width(), sourceRect.left, sourceRect.Width(), sourceSize.width);
  const auto [top, bottom] =
      CoveredRun(dest.top, dest.Height(), sourceRect.top, sourceRect.Height(), sourceSize.height);
  const Rect covered{left, top, right, bottom};
  return covered.IsEmpty() ? Rect{} : covered;
}

void BlendBitmap(Bitmap& target, const Rect& dest, const Rect& clip, const Bitmap& source,
                 const Rect& sourceRect, BlendMode mode, Color keyRgb) {
  const Rect out = CoveredPart(dest, sourceRect, {source.Width(), source.Height()})
                       .Intersect(clip)
                       .Intersect({0, 0, target.Width(), target.Height()});
  if (out.IsEmpty()) return;
  const int dw = dest.Width(), dh = dest.Height();
  const int sw = sourceRect.Width(), sh = sourceRect.Height();
  for (int y = out.top; y < out.bottom; ++y) {
    const int sy = SourceOffset(y - dest.top, dh, sourceRect.top, sh);
    for (int x = out.left; x < out.right; ++x) {
      const Pixel p = source.PixelAt(SourceOffset(x - dest.left, dw, sourceRect.left, sw), sy);
      switch (mode) {
        case BlendMode::Opaque:
          target.SetPixelAt(x, y, p | 0xFF000000u);
          break;
        case BlendMode::Keyed:
          if (PixelToColor(p) != keyRgb) target.SetPixelAt(x, y, p | 0xFF000000u);
          break;
        case BlendMode::Alpha:
          if (AlphaOf(p) != 0) target.SetPixelAt(x, y, BlendPixel(p, target.PixelAt(x, y)));
          break;
      }
    }
  }
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
                        BlendMode mode, Color key) {
  BlendBitmap(target_, dest, Clip(), source, sourceRect, mode, CurrentColorResolver().ToRgb(key));
}

void BitmapCanvas::DrawBitmap(Point at, const Bitmap& bitmap) {
  const Rect dest = Rect::FromXYWH(at.x, at.y, bitmap.Width(), bitmap.Height());
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Opaque, 0);
}

void BitmapCanvas::StretchBitmap(const Rect& dest, const Bitmap& bitmap) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Opaque, 0);
}

void BitmapCanvas::CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) {
  Blit(ToDevice(dest), source, sourceRect, BlendMode::Opaque, 0);
}

void BitmapCanvas::DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Keyed, key);
}

void BitmapCanvas::DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) {
  Blit(ToDevice(dest), bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Alpha, 0);
}

}  // namespace vm::ui

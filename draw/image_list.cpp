#include "draw/image_list.h"

#include <algorithm>

#include "draw/canvas.h"
#include "draw/text_metrics.h"

namespace vm::ui {

Icon Icon::FromBitmap(const Bitmap& bitmap, std::optional<Color> key) {
  Bitmap image = bitmap;
  if (key) {
    const Color keyRgb = CurrentColorResolver().ToRgb(*key);
    for (Pixel& p : image.MutablePixels())
      p = PixelToColor(p) == keyRgb ? (p & 0x00FFFFFFu) : (p | 0xFF000000u);
  }
  return Icon(std::move(image));
}

ImageList::ImageList(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void ImageList::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  frames_.clear();
}

int ImageList::AddFrames(const Bitmap& image, std::optional<Color> maskColor) {
  if (width_ <= 0 || height_ <= 0 || image.IsEmpty()) return -1;
  const int first = Count();
  const int count = std::max(1, image.Width() / width_);
  const Color keyRgb = maskColor ? CurrentColorResolver().ToRgb(*maskColor) : 0;
  for (int i = 0; i < count; ++i) {
    Bitmap frame(width_, height_, 0x00000000u);
    for (int y = 0; y < std::min(height_, image.Height()); ++y) {
      for (int x = 0; x < width_; ++x) {
        const int sx = i * width_ + x;
        if (sx >= image.Width()) break;
        Pixel p = image.PixelAt(sx, y);
        if (maskColor && masked_ && PixelToColor(p) == keyRgb) p &= 0x00FFFFFFu;
        else if (!masked_ || maskColor) p |= 0xFF000000u;
        frame.SetPixelAt(x, y, p);
      }
    }
    frames_.push_back(std::move(frame));
  }
  return first;
}

int ImageList::Add(const Bitmap& image) { return AddFrames(image, std::nullopt); }

int ImageList::AddMasked(const Bitmap& image, Color maskColor) { return AddFrames(image, maskColor); }

int ImageList::AddIcon(const Icon& icon) {
  if (width_ <= 0 || height_ <= 0) return -1;
  Bitmap frame(width_, height_, 0x00000000u);
  const Bitmap& src = icon.Image();
  if (!src.IsEmpty()) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        frame.SetPixelAt(x, y, src.PixelAt(x * src.Width() / width_, y * src.Height() / height_));
  }
  frames_.push_back(std::move(frame));
  return Count() - 1;
}

void ImageList::Delete(int index) {
  if (index >= 0 && index < Count()) frames_.erase(frames_.begin() + index);
}

const Bitmap* ImageList::Frame(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &frames_[static_cast<std::size_t>(index)];
}

Bitmap ImageList::GetBitmap(int index) const {
  const Color bk = bkColor_ == clNone ? clBlack : CurrentColorResolver().ToRgb(bkColor_);
  Bitmap out(width_, height_, ColorToPixel(bk));
  if (const Bitmap* frame = Frame(index)) {
    Canvas& c = out.GetCanvas();
    if (masked_) c.DrawBitmapAlpha({0, 0, width_, height_}, *frame);
    else c.DrawBitmap({0, 0}, *frame);
  }
  return out;
}

Icon ImageList::GetIcon(int index) const {
  const Bitmap* frame = Frame(index);
  return frame ? Icon(*frame) : Icon();
}

void ImageList::Draw(Canvas& canvas, Point at, int index) const { canvas.DrawImage(at, *this, index); }

// ---- Canvas: operations built on the primitives ----

void Canvas::DrawImage(Point at, const ImageList& list, int index) {
  const Bitmap* frame = list.Frame(index);
  if (!frame) return;
  const Rect dest = Rect::FromXYWH(at.x, at.y, frame->Width(), frame->Height());
  if (list.Masked()) DrawBitmapAlpha(dest, *frame);
  else StretchBitmap(dest, *frame);
}

void Canvas::Rectangle(const Rect& r) {
  if (BrushColor() != clNone) FillRect(r, BrushColor());
  if (PenColor() != clNone) FrameRect(r, PenColor());
}

void Canvas::FocusRect(const Rect& r) {
  if (r.Width() < 1 || r.Height() < 1) return;
  // Once round the frame from the top-left corner, every other pixel inverted.
  int step = 0;
  const auto dot = [&](int x, int y) {
    if (step++ % 2 != 0) return;
    SetPixel({x, y}, ~GetPixel({x, y}) & 0xFFFFFF);
  };
  const int right = r.right - 1, bottom = r.bottom - 1;
  for (int x = r.left; x <= right; ++x) dot(x, r.top);
  for (int y = r.top + 1; y <= bottom; ++y) dot(right, y);
  if (bottom > r.top)
    for (int x = right - 1; x >= r.left; --x) dot(x, bottom);
  if (right > r.left)
    for (int y = bottom - 1; y > r.top; --y) dot(r.left, y);
}

}  // namespace vm::ui

#include "ui/toolkit/headless/recording_canvas.h"

#include <algorithm>

#include "ui/toolkit/image_list.h"

namespace vm::ui {

RecordingCanvas::RecordingCanvas(Size surface)
    : surface_(surface.width, surface.height, 0xFFFFFFFFu), inner_(surface_) {}

DrawCall RecordingCanvas::Base(DrawCall::Kind kind) const {
  DrawCall call;
  call.kind = kind;
  call.clip = inner_.CurrentClip();
  return call;
}

void RecordingCanvas::FillRect(const Rect& r, Color color) {
  DrawCall call = Base(DrawCall::Kind::FillRect);
  call.rect = r.Offset(inner_.Origin());
  call.color = color;
  calls_.push_back(std::move(call));
  inner_.FillRect(r, color);
}

void RecordingCanvas::FrameRect(const Rect& r, Color color) {
  DrawCall call = Base(DrawCall::Kind::FrameRect);
  call.rect = r.Offset(inner_.Origin());
  call.color = color;
  calls_.push_back(std::move(call));
  inner_.FrameRect(r, color);
}

void RecordingCanvas::Line(Point from, Point to, Color color) {
  DrawCall call = Base(DrawCall::Kind::Line);
  call.from = from + inner_.Origin();
  call.to = to + inner_.Origin();
  call.color = color;
  calls_.push_back(std::move(call));
  inner_.Line(from, to, color);
}

void RecordingCanvas::SetPixel(Point p, Color color) {
  DrawCall call = Base(DrawCall::Kind::SetPixel);
  call.from = p + inner_.Origin();
  call.color = color;
  calls_.push_back(std::move(call));
  inner_.SetPixel(p, color);
}

void RecordingCanvas::TextOut(Point at, std::string_view text) {
  DrawCall call = Base(DrawCall::Kind::Text);
  call.from = at + inner_.Origin();
  const Size extent = inner_.TextExtent(text);
  call.rect = Rect::FromXYWH(call.from.x, call.from.y, extent.width, extent.height);
  call.text = std::string(text);
  call.font = inner_.GetFont();
  call.color = inner_.TextColor();
  call.transparentText = inner_.TransparentText();
  call.brush = inner_.BrushColor();
  calls_.push_back(std::move(call));
  inner_.TextOut(at, text);
}

void RecordingCanvas::DrawBitmap(Point at, const Bitmap& bitmap) {
  DrawCall call = Base(DrawCall::Kind::Bitmap);
  call.from = at + inner_.Origin();
  call.rect = Rect::FromXYWH(call.from.x, call.from.y, bitmap.Width(), bitmap.Height());
  call.bitmap = bitmap;
  calls_.push_back(std::move(call));
  inner_.DrawBitmap(at, bitmap);
}

void RecordingCanvas::StretchBitmap(const Rect& dest, const Bitmap& bitmap) {
  DrawCall call = Base(DrawCall::Kind::StretchBitmap);
  call.rect = dest.Offset(inner_.Origin());
  call.bitmap = bitmap;
  calls_.push_back(std::move(call));
  inner_.StretchBitmap(dest, bitmap);
}

void RecordingCanvas::CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) {
  DrawCall call = Base(DrawCall::Kind::CopyRect);
  call.rect = dest.Offset(inner_.Origin());
  call.sourceRect = sourceRect;
  call.bitmap = source;
  calls_.push_back(std::move(call));
  inner_.CopyRect(dest, source, sourceRect);
}

void RecordingCanvas::DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) {
  DrawCall call = Base(DrawCall::Kind::TransparentBitmap);
  call.rect = dest.Offset(inner_.Origin());
  call.bitmap = bitmap;
  call.color = key;
  calls_.push_back(std::move(call));
  inner_.DrawBitmapTransparent(dest, bitmap, key);
}

void RecordingCanvas::DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) {
  DrawCall call = Base(DrawCall::Kind::AlphaBitmap);
  call.rect = dest.Offset(inner_.Origin());
  call.bitmap = bitmap;
  calls_.push_back(std::move(call));
  inner_.DrawBitmapAlpha(dest, bitmap);
}

void RecordingCanvas::DrawImage(Point at, const ImageList& list, int index) {
  DrawCall call = Base(DrawCall::Kind::Image);
  call.from = at + inner_.Origin();
  call.rect = Rect::FromXYWH(call.from.x, call.from.y, list.Width(), list.Height());
  call.imageIndex = index;
  calls_.push_back(std::move(call));
  // Rendered through the inner canvas only, so the frame is not recorded twice.
  inner_.DrawImage(at, list, index);
}

int RecordingCanvas::Count(DrawCall::Kind kind) const {
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                        [kind](const DrawCall& c) { return c.kind == kind; }));
}

bool RecordingCanvas::HasFill(const Rect& r, Color color) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::FillRect && c.rect == r && c.color == color;
  });
}

std::optional<Color> RecordingCanvas::FillColorOf(const Rect& r) const {
  for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
    if (it->kind == DrawCall::Kind::FillRect && it->rect == r) return it->color;
  return std::nullopt;
}

bool RecordingCanvas::HasFrame(const Rect& r, Color color) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::FrameRect && c.rect == r && c.color == color;
  });
}

bool RecordingCanvas::HasLine(Point from, Point to, Color color) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::Line && c.from == from && c.to == to && c.color == color;
  });
}

const DrawCall* RecordingCanvas::FindText(std::string_view text) const {
  for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
    if (it->kind == DrawCall::Kind::Text && it->text == text) return &*it;
  return nullptr;
}

bool RecordingCanvas::HasText(std::string_view text, Point at) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::Text && c.text == text && c.from == at;
  });
}

bool RecordingCanvas::HasText(std::string_view text, Point at, const Font& font) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::Text && c.text == text && c.from == at &&
           c.font.name == font.name && c.font.height == font.height && c.font.bold == font.bold;
  });
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> out;
  for (const DrawCall& c : calls_)
    if (c.kind == DrawCall::Kind::Text) out.push_back(c.text);
  return out;
}

bool RecordingCanvas::HasImage(int index, Point at) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawCall::Kind::Image && c.imageIndex == index && c.from == at;
  });
}

}  // namespace vm::ui

#include "ui/toolkit/graphic_controls.h"

#include <algorithm>

#include "ui/toolkit/backend.h"
#include "ui/toolkit/canvas.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

// ---- Label ----

Label::Label(Control& parent, const char* name) : Control(parent, name) { AdjustSize(); }

void Label::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  AdjustSize();
}

void Label::SetAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void Label::SetLayout(TextLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void Label::SetWordWrap(bool wordWrap) {
  if (wordWrap == wordWrap_) return;
  wordWrap_ = wordWrap;
  AdjustSize();
  Invalidate();
}

void Label::FontChanged() {
  AdjustSize();
  Invalidate();
}

void Label::CaptionChanged() {
  AdjustSize();
  Invalidate();
}

void Label::BoundsChanged(const Rect& oldBounds) {
  Control::BoundsChanged(oldBounds);
  // A wrapped label re-flows when its width changes.
  if (autoSize_ && wordWrap_ && oldBounds.Width() != Width()) AdjustSize();
}

int Label::MeasureWidth(std::string_view text) const {
  Backend* backend = BackendOrNull();
  TextRenderer& text_ = backend ? backend->Text() : CurrentTextRenderer();
  return text_.Measure(GetFont(), text).width;
}

int Label::LineHeight() const {
  Backend* backend = BackendOrNull();
  TextRenderer& text = backend ? backend->Text() : CurrentTextRenderer();
  return text.Measure(GetFont(), "Ag").height;
}

std::vector<std::string> Label::Lines() const {
  return WrapText(Caption(), wordWrap_ ? Width() : 0,
                  [this](std::string_view line) { return MeasureWidth(line); });
}

Size Label::TextSize() const {
  // An empty caption still measures as one blank, so an auto-size label keeps a line's height.
  std::vector<std::string> lines =
      Caption().empty() ? std::vector<std::string>{" "} : Lines();
  int width = 0;
  for (const std::string& line : lines) width = std::max(width, MeasureWidth(line.empty() ? " " : line));
  return {width, LineHeight() * static_cast<int>(lines.size())};
}

void Label::AdjustSize() {
  if (!autoSize_ || adjusting_) return;
  adjusting_ = true;
  const Size size = TextSize();
  const int width = wordWrap_ ? Width() : size.width;
  int left = Left();
  if (alignment_ == Alignment::Right && !wordWrap_) left = Left() + Width() - width;
  SetBounds(left, Top(), width, size.height);
  adjusting_ = false;
}

void Label::Paint(Canvas& canvas) {
  const Rect client = ClientRect();
  if (!transparent_) canvas.FillRect(client, GetColor());
  if (Caption().empty()) return;
  canvas.SetFont(GetFont());
  canvas.SetTransparentText(true);
  const std::vector<std::string> lines = Lines();
  const int lineHeight = LineHeight();
  const int total = lineHeight * static_cast<int>(lines.size());
  int y = 0;
  if (layout_ == TextLayout::Center) y = (client.Height() - total) / 2;
  else if (layout_ == TextLayout::Bottom) y = client.Height() - total;
  for (const std::string& line : lines) {
    const int width = canvas.TextWidth(line);
    int x = 0;
    if (alignment_ == Alignment::Right) x = client.Width() - width;
    else if (alignment_ == Alignment::Center) x = (client.Width() - width) / 2;
    if (Enabled()) {
      canvas.TextOut({x, y}, line);
    } else {
      // The engraved look of disabled text.
      canvas.SetTextColor(clBtnHighlight);
      canvas.TextOut({x + 1, y + 1}, line);
      canvas.SetTextColor(clBtnShadow);
      canvas.TextOut({x, y}, line);
    }
    y += lineHeight;
  }
}

// ---- Image ----

Image::Image(Control& parent, const char* name) : Control(parent, name) {
  SetBounds(0, 0, 105, 105);
}

void Image::SetPicture(const Bitmap& picture) {
  picture_ = picture;
  PictureChanged();
}

void Image::SetPicture(Bitmap&& picture) {
  picture_ = std::move(picture);
  PictureChanged();
}

void Image::PictureChanged() {
  if (autoSize_ && !picture_.IsEmpty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

void Image::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void Image::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void Image::SetCenter(bool center) {
  center_ = center;
  Invalidate();
}

void Image::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize_) PictureChanged();
}

Rect Image::PictureRect() const {
  if (picture_.IsEmpty()) return {};
  if (stretch_) return ClientRect();
  if (center_)
    return Rect::FromXYWH((Width() - picture_.Width()) / 2, (Height() - picture_.Height()) / 2,
                          picture_.Width(), picture_.Height());
  return Rect::FromXYWH(0, 0, picture_.Width(), picture_.Height());
}

void Image::Paint(Canvas& canvas) {
  if (picture_.IsEmpty()) return;
  const Rect dest = PictureRect();
  if (transparent_) canvas.DrawBitmapTransparent(dest, picture_, picture_.TransparentColor());
  else if (stretch_) canvas.StretchBitmap(dest, picture_);
  else canvas.DrawBitmap(dest.TopLeft(), picture_);
}

// ---- Shape ----

Shape::Shape(Control& parent, const char* name) : Control(parent, name) {
  SetBounds(0, 0, 65, 65);
}

void Shape::SetBrushColor(Color color) {
  brushColor_ = color;
  Invalidate();
}

void Shape::SetPenColor(Color color) {
  penColor_ = color;
  Invalidate();
}

void Shape::Paint(Canvas& canvas) {
  canvas.SetBrushColor(brushColor_);
  canvas.SetPenColor(penColor_);
  canvas.Rectangle(ClientRect());
}

// ---- Bevel ----

Bevel::Bevel(Control& parent, const char* name) : Control(parent, name) {
  SetBounds(0, 0, 50, 50);
}

void Bevel::SetShape(BevelShape shape) {
  shape_ = shape;
  Invalidate();
}

void Bevel::SetStyle(BevelStyle style) {
  style_ = style;
  Invalidate();
}

void Bevel::Paint(Canvas& canvas) {
  Color dark = clBtnShadow, light = clBtnHighlight;
  if (style_ == BevelStyle::Raised) std::swap(dark, light);
  const int w = Width(), h = Height();
  // A frame: dark on the top and left edges, light on the bottom and right ones.
  const auto frame = [&canvas](const Rect& r, Color topLeft, Color bottomRight) {
    canvas.Line({r.left, r.bottom}, {r.left, r.top}, topLeft);
    canvas.Line({r.left, r.top}, {r.right, r.top}, topLeft);
    canvas.Line({r.right, r.top}, {r.right, r.bottom}, bottomRight);
    canvas.Line({r.right, r.bottom}, {r.left, r.bottom}, bottomRight);
  };
  switch (shape_) {
    case BevelShape::Box:
      frame({0, 0, w - 1, h - 1}, dark, light);
      break;
    case BevelShape::Frame:
      frame({1, 1, w - 1, h - 1}, light, light);
      frame({0, 0, w - 2, h - 2}, dark, dark);
      break;
    case BevelShape::TopLine:
      canvas.Line({0, 0}, {w, 0}, dark);
      canvas.Line({0, 1}, {w, 1}, light);
      break;
    case BevelShape::BottomLine:
      canvas.Line({0, h - 2}, {w, h - 2}, dark);
      canvas.Line({0, h - 1}, {w, h - 1}, light);
      break;
    case BevelShape::LeftLine:
      canvas.Line({0, 0}, {0, h}, dark);
      canvas.Line({1, 0}, {1, h}, light);
      break;
    case BevelShape::RightLine:
      canvas.Line({w - 2, 0}, {w - 2, h}, dark);
      canvas.Line({w - 1, 0}, {w - 1, h}, light);
      break;
    case BevelShape::Spacer:
      break;
  }
}

// ---- PaintBox ----

PaintBox::PaintBox(Control& parent, const char* name) : Control(parent, name) {
  SetBounds(0, 0, 105, 105);
}

void PaintBox::Paint(Canvas& canvas) { Fire(EventKind::Paint, OnPaint, *this, canvas); }

// ---- accessibility ----

void Label::DescribeAccessible(AccessInfo& info) const {
  info.name = Caption();
  if (TrimmedText(Caption()).empty() && AccessibleName().empty()) return;  // nothing to read
  info.role = OnClick && GetCursor() == Cursor::Hand ? AccessRole::Link : AccessRole::StaticText;
  if (OnClick) info.defaultAction = "Click";
  info.states.linked = info.role == AccessRole::Link;
  info.states.readOnly = !OnClick;
}

void Image::DescribeAccessible(AccessInfo& info) const {
  info.name = Hint();
  if (OnClick) {
    info.role = AccessRole::PushButton;
    info.defaultAction = "Press";
  } else if (!TrimmedText(Hint()).empty() || !AccessibleName().empty()) {
    info.role = AccessRole::Graphic;
  }
}

}  // namespace vm::ui

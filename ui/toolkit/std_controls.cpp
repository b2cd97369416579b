#include "ui/toolkit/std_controls.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/canvas.h"

namespace vm::ui {

namespace {

// The first `count` code points of a UTF-8 text (a cut never splits a character).
std::string FirstCodePoints(const std::string& text, int count) {
  std::size_t i = 0;
  for (int n = 0; i < text.size() && n < count; ++n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

int CodePointCount(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

// ---- Button, CheckBox ----

void Button::PeerClicked() {
  Form* form = FormOrNull();
  if (!form || !Enabled()) return;
  Application::DispatchScope scope(form->App());
  if (modalResult_ != 0) form->SetModalResult(modalResult_);
  Fire(EventKind::Click, OnClick, *this);
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Push(&CheckBoxPeer::CheckedChanged);
}

void CheckBox::PeerClicked() {
  Form* form = FormOrNull();
  if (!form || !Enabled() || PushingToPeer()) return;
  Application::DispatchScope scope(form->App());
  checked_ = !checked_;
  Push(&CheckBoxPeer::CheckedChanged);  // the window shows what the field holds
  Fire(EventKind::Click, OnClick, *this);
}

void CheckBox::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form || !Enabled()) return;
  Application::DispatchScope scope(form->App());
  if (TabStop()) SetFocus();
  Fire(EventKind::MouseDown, OnMouseDown, *this, button, shift, p.x, p.y);
}

void CheckBox::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form || !Enabled()) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::MouseUp, OnMouseUp, *this, button, shift, p.x, p.y);
}

// ---- Edit ----

Edit::Edit(Control& parent, const char* name) : WindowedControl(parent, name) {
  SetColor(clWindow);
}

void Edit::SetText(const std::string& text) {
  SetCaption(maxLength_ > 0 ? FirstCodePoints(text, maxLength_) : text);
}

void Edit::PeerDoubleClick() {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::DblClick, OnDblClick, *this);
}

void Edit::SetBorder(bool on) {
  if (on == border_) return;
  border_ = on;
  Push(&EditPeer::StyleChanged);
}

void Edit::SetReadOnly(bool on) {
  if (on == readOnly_) return;
  readOnly_ = on;
  Push(&EditPeer::StyleChanged);
}

void Edit::SetMaxLength(int length) {
  maxLength_ = std::max(length, 0);
  Push(&EditPeer::StyleChanged);
  // Text set before the limit would otherwise exceed it for good.
  if (maxLength_ > 0 && CodePointCount(Text()) > maxLength_) SetText(Text());
}

void Edit::PeerTextChanged(const std::string& text) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  std::string next = maxLength_ > 0 ? FirstCodePoints(text, maxLength_) : text;
  const bool accepted = Accept(next);
  if (!accepted) next = Text();
  const bool changed = next != Text();
  if (changed) StoreCaptionFromPeer(next);
  if (next != text) Push(&ControlPeer::TextChanged);  // the window shows the text we keep
  if (!changed) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::Change, OnChange, *this);
}

// ---- MaskEdit ----

void MaskEdit::SetEditMask(const std::string& mask) {
  mask_ = mask;
  places_ = mask.substr(0, mask.find(';'));
  places_.erase(std::remove(places_.begin(), places_.end(), '!'), places_.end());
  SetMaxLength(static_cast<int>(places_.size()));
  std::string text = Text();
  if (!Accept(text)) SetText({});
}

bool MaskEdit::Accept(std::string& text) const {
  if (places_.empty()) return true;
  if (text.size() > places_.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char place = places_[i];
    const char c = text[i];
    if (place == '0' || place == '9') {
      if (c < '0' || c > '9') return false;
    } else if (c != place) {
      return false;
    }
  }
  return true;
}

// ---- Memo ----

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  const std::string& t = Text();
  if (t.empty()) return lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = t.find_first_of("\r\n", start);
    lines.push_back(t.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + ((t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n') ? 2 : 1);
    if (start >= t.size()) break;  // a final line break starts no empty line
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

void Memo::SetScrollBars(ScrollStyle style) {
  scrollBars_ = style;
  Push(&EditPeer::StyleChanged);
}

void Memo::SetWordWrap(bool on) {
  wordWrap_ = on;
  Push(&EditPeer::StyleChanged);
}

// ---- ComboBox ----

void ComboBox::SetStyle(ComboStyle style) {
  style_ = style;
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Push(&ComboBoxPeer::ItemsChanged);
  SetItemIndex(itemIndex_ < ItemCount() ? itemIndex_ : -1);
  Push(&ComboBoxPeer::SelectionChanged);
}

void ComboBox::AddItem(const std::string& item) {
  items_.push_back(item);
  Push(&ComboBoxPeer::ItemsChanged);
  Push(&ComboBoxPeer::SelectionChanged);
}

void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= ItemCount()) index = -1;
  itemIndex_ = index;
  if (index >= 0 || style_ == ComboStyle::DropDownList)
    Control::SetCaption(index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string());
  Push(&ComboBoxPeer::SelectionChanged);
}

void ComboBox::PeerSelected(int index) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  if (index < 0 || index >= ItemCount()) index = -1;
  if (index == itemIndex_) return;
  Application::DispatchScope scope(form->App());
  itemIndex_ = index;
  StoreCaptionFromPeer(index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string());
  Fire(EventKind::Change, OnChange, *this);
}

void ComboBox::SetDroppedDown(bool open) {
  if (open == droppedDown_) return;
  droppedDown_ = open;
  Push(&ComboBoxPeer::SelectionChanged);
}

void ComboBox::PeerDropDown(bool open) {
  Form* form = FormOrNull();
  if (!form || open == droppedDown_) return;
  Application::DispatchScope scope(form->App());
  droppedDown_ = open;
  if (open) Fire(EventKind::MouseDown, OnDropDown, *this);
  else Fire(EventKind::MouseUp, OnCloseUp, *this);
}

// ---- ColorBox ----

namespace {

const NamedColor kStandard[] = {
    {clBlack, "Black"}, {clMaroon, "Maroon"}, {clGreen, "Green"}, {clOlive, "Olive"},
    {clNavy, "Navy"},   {clPurple, "Purple"}, {clTeal, "Teal"},   {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"},     {clLime, "Lime"},   {clYellow, "Yellow"},
    {clBlue, "Blue"},   {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"}, {clWhite, "White"},
};
const NamedColor kExtended[] = {
    {MakeRgb(192, 220, 192), "Money Green"},
    {MakeRgb(166, 202, 240), "Sky Blue"},
    {MakeRgb(255, 251, 240), "Cream"},
    {MakeRgb(160, 160, 164), "Medium Gray"},
};
const NamedColor kSystem[] = {
    {clWindow, "Window"},       {clWindowText, "Window Text"}, {clBtnFace, "Button Face"},
    {clBtnText, "Button Text"}, {clHighlight, "Highlight"},    {clHighlightText, "Highlight Text"},
    {clInfoBk, "Info Background"}, {clInfoText, "Info Text"},  {clGrayText, "Gray Text"},
    {clActiveCaption, "Active Caption"}, {clCaptionText, "Caption Text"}, {clMenu, "Menu"},
};

}  // namespace

ColorBox::ColorBox(Control& parent, const char* name) : ComboBox(parent, name) {
  Rebuild();
}

void ColorBox::SetStyle(const ColorBoxStyle& style) {
  const Color keep = Selected();
  const bool hadSelection = ItemIndex() >= 0;
  style_ = style;
  Rebuild();
  if (hadSelection) SetSelected(keep);
}

void ColorBox::Rebuild() {
  colors_.clear();
  if (style_.custom) colors_.push_back({custom_, customCaption_});
  if (style_.standard) colors_.insert(colors_.end(), std::begin(kStandard), std::end(kStandard));
  if (style_.extended) colors_.insert(colors_.end(), std::begin(kExtended), std::end(kExtended));
  if (style_.system) colors_.insert(colors_.end(), std::begin(kSystem), std::end(kSystem));
  for (NamedColor& c : colors_)
    for (const NamedColor& r : renamed_)
      if (r.color == c.color && !(style_.custom && &c == &colors_.front())) c.name = r.name;
  std::vector<std::string> names;
  for (const NamedColor& c : colors_) names.push_back(c.name);
  SetItems(std::move(names));
}

Color ColorBox::Selected() const {
  const int i = ItemIndex();
  return i >= 0 && i < static_cast<int>(colors_.size()) ? colors_[static_cast<std::size_t>(i)].color : clBlack;
}

void ColorBox::SetSelected(Color color) {
  // The named entries come first; the custom entry takes a colour none of them has.
  for (std::size_t i = style_.custom ? 1 : 0; i < colors_.size(); ++i) {
    if (colors_[i].color == color) {
      SetItemIndex(static_cast<int>(i));
      return;
    }
  }
  if (!style_.custom) {
    SetItemIndex(-1);
    return;
  }
  custom_ = color;
  colors_.front().color = color;
  Invalidate();
  SetItemIndex(0);
}

void ColorBox::SetColorName(Color color, const std::string& name) {
  renamed_.erase(std::remove_if(renamed_.begin(), renamed_.end(), [&](const NamedColor& c) { return c.color == color; }),
                 renamed_.end());
  renamed_.push_back({color, name});
  const int index = ItemIndex();
  Rebuild();
  SetItemIndex(index);
}

void ColorBox::SetCustomCaption(const std::string& caption) {
  customCaption_ = caption;
  const int index = ItemIndex();
  Rebuild();
  SetItemIndex(index);
}

// ---- StatusBar ----

StatusBar::StatusBar(Control& parent, const char* name)
    : WindowedControl(parent, name) {
  SetTabStop(false);
  SetHeight(22);
  SetAlign(Align::Bottom);
}

// ---- Panel ----

Rect DrawBevel(Canvas& canvas, const Rect& r, PanelBevel bevel, int width) {
  if (bevel == PanelBevel::None) return r;
  const Color topLeft = bevel == PanelBevel::Raised ? clBtnHighlight : clBtnShadow;
  const Color bottomRight = bevel == PanelBevel::Raised ? clBtnShadow : clBtnHighlight;
  Rect area = r;
  for (int i = 0; i < width && !area.IsEmpty(); ++i) {
    canvas.Line({area.left, area.bottom - 1}, {area.left, area.top}, topLeft);
    canvas.Line({area.left, area.top}, {area.right, area.top}, topLeft);
    canvas.Line({area.right - 1, area.top + 1}, {area.right - 1, area.bottom}, bottomRight);
    canvas.Line({area.left, area.bottom - 1}, {area.right - 1, area.bottom - 1}, bottomRight);
    area = area.Inflate(-1, -1);
  }
  return area;
}

void Panel::PaintFace(Canvas& canvas) {
  canvas.FillRect(ClientRect(), GetColor());
  Rect area = DrawBevel(canvas, ClientRect(), outer_, bevelWidth_);
  area = DrawBevel(canvas, area, inner_, bevelWidth_);
  if (Caption().empty()) return;
  canvas.SetFont(GetFont());
  canvas.SetTransparentText(true);
  const Size extent = canvas.TextExtent(Caption());
  canvas.TextOut({area.left + (area.Width() - extent.width) / 2, area.top + (area.Height() - extent.height) / 2},
                 Caption());
}

void Panel::DescribeAccessible(AccessInfo& info) const {
  WindowedControl::DescribeAccessible(info);
  info.name = Caption();
  if (!TrimmedText(Caption()).empty() || !AccessibleName().empty()) info.role = AccessRole::Grouping;
}

// ---- Splitter ----

Splitter::Splitter(Control& parent, const char* name) : WindowedControl(parent, name) {
  SetTabStop(false);
  SetAlign(Align::Left);
  SetWidth(3);
  SetCursor(Cursor::SizeWE);
}

Control* Splitter::ResizedControl() const {
  // The nearest visible sibling on the splitter's own edge that touches it.
  Control* parent = Parent();
  if (!parent) return nullptr;
  for (Control* c : parent->Children()) {
    if (c == this || !c->Visible() || c->GetAlign() != GetAlign()) continue;
    switch (GetAlign()) {
      case Align::Left: if (c->Bounds().right == Left()) return c; break;
      case Align::Right: if (c->Bounds().left == Bounds().right) return c; break;
      case Align::Top: if (c->Bounds().bottom == Top()) return c; break;
      case Align::Bottom: if (c->Bounds().top == Bounds().bottom) return c; break;
      default: break;
    }
  }
  return nullptr;
}

void Splitter::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  WindowedControl::PeerMouseDown(button, shift, p);
  Control* target = ResizedControl();
  if (button != MouseButton::Left || !target) return;
  dragging_ = true;
  start_ = ClientToScreen(p);
  const bool horizontal = GetAlign() == Align::Left || GetAlign() == Align::Right;
  startSize_ = horizontal ? target->Width() : target->Height();
}

void Splitter::PeerMouseMove(ShiftState shift, Point p) {
  WindowedControl::PeerMouseMove(shift, p);
  Control* target = ResizedControl();
  if (!dragging_ || !target || !Parent()) return;
  const Point now = ClientToScreen(p);
  const bool horizontal = GetAlign() == Align::Left || GetAlign() == Align::Right;
  int delta = horizontal ? now.x - start_.x : now.y - start_.y;
  if (GetAlign() == Align::Right || GetAlign() == Align::Bottom) delta = -delta;
  // Neither the resized control nor the rest of the parent shrinks below the minimum.
  const Rect area = Parent()->ClientRect();
  const int room = (horizontal ? area.Width() : area.Height()) - (horizontal ? Width() : Height());
  const int size = std::clamp(startSize_ + delta, std::min(minSize_, room), std::max(room - minSize_, minSize_));
  if (horizontal) target->SetWidth(size);
  else target->SetHeight(size);
}

void Splitter::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  WindowedControl::PeerMouseUp(button, shift, p);
  if (!dragging_ || button != MouseButton::Left) return;
  dragging_ = false;
  if (Form* form = FormOrNull()) {
    Application::DispatchScope scope(form->App());
    Fire(EventKind::Change, OnMoved, *this);
  }
}

}  // namespace vm::ui

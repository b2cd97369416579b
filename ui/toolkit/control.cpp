#include "ui/toolkit/control.h"

#include <algorithm>
#include <unordered_map>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/form.h"

namespace vm::ui {

namespace {

// The live controls by serial (the user-interface thread's only).
std::unordered_map<std::uint64_t, Control*>& LiveControls() {
  static std::unordered_map<std::uint64_t, Control*> live;
  return live;
}

std::uint64_t NextSerial() {
  static std::uint64_t next = 0;
  return ++next;
}

}  // namespace

Control* Control::FromSerial(std::uint64_t serial) {
  auto& live = LiveControls();
  auto it = live.find(serial);
  return it == live.end() ? nullptr : it->second;
}

Control::Control(const char* name) : name_(name), serial_(NextSerial()) { LiveControls()[serial_] = this; }

Control::Control(Control& parent, const char* name)
    : name_(name), serial_(NextSerial()), parent_(&parent) {
  LiveControls()[serial_] = this;
  parent.AddChild(this);
}

Control::~Control() {
  LiveControls().erase(serial_);
  if (keyboardProxy_) keyboardProxy_->TargetGone();
  // Children that outlive their parent (declared before it) are orphaned, never left dangling.
  for (Control* child : children_) child->parent_ = nullptr;
  if (parent_) {
    parent_->InvalidateRect(bounds_);
    parent_->RemoveChild(this);
  }
}

void Control::AddChild(Control* child) { children_.push_back(child); }

void Control::PlaceChildAfter(Control* child, const Control* anchor) {
  auto from = std::find(children_.begin(), children_.end(), child);
  if (from == children_.end()) return;
  children_.erase(from);
  auto at = std::find(children_.begin(), children_.end(), anchor);
  children_.insert(at == children_.end() ? at : at + 1, child);
}

void Control::RemoveChild(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  if (Form* form = FormOrNull()) form->ForgetControl(child);
}

Form* Control::FormOrNull() const {
  const Control* c = this;
  while (c->parent_) c = c->parent_;
  return const_cast<Control*>(c)->AsForm();
}

Form& Control::OwnerForm() const {
  Form* form = FormOrNull();
  // A control is always made inside a form; only an orphan (its parent destroyed first) has
  // none, and nothing may be asked of an orphan.
  return *form;
}

Backend* Control::BackendOrNull() const {
  Form* form = FormOrNull();
  return form ? &form->App().GetBackend() : nullptr;
}

Control& Control::WindowedAncestor() {
  Control* c = this;
  while (c->parent_ && !c->IsWindowed()) c = c->parent_;
  return *c;
}

Point Control::OffsetIn(const Control& ancestor) const {
  Point offset;
  for (const Control* c = this; c && c != &ancestor; c = c->parent_) offset = offset + c->bounds_.TopLeft();
  return offset;
}

Rect Control::BoundsIn(const Control& ancestor) const {
  if (this == &ancestor) return ClientRect();
  const Point origin = parent_ ? parent_->OffsetIn(ancestor) : Point{};
  return bounds_.Offset(origin);
}

void Control::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  ConstrainSize(width, height);
  const Rect next = Rect::FromXYWH(left, top, width, height);
  if (next == bounds_) return;
  const Rect old = bounds_;
  bounds_ = next;
  BoundsChanged(old);
}

void Control::BoundsChanged(const Rect& oldBounds) {
  if (!IsWindowed() && parent_) {
    parent_->InvalidateRect(oldBounds);
    parent_->InvalidateRect(bounds_);
  }
  if (oldBounds.GetSize() != bounds_.GetSize()) AlignChildren();
  if (align_ != Align::None && parent_ && !parent_->aligning_) parent_->AlignChildren();
}

void Control::SetAlign(Align align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->AlignChildren();
}

void Control::AlignChildren() {
  if (aligning_) return;
  aligning_ = true;
  Rect area = ClientRect();
  for (Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (Control* c : children_) {
      if (c->align_ != pass || !c->visible_) continue;
      const int w = c->Width(), h = c->Height();
      switch (pass) {
        case Align::Top:
          c->SetBounds(area.left, area.top, area.Width(), h);
          area.top += c->Height();
          break;
        case Align::Bottom:
          c->SetBounds(area.left, area.bottom - h, area.Width(), h);
          area.bottom -= c->Height();
          break;
        case Align::Left:
          c->SetBounds(area.left, area.top, w, area.Height());
          area.left += c->Width();
          break;
        case Align::Right:
          c->SetBounds(area.right - w, area.top, w, area.Height());
          area.right -= c->Width();
          break;
        case Align::Client:
          c->SetBounds(area.left, area.top, std::max(area.Width(), 0), std::max(area.Height(), 0));
          break;
        case Align::None:
          break;
      }
    }
  }
  aligning_ = false;
}

Point Control::ClientToScreen(Point p) const {
  const Point inParent = p + bounds_.TopLeft();
  return parent_ ? parent_->ClientToScreen(inParent) : inParent;
}

Point Control::ScreenToClient(Point p) const { return p - ClientToScreen({0, 0}); }

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) LetFocusGo();
  visible_ = visible;
  if (parent_) {
    parent_->InvalidateRect(bounds_);
    if (align_ != Align::None) parent_->AlignChildren();
  }
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void Control::LetFocusGo() {
  // A control that goes away takes its proxy's focus with it.
  if (keyboardProxy_ && keyboardProxy_->Focused())
    if (Form* form = FormOrNull()) form->FocusMoved(nullptr);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) LetFocusGo();
  enabled_ = enabled;
  Invalidate();
}

void Control::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  CaptionChanged();
}

void Control::SetHint(const std::string& hint) {
  hint_ = hint;
  Form* form = FormOrNull();
  if (form && form->HoverControl() == this && form->IsRealized() && ShowHintEffective())
    form->App().GetBackend().SetHintText(form->Peer(), hint_);
}

bool Control::ShowHintEffective() const {
  if (!parentShowHint_) return showHint_;
  return parent_ ? parent_->ShowHintEffective() : showHint_;
}

void Control::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  Form* form = FormOrNull();
  if (form && form->HoverControl() == this && form->IsRealized())
    form->App().GetBackend().SetPeerCursor(form->Peer(), cursor_);
}

const Font& Control::GetFont() const {
  return parentFont_ && parent_ ? parent_->GetFont() : font_;
}

void Control::SetFont(const Font& font) {
  if (!parentFont_ && font == font_) return;
  font_ = font;
  parentFont_ = false;
  NotifyFontChangedRecursive();
}

void Control::SetFontColor(Color color) {
  Font f = GetFont();
  f.color = color;
  SetFont(f);
}

void Control::SetParentFont(bool parentFont) {
  if (parentFont == parentFont_) return;
  if (!parentFont) font_ = GetFont();  // keeps looking the same until changed
  parentFont_ = parentFont;
  NotifyFontChangedRecursive();
}

void Control::NotifyFontChangedRecursive() {
  FontChanged();
  for (Control* child : children_)
    if (child->parentFont_) child->NotifyFontChangedRecursive();
}

Color Control::GetColor() const { return parentColor_ && parent_ ? parent_->GetColor() : color_; }

void Control::SetColor(Color color) {
  color_ = color;
  parentColor_ = false;
  Invalidate();
}

void Control::SetParentColor(bool parentColor) {
  if (!parentColor) color_ = GetColor();
  parentColor_ = parentColor;
  Invalidate();
}

void Control::Invalidate() { InvalidateRect(ClientRect()); }

void Control::InvalidateRect(const Rect& r) {
  Control& windowed = WindowedAncestor();
  if (!windowed.peer_ || r.IsEmpty()) return;
  Backend* backend = BackendOrNull();
  if (!backend) return;
  const Point offset = this == &windowed ? Point{} : OffsetIn(windowed);
  backend->Invalidate(windowed.peer_, r.Offset(offset));
}

// ---- input ----

void Control::DeliverMouseDown(MouseButton button, ShiftState shift, Point p) {
  if (button == MouseButton::Left) clickPending_ = true;
  Fire(EventKind::MouseDown, OnMouseDown, *this, button, shift, p.x, p.y);
}

void Control::DeliverMouseMove(ShiftState shift, Point p) {
  Fire(EventKind::MouseMove, OnMouseMove, *this, shift, p.x, p.y);
}

void Control::DeliverMouseUp(MouseButton button, ShiftState shift, Point p, bool inside) {
  // As the classic controls do: the click comes first, then the release.
  if (button == MouseButton::Left && clickPending_) {
    clickPending_ = false;
    if (inside) Fire(EventKind::Click, OnClick, *this);
  }
  Fire(EventKind::MouseUp, OnMouseUp, *this, button, shift, p.x, p.y);
}

void Control::DeliverDoubleClick(ShiftState shift, Point p) {
  clickPending_ = false;  // the release after a double click is no click
  shift.doubleClick = true;
  shift.left = true;
  Fire(EventKind::DblClick, OnDblClick, *this);
  Fire(EventKind::MouseDown, OnMouseDown, *this, MouseButton::Left, shift, p.x, p.y);
}

void Control::DeliverMouseEnter() { Fire(EventKind::MouseEnter, OnMouseEnter, *this); }

void Control::DeliverMouseLeave() { Fire(EventKind::MouseLeave, OnMouseLeave, *this); }

void Control::DeliverClick() { Fire(EventKind::Click, OnClick, *this); }

}  // namespace vm::ui

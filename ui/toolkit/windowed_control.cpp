#include "ui/toolkit/windowed_control.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/canvas.h"
#include "ui/toolkit/focus_proxy.h"

namespace vm::ui {

WindowedControl::WindowedControl(Control& parent, const char* name) : Control(parent, name) {}

WindowedControl::~WindowedControl() { DestroyPeers(); }

Application* WindowedControl::AppOrNull() const {
  Form* form = FormOrNull();
  return form ? &form->App() : nullptr;
}

void WindowedControl::CreatePeers() {
  Backend* backend = BackendOrNull();
  Control* parent = Parent();
  if (!backend || Peer() || !parent || !parent->WindowedAncestor().Peer()) return;
  if (AsFocusProxy() && !Focused() && FormOrNull() && FormOrNull()->HoldsFocusWindows()) return;
  {
    PeerUpdate update(*this);
    peer_ = backend->CreateControlPeer(*this);
  }
  if (!peer_) return;
  SetPeer(peer_->Handle());
  for (Control* c : Children())
    if (auto* w = c->AsWindowed()) w->CreatePeers();
}

void WindowedControl::DestroyPeers() {
  for (Control* c : Children())
    if (auto* w = c->AsWindowed()) w->DestroyPeers();
  const PeerHandle peer = Peer();
  if (!peer) return;
  SetPeer(0);
  peer_ = nullptr;
  mouseTarget_ = nullptr;
  hoverChild_ = nullptr;
  if (Backend* backend = BackendOrNull()) backend->DestroyPeer(peer);
}

void WindowedControl::BoundsChanged(const Rect& oldBounds) {
  Control::BoundsChanged(oldBounds);
  Push(&ControlPeer::BoundsChanged);
}

void WindowedControl::CaptionChanged() {
  if (!captionFromPeer_) Push(&ControlPeer::TextChanged);
}

void WindowedControl::StoreCaptionFromPeer(const std::string& caption) {
  captionFromPeer_ = true;
  SetCaption(caption);
  captionFromPeer_ = false;
}

void WindowedControl::FontChanged() {
  Push(&ControlPeer::FontChanged);
  Invalidate();
}

void WindowedControl::SetVisible(bool visible) {
  if (visible == Visible()) return;
  // Focus leaves a control that goes away.
  if (!visible && Focused()) OwnerForm().FocusMoved(nullptr);
  Control::SetVisible(visible);
  if (Peer()) BackendOrNull()->SetPeerVisible(Peer(), visible);
}

void WindowedControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (!enabled && Focused()) OwnerForm().FocusMoved(nullptr);
  Control::SetEnabled(enabled);
  if (Peer()) BackendOrNull()->SetPeerEnabled(Peer(), enabled);
}

void WindowedControl::DescribeAccessible(AccessInfo& info) const {
  info.system = &PeerClass() != &WindowedControl::kClass;
  info.states.focusable = TabStop();
  info.states.focused = Focused();
}

// ---- focus ----

bool WindowedControl::Focused() const {
  Form* form = FormOrNull();
  return form && form->ActiveControl() == this;
}

bool WindowedControl::CanFocus() const {
  for (const Control* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void WindowedControl::SetFocus() {
  Form* form = FormOrNull();
  if (!form || !CanFocus() || Focused()) return;
  form->FocusMoved(this);
  if (form->ActiveControl() != this) return;  // a handler moved the focus on
  CreatePeers();  // a focus window held back (see Form)
  if (Peer()) {
    PeerUpdate update(*this);  // the window's focus report is our own change coming back
    BackendOrNull()->FocusPeer(Peer());
  }
}

void WindowedControl::PeerFocusChanged(bool focused) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  if (focused) form->FocusMoved(this);
  else if (Focused()) form->FocusMoved(nullptr);
}

void RefusePeerKind(const WindowedControl& control) {
  throw ProgramFault("control '" + control.Name() + "' asks for the " + control.PeerClass().name +
                     " peer but is not of that kind");
}

namespace {
void CollectTabStops(Control& root, std::vector<WindowedControl*>& out) {
  std::vector<WindowedControl*> level;
  for (Control* c : root.Children())
    if (auto* w = c->AsWindowed()) level.push_back(w);
  std::stable_sort(level.begin(), level.end(),
                   [](const WindowedControl* a, const WindowedControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (WindowedControl* w : level) {
    if (w->TabStop() && w->CanFocus()) out.push_back(w);
    CollectTabStops(*w, out);
  }
}

// The form's tab sequence first (a graphic control by its proxy), then the other stops.
std::vector<WindowedControl*> TabStops(Form& form) {
  std::vector<WindowedControl*> natural;
  CollectTabStops(form, natural);
  if (form.TabSequence().empty()) return natural;
  std::vector<WindowedControl*> stops;
  for (Control* c : form.TabSequence()) {
    WindowedControl* w = nullptr;
    if (c && c->IsWindowed()) w = c->AsWindowed();
    else if (c) w = c->KeyboardProxy();
    if (w && std::find(natural.begin(), natural.end(), w) != natural.end() &&
        std::find(stops.begin(), stops.end(), w) == stops.end())
      stops.push_back(w);
  }
  for (WindowedControl* w : natural)
    if (std::find(stops.begin(), stops.end(), w) == stops.end()) stops.push_back(w);
  return stops;
}
}  // namespace

WindowedControl* NextTabStop(Form& form, WindowedControl* from, bool forward) {
  const std::vector<WindowedControl*> stops = TabStops(form);
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), from);
  if (it == stops.end()) return forward ? stops.front() : stops.back();
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t i = it - stops.begin();
  i = forward ? (i + 1) % n : (i + n - 1) % n;
  return stops[static_cast<std::size_t>(i)];
}

// ---- keys ----

namespace {

// Counts a key delivery of the control for InKeyDelivery.
class KeyDepth {
 public:
  explicit KeyDepth(int& depth) : depth_(depth) { ++depth_; }
  ~KeyDepth() { --depth_; }
  KeyDepth(const KeyDepth&) = delete;
  KeyDepth& operator=(const KeyDepth&) = delete;

 private:
  int& depth_;
};

}  // namespace

KeyCode WindowedControl::PeerKeyDown(KeyCode key, ShiftState shift) {
  Form* form = FormOrNull();
  if (!form) return key;
  Application::DispatchScope scope(form->App());
  KeyDepth depth(keyDepth_);
  if (form->KeyPreview()) form->PreviewKey(true, key, shift);
  if (key != 0) Fire(EventKind::KeyDown, OnKeyDown, *this, key, shift);
  if (key == kKeyTab && !shift.ctrl && !shift.alt) {
    if (WindowedControl* next = NextTabStop(*form, this, !shift.shift)) next->SetFocus();
    return 0;
  }
  if (key == kKeyEscape && !WantsEscape() && form->CloseByEscape(shift)) return 0;
  if (key != 0) HandleKey(key, shift);
  return key;
}

KeyCode WindowedControl::PeerKeyUp(KeyCode key, ShiftState shift) {
  Form* form = FormOrNull();
  if (!form) return key;
  Application::DispatchScope scope(form->App());
  KeyDepth depth(keyDepth_);
  if (form->KeyPreview()) form->PreviewKey(false, key, shift);
  if (key != 0) Fire(EventKind::KeyUp, OnKeyUp, *this, key, shift);
  if (key != 0) HandleKeyUp(key, shift);
  return key;
}

char32_t WindowedControl::PeerChar(char32_t ch) {
  Form* form = FormOrNull();
  if (!form) return ch;
  Application::DispatchScope scope(form->App());
  KeyDepth depth(keyDepth_);
  if (form->KeyPreview()) form->PreviewChar(ch);
  if (ch != 0) Fire(EventKind::KeyPress, OnKeyPress, *this, ch);
  return ch;
}

// ---- custom windows ----

void WindowedControl::PaintFace(Canvas& canvas) { canvas.FillRect(ClientRect(), GetColor()); }

void WindowedControl::PeerPaint(Canvas& canvas, const Rect& dirty) {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  canvas.Save();
  PaintFace(canvas);
  canvas.Restore();
  for (Control* c : Children()) {
    if (c->IsWindowed() || !c->Visible() || !c->Bounds().Intersects(dirty)) continue;
    canvas.Save();
    canvas.Translate(c->Bounds().TopLeft());
    canvas.ClipTo(c->ClientRect());
    c->Paint(canvas);
    Form::PaintFocusMark(canvas, *c);
    canvas.Restore();
  }
}

namespace {
Point Local(Control& self, Control& target, Point p) {
  return &target == &self ? p : p - target.Bounds().TopLeft();
}
}  // namespace

Control* WindowedControl::MouseTarget(Point p) const {
  const auto& kids = Children();
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
    Control* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->Enabled() && c->Bounds().Contains(p)) return c;
  }
  return const_cast<WindowedControl*>(this);
}

Cursor WindowedControl::CursorAt(Point p) const {
  Control* target = MouseTarget(p);
  if (target != this && target->GetCursor() != Cursor::Default) return target->GetCursor();
  return GetCursor();
}

// Graphic children have no window of their own: the window tells them when the mouse comes
// and goes, and shows their hint.
void WindowedControl::UpdateHoverChild(Control* now) {
  if (now == this) now = nullptr;
  Control* old = hoverChild_;
  // A child taken out of this control since is not told anything any more.
  if (old && std::find(Children().begin(), Children().end(), old) == Children().end()) old = nullptr;
  if (now == old) {
    hoverChild_ = now;
    return;
  }
  hoverChild_ = now;
  if (old) old->DeliverMouseLeave();
  if (now) now->DeliverMouseEnter();
  if (Backend* backend = BackendOrNull(); backend && Peer()) {
    const bool hint = now && now->ShowHintEffective() && !now->Hint().empty();
    backend->SetHintText(Peer(), hint ? now->Hint() : std::string());
  }
}

void WindowedControl::PeerMouseLeave() {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  if (!mouseTarget_) UpdateHoverChild(nullptr);
}

void WindowedControl::PeerDoubleClick(ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  Control* target = mouseTarget_ ? mouseTarget_ : MouseTarget(p);
  mouseTarget_ = target;  // until the release that follows
  target->DeliverDoubleClick(shift, Local(*this, *target, p));
}


void WindowedControl::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  if (TabStop()) SetFocus();
  Control* target = mouseTarget_ ? mouseTarget_ : MouseTarget(p);
  mouseTarget_ = target;
  target->DeliverMouseDown(button, shift, Local(*this, *target, p));
}

void WindowedControl::PeerMouseMove(ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  if (!mouseTarget_) UpdateHoverChild(MouseTarget(p));
  Control* target = mouseTarget_ ? mouseTarget_ : MouseTarget(p);
  target->DeliverMouseMove(shift, Local(*this, *target, p));
}

void WindowedControl::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  Form* form = FormOrNull();
  if (!form) return;
  Application::DispatchScope scope(form->App());
  Control* target = mouseTarget_ ? mouseTarget_ : MouseTarget(p);
  mouseTarget_ = nullptr;
  const Point local = Local(*this, *target, p);
  target->DeliverMouseUp(button, shift, local, target->ClientRect().Contains(local));
}

}  // namespace vm::ui

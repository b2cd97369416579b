#include "ui/toolkit/form.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/canvas.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

namespace {

// Resets a flag when the scope ends, also when a handler throws.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Form::Form(Application& app, const char* name) : Control(name), app_(app) {
  visible_ = false;
  parentFont_ = false;
  parentColor_ = false;
  color_ = clBtnFace;
  bounds_ = Rect::FromXYWH(0, 0, 320, 240);
  app_.RegisterForm(*this);
}

Form::~Form() {
  destroying_ = true;
  TellDestroyWatchers();
  Unrealize();
  // Timers and menus kept beyond the form (made with new and not deleted) must not reach it.
  for (Timer* timer : timers_) timer->owner_ = nullptr;
  for (PopupMenu* menu : menus_) menu->owner_ = nullptr;
  app_.UnregisterForm(*this);
}

Rect Form::ClientRect() const {
  const Rect insets = app_.GetBackend().FrameInsets(*this);
  return {0, 0, std::max(Width() - insets.left - insets.right, 0),
          std::max(Height() - insets.top - insets.bottom, 0)};
}

void Form::SetClientSize(int width, int height) {
  const Rect insets = app_.GetBackend().FrameInsets(*this);
  SetBounds(Left(), Top(), width + insets.left + insets.right, height + insets.top + insets.bottom);
}

void Form::SetMinSize(int width, int height) {
  minWidth_ = std::max(width, 0);
  minHeight_ = std::max(height, 0);
  SetBounds(Left(), Top(), Width(), Height());  // applies the new minimum
  ApplyStyle();
}

void Form::ConstrainSize(int& width, int& height) const {
  width = std::max(width, minWidth_);
  height = std::max(height, minHeight_);
}

Point Form::ClientToScreen(Point p) const {
  const Rect insets = app_.GetBackend().FrameInsets(*this);
  return {Left() + insets.left + p.x, Top() + insets.top + p.y};
}

void Form::SetBorderStyle(BorderStyle style) {
  borderStyle_ = style;
  ApplyStyle();
}

void Form::SetTopMost(bool topMost) {
  topMost_ = topMost;
  ApplyStyle();
}

void Form::SetAlphaBlend(bool on) {
  alphaBlend_ = on;
  ApplyStyle();
}

void Form::SetAlphaBlendValue(int alpha) {
  alphaBlendValue_ = std::clamp(alpha, 0, 255);
  if (!IsRealized() || destroying_) return;
  PeerUpdate update(*this);
  app_.GetBackend().UpdateFormOpacity(Peer(), *this);
}

void Form::SetTransparentColor(bool on) {
  transparentColor_ = on;
  ApplyStyle();
}

void Form::SetTransparentColorValue(Color color) {
  transparentColorValue_ = color;
  ApplyStyle();
}

void Form::SetIcon(const Icon& icon) {
  icon_ = icon;
  if (IsRealized()) app_.GetBackend().SetFormIcon(Peer(), icon_);
}

void Form::ApplyStyle() {
  if (!IsRealized() || destroying_) return;
  PeerUpdate update(*this);
  app_.GetBackend().UpdateFormStyle(Peer(), *this);
}

void Form::DescribeAccessible(AccessInfo& info) const {
  info.role = AccessRole::Client;
  info.name = Caption();
}

void Form::CaptionChanged() {
  if (IsRealized()) app_.GetBackend().SetPeerText(Peer(), Caption());
}

void Form::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  enabled_ = enabled;
  if (IsRealized()) app_.GetBackend().SetPeerEnabled(Peer(), enabled);
}

void Form::BoundsChanged(const Rect& oldBounds) {
  if (IsRealized() && !destroying_) {
    PeerUpdate update(*this);
    app_.GetBackend().SetPeerBounds(Peer(), Bounds());
  }
  if (oldBounds.GetSize() == Bounds().GetSize()) return;
  AlignChildren();
  if (IsRealized() && !destroying_) {
    Application::DispatchScope scope(app_);
    Fire(EventKind::Resize, OnResize, *this);
  }
}

// ---- life ----

void Form::FireCreate() {
  if (created_) return;
  created_ = true;
  Application::DispatchScope scope(app_);
  Fire(EventKind::Create, OnCreate, *this);
}

void Form::Realize() {
  if (IsRealized() || realizing_ || destroying_) return;
  FireCreate();
  if (IsRealized() || destroying_) return;  // OnCreate may have realized it already
  realizing_ = true;
  if (position_ == FormPosition::ScreenCenter) {
    const Rect work = app_.GetBackend().GetScreenInfo().workArea;
    StoreBounds(Rect::FromXYWH(work.left + (work.Width() - Width()) / 2,
                               work.top + (work.Height() - Height()) / 2, Width(), Height()));
  }
  Application::DispatchScope scope(app_);
  SetPeer(app_.GetBackend().CreateFormPeer(*this));
  realizing_ = false;
  for (Timer* timer : timers_) timer->Update();
  AlignChildren();
  if (IsRealized())
    for (Control* c : children_)
      if (auto* w = c->AsWindowed()) w->CreatePeers();
  // The window has its size now: the first resize notification (see toolkit.h).
  Fire(EventKind::Resize, OnResize, *this);
}

namespace {

// The windows of the windowed controls under `parent` that have none yet (focus proxies held
// back), and of their descendants.
void CreateMissingPeers(Control& parent) {
  for (Control* c : parent.Children()) {
    WindowedControl* w = c->AsWindowed();
    if (!w) continue;
    if (w->Peer()) CreateMissingPeers(*w);
    else w->CreatePeers();
  }
}

}  // namespace

void Form::MakeFocusWindows() {
  if (!holdFocusWindows_) return;
  holdFocusWindows_ = false;
  if (IsRealized()) CreateMissingPeers(*this);
}

void Form::Unrealize() {
  const PeerHandle peer = Peer();
  if (!peer) return;
  // The controls' windows go first, while their parent windows still exist.
  for (Control* c : children_)
    if (auto* w = c->AsWindowed()) w->DestroyPeers();
  focused_ = nullptr;
  SetPeer(0);
  for (Timer* timer : timers_) timer->Update();
  capture_ = nullptr;
  hover_ = nullptr;
  buttonsDown_ = 0;
  app_.GetBackend().DestroyPeer(peer);
}

void Form::SetVisible(bool visible) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  if (visible) {
    if (Visible() && IsRealized()) return;
    Realize();
    if (!IsRealized()) return;
    visible_ = true;
    Fire(EventKind::Show, OnShow, *this);
    // OnShow may have hidden or released the form again.
    if (visible_ && IsRealized()) app_.GetBackend().SetPeerVisible(Peer(), true);
  } else {
    if (!Visible()) return;
    visible_ = false;
    if (IsRealized()) app_.GetBackend().SetPeerVisible(Peer(), false);
    Fire(EventKind::Hide, OnHide, *this);
  }
}

void Form::BringToFront() {
  if (!Visible()) Show();
  if (IsRealized() && Visible()) app_.GetBackend().ActivateForm(Peer());
}

void Form::BeginMove() {
  if (IsRealized()) app_.GetBackend().BeginMoveDrag(Peer());
}

int Form::ShowModal() {
  if (modal_ || destroying_ || released_) return mrCancel;
  Application::DispatchScope scope(app_);
  modal_ = true;
  modalResult_ = mrNone;
  modalCloseAction_ = CloseAction::Hide;
  Show();
  if (IsRealized())
    app_.GetBackend().RunModalLoop(*this, [this] { return ModalCanEnd(); });
  if (modalResult_ == mrNone) modalResult_ = mrCancel;  // ended by termination or destruction
  const int result = modalResult_;
  modal_ = false;
  Hide();
  if (modalCloseAction_ == CloseAction::Free) Release();
  return result;
}

bool Form::ModalCanEnd() {
  if (released_ || destroying_ || !IsRealized() || app_.Terminated()) return true;
  // Hidden by code: nobody could answer a window that is not there, so the loop ends.
  if (!Visible()) return true;
  if (modalResult_ == mrNone) return false;
  bool canClose = true;
  Fire(EventKind::CloseQuery, OnCloseQuery, *this, canClose);
  if (!canClose) {
    modalResult_ = mrNone;
    return false;
  }
  CloseAction action = CloseAction::Hide;
  Fire(EventKind::Close, OnClose, *this, action);
  if (action == CloseAction::None) {
    modalResult_ = mrNone;
    return false;
  }
  modalCloseAction_ = action;
  return true;
}

void Form::Close() {
  if (destroying_ || released_) return;
  if (modal_) {
    // The modal loop asks OnCloseQuery and OnClose when it sees the result.
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (closing_) return;
  // The dispatch scope is declared first so that it ends last: when it is the outermost one,
  // its end may destroy this form (CloseAction::Free), after which nothing here may run.
  Application::DispatchScope scope(app_);
  FlagScope closing(closing_);
  bool canClose = true;
  Fire(EventKind::CloseQuery, OnCloseQuery, *this, canClose);
  if (!canClose) return;
  CloseAction action = CloseAction::Hide;
  Fire(EventKind::Close, OnClose, *this, action);
  switch (action) {
    case CloseAction::None:
      return;
    case CloseAction::Free:
      Release();
      break;
    case CloseAction::Hide:
    case CloseAction::Minimize:
      Hide();
      break;
  }
  if (app_.MainForm() == this) app_.Terminate();
}

void Form::Release() {
  if (released_ || destroying_) return;
  released_ = true;
  Hide();
  app_.ScheduleRelease(*this);
}

void Form::BeforeDestruction() {
  if (destroying_) return;
  destroying_ = true;  // from here on, peer reports are ignored
  {
    Application::DispatchScope scope(app_);
    Fire(EventKind::Destroy, OnDestroy, *this);
  }
  TellDestroyWatchers();
  Unrealize();
}

void Form::TellDestroyWatchers() {
  std::vector<std::function<void(Form&)>> watchers;
  watchers.swap(destroyWatchers_);
  for (auto& watcher : watchers)
    if (watcher) watcher(*this);
}

void Form::PaintNow(const std::function<void(Canvas&)>& draw) {
  if (!IsRealized() || !Visible() || destroying_ || !draw) return;
  app_.GetBackend().PaintNow(Peer(), draw);
}

WindowId Form::Handle() {
  Realize();
  return IsRealized() ? app_.GetBackend().NativeId(Peer()) : 0;
}

// ---- backend entry points ----

void Form::PeerPaint(Canvas& canvas, const Rect& dirty) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  canvas.FillRect(ClientRect(), GetColor());
  // The form's own painting first, the graphic controls over it (as the classic forms do).
  canvas.Save();
  Fire(EventKind::Paint, OnPaint, *this, canvas);
  canvas.Restore();
  for (Control* c : children_) {
    if (c->IsWindowed() || !c->Visible() || !c->Bounds().Intersects(dirty)) continue;
    canvas.Save();
    canvas.Translate(c->Bounds().TopLeft());
    canvas.ClipTo(c->ClientRect());
    c->Paint(canvas);
    PaintFocusMark(canvas, *c);
    canvas.Restore();
  }
}

void Form::PaintFocusMark(Canvas& canvas, const Control& child) {
  const FocusProxy* proxy = child.KeyboardProxy();
  if (!proxy || !proxy->ShowsFocusMark()) return;
  const int inset = proxy->FocusInset();
  canvas.FocusRect(child.ClientRect().Inflate(-inset, -inset));
}

Control& Form::ControlAt(Point p) {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* c = *it;
    if (!c->IsWindowed() && c->Visible() && c->Enabled() && c->Bounds().Contains(p)) return *c;
  }
  return *this;
}

Point Form::ToLocal(const Control& control, Point p) const {
  return &control == this ? p : p - control.BoundsIn(*this).TopLeft();
}

void Form::ForgetControl(Control* control) {
  if (capture_ == control) capture_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (focused_ == control) focused_ = nullptr;
}

void Form::FocusMoved(WindowedControl* now) {
  if (now == focused_) return;
  WindowedControl* old = focused_;
  focused_ = now;
  Application::DispatchScope scope(app_);
  if (old) old->FocusChanged(false);
  if (now && focused_ == now) now->FocusChanged(true);
  if (old) old->Fire(EventKind::Deactivate, old->OnExit, *old);
  if (now && focused_ == now) now->Fire(EventKind::Activate, now->OnEnter, *now);
}

void Form::UpdateHover(Control* now) {
  if (now == hover_) return;
  Control* old = hover_;
  hover_ = now;
  if (old) old->DeliverMouseLeave();
  if (now && hover_ == now) now->DeliverMouseEnter();
  if (hover_ != now || !IsRealized()) return;
  Backend& backend = app_.GetBackend();
  // The hint is taken after OnMouseEnter, which may have just set it.
  backend.SetHintText(Peer(), now && now->ShowHintEffective() ? now->Hint() : std::string());
  Cursor cursor = Cursor::Default;
  for (Control* c = now; c && cursor == Cursor::Default; c = c->Parent()) cursor = c->GetCursor();
  backend.SetPeerCursor(Peer(), cursor == Cursor::Default ? Cursor::Arrow : cursor);
}

void Form::PeerMouseDown(MouseButton button, ShiftState shift, Point p) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  Control& under = ControlAt(p);
  UpdateHover(&under);
  Control& target = capture_ ? *capture_ : under;
  capture_ = &target;
  ++buttonsDown_;
  target.DeliverMouseDown(button, shift, ToLocal(target, p));
}

void Form::PeerMouseMove(ShiftState shift, Point p) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  UpdateHover(&ControlAt(p));
  Control& target = capture_ ? *capture_ : ControlAt(p);
  target.DeliverMouseMove(shift, ToLocal(target, p));
}

void Form::PeerMouseUp(MouseButton button, ShiftState shift, Point p) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  Control& target = capture_ ? *capture_ : ControlAt(p);
  const Point local = ToLocal(target, p);
  const bool inside = target.ClientRect().Contains(local);
  if (--buttonsDown_ <= 0) {
    buttonsDown_ = 0;
    capture_ = nullptr;
  }
  target.DeliverMouseUp(button, shift, local, inside);
}

void Form::PeerDoubleClick(ShiftState shift, Point p) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  Control& target = ControlAt(p);
  UpdateHover(&target);
  capture_ = &target;
  ++buttonsDown_;
  target.DeliverDoubleClick(shift, ToLocal(target, p));
}

void Form::PeerMouseLeave() {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  if (!capture_) UpdateHover(nullptr);
}

void Form::PeerCaptureLost() {
  capture_ = nullptr;
  buttonsDown_ = 0;
}

KeyCode Form::PeerKeyDown(KeyCode key, ShiftState shift) {
  if (destroying_) return key;
  // The focused control's window gets the keys; it lets the form preview them.
  if (focused_) return focused_->PeerKeyDown(key, shift);
  Application::DispatchScope scope(app_);
  Fire(EventKind::KeyDown, OnKeyDown, *this, key, shift);
  if (key == kKeyTab && !shift.ctrl && !shift.alt)
    if (WindowedControl* next = NextTabStop(*this, nullptr, !shift.shift)) next->SetFocus();
  if (key == kKeyEscape && CloseByEscape(shift)) return 0;
  return key;
}

bool Form::CloseByEscape(ShiftState shift) {
  if (!closeOnEscape_ || shift.ctrl || shift.alt || shift.shift || destroying_ || !Visible()) return false;
  Close();
  return true;
}

KeyCode Form::PeerKeyUp(KeyCode key, ShiftState shift) {
  if (destroying_) return key;
  if (focused_) return focused_->PeerKeyUp(key, shift);
  Application::DispatchScope scope(app_);
  Fire(EventKind::KeyUp, OnKeyUp, *this, key, shift);
  return key;
}

void Form::PeerChar(char32_t ch) {
  if (destroying_) return;
  if (focused_) {
    focused_->PeerChar(ch);
    return;
  }
  Application::DispatchScope scope(app_);
  Fire(EventKind::KeyPress, OnKeyPress, *this, ch);
}

void Form::PeerBoundsChanged(const Rect& bounds) {
  if (destroying_ || bounds == Bounds()) return;
  const Rect old = Bounds();
  StoreBounds(bounds);
  // Our own change coming back: the setter aligns and reports the resize itself.
  if (PushingToPeer() || old.GetSize() == bounds.GetSize()) return;
  Application::DispatchScope scope(app_);
  AlignChildren();
  Fire(EventKind::Resize, OnResize, *this);
}

void Form::PeerCloseRequest() {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  Close();
}

void Form::PeerActivated(bool active) {
  if (destroying_) return;
  Application::DispatchScope scope(app_);
  if (active) Fire(EventKind::Activate, OnActivate, *this);
  else Fire(EventKind::Deactivate, OnDeactivate, *this);
}

SystemMessageResult Form::PeerSystemMessage(const SystemMessage& message) {
  if (destroying_ || !OnSystemMessage) return {};
  Application::DispatchScope scope(app_);
  auto handler = OnSystemMessage;
  return handler(*this, message);
}

void Form::PeerDestroyed() {
  if (!IsRealized()) return;
  SetPeer(0);
  for (Timer* timer : timers_) timer->Update();
  capture_ = nullptr;
  hover_ = nullptr;
  visible_ = false;
}

}  // namespace vm::ui

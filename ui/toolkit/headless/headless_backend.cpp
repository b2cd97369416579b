#include "ui/toolkit/headless/headless_backend.h"

#include <algorithm>
#include <stdexcept>

#include "ui/toolkit/application.h"
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/timer.h"

namespace vm::ui {

HeadlessBackend::HeadlessBackend() {
  SetScreen(1024, 768);
  insets_[BorderStyle::None] = {0, 0, 0, 0};
  insets_[BorderStyle::Single] = {3, 26, 3, 3};
  insets_[BorderStyle::Sizable] = {8, 31, 8, 8};
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::SetScreen(int width, int height, int pixelsPerInch) {
  screen_.width = width;
  screen_.height = height;
  screen_.pixelsPerInch = pixelsPerInch;
  screen_.workArea = {0, 0, width, height};
}

void HeadlessBackend::SetFrameInsets(BorderStyle style, const Rect& insets) { insets_[style] = insets; }

HeadlessBackend::WindowState* HeadlessBackend::Find(PeerHandle peer) {
  auto it = windows_.find(peer);
  return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessBackend::WindowState* HeadlessBackend::State(const Form& form) const {
  auto it = windows_.find(form.Peer());
  return it == windows_.end() ? nullptr : &it->second;
}

Form* HeadlessBackend::RealizedForm(Form& form) {
  // A user can only reach a window that exists and is on the screen; a test that forgets to
  // show its form hears about it instead of seeing nothing happen.
  const WindowState* state = State(form);
  if (!state || !state->visible)
    throw std::logic_error("simulated input to form '" + form.Name() + "', which is not shown");
  return &form;
}

// ---- the test clock ----

void HeadlessBackend::AdvanceMs(long long ms) {
  const long long target = now_ + std::max(ms, 0LL);
  while (true) {
    // The earliest due timer; ties go to the one started first (lower handle).
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->second.due <= target && (next == timers_.end() || it->second.due < next->second.due)) next = it;
    if (next == timers_.end()) break;
    now_ = std::max(now_, next->second.due);
    next->second.due += next->second.interval;
    // The tick may stop, start or destroy timers: the next round looks them up afresh.
    Deliver([&] { next->second.timer->PeerTick(); });
  }
  now_ = std::max(now_, target);
}

PeerHandle HeadlessBackend::StartTimer(Timer& timer, int intervalMs) {
  const PeerHandle id = nextPeer_++;
  timers_[id] = TimerState{&timer, std::max(intervalMs, 1), now_ + std::max(intervalMs, 1)};
  return id;
}

void HeadlessBackend::StopTimer(PeerHandle timerPeer) { timers_.erase(timerPeer); }

std::vector<std::pair<const Timer*, int>> HeadlessBackend::RunningTimers() const {
  std::vector<std::pair<const Timer*, int>> out;
  for (const auto& [id, t] : timers_) out.emplace_back(t.timer, t.interval);
  return out;
}

// ---- simulated input ----

namespace {
ShiftState WithButton(ShiftState shift, MouseButton button) {
  if (button == MouseButton::Left) shift.left = true;
  if (button == MouseButton::Right) shift.right = true;
  if (button == MouseButton::Middle) shift.middle = true;
  return shift;
}
}  // namespace

void HeadlessBackend::MouseDown(Form& form, Point p, MouseButton button, ShiftState shift) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerMouseDown(button, WithButton(shift, button), p); });
}

void HeadlessBackend::MouseMove(Form& form, Point p, ShiftState shift) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerMouseMove(shift, p); });
}

void HeadlessBackend::MouseUp(Form& form, Point p, MouseButton button, ShiftState shift) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerMouseUp(button, shift, p); });
}

void HeadlessBackend::DoubleClick(Form& form, Point p) {
  // The system's sequence: press, release, double-click press, release.
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerMouseDown(MouseButton::Left, WithButton({}, MouseButton::Left), p); });
  Deliver([&] { f->PeerMouseUp(MouseButton::Left, {}, p); });
  Deliver([&] { f->PeerDoubleClick(WithButton({}, MouseButton::Left), p); });
  Deliver([&] { f->PeerMouseUp(MouseButton::Left, {}, p); });
}

void HeadlessBackend::MouseLeave(Form& form) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerMouseLeave(); });
}

void HeadlessBackend::Click(Form& form, Point p, MouseButton button) {
  MouseMove(form, p);
  MouseDown(form, p, button);
  MouseUp(form, p, button);
}

void HeadlessBackend::Click(Control& control, MouseButton button) {
  Form& form = control.OwnerForm();
  const Rect r = control.BoundsIn(form);
  Click(form, {r.left + r.Width() / 2, r.top + r.Height() / 2}, button);
}

void HeadlessBackend::PressKey(Form& form, KeyCode key, ShiftState shift) {
  Form* f = RealizedForm(form);
  const PeerHandle window = f->Peer();
  KeyCode left = 0;  // a key down whose handler failed produces no character
  Deliver([&] { left = f->PeerKeyDown(key, shift); });
  // A key that closed its window for good (Esc, a shortcut) leaves nothing to type into.
  if (!windows_.count(window)) return;
  // Letters, digits and the blank also produce a character, as the system's translation does.
  if (left != 0 && !shift.ctrl && !shift.alt &&
      ((left >= 'A' && left <= 'Z') || (left >= '0' && left <= '9') || left == kKeySpace)) {
    char32_t ch = left;
    if (left >= 'A' && left <= 'Z' && !shift.shift) ch = left - 'A' + 'a';
    Deliver([&] { f->PeerChar(ch); });
    if (!windows_.count(window)) return;
  }
  Deliver([&] { f->PeerKeyUp(key, shift); });
}

void HeadlessBackend::TypeChar(Form& form, char32_t ch) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerChar(ch); });
}

void HeadlessBackend::UserClose(Form& form) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerCloseRequest(); });
}

void HeadlessBackend::UserSetBounds(Form& form, const Rect& bounds) {
  Form* f = RealizedForm(form);
  if (WindowState* state = Find(f->Peer())) state->bounds = bounds;
  Deliver([&] { f->PeerBoundsChanged(bounds); });
}

void HeadlessBackend::UserActivate(Form& form, bool active) {
  Form* f = RealizedForm(form);
  Deliver([&] { f->PeerActivated(active); });
}

void HeadlessBackend::AppActivation(bool active) {
  if (app_) Deliver([&] { app_->PeerAppActivated(active); });
}

SystemMessageResult HeadlessBackend::SendSystemMessage(Form& form, const SystemMessage& message) {
  if (!State(form)) throw std::logic_error("system message to form '" + form.Name() + "' without a window");
  SystemMessageResult result;
  Deliver([&] { result = form.PeerSystemMessage(message); });
  return result;
}

SystemMessageResult HeadlessBackend::SendRegisteredMessage(Form& form, const std::string& name) {
  // An unregistered name has no message number: nothing can arrive.
  if (registered_.count(name) == 0) return {};
  SystemMessage message;
  message.kind = SystemMessageKind::Registered;
  message.name = name;
  return SendSystemMessage(form, message);
}

SystemMessageResult HeadlessBackend::SendTrayCallback(Form& form, std::uint32_t mouseMessage) {
  SystemMessage message;
  message.kind = SystemMessageKind::TrayCallback;
  message.code = mouseMessage;
  return SendSystemMessage(form, message);
}

void HeadlessBackend::ChooseMenuItem(MenuItem& item) { item.PeerChosen(); }

// ---- menus ----

void HeadlessBackend::ShowPopupMenu(PopupMenu& menu, Point screen, PeerHandle owner) {
  PopupRecord record;
  record.menu = &menu;
  record.at = screen;
  record.owner = owner;
  int y = 0, width = 0;
  for (MenuItem* item : menu.Items().Items()) {
    if (!item->Visible()) continue;
    const Size size = menu.MeasureItem(*item);
    width = std::max(width, size.width);
    record.items.emplace_back(item, Rect::FromXYWH(0, y, size.width, size.height));
    y += size.height;
  }
  // Items span the menu's width, as the system lays them out.
  for (auto& [item, rect] : record.items) rect.right = rect.left + width;
  popups_.push_back(record);
  if (menu.OwnerDraw()) {
    lastItemDraw_ = std::make_unique<RecordingCanvas>(Size{width, y});
    for (auto& [item, rect] : popups_.back().items) menu.PeerDrawItem(*item, *lastItemDraw_, rect, false);
  }
  MenuItem* choice = nullptr;
  if (!nextPopupChoice_.empty()) {
    choice = nextPopupChoice_.front();
    nextPopupChoice_.pop_front();
  }
  if (choice) Deliver([&] { choice->PeerChosen(); });
}

RecordingCanvas& HeadlessBackend::DrawPopupItem(MenuItem& item, bool selected) {
  Rect rect;
  Size size;
  if (!popups_.empty()) {
    for (auto& [i, r] : popups_.back().items) {
      size.width = std::max(size.width, r.right);
      size.height = std::max(size.height, r.bottom);
      if (i == &item) rect = r;
    }
  }
  lastItemDraw_ = std::make_unique<RecordingCanvas>(size);
  Deliver([&] { item.Menu().PeerDrawItem(item, *lastItemDraw_, rect, selected); });
  return *lastItemDraw_;
}

// ---- loops ----

void HeadlessBackend::RunMessageLoop(const std::function<bool()>& done) {
  while (!done() && !loopSteps_.empty()) {
    auto step = std::move(loopSteps_.front());
    loopSteps_.pop_front();
    step();
  }
}

void HeadlessBackend::RunModalLoop(Form& form, const std::function<bool()>& done) {
  while (!done()) {
    if (!modalScripts_.empty()) {
      auto script = std::move(modalScripts_.front());
      modalScripts_.pop_front();
      script(form);
      continue;
    }
    ++unansweredModals_;
    form.SetModalResult(mrCancel);
    // A form that refuses even that cannot be answered by anyone here: end rather than hang.
    if (!done()) break;
    return;
  }
}

// ---- windows ----

PeerHandle HeadlessBackend::CreateFormPeer(Form& form) {
  const PeerHandle id = nextPeer_++;
  WindowState state;
  state.form = &form;
  state.bounds = form.Bounds();
  state.text = form.Caption();
  state.enabled = form.Enabled();
  state.iconSize = {form.GetIcon().Width(), form.GetIcon().Height()};
  windows_[id] = state;
  UpdateFormStyle(id, form);
  return id;
}

void HeadlessBackend::DestroyPeer(PeerHandle peer) {
  peers_.erase(peer);
  if (controls_.erase(peer)) {
    if (focusedPeer_ == peer) focusedPeer_ = 0;
    return;
  }
  windows_.erase(peer);
  surfaces_.erase(peer);
}

void HeadlessBackend::SetPeerBounds(PeerHandle peer, const Rect& bounds) {
  WindowState* state = Find(peer);
  if (!state) return;
  state->bounds = bounds;
  if (echoBounds_ && state->form) Deliver([&] { state->form->PeerBoundsChanged(bounds); });
}

void HeadlessBackend::SetPeerText(PeerHandle peer, const std::string& text) {
  if (ControlState* c = FindControl(peer)) c->text = text;
  if (WindowState* state = Find(peer)) state->text = text;
}

void HeadlessBackend::SetPeerVisible(PeerHandle peer, bool visible) {
  if (ControlState* c = FindControl(peer)) c->visible = visible;
  if (WindowState* state = Find(peer)) state->visible = visible;
}

void HeadlessBackend::SetPeerEnabled(PeerHandle peer, bool enabled) {
  if (ControlState* c = FindControl(peer)) c->enabled = enabled;
  if (WindowState* state = Find(peer)) state->enabled = enabled;
}

void HeadlessBackend::UpdateFormStyle(PeerHandle peer, const Form& form) {
  WindowState* state = Find(peer);
  if (!state) return;
  state->border = form.GetBorderStyle();
  state->topMost = form.TopMost();
  state->alphaBlend = form.AlphaBlend();
  state->alpha = form.AlphaBlendValue();
  state->colorKeyOn = form.TransparentColor();
  state->colorKey = form.TransparentColorValue();
  state->color = form.GetColor();
}

void HeadlessBackend::SetFormIcon(PeerHandle peer, const Icon& icon) {
  if (WindowState* state = Find(peer)) state->iconSize = {icon.Width(), icon.Height()};
}

void HeadlessBackend::ActivateForm(PeerHandle peer) {
  if (WindowState* state = Find(peer)) ++state->activations;
}

Rect HeadlessBackend::FrameInsets(const Form& form) { return insets_[form.GetBorderStyle()]; }

void HeadlessBackend::Invalidate(PeerHandle peer, const Rect&) {
  if (ControlState* c = FindControl(peer)) ++c->invalidations;
  if (WindowState* state = Find(peer)) ++state->invalidations;
}

void HeadlessBackend::PaintNow(PeerHandle peer, const std::function<void(Canvas&)>& draw) {
  WindowState* state = Find(peer);
  if (!state || !state->form) return;
  auto& surface = surfaces_[peer];
  if (!surface) surface = std::make_unique<RecordingCanvas>(state->form->ClientRect().GetSize());
  draw(*surface);
}

const RecordingCanvas* HeadlessBackend::Surface(const Form& form) const {
  auto it = surfaces_.find(form.Peer());
  return it == surfaces_.end() ? nullptr : it->second.get();
}

RecordingCanvas& HeadlessBackend::PaintForm(Form& form) {
  WindowState* state = Find(form.Peer());
  if (!state) throw std::logic_error("paint of form '" + form.Name() + "' without a window");
  lastPaint_ = std::make_unique<RecordingCanvas>(form.ClientRect().GetSize());
  state->invalidations = 0;
  surfaces_.erase(form.Peer());  // a repaint covers what was drawn outside the paint cycle
  Deliver([&] { form.PeerPaint(*lastPaint_, form.ClientRect()); });
  return *lastPaint_;
}

void HeadlessBackend::BeginMoveDrag(PeerHandle peer) {
  if (WindowState* state = Find(peer)) ++state->moveDrags;
}

void HeadlessBackend::SetPeerCursor(PeerHandle peer, Cursor cursor) {
  if (WindowState* state = Find(peer)) state->cursor = cursor;
}

void HeadlessBackend::SetHintText(PeerHandle peer, const std::string& text) {
  if (WindowState* state = Find(peer)) state->hint = text;
  else if (ControlState* control = FindControl(peer)) control->hint = text;
}

Color HeadlessBackend::ScreenPixel(Point p) { return ScreenColorAt ? ScreenColorAt(p) : clBlack; }

bool HeadlessBackend::TrayCommand(PeerHandle owner, TrayAction action, const TrayIconData& data) {
  bool accepted = false;
  if (Find(owner)) {
    switch (action) {
      case TrayAction::Add:
        // The system refuses to add an icon that exists already.
        accepted = !trayIcon_.has_value();
        if (accepted) trayIcon_ = data;
        break;
      case TrayAction::Modify:
        accepted = trayIcon_.has_value();
        if (accepted) trayIcon_ = data;
        break;
      case TrayAction::Delete:
        accepted = trayIcon_.has_value();
        trayIcon_.reset();
        break;
    }
  }
  trayCalls_.push_back({action, data, accepted});
  return accepted;
}

}  // namespace vm::ui

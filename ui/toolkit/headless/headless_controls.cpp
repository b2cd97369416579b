// The headless backend's control windows: their mirrored state and the simulated user.
#include <stdexcept>

#include "ui/toolkit/application.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/list_view.h"
#include "ui/toolkit/page_control.h"
#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/string_grid.h"
#include "ui/toolkit/web_browser.h"

namespace vm::ui {

HeadlessBackend::ControlState* HeadlessBackend::FindControl(PeerHandle peer) {
  auto it = controls_.find(peer);
  return it == controls_.end() ? nullptr : &it->second;
}

const HeadlessBackend::ControlState* HeadlessBackend::ControlPeer(const WindowedControl& control) const {
  auto it = controls_.find(control.Peer());
  return it == controls_.end() ? nullptr : &it->second;
}

WindowedControl* HeadlessBackend::FocusedControl() const {
  auto it = controls_.find(focusedPeer_);
  return it == controls_.end() ? nullptr : it->second.control;
}

HeadlessBackend::ControlState& HeadlessBackend::Reachable(const WindowedControl& control) {
  ControlState* state = FindControl(control.Peer());
  const WindowState* form = state ? State(control.OwnerForm()) : nullptr;
  if (!state || !form || !form->visible || !control.Showing() || !control.Enabled())
    throw std::logic_error("simulated input to control '" + control.Name() + "', which is not shown or not enabled");
  return *state;
}

void HeadlessBackend::FlashTaskbarButton(bool invert) {
  ++taskbarFlashes_;
  taskbarHighlighted_ = invert ? !taskbarHighlighted_ : false;
}

// ---- the simulated user ----

void HeadlessBackend::ClickControl(WindowedControl& control) {
  Reachable(control);
  HeadlessPeerBase& peer = *peers_.at(control.Peer());
  if (!peer.TakesClicks()) throw std::logic_error("ClickControl: '" + control.Name() + "' is no button");
  if (control.TabStop()) FocusControl(control);
  Deliver([&] { peer.Clicked(); });
}

void HeadlessBackend::MouseClickCheckBox(CheckBox& box) {
  Reachable(box);
  const Point middle{box.Width() / 2, box.Height() / 2};
  MouseDownOn(box, middle);
  Deliver([&] { box.PeerClicked(); });
  MouseUpOn(box, middle);
}

void HeadlessBackend::FocusControl(WindowedControl& control) {
  Reachable(control);
  WindowedControl* old = FocusedControl();
  focusedPeer_ = control.Peer();
  if (old && old != &control) Deliver([&] { old->PeerFocusChanged(false); });
  Deliver([&] { control.PeerFocusChanged(true); });
}

void HeadlessBackend::TypeText(Edit& control, const std::string& text) {
  Edit* edit = &control;
  FocusControl(control);
  ControlState& state = Reachable(control);
  for (std::size_t i = 0; i < text.size();) {
    // One UTF-8 character at a time, as the keyboard delivers them.
    std::size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
    const std::string ch = text.substr(i, len);
    i += len;
    const char first = ch[0];
    const KeyCode key = first == '\b' ? kKeyBack : KeyOf(first);
    KeyCode left = key;
    if (key != 0) Deliver([&] { left = 0; left = control.PeerKeyDown(key, {}); });
    if (key != 0 && left == 0) continue;
    char32_t code = static_cast<unsigned char>(first);
    if (len > 1) code = 0xFFFF;  // non-ASCII: any printable value will do for the handlers
    char32_t kept = 0;
    Deliver([&] { kept = control.PeerChar(code); });
    if (kept == 0) continue;
    if (edit->ReadOnly()) continue;
    std::string next = state.text;
    if (first == '\b') {
      while (!next.empty() && (static_cast<unsigned char>(next.back()) & 0xC0) == 0x80) next.pop_back();
      if (!next.empty()) next.pop_back();
    } else {
      next += ch;
    }
    state.text = next;
    Deliver([&] { edit->PeerTextChanged(next); });
  }
}

void HeadlessBackend::ChooseItem(ComboBox& combo, int index) {
  ControlState& state = Reachable(combo);
  Deliver([&] { combo.PeerDropDown(true); });
  state.index = index;
  Deliver([&] { combo.PeerSelected(index); });
  Deliver([&] { combo.PeerDropDown(false); });
}

void HeadlessBackend::DragTrackBar(TrackBar& bar, int position) {
  Reachable(bar).index = position;
  Deliver([&] { bar.PeerPositionChanged(position); });
}

void HeadlessBackend::Spin(UpDown& upDown, UpDownDirection direction) {
  Reachable(upDown);
  Deliver([&] { upDown.PeerSpin(direction); });
}

void HeadlessBackend::ChooseTab(PageControl& pages, int index) {
  Reachable(pages).index = index;
  Deliver([&] { pages.PeerTabSelected(index); });
}

void HeadlessBackend::ClickColumn(ListView& list, int column) {
  Reachable(list);
  Deliver([&] { list.PeerColumnClicked(column); });
}

void HeadlessBackend::SelectRow(ListView& list, int row) {
  Reachable(list).index = row;
  FocusControl(list);
  Deliver([&] { list.PeerItemSelected(row); });
}

void HeadlessBackend::MouseDownOn(WindowedControl& control, Point p, MouseButton button) {
  Reachable(control);
  ShiftState shift;
  shift.left = button == MouseButton::Left;
  shift.right = button == MouseButton::Right;
  if (control.TabStop()) {
    focusedPeer_ = control.Peer();  // the press focuses the window first
  }
  Deliver([&] { control.PeerMouseDown(button, shift, p); });
}

void HeadlessBackend::MouseMoveOn(WindowedControl& control, Point p) {
  Reachable(control);
  Deliver([&] { control.PeerMouseMove({}, p); });
}

void HeadlessBackend::MouseUpOn(WindowedControl& control, Point p, MouseButton button) {
  Reachable(control);
  Deliver([&] { control.PeerMouseUp(button, {}, p); });
}

void HeadlessBackend::ClickOn(WindowedControl& control, Point p) {
  MouseDownOn(control, p);
  MouseUpOn(control, p);
}

void HeadlessBackend::DoubleClickOn(WindowedControl& control, Point p) {
  MouseDownOn(control, p);
  MouseUpOn(control, p);
  Reachable(control);
  ShiftState shift;
  shift.left = true;
  Deliver([&] { control.PeerDoubleClick(shift, p); });
  MouseUpOn(control, p);
}

void HeadlessBackend::WheelOn(WindowedControl& control, int delta, Point p) {
  Reachable(control);
  Deliver([&] { control.PeerMouseWheel({}, delta, p); });
}

void HeadlessBackend::MouseLeaveOn(WindowedControl& control) {
  Reachable(control);
  Deliver([&] { control.PeerMouseLeave(); });
}

RecordingCanvas& HeadlessBackend::PaintControl(WindowedControl& control) {
  ControlState* state = FindControl(control.Peer());
  if (!state) throw std::logic_error("paint of control '" + control.Name() + "' without a window");
  lastPaint_ = std::make_unique<RecordingCanvas>(Size{control.Width(), control.Height()});
  state->invalidations = 0;
  Deliver([&] { control.PeerPaint(*lastPaint_, control.ClientRect()); });
  return *lastPaint_;
}

}  // namespace vm::ui

// The headless backend's control windows: their mirrored state and the simulated user.
#include <stdexcept>

#include "ui/toolkit/application.h"
#include "ui/toolkit/headless/headless_backend.h"
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

PeerHandle HeadlessBackend::CreateControlPeer(WindowedControl& control) {
  const PeerHandle id = nextPeer_++;
  ControlState state;
  state.control = &control;
  state.kind = control.Kind();
  state.parent = control.Parent()->WindowedAncestor().Peer();
  state.bounds = control.Bounds();
  state.visible = control.Visible();
  state.enabled = control.Enabled();
  controls_[id] = state;
  for (PeerAspect a : {PeerAspect::Text, PeerAspect::Style, PeerAspect::Range, PeerAspect::Columns,
                       PeerAspect::Items, PeerAspect::State})
    UpdateControlPeer(id, control, a);
  for (auto& [aspect, count] : controls_[id].pushes) count = 0;  // creation is no update
  controls_[id].rowRebuilds = 0;
  return id;
}

namespace {

std::string RowText(const ListItem& item) {
  std::string text = item.caption;
  for (const std::string& sub : item.subItems) text += "|" + sub;
  return text;
}

}  // namespace

// A list view window applies a row change to its rows, moving its selection with them, as
// the system's list view does.
void HeadlessBackend::UpdateListRows(ControlState& s, const ListView& list) {
  const ListView::RowChange* change = list.PendingRowChange();
  const auto at = change ? static_cast<std::size_t>(change->index) : 0;
  if (!change || change->index < 0 || at > s.rows.size() ||
      (change->kind != ListView::RowChangeKind::Insert && at == s.rows.size())) {
    s.rows.clear();
    for (const ListItem& item : list.Items()) s.rows.push_back(RowText(item));
    ++s.rowRebuilds;
    return;
  }
  switch (change->kind) {
    case ListView::RowChangeKind::Insert:
      s.rows.insert(s.rows.begin() + change->index, RowText(list.Item(change->index)));
      if (s.index >= change->index) ++s.index;
      ++s.rowInserts;
      break;
    case ListView::RowChangeKind::Delete:
      s.rows.erase(s.rows.begin() + change->index);
      if (s.index == change->index) s.index = -1;
      else if (s.index > change->index) --s.index;
      ++s.rowDeletes;
      break;
    case ListView::RowChangeKind::Update:
      s.rows[at] = RowText(list.Item(change->index));
      ++s.rowUpdates;
      break;
  }
}

void HeadlessBackend::UpdateControlPeer(PeerHandle peer, WindowedControl& control, PeerAspect aspect) {
  ControlState* s = FindControl(peer);
  if (!s) return;
  ++s->pushes[aspect];
  switch (aspect) {
    case PeerAspect::Text:
      s->text = control.Caption();
      break;
    case PeerAspect::State:
      if (auto* c = dynamic_cast<CheckBox*>(&control)) s->checked = c->Checked();
      if (auto* c = dynamic_cast<ComboBox*>(&control)) {
        s->index = c->ItemIndex();
        s->droppedDown = c->DroppedDown();
      }
      if (auto* c = dynamic_cast<TrackBar*>(&control)) s->index = c->Position();
      if (auto* c = dynamic_cast<UpDown*>(&control)) s->index = c->Position();
      if (auto* c = dynamic_cast<PageControl*>(&control)) s->index = c->ActivePageIndex();
      if (auto* c = dynamic_cast<ListView*>(&control)) s->index = c->ItemIndex();
      if (auto* c = dynamic_cast<WebBrowser*>(&control)) {
        // The page shown is the last one asked for; an engine takes any non-empty address.
        s->text = c->Url();
        c->PeerHosted(browserEngine_ && !c->Url().empty());
      }
      break;
    case PeerAspect::Items:
      if (auto* c = dynamic_cast<ComboBox*>(&control)) s->itemCount = c->ItemCount();
      if (auto* c = dynamic_cast<PageControl*>(&control)) s->itemCount = c->PageCount();
      if (auto* c = dynamic_cast<ListView*>(&control)) {
        UpdateListRows(*s, *c);
        s->itemCount = static_cast<int>(s->rows.size());
      }
      break;
    case PeerAspect::Columns:
      if (auto* c = dynamic_cast<ListView*>(&control)) s->columnCount = static_cast<int>(c->Columns().size());
      break;
    default:
      break;
  }
}

void HeadlessBackend::FlashTaskbarButton(bool invert) {
  ++taskbarFlashes_;
  taskbarHighlighted_ = invert ? !taskbarHighlighted_ : false;
}

// ---- the simulated user ----

void HeadlessBackend::ClickControl(WindowedControl& control) {
  Reachable(control);
  if (control.TabStop()) FocusControl(control);
  if (auto* box = dynamic_cast<CheckBox*>(&control)) Deliver([&] { box->PeerClicked(); });
  else if (auto* button = dynamic_cast<Button*>(&control)) Deliver([&] { button->PeerClicked(); });
  else throw std::logic_error("ClickControl: '" + control.Name() + "' is no button");
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

void HeadlessBackend::TypeText(WindowedControl& control, const std::string& text) {
  auto* edit = dynamic_cast<Edit*>(&control);
  if (!edit) throw std::logic_error("TypeText: '" + control.Name() + "' is no edit");
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

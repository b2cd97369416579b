#include "ui/toolkit/range_controls.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

// ---- TrackBar ----

void TrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  Push(&TrackBarPeer::RangeChanged);
  SetPosition(position_);
}

void TrackBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  Push(&TrackBarPeer::PositionChanged);
}

void TrackBar::SetFrequency(int frequency) {
  frequency_ = std::max(frequency, 1);
  Push(&TrackBarPeer::RangeChanged);
}

void TrackBar::SetOrientation(Orientation o) { orientation_ = o; }

void TrackBar::PeerPositionChanged(int position) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  const int next = std::clamp(position, min_, max_);
  const bool changed = next != position_;
  position_ = next;
  if (next != position) Push(&TrackBarPeer::PositionChanged);  // the thumb goes back inside the range
  if (!changed) return;
  Application::DispatchScope scope(form->App());
  Fire(EventKind::Change, OnChange, *this);
}

// ---- UpDown ----

UpDown::UpDown(Control& parent, const char* name) : WindowedControl(parent, name) {
  SetTabStop(false);
}

void UpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  Push(&UpDownPeer::RangeChanged);
  SetPosition(position_);
}

void UpDown::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  Push(&UpDownPeer::PositionChanged);
  ShowInAssociate();
}

void UpDown::SetAssociate(Edit* edit) {
  associate_ = edit;
  ShowInAssociate();
}

void UpDown::ShowInAssociate() {
  if (associate_) associate_->SetText(std::to_string(position_));
}

void UpDown::PeerSpin(UpDownDirection direction) {
  Form* form = FormOrNull();
  if (!form || direction == UpDownDirection::None || !Enabled()) return;
  // In 64 bits: a range near the limits of int must not overflow.
  long long next = position_ + static_cast<long long>(direction == UpDownDirection::Up ? increment_ : -increment_);
  if (next > max_) next = wrap_ ? min_ : max_;
  if (next < min_) next = wrap_ ? max_ : min_;
  const int value = static_cast<int>(next);
  if (value == position_) return;
  Application::DispatchScope scope(form->App());
  bool allow = true;
  if (OnChangingEx) {
    if (IsFiring(EventKind::Change)) return;  // a nested spin from inside the question
    Fire(EventKind::Change, OnChangingEx, *this, allow, value, direction);
  }
  if (!allow) return;
  position_ = value;
  Push(&UpDownPeer::PositionChanged);
  ShowInAssociate();
  Fire(EventKind::Click, OnClick, *this,
       direction == UpDownDirection::Up ? UpDownButton::Next : UpDownButton::Previous);
}

}  // namespace vm::ui

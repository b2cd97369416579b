#pragma once
// Controls that hold a number in a range: the track bar and the up-down arrows.

#include <functional>
#include <string>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

class Edit;

enum class Orientation : std::uint8_t { Horizontal, Vertical };

// The orientation of a track bar is fixed when its window is made.
class TrackBarPeer : public ControlPeer {
 public:
  virtual void PositionChanged() = 0;
  // Minimum, maximum or tick frequency.
  virtual void RangeChanged() = 0;
};

class TrackBar : public WindowedControl {
 public:
  TrackBar(Control& parent, const char* name) : WindowedControl(parent, name) {}
  static constexpr ControlClass kClass{"TrackBar"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  int Min() const { return min_; }
  int Max() const { return max_; }
  // A maximum below the minimum is raised to it; the position is kept inside the range.
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, std::max(min, max_)); }
  void SetMax(int max) { SetRange(std::min(min_, max), max); }
  int Position() const { return position_; }
  // Clamped to the range; no event.
  void SetPosition(int position);
  // Distance between tick marks (at least 1).
  int Frequency() const { return frequency_; }
  void SetFrequency(int frequency);
  Orientation GetOrientation() const { return orientation_; }
  void SetOrientation(Orientation o);
  // The user moved the thumb: Position changes (clamped), then OnChange.
  void PeerPositionChanged(int position);

 private:
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int frequency_ = 1;
  Orientation orientation_ = Orientation::Horizontal;
};

enum class UpDownDirection : std::uint8_t { None, Up, Down };
enum class UpDownButton : std::uint8_t { Next, Previous };
// Which side of its associated edit the arrows sit on.
enum class UpDownAlign : std::uint8_t { Right, Left };

// Asked before the position changes; `allowChange` false keeps the old position.
using UpDownChangingEvent =
    std::function<void(Control& sender, bool& allowChange, int newValue, UpDownDirection direction)>;
using UpDownClickEvent = std::function<void(Control& sender, UpDownButton button)>;

class UpDownPeer : public ControlPeer {
 public:
  virtual void PositionChanged() = 0;
  virtual void RangeChanged() = 0;
  // Arrow keys, wrap, button side or the associated edit.
  virtual void StyleChanged() = 0;
};

class UpDown : public WindowedControl {
 public:
  UpDown(Control& parent, const char* name);
  static constexpr ControlClass kClass{"UpDown"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const { return position_; }
  // Clamped to the range; updates the associated edit; no event.
  void SetPosition(int position);
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment < 1 ? 1 : increment; }
  // Past one end the position continues from the other end instead of stopping.
  bool Wrap() const { return wrap_; }
  void SetWrap(bool on) { wrap_ = on; }
  UpDownAlign AlignButton() const { return alignButton_; }
  void SetAlignButton(UpDownAlign align) { alignButton_ = align; Push(&UpDownPeer::StyleChanged); }
  // When on, the up and down arrow keys in the associated edit (or the up-down itself) spin it.
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool on) { arrowKeys_ = on; Push(&UpDownPeer::StyleChanged); }
  // The edit that shows the position (nullptr: none). It is updated as by code: its OnChange
  // does not fire, the up-down's own events report the change.
  Edit* Associate() const { return associate_; }
  void SetAssociate(Edit* edit);

  UpDownChangingEvent OnChangingEx;
  // Hides Control::OnClick: an up-down's click says which arrow.
  UpDownClickEvent OnClick;

  // The user pressed an arrow: OnChangingEx may refuse the new value; then Position changes,
  // the associated edit follows, and OnClick fires. At an end without wrap nothing happens.
  void PeerSpin(UpDownDirection direction);

 private:
  void ShowInAssociate();
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int increment_ = 1;
  bool wrap_ = false;
  UpDownAlign alignButton_ = UpDownAlign::Right;
  bool arrowKeys_ = true;
  Edit* associate_ = nullptr;
};

}  // namespace vm::ui

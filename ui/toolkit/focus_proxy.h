#pragma once
// FocusProxy: a window without an area that takes the keyboard focus for a graphic control (an
// image drawn as a button, a label used as a link). It is a tab stop in the control's place, the
// control's window draws a dotted focus frame around the control while the proxy has the focus,
// Enter and Space click the control, and screen readers are told about the control when the
// proxy has the focus.

#include <string>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

class FocusProxy : public WindowedControl {
 public:
  // Made inside the target's parent, just after the target in the declaration order (so the
  // tab order follows it). A window that is already on the screen gets the proxy's window at once.
  explicit FocusProxy(Control& target);
  ~FocusProxy() override;

  // nullptr once the target is gone (a proxy kept past its target does nothing).
  Control* Target() const { return target_; }
  FocusProxy* AsFocusProxy() override { return this; }

  // Pixels between the target's edge and the focus frame; a negative inset draws no frame (the
  // target shows its focus itself).
  int FocusInset() const { return focusInset_; }
  void SetFocusInset(int inset);
  bool ShowsFocusMark() const { return focusInset_ >= 0 && Focused(); }

  // Only while the target can be used: shown and enabled.
  bool CanFocus() const override;

  // The proxy's key or focus notification is being delivered (the control that owns the proxy
  // may be going away from inside it).
  bool Busy() const { return InKeyDelivery(); }

 protected:
  void PaintFace(Canvas&) override {}
  // Enter and Space that the handlers left: the press here, the click at its release.
  void HandleKey(KeyCode key, ShiftState shift) override;
  void HandleKeyUp(KeyCode key, ShiftState shift) override;
  void FocusChanged(bool focused) override;

 private:
  friend class Control;
  void TargetGone() { target_ = nullptr; }
  Control* target_;
  int focusInset_ = 1;
  KeyCode heldKey_ = 0;  // Enter or Space pressed here and not yet released
};

}  // namespace vm::ui

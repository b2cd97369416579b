// The options window with the keyboard alone and with a screen reader: the tab order, Esc, the
// desktop-time mark moved by the arrow keys, and names for what carries no text of its own.

#include <algorithm>

#include "app/main_form.h"
#include "ui/options/options_form.h"

namespace vm {

void TOptF::WireAccess() {
  // Down the left column, down the right one, then the rows across the window.
  SetTabSequence({&AStartCB, &HideCB, &AsPanCB, &UseMonCB, &ThemeCB, &FontIm, &TLab, &ShowTimeCB,
                  &SetPosL, &SetFontL, &Button1, &ZoomT, &Tb, &TransColorCB});
  SetCloseOnEscape(true);
  TLabFocus.OnKeyDown = ui::Bind(this, &TOptF::TLabFocusKeyDown);
  ApplyAccessNames();
}

void TOptF::ApplyAccessNames() {
  // The mark shows "00:00"; what it is for is its hint (L5.10).
  TLab.SetAccessibleName(TLab.Hint());
}

void TOptF::TLabFocusKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  if (shift.ctrl || shift.alt) return;
  int dx = 0, dy = 0;
  switch (key) {
    case ui::kKeyLeft: dx = -1; break;
    case ui::kKeyRight: dx = 1; break;
    case ui::kKeyUp: dy = -1; break;
    case ui::kKeyDown: dy = 1; break;
    default: return;
  }
  key = 0;
  const int left = std::clamp(TLab.Left() + dx, 0, std::max(Panel1.Width() - TLab.Width(), 0));
  const int top = std::clamp(TLab.Top() + dy, 0, std::max(Panel1.Height() - TLab.Height(), 0));
  if (left == TLab.Left() && top == TLab.Top()) return;
  // A drag of one pixel: pressed, moved, released.
  TLab.SetBounds(left, top, TLab.Width(), TLab.Height());
  TLab.SetTag(1);
  TLabMouseUp(TLab, ui::MouseButton::Left, shift, 0, 0);
}

}  // namespace vm

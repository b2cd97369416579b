// Moving the clock with the mouse, its own menu on a right press, and panel mode (the clock
// slides up behind the top screen edge when the user works elsewhere).

#include "app/main_form.h"
#include "app/placement.h"

namespace vm {

void TForm1::WireMovement() {
  for (ui::Control* band : std::initializer_list<ui::Control*>{&Label2, &Image1, &MemProcL}) {
    band->OnMouseDown = ui::Bind(this, &TForm1::Label2MouseDown);
    band->OnMouseMove = ui::Bind(this, &TForm1::Label2MouseMove);
    band->OnMouseUp = ui::Bind(this, &TForm1::Label2MouseUp);
  }
  Label2.OnMouseLeave = ui::Bind(this, &TForm1::Label2MouseLeave);
  MemProcL.OnMouseEnter = ui::Bind(this, &TForm1::MemProcLMouseEnter);
  for (ui::Control* text : std::initializer_list<ui::Control*>{&TimeLabel, &DateLabel, &DaywL}) {
    text->OnMouseDown = ui::Bind(this, &TForm1::Image1MouseDown);
    text->OnMouseMove = ui::Bind(this, &TForm1::FormMouseMove);
  }
  OnMouseDown = ui::Bind(this, &TForm1::FormMouseDown);
  OnMouseMove = ui::Bind(this, &TForm1::FormMouseMove);
  Timer3.OnTimer = ui::Bind(this, &TForm1::Timer3Timer);
}

namespace {

void OpenAtMouse(ui::PopupMenu& menu, ui::Control& sender, int x, int y) {
  const ui::Point at = sender.ClientToScreen({x, y});
  menu.Popup(at.x, at.y);
}

}  // namespace

void TForm1::Label2MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState, int x, int y) {
  SetTag(1);  // the drag mark: leaving the clock now does not slide the panel away
  if (button == ui::MouseButton::Right) {
    OpenAtMouse(OptMenu, sender, x, y);
    return;
  }
  Dragging = true;
  DragStart = {x, y};
}

void TForm1::Label2MouseMove(ui::Control&, ui::ShiftState shift, int x, int y) {
  if (settings.AsPanel) SlidePanel(true);
  if (!Dragging) return;
  // A release that never arrived (the capture went to another window) ends the drag: the clock
  // must not follow a mouse whose buttons are up.
  if (!shift.left && !shift.middle) {
    Dragging = false;
    return;
  }
  // The start point stays: the window moves under the mouse, so the offset stays measured from
  // the same place of the clock.
  SetBounds(Left() + x - DragStart.x, Top() + y - DragStart.y, Width(), Height());
}

void TForm1::Label2MouseUp(ui::Control&, ui::MouseButton, ui::ShiftState, int, int) { Dragging = false; }

void TForm1::Label2MouseLeave(ui::Control&) {
  // Moving onto another part of the clock (the time, the date) is no leaving.
  if (HoverControl() != nullptr) return;
  if (settings.AsPanel && Tag() == 0) SlidePanel(false);
}

void TForm1::Image1MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState, int x, int y) {
  SetTag(1);
  if (button == ui::MouseButton::Right) {
    OpenAtMouse(OptMenu, sender, x, y);
    return;
  }
  BeginMove();  // the window follows the mouse until the button is released
}

void TForm1::FormMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState, int x, int y) {
  SetTag(1);
  if (button == ui::MouseButton::Right) {
    OpenAtMouse(OptMenu, sender, x, y);
    return;
  }
  if (button == ui::MouseButton::Left) BeginMove();
}

void TForm1::FormMouseMove(ui::Control&, ui::ShiftState, int, int) { SlidePanel(true); }

void TForm1::SlidePanel(bool show) {
  const int top = SlidePanelTop(Top(), Height(), show, settings.StayOnTop, settings.AsPanel);
  if (top != Top()) SetTop(top);
}

void TForm1::AppDeactivate() {
  // The mark goes whatever the mode: switched on later, panel mode must not find an old mark
  // that keeps the clock from sliding away. A release that went to another program ends the
  // drag too.
  SetTag(0);
  Dragging = false;
  if (settings.AsPanel) SlidePanel(false);
}

void TForm1::MemProcLMouseEnter(ui::Control&) {
  // The line is cut at the label's width: the whole of it shows as the tooltip.
  MemProcL.SetHint(MemProcL.Caption());
}

}  // namespace vm

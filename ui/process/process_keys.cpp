// The process manager with the keyboard alone: the tab order, Esc, and the priority menu on the
// Menu key.

#include "ui/process/process_form.h"

namespace vm {

void TProcF::WireAccess() {
  SetTabSequence({&Pic1, &Pic2, &ProcessListView});
  SetCloseOnEscape(true);
  ProcessListView.OnKeyDown = ui::Bind(this, &TProcF::ProcessListViewKeyDown);
}

void TProcF::ProcessListViewKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  if (!ui::IsContextMenuKey(key, shift)) return;
  key = 0;
  if (ProcessListView.ItemIndex() < 0) return;  // as the right button: only with a row chosen
  const ui::Point at = ProcessListView.ClientToScreen({0, 0});
  PriorMenu.Popup(at.x, at.y);
}

}  // namespace vm

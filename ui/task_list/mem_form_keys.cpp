// The task list with the keyboard alone and with a screen reader: the tab order, the keys of the
// table (Enter edits, Delete deletes, the Menu key opens the window's menu), the bar buttons by
// keyboard, and the names readers are told.

#include "ui/task_list/mem_form.h"

#include "app/main_form.h"

namespace vm {

namespace {

// The names of the action icons 0 to 8: the editor's check boxes of the same actions.
struct ActionName {
  const char* key;
  const char* text;
};
constexpr ActionName kActionNames[9] = {
    {"C2.2", "Show message"},      {"C2.9", "Speak message"},   {"C2.8", "Alarm sound"},
    {"C2.4", "Run program"},       {"C2.3", "Close program"},   {"C2.7", "Shutdown computer"},
    {"C2.6", "Reboot computer"},   {"C2.5", "Hibernate computer"}, {"C2.11", "Wake up computer"}};

// Names of the pictures without words of their own, and their English defaults.
struct NamedControl {
  const char* key;
  const char* text;
};
constexpr NamedControl kPg4Name{"L4.80", "Calendar view"};
constexpr NamedControl kInfoPName{"L4.81", "Side panel"};
constexpr NamedControl kPic1Name{"L4.82", "Previous month"};
constexpr NamedControl kPic2Name{"L4.83", "Next month"};
constexpr NamedControl kPanelGridName{"L4.84", "Tasks of the chosen day"};
constexpr NamedControl kBarB1Name{"L4.85", "Show or hide the details"};
constexpr NamedControl kBarB2Name{"L4.86", "Show or hide the start count"};

bool IsPressKey(ui::KeyCode key, ui::ShiftState shift) {
  return (key == ui::kKeyEnter || key == ui::kKeySpace) && !shift.ctrl && !shift.alt;
}

}  // namespace

void TMemForm::WireAccess() {
  // The tool bar, the side panel from the top, the calendar bar, the table.
  SetTabSequence({&Pg1, &Pg2, &Pg3, &Pg4, &PanelGrid, &BarB1, &Memo1, &BarB2, &InfoP,
                  &Pic1, &MonL, &CalCB, &YearL, &Pic2, &Grid});
  SetCloseOnEscape(true);
  OnKeyDown = ui::Bind(this, &TMemForm::FormKeyDown);
  for (ui::StringGrid* grid : {&Grid, &PanelGrid}) {
    grid->OnKeyDown = ui::Bind(this, &TMemForm::GridKeyDown);
    grid->AccessibleCellText = [this, grid](int col, int row) {
      // The icon column of a task row reads as the actions it shows.
      if (col != 0 || row < 1 || (grid == &Grid && calendarView_)) return std::string();
      return ActionNames(grid->Cell(0, row));
    };
  }
  for (ui::FocusProxy* bar : {&BarB1Focus, &BarB2Focus}) {
    bar->OnKeyDown = ui::Bind(this, &TMemForm::BarFocusKeyDown);
    bar->OnKeyUp = ui::Bind(this, &TMemForm::BarFocusKeyUp);
    bar->OnExit = [this](ui::Control&) { barKeyHeld_ = nullptr; };  // its release goes elsewhere
  }
  for (ui::Image* bar : {&BarB1, &BarB2}) bar->SetAccessibleRole(ui::AccessRole::PushButton);
  ApplyAccessNames();
}

void TMemForm::FollowViewInTabOrder() {
  // The day list covers the bar buttons in the calendar view.
  for (ui::FocusProxy* bar : {&BarB1Focus, &BarB2Focus}) bar->SetTabStop(!calendarView_);
}

void TMemForm::ApplyAccessNames() {
  const Language& language = owner_.GetLanguage();
  const std::pair<ui::Control*, NamedControl> named[] = {
      {&Pg4, kPg4Name},        {&InfoP, kInfoPName}, {&Pic1, kPic1Name},  {&Pic2, kPic2Name},
      {&PanelGrid, kPanelGridName}, {&BarB1, kBarB1Name}, {&BarB2, kBarB2Name}};
  for (const auto& [control, name] : named) control->SetAccessibleName(language.TextOr(name.key, name.text));
  Grid.SetAccessibleName(Caption());  // the window's caption (L4.1)
}

std::string TMemForm::ActionNames(const std::string& code) const {
  const Language& language = owner_.GetLanguage();
  std::string names;
  for (char digit : code) {
    const int icon = digit - '0';
    if (icon < 0 || icon >= 9) continue;
    const ActionName& action = kActionNames[icon];
    if (!names.empty()) names += ", ";
    names += ui::TrimmedText(language.TextOr(action.key, action.text));
  }
  return names;
}

void TMemForm::GridKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift) {
  // In the calendar view the table shows a month: its keys only move the selected day.
  if (&sender != &ListGrid()) return;
  if (ui::IsContextMenuKey(key, shift)) {
    key = 0;
    const ui::StringGrid& grid = ListGrid();
    const ui::Rect cell = grid.CellRect(grid.Col(), grid.Row());
    const ui::Point at = grid.ClientToScreen({cell.left, cell.IsEmpty() ? 0 : cell.bottom});
    PopupMenu1.SetPopupComponent(&sender);
    PopupMenu1.Popup(at.x, at.y);
    return;
  }
  if (shift.ctrl || shift.alt) return;
  if (key == ui::kKeyEnter) {
    key = 0;
    Edit1Click(Edit1);
  } else if (key == ui::kKeyDelete) {
    key = 0;
    DeletMClick(DeletM);
  }
}

void TMemForm::FormKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState) {
  // Esc closes an open month or year list before it closes the window.
  if (key == ui::kKeyEscape && CalCB.Visible()) {
    key = 0;
    HideCalendarDropDown();
  }
}

void TMemForm::BarFocusKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift) {
  if (!IsPressKey(key, shift)) return;
  key = 0;
  if (barKeyHeld_) return;  // the key repeats while held
  auto& proxy = static_cast<ui::FocusProxy&>(sender);
  if (!proxy.Target()) return;
  barKeyHeld_ = proxy.Target();
  BarB1MouseDown(*barKeyHeld_, ui::MouseButton::Left, {}, 0, 0);
}

void TMemForm::BarFocusKeyUp(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift) {
  if (!IsPressKey(key, shift)) return;
  key = 0;
  auto& proxy = static_cast<ui::FocusProxy&>(sender);
  if (!barKeyHeld_ || barKeyHeld_ != proxy.Target()) return;  // pressed elsewhere
  ui::Control& bar = *barKeyHeld_;
  barKeyHeld_ = nullptr;
  if (&bar == &BarB1) BarB1MouseUp(bar, ui::MouseButton::Left, {}, 0, 0);
  else BarB2MouseUp(bar, ui::MouseButton::Left, {}, 0, 0);
}

}  // namespace vm

// The alarm window's Snooze: the selected row's alarm, or with Shift every row's, rings again
// after the chosen length as a one-time task of its own (Scheduler::Snooze), and its row leaves
// the window. The length is remembered in the registry value SnoozeMinutes.

#include <algorithm>
#include <string>

#include "app/main_form.h"
#include "core/language.h"
#include "core/log.h"
#include "scheduler/snooze.h"
#include "theme/dgroup_buts.h"
#include "ui/alarm/alarm_form.h"

namespace vm {

namespace {

// The language keys L3.70 to L3.74 and their English defaults (SnoozeTexts).
constexpr int kFirstSnoozeKey = 70;
constexpr const char* kSnoozeDefaults[5] = {
    "&Snooze",
    "Ring again after the chosen minutes (Alt+S). Hold Shift to snooze every alarm in the list.",
    " (snoozed)",
    "min",
    "Minutes until the alarm rings again",
};
enum SnoozeText { kCaptionText, kHintText, kMarkerText, kUnitText, kLengthHintText };

}  // namespace

void TAlForm::DescribeSnooze() {
  for (std::size_t i = 0; i < SnoozeTexts.size(); ++i) SnoozeTexts[i] = kSnoozeDefaults[i];
  // The largest target of the window, right of the message number, with its length beside it.
  ui::Font large;
  large.height = -16;
  large.bold = true;
  SnoozeB.SetBounds(300, 296, 93, 44);
  SnoozeB.SetFont(large);
  SnoozeB.SetCaption(SnoozeTexts[kCaptionText]);
  SnoozeB.OnClick = ui::Bind(this, &TAlForm::SnoozeBClick);
  SnoozeLength.SetStyle(ui::ComboStyle::DropDownList);
  SnoozeLength.SetBounds(180, 319, 105, 21);
  SnoozeLength.SetDropDownCount(static_cast<int>(kSnoozeChoices.size()) + 1);
  SnoozeLength.OnChange = ui::Bind(this, &TAlForm::SnoozeLengthChange);
  // Alt+S wherever the focus is.
  SetKeyPreview(true);
  OnKeyDown = ui::Bind(this, &TAlForm::FormKeyDown);
}

void TAlForm::FillSnoozeChoices() {
  const int stored = owner_.settings.SnoozeMinutes;
  const int current = IsSnoozeLength(stored) ? stored : kDefaultSnoozeMinutes;
  SnoozeChoiceMinutes.assign(kSnoozeChoices.begin(), kSnoozeChoices.end());
  // A length from the registry that the list does not offer is what Snooze uses: it is shown.
  auto at = std::lower_bound(SnoozeChoiceMinutes.begin(), SnoozeChoiceMinutes.end(), current);
  if (at == SnoozeChoiceMinutes.end() || *at != current) at = SnoozeChoiceMinutes.insert(at, current);
  const int index = static_cast<int>(at - SnoozeChoiceMinutes.begin());
  std::vector<std::string> items;
  for (int minutes : SnoozeChoiceMinutes) items.push_back(std::to_string(minutes) + " " + SnoozeTexts[kUnitText]);
  SnoozeLength.SetItems(std::move(items));
  SnoozeLength.SetItemIndex(index);
}

void TAlForm::ShowSnooze() {
  const Language& language = owner_.GetLanguage();
  for (std::size_t i = 0; i < SnoozeTexts.size(); ++i)
    if (auto text = language.LookUpText("L3." + std::to_string(kFirstSnoozeKey + i))) SnoozeTexts[i] = *text;
  SnoozeB.SetCaption(SnoozeTexts[kCaptionText]);
  SnoozeB.SetHint(SnoozeTexts[kHintText]);
  SnoozeLength.SetHint(SnoozeTexts[kLengthHintText]);
  FillSnoozeChoices();

  RowTasks.resize(static_cast<std::size_t>(std::max(CurrentRow, 1)));
  RowTasks[CurrentRow - 1] = AlarmTask;
  // The newest row is the one ringing: Snooze means it unless the user picks another.
  AlGrid.SetSelected(AlGrid.Col(), CurrentRow);
  // A snoozed shutdown makes no sense: its countdown has Cancel.
  if (AlarmTask.State & kStateShutdown) {
    SnoozeB.Hide();
    SnoozeLength.Hide();
  }
}

bool TAlForm::SnoozeOffered() const { return SnoozeB.Visible() && CurrentRow >= 1 && !RowTasks.empty(); }

bool TAlForm::SnoozeRows(bool everyRow) {
  if (!SnoozeOffered()) return false;
  WriteLog("  %s %d", "TAlForm::SnoozeRows", __LINE__);
  const int filled = std::min(CurrentRow, static_cast<int>(RowTasks.size()));
  const int first = everyRow ? 1 : std::clamp(AlGrid.Row(), 1, filled);
  const int last = everyRow ? filled : first;
  for (int row = first; row <= last; ++row) owner_.SnoozeTask(RowTasks[row - 1], SnoozeTexts[kMarkerText]);
  for (int row = last; row >= first; --row) RemoveRow(row);

  // As after Stop and close: the window goes with its last row.
  if (CurrentRow < 1) {
    Close();
    return true;
  }
  // The sound playing is the newest row's; snoozed, it stops for good.
  if (last == filled) {
    CloseSong();
    SignalTimer.SetEnabled(false);
    Resume.SetTag(0);
    ReleaseButton(kPlayButton);
    ReleaseButton(kPauseButton);
  }
  const int newest = CurrentRow;
  ShutDL.SetCaption(AlarmTexts[0] + "\n\r" + AlGrid.Cell(kDateColumn, newest));
  MessL.SetCaption(AlGrid.Cell(kMessageColumn, 0) + " \u2116 " + std::to_string(newest));
  AlGrid.SetSelected(AlGrid.Col(), std::min(first, newest));
  if (AlGrid.Tag() != 0) {
    bool canSelect = true;
    AlGridSelectCell(AlGrid, AlGrid.Col(), AlGrid.Row(), canSelect);
  }
  return true;
}

void TAlForm::RemoveRow(int row) {
  for (int r = row; r < CurrentRow; ++r)
    for (int col = 0; col < AlGrid.ColCount(); ++col) AlGrid.SetCell(col, r, AlGrid.Cell(col, r + 1));
  for (int col = 0; col < AlGrid.ColCount(); ++col) AlGrid.SetCell(col, CurrentRow, "");
  if (row >= 1 && row <= static_cast<int>(RowTasks.size())) RowTasks.erase(RowTasks.begin() + (row - 1));
  --CurrentRow;
  AlGrid.SetRowCount(std::max(CurrentRow, 1) + 1);
}

void TAlForm::SnoozeBClick(ui::Control&) { SnoozeRows(App().GetScreen().ModifierKeys().shift); }

void TAlForm::SnoozeLengthChange(ui::Control&) {
  const int index = SnoozeLength.ItemIndex();
  if (index < 0 || index >= static_cast<int>(SnoozeChoiceMinutes.size())) return;
  owner_.settings.SnoozeMinutes = SnoozeChoiceMinutes[index];
  owner_.SetRegistryInfo(kDataTypeSnoozeMinutes);
}

void TAlForm::FormKeyDown(ui::Control&, ui::KeyCode& key, ui::ShiftState shift) {
  if (key == ui::KeyOf('S') && shift.alt && !shift.ctrl) {
    SnoozeRows(shift.shift);
    key = 0;
  } else if (key == ui::kKeyEscape && !shift.alt && !shift.ctrl && !SnoozeLength.DroppedDown() &&
             SnoozeOffered()) {
    // Esc closes like the close box; not the shutdown warning, where a close lets the shutdown
    // go ahead, the opposite of what Esc means.
    Close();
    key = 0;
  }
}

}  // namespace vm

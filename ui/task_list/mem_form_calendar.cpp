// The task list's calendar view: the month in Grid, its navigation, and the marks of the days
// that have timed tasks.

#include <string>

#include "app/main_form.h"
#include "ui/task_list/mem_form.h"

namespace vm {

namespace {

constexpr ui::Color kCaptionBack = 12632256;  // silver
constexpr ui::Color kDayBack = 14482140;      // red 220, green 250, blue 220
constexpr ui::Color kTodayBack = 16445640;    // red 200, green 240, blue 250
constexpr ui::Color kDayText = 32768;         // green
constexpr ui::Color kWeekendText = 255;       // red
constexpr int kTaskMarkIcon = 0;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;

std::string MonthKey(int month) { return "C." + std::to_string(21 + month); }

}  // namespace

void TMemForm::ShowMonth() {
  owner_.ShowCalendar(calendarCursor_, Grid, calendar_);
  MonL.SetCaption(owner_.GetLanguage().Msg(MonthKey(calendar_.ShownMonth)));
  YearL.SetCaption(std::to_string(calendar_.ShownYear));
  // The day list follows the calendar's selection, also in a month that lacks the day chosen
  // before (the calendar then selects the month's last day).
  const std::string& selected = Grid.Cell(Grid.Col(), Grid.Row());
  if (!selected.empty()) calendar_.SelectedDay = std::stoi(selected);
  RefreshList();
}

void TMemForm::CountDayTasks() {
  dayTaskCounts_.fill(0);
  for (const TTask& task : owner_.scheduler.TaskList) {
    if (task.AlarmTime == 0.0) continue;  // event tasks have no day
    const auto parts = SplitDateTime(task.AlarmTime);
    if (!parts || parts->date.year != calendar_.ShownYear || parts->date.month != calendar_.ShownMonth) continue;
    ++dayTaskCounts_[static_cast<std::size_t>(parts->date.day)];
  }
}

void TMemForm::Pic2Click(ui::Control&) {
  // The cursor stands in the month after the shown one: its first day shows that month.
  const auto at = SplitDateTime(calendarCursor_);
  if (at) {
    if (const auto first = EncodeDate(at->date.year, at->date.month, 1)) calendarCursor_ = *first;
  }
  ShowMonth();
}

void TMemForm::Pic1Click(ui::Control&) {
  const auto at = SplitDateTime(calendarCursor_);
  if (at) {
    // Two months back from the cursor is the month before the shown one.
    const int index = at->date.year * 12 + (at->date.month - 1) - 2;
    if (const auto first = EncodeDate(index / 12, index % 12 + 1, 1)) calendarCursor_ = *first;
  }
  ShowMonth();
}

void TMemForm::MonLClick(ui::Control& sender) {
  CalCB.SetLeft(sender.Left());
  yearMode_ = false;
  std::vector<std::string> months;
  for (int m = 1; m <= 12; ++m) months.push_back(owner_.GetLanguage().Msg(MonthKey(m)));
  CalCB.SetItems(std::move(months));
  CalCB.SetItemIndex(calendar_.ShownMonth - 1);
  // Shown first: only a visible list can drop down.
  CalCB.SetVisible(true);
  CalCB.SetDroppedDown(true);
}

void TMemForm::YearLClick(ui::Control& sender) {
  std::vector<std::string> years;
  for (int y = kFirstYear; y <= kLastYear; ++y) years.push_back(std::to_string(y));
  CalCB.SetItems(std::move(years));
  CalCB.SetItemIndex(calendar_.ShownYear - kFirstYear);
  CalCB.SetLeft(sender.Left());
  yearMode_ = true;
  CalCB.SetVisible(true);
  CalCB.SetDroppedDown(true);
}

void TMemForm::CalCBChange(ui::Control&) {
  if (yearMode_) {
    const int year = std::atoi(CalCB.Text().c_str());
    if (year >= kFirstYear && year <= kLastYear) calendar_.ShownYear = year;
    if (const auto first = EncodeDate(calendar_.ShownYear, calendar_.ShownMonth, 1)) calendarCursor_ = *first;
  } else if (CalCB.ItemIndex() >= 0 && CalCB.ItemIndex() < 12) {
    if (const auto first = EncodeDate(calendar_.ShownYear, CalCB.ItemIndex() + 1, 1)) calendarCursor_ = *first;
  }
  CalCB.SetDroppedDown(false);
  CalCB.SetVisible(false);
  ShowMonth();
}

void TMemForm::DrawCalendarCell(ui::Canvas& canvas, int col, int row, const ui::Rect& rect) {
  const std::string text = row == 0 ? owner_.GetLanguage().Msg("C." + std::to_string(15 + col)) : Grid.Cell(col, row);
  ui::Color back = row == 0 ? kCaptionBack : kDayBack;
  ui::Color fore = kDayText;
  if (col == 5 || col == 6) fore = kWeekendText;
  if (text.empty()) back = ui::clWhite;
  if (row > 0 && calendar_.TodayShown == 1 && text == std::to_string(calendar_.TodayDay)) back = kTodayBack;
  canvas.FillRect(rect, back);
  canvas.SetFont(Grid.GetFont());
  canvas.SetTextColor(fore);
  canvas.SetTransparentText(true);
  if (!text.empty()) canvas.TextOut({rect.left + 2, rect.top + 2}, text);
  if (row > 0 && col == Grid.Col() && row == Grid.Row()) canvas.FrameRect(rect, ui::clBlack);
  if (row < 1 || row > 6 || text.empty()) return;
  const int day = std::atoi(text.c_str());
  if (day < 1 || day > 31) return;
  const int count = dayTaskCounts_[static_cast<std::size_t>(day)];
  for (int k = 0; k < count; ++k) {
    const int x = rect.left + 2 + 8 * k;
    if (x >= rect.right) break;  // the rest would not be seen
    canvas.DrawImage({x, rect.top + 22}, owner_.StatusIcons, kTaskMarkIcon);
  }
}

}  // namespace vm

// Filling a 7 x 7 string grid with one month, Monday first.

#include <string>

#include "app/calendar_state.h"
#include "app/main_form.h"
#include "app/task_editor_window.h"
#include "core/log.h"

namespace vm {

namespace {

const char* const kWeekdayKeys[7] = {"C.15", "C.16", "C.17", "C.18", "C.19", "C.20", "C.21"};
const char* const kMonthKeys[12] = {"C.22", "C.23", "C.24", "C.25", "C.26", "C.27",
                                    "C.28", "C.29", "C.30", "C.31", "C.32", "C.33"};

}  // namespace

void TForm1::ShowCalendar(DateTime& cursor, ui::StringGrid& grid, CalendarState& state) {
  WriteLog(" %s:%d", "TForm1::ShowCalendar", 3027);
  state.TodayShown = 0;
  for (int row = 1; row <= 6; ++row)
    for (int col = 0; col < 7; ++col) grid.SetCell(col, row, "");
  for (int col = 0; col < 7; ++col) grid.SetCell(col, 0, language_.Msg(kWeekdayKeys[col]));

  // A cursor that is no date at all (a damaged task's time) shows today's month.
  std::optional<DateTimeParts> at = SplitDateTime(cursor);
  if (!at) at = SplitDateTime(services_.clock.Now());
  if (!at) at = DateTimeParts{{2006, 1, 1}, {}};
  const int year = at->date.year;
  const int month = at->date.month;
  state.ShownMonth = month;
  state.ShownYear = year;

  if (std::optional<DateTimeParts> today = SplitDateTime(services_.clock.Now());
      today && today->date.month == month && today->date.year == year) {
    state.TodayShown = 1;
    state.TodayDay = static_cast<std::uint32_t>(today->date.day);
  }

  // The grid and the saved due date need a day that the month has: a day beyond its end (31
  // after moving to a 30-day month) becomes its last day, a day below 1 the first.
  const int days = DaysInMonth(year, month);
  if (state.SelectedDay > days) state.SelectedDay = days;
  if (state.SelectedDay < 1) state.SelectedDay = 1;

  // The month always starts in row 1 under its weekday; every later row starts on a Monday.
  const DateTime first = *EncodeDate(year, month, 1);
  int weekday = IsoWeekday(first);  // 1 Monday .. 7 Sunday
  int row = 1;
  int selectCol = 0, selectRow = 1;
  for (int day = 1; day <= days && row <= 6; ++day) {
    if (day == state.SelectedDay) {
      selectCol = weekday - 1;
      selectRow = row;
    }
    grid.SetCell(weekday - 1, row, std::to_string(day));
    if (weekday == 7) {
      weekday = 1;
      ++row;
    } else {
      ++weekday;
    }
  }
  grid.SetSelected(selectCol, selectRow);

  if (TaskEditorWindow* editor = TaskEditor())
    editor->ShowCalendarCaption(language_.Msg(kMonthKeys[month - 1]), std::to_string(year));

  // The navigation relies on the cursor standing on the first day of the following month.
  const int nextMonth = month == 12 ? 1 : month + 1;
  const int nextYear = month == 12 ? year + 1 : year;
  if (std::optional<DateTime> next = EncodeDate(nextYear, nextMonth, 1)) cursor = *next;
  else cursor = first;
}

}  // namespace vm

#pragma once
// The state of one month calendar (the task editor has one, the task list another), filled by
// TForm1::ShowCalendar.

#include <cstdint>

namespace vm {

struct CalendarState {
  std::uint32_t TodayDay = 0;  // day of the month of today; valid when TodayShown is 1
  std::int32_t TodayShown = 0;  // 1 while the shown month is the current month of the current year
  std::int32_t SelectedDay = 1;  // the day that is (or is to be) selected
  std::int32_t ShownMonth = 1;   // 1..12
  std::int32_t ShownYear = 2006;
};

}  // namespace vm

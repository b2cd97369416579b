#pragma once
// What the task table shows of a task: the texts of its ten columns, the action-icon code of
// column 0, and the order of the rows by a sort column.

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <string_view>

#include "scheduler/task.h"

namespace vm {

class Language;
class Locale;
class Scheduler;
class TextCodec;

inline constexpr int kTaskColumns = 10;
using TaskRowTexts = std::array<std::string, kTaskColumns>;

// The digits of the action icons of a task, in the order message, speech, sound, run program,
// close program, shut down, reboot, hibernate (only without shut down and close program), wake.
std::string ActionIconCode(const TTask& task);

// Width column 0 needs for an icon code of this many digits.
inline int IconColumnWidth(std::size_t digits) { return 19 * static_cast<int>(digits) + 21; }

// The short weekday names (C.15 .. C.21) of the days set in `weekDays`, Monday first, joined
// by ",".
std::string WeekDayList(std::uint16_t weekDays, const Language& language);

// "stop/ " or "start/ " and the program (starting wins), or nothing.
std::string ProgramColumnText(const TTask& task);

// The row of one task: column 0 the icon code, columns 1 to 9 as the table shows them.
// `formatDate` is the clock's FormatTaskDate with time.
struct TaskTextSources {
  const Language& language;
  Locale& locale;
  std::function<std::string(DateTime)> formatDate;
  std::function<std::string(std::uint32_t period, std::uint32_t count)> periodText;
  std::function<std::string(std::uint32_t mask)> eventText;
  // WeekDayList, when a caller keeps the answers (the default asks the language each time).
  std::function<std::string(std::uint16_t weekDays)> weekDayList = {};
};
TaskRowTexts TaskRow(const TTask& task, const TaskTextSources& sources);

// Texts compared byte by byte as signed 8-bit codes, the end of a text counting as 0: the
// first difference decides. Negative, zero or positive like strcmp.
int CompareSignedText(std::string_view a, std::string_view b);

// Refills `display` with a copy of `tasks` in list order, sorted stably by `sortColumn`
// (0 State, 1 and any other value AlarmTime, 2 Message, 3 Period, 4 Program, 5 SoundFile,
// 6 LastAlarm, 7 AlarmCnt, 8 Active, 9 TaskId). Texts are compared in the system's 8-bit code.
void FillDisplayList(std::list<TTask>& display, const std::list<TTask>& tasks, int sortColumn,
                     TextCodec& codec);

}  // namespace vm

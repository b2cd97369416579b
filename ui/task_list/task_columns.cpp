#include "ui/task_list/task_columns.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "core/date_text.h"
#include "core/language.h"
#include "platform/services.h"
#include "scheduler/scheduler.h"

namespace vm {

std::string ActionIconCode(const TTask& task) {
  const std::uint32_t s = task.State;
  std::string code;
  if (s & kStateMessage) code += '0';
  if (task.SpeakOn) code += '1';
  if (s & kStateAlarmSound) code += '2';
  if (s & kStateRunProgram) code += '3';
  if (s & kStateCloseProgram) code += '4';
  if (s & kStateShutdown) code += '5';
  if (s & kStateReboot) code += '6';
  if ((s & kStateHibernate) && !(s & (kStateShutdown | kStateCloseProgram))) code += '7';
  if (s & kStateWakeUp) code += '8';
  return code;
}

std::string WeekDayList(std::uint16_t weekDays, const Language& language) {
  std::string out;
  for (int day = 0; day < 7; ++day) {
    if (!(weekDays & (1u << day))) continue;
    if (!out.empty()) out += ',';
    out += language.Msg("C." + std::to_string(15 + day));
  }
  return out;
}

std::string ProgramColumnText(const TTask& task) {
  if (task.State & kStateRunProgram) return "start/ " + task.Program;
  if (task.State & kStateCloseProgram) return "stop/ " + task.Program;
  return {};
}

TaskRowTexts TaskRow(const TTask& task, const TaskTextSources& sources) {
  TaskRowTexts row;
  row[0] = ActionIconCode(task);
  row[1] = task.Event != 0 ? sources.eventText(task.Event) : sources.formatDate(task.AlarmTime);
  row[2] = task.Message;
  row[3] = sources.periodText(task.Period, task.Cnt) + " " +
           (sources.weekDayList ? sources.weekDayList(task.WeekDays) : WeekDayList(task.WeekDays, sources.language));
  row[4] = ProgramColumnText(task);
  row[5] = task.SoundFile;
  if (task.LastAlarm != 0.0) row[6] = DateTimeText(sources.locale, task.LastAlarm);
  row[7] = std::to_string(task.AlarmCnt);
  row[8] = std::to_string(task.Active);
  row[9] = std::to_string(task.TaskId);
  return row;
}

int CompareSignedText(std::string_view a, std::string_view b) {
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = i < a.size() ? static_cast<signed char>(a[i]) : 0;
    const int cb = i < b.size() ? static_cast<signed char>(b[i]) : 0;
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;  // both ended (or a NUL in both): the rest is not compared
  }
  return 0;
}

namespace {

// Dates compared as numbers; values that are not numbers (a damaged record) sort last and
// equal to each other, so the order stays a strict weak order.
bool DateLess(double a, double b) {
  const bool na = a != a, nb = b != b;
  if (na || nb) return !na && nb;
  return a < b;
}

}  // namespace

void FillDisplayList(std::list<TTask>& display, const std::list<TTask>& tasks, int sortColumn,
                     TextCodec& codec) {
  display.clear();
  std::vector<const TTask*> items;
  items.reserve(tasks.size());
  for (const TTask& t : tasks) items.push_back(&t);

  const bool textColumn = sortColumn == 2 || sortColumn == 4 || sortColumn == 5;
  std::vector<std::string> keys;
  if (textColumn) {
    keys.reserve(items.size());
    for (const TTask* t : items) {
      const std::string& text = sortColumn == 2 ? t->Message : sortColumn == 4 ? t->Program : t->SoundFile;
      keys.push_back(codec.Utf8ToAnsi(text));
    }
  }
  std::vector<std::size_t> order(items.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto less = [&](std::size_t i, std::size_t j) {
    const TTask& a = *items[i];
    const TTask& b = *items[j];
    switch (sortColumn) {
      case 0: return a.State < b.State;
      case 2: case 4: case 5: return CompareSignedText(keys[i], keys[j]) < 0;
      case 3: return a.Period < b.Period;
      case 6: return DateLess(a.LastAlarm, b.LastAlarm);
      case 7: return a.AlarmCnt < b.AlarmCnt;
      case 8: return a.Active < b.Active;
      case 9: return a.TaskId < b.TaskId;
      default: return DateLess(a.AlarmTime, b.AlarmTime);
    }
  };
  std::stable_sort(order.begin(), order.end(), less);
  for (std::size_t i : order) display.push_back(*items[i]);
}

}  // namespace vm

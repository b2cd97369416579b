#include "scheduler/task_list.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace vm {

bool DueBefore(const TTask& a, const TTask& b) {
  const bool aFinite = std::isfinite(a.AlarmTime);
  const bool bFinite = std::isfinite(b.AlarmTime);
  if (aFinite && bFinite) return a.AlarmTime < b.AlarmTime;
  return aFinite && !bFinite;
}

void SortByAlarmTime(std::list<TTask>& tasks) {
  if (std::is_sorted(tasks.begin(), tasks.end(), DueBefore)) return;  // the usual case
  // Sorting the times in an array and relinking the nodes once is far kinder to the cache than
  // merging list nodes; std::stable_sort keeps equal times in their order, and splicing moves
  // nodes without copying them, so every iterator stays valid (as with std::list::sort).
  // Non-finite times all get the key +infinity: later than every finite time, equal among
  // themselves.
  using Entry = std::pair<double, std::list<TTask>::iterator>;
  std::vector<Entry> order;
  order.reserve(tasks.size());
  for (auto it = tasks.begin(); it != tasks.end(); ++it)
    order.emplace_back(std::isfinite(it->AlarmTime) ? it->AlarmTime
                                                    : std::numeric_limits<double>::infinity(),
                       it);
  std::stable_sort(order.begin(), order.end(),
                   [](const Entry& a, const Entry& b) { return a.first < b.first; });
  for (const Entry& entry : order) tasks.splice(tasks.end(), tasks, entry.second);
}

std::uint32_t NextTaskId(const std::list<TTask>& tasks) {
  std::uint32_t largest = 0;
  for (const TTask& task : tasks) largest = std::max(largest, task.TaskId);
  if (largest != std::numeric_limits<std::uint32_t>::max()) return largest + 1;
  // Only a list that was given such an id gets here; search the gaps instead of wrapping to 0.
  std::vector<std::uint32_t> ids;
  ids.reserve(tasks.size());
  for (const TTask& task : tasks) ids.push_back(task.TaskId);
  std::sort(ids.begin(), ids.end());
  std::uint32_t candidate = 1;  // 0 is what a loaded or default task carries; prefer 1 and up
  for (std::uint32_t id : ids) {
    if (id < candidate) continue;
    if (id > candidate) break;
    ++candidate;
  }
  return candidate;
}

}  // namespace vm

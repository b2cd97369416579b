#pragma once
// Operations on a list of tasks that do not need the rest of the scheduler.

#include <cstdint>
#include <list>

#include "scheduler/task.h"

namespace vm {

// True when `a` is due strictly before `b`. A NaN or infinite time counts as later than every
// finite time and as equal to any other non-finite time, so the ordering stays a strict weak
// ordering whatever a file holds.
bool DueBefore(const TTask& a, const TTask& b);

// Sorts by AlarmTime ascending, stably: an entry moves in front of another only when it is due
// strictly earlier, so equal times keep their order (tasks waiting for an event, time 0.0, come
// first). Iterators into the list stay valid.
void SortByAlarmTime(std::list<TTask>& tasks);

// The largest TaskId plus 1 (1 for an empty list). Should the largest id be 0xFFFFFFFF, the
// smallest unused id instead, so a new id never repeats one in the list.
std::uint32_t NextTaskId(const std::list<TTask>& tasks);

}  // namespace vm

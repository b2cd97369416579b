#pragma once
// Snoozing: the alarm of a task that fired rings again a few minutes later. The later ring is a
// one-time task of its own, an ordinary record of the task file: the task list shows it, the
// clock names it as the next task, it survives a restart, and deleting it cancels it.

#include <array>
#include <cstdint>

#include "core/date_time.h"

namespace vm {

class Clock;

// The lengths the alarm window offers, in minutes, and the one it starts with.
inline constexpr std::array<int, 5> kSnoozeChoices = {5, 10, 15, 30, 60};
inline constexpr int kDefaultSnoozeMinutes = 5;
// The lengths a stored setting may hold (a day at most).
inline constexpr int kShortestSnoozeMinutes = 1;
inline constexpr int kLongestSnoozeMinutes = 24 * 60;

constexpr bool IsSnoozeLength(std::int64_t minutes) {
  return minutes >= kShortestSnoozeMinutes && minutes <= kLongestSnoozeMinutes;
}

// The local time `minutes` of real time from now: across a daylight-saving change the snooze
// still waits that long. In the hour repeated in autumn the local time a real interval ends at
// can lie before the local time now, and a task due then would count as missed at once; there
// (and when the clock knows no time-zone rules) the local time now plus `minutes` is taken.
DateTime SnoozeDueTime(Clock& clock, int minutes);

}  // namespace vm

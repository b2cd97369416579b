#pragma once
// How big the calendar's cells are: the seven day columns share the width the grid has, and the
// header and six week rows its height, so the whole month shows without scrolling.

#include <array>

namespace vm {

inline constexpr int kCalendarDesignColWidth = 64;
inline constexpr int kCalendarDesignRowHeight = 50;
// The day number and the task marks below it (22 pixels down, 16 high) stay whole.
inline constexpr int kCalendarMinRowHeight = 38;
// The number "31" and the first two task marks.
inline constexpr int kCalendarMinColWidth = 26;

struct CalendarCells {
  std::array<int, 7> colWidths{};
  int rowHeight = kCalendarDesignRowHeight;
};

// Cells for a grid of the given size; `scrollBarSize` is what a vertical scroll bar takes when
// even the smallest rows do not fit. Rows are never taller than the design height; the columns
// fill the width (the last one takes the remainder), and only a grid narrower than seven of the
// narrowest columns leaves some to scroll to.
CalendarCells FitCalendarCells(int gridWidth, int gridHeight, int scrollBarSize);

}  // namespace vm

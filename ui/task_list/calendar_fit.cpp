#include "ui/task_list/calendar_fit.h"

#include <algorithm>

namespace vm {

CalendarCells FitCalendarCells(int gridWidth, int gridHeight, int scrollBarSize) {
  constexpr int kRows = 7, kCols = 7;
  CalendarCells cells;
  cells.rowHeight = std::clamp(gridHeight / kRows, kCalendarMinRowHeight, kCalendarDesignRowHeight);
  const bool rowsOverflow = kRows * cells.rowHeight > gridHeight;
  const int width = std::max(gridWidth - (rowsOverflow ? scrollBarSize : 0), 0);
  const int each = std::max(width / kCols, kCalendarMinColWidth);
  cells.colWidths.fill(each);
  if (each * kCols <= width) cells.colWidths.back() = width - each * (kCols - 1);
  return cells;
}

}  // namespace vm

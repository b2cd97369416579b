// The calendar's cell sizes for the room its grid has.

#include "ui/task_list/calendar_fit.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vm {
namespace {

int Sum(const CalendarCells& cells) { return std::accumulate(cells.colWidths.begin(), cells.colWidths.end(), 0); }

TEST(CalendarFit, TheSevenColumnsFillTheWidthExactlyTheLastTakingTheRemainder) {
  // The default window: 535 - 177 - 4 leaves 354 pixels; 278 high below the calendar bar.
  const CalendarCells cells = FitCalendarCells(354, 278, 17);
  EXPECT_EQ(Sum(cells), 354);
  EXPECT_EQ(cells.colWidths[0], 50);
  EXPECT_EQ(cells.colWidths[6], 354 - 6 * 50);
  EXPECT_EQ(cells.rowHeight, 39);  // 7 rows of 39 fit in 278
  // A width that is a multiple of seven: all equal.
  const CalendarCells even = FitCalendarCells(448, 350, 17);
  for (int w : even.colWidths) EXPECT_EQ(w, 64);
  EXPECT_EQ(even.rowHeight, 50);
}

TEST(CalendarFit, RowsStayBetweenTheMarksHeightAndTheDesignHeight) {
  EXPECT_EQ(FitCalendarCells(448, 1000, 17).rowHeight, kCalendarDesignRowHeight);
  // Too low for seven whole rows: the smallest rows, and a vertical bar takes its width.
  const CalendarCells low = FitCalendarCells(448, 100, 17);
  EXPECT_EQ(low.rowHeight, kCalendarMinRowHeight);
  EXPECT_EQ(Sum(low), 448 - 17);
  // Just high enough: no bar.
  EXPECT_EQ(Sum(FitCalendarCells(448, 7 * kCalendarMinRowHeight, 17)), 448);
  EXPECT_EQ(Sum(FitCalendarCells(448, 7 * kCalendarMinRowHeight - 1, 17)), 448 - 17);
}

TEST(CalendarFit, ANarrowOrEmptyGridGetsTheNarrowestColumnsAndNeverNegativeOnes) {
  for (int width : {0, -5, 50, 7 * kCalendarMinColWidth - 1}) {
    const CalendarCells cells = FitCalendarCells(width, 300, 17);
    for (int w : cells.colWidths) EXPECT_EQ(w, kCalendarMinColWidth) << width;
  }
  const CalendarCells exact = FitCalendarCells(7 * kCalendarMinColWidth, 300, 17);
  EXPECT_EQ(Sum(exact), 7 * kCalendarMinColWidth);
}

}  // namespace
}  // namespace vm

#include "app/placement.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

const WindowBox kClock{300, 400, 262, 54};

TEST(PlaceNearClock, AboveTheClockWhenThereIsRoom) {
  auto w = PlaceNearClock({0, 0, 405, 300}, kClock, 1024, 768);
  EXPECT_EQ(w.top, 100);
  EXPECT_EQ(w.left, 300);
}

TEST(PlaceNearClock, BelowTheClockWhenAboveIsTooSmall) {
  auto w = PlaceNearClock({0, 0, 405, 400}, kClock, 1024, 1080);  // 400 is not < 400
  EXPECT_EQ(w.top, 454);
}

TEST(PlaceNearClock, StaysWhenItFitsNeitherAboveNorBelow) {
  auto w = PlaceNearClock({10, 20, 405, 500}, kClock, 1024, 768);
  EXPECT_EQ(w.top, 20);
}

TEST(PlaceNearClock, FlushWithTheRightScreenEdge) {
  WindowBox clock{900, 400, 262, 54};
  auto w = PlaceNearClock({0, 0, 405, 300}, clock, 1024, 768);
  EXPECT_EQ(w.left, 1024 - 405);
  // Exactly touching the edge is still left-aligned with the clock.
  clock.left = 1024 - 405;
  EXPECT_EQ(PlaceNearClock({0, 0, 405, 300}, clock, 1024, 768).left, 619);
}

TEST(SlidePanelTop, HidesAndShowsOnlyInPanelMode) {
  EXPECT_EQ(SlidePanelTop(100, 54, false, false, true), 5 - 54);
  EXPECT_EQ(SlidePanelTop(-49, 54, true, false, true), 5);
  EXPECT_EQ(SlidePanelTop(100, 54, true, false, true), 100);   // already shown
  EXPECT_EQ(SlidePanelTop(-49, 54, false, false, true), -49);  // already hidden
  EXPECT_EQ(SlidePanelTop(0, 54, false, false, true), 0);      // top 0 is neither above nor below
  EXPECT_EQ(SlidePanelTop(100, 54, false, true, true), 100);   // top-most wins over panel mode
  EXPECT_EQ(SlidePanelTop(100, 54, false, false, false), 100);
}

}  // namespace
}  // namespace vm

// The grid's scrolling (bars, wheel, the selection kept in view), double clicks on drawn
// windows, and graphic controls inside a panel: enter, leave, hint and cursor.

#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class ScrollForm : public Form {
 public:
  explicit ScrollForm(Application& app) : Form(app, "ScrollForm") {
    SetClientSize(400, 300);
    // 6 columns of 60 in 200 pixels; 20 rows of 20 in 100 pixels (one fixed).
    Grid.SetBounds(0, 0, 200, 100);
    Grid.SetColCount(6);
    Grid.SetRowCount(20);
    Grid.SetFixedCols(1);
    Grid.SetDefaultColWidth(60);
    Grid.SetDefaultRowHeight(20);
    for (int r = 0; r < 20; ++r)
      for (int c = 0; c < 6; ++c) Grid.SetCell(c, r, std::to_string(c) + "," + std::to_string(r));
    Box.SetBounds(210, 0, 180, 120);
    Tip.SetBounds(10, 10, 50, 20);
    Tip.SetHint("a tip");
    Tip.SetShowHint(true);
    Tip.SetCursor(Cursor::Hand);
    Plain.SetBounds(10, 50, 50, 20);
  }
  StringGrid Grid{*this, "Grid"};
  Panel Box{*this, "Box"};
  Label Tip{Box, "Tip"};
  Label Plain{Box, "Plain"};
};

class GridScrollHoverTest : public ToolkitTest {
 protected:
  GridScrollHoverTest() { form.Show(); }
  ScrollForm form{app};
  StringGrid& grid = form.Grid;
};

TEST_F(GridScrollHoverTest, ColumnsBeyondTheWidthScrollAndTheFixedColumnStays) {
  // The rows overflow too, so a vertical bar takes 17 pixels: 60 + 2 x 60 fit in 183.
  EXPECT_TRUE(grid.ColumnsOverflow());
  EXPECT_TRUE(grid.RowsOverflow());
  EXPECT_EQ(grid.VisibleColCount(), 2);
  ScrollRange h;
  ASSERT_TRUE(grid.ScrollBarRange(false, h));
  EXPECT_EQ(h, (ScrollRange{0, 4, 2, 0}));
  grid.PeerScroll(false, ScrollCommand::LineForward, 0);
  EXPECT_EQ(grid.LeftCol(), 2);
  EXPECT_EQ(grid.CellRect(0, 1).left, 0);           // fixed column in place
  EXPECT_TRUE(grid.CellRect(1, 1).IsEmpty());       // scrolled out
  EXPECT_EQ(grid.CellRect(2, 1).left, 60);
  int col = -1, row = -1;
  ASSERT_TRUE(grid.CellAt({70, 30}, col, row));
  EXPECT_EQ(col, 2);
  // The end: the last columns fill the view, the thumb cannot run past them.
  grid.PeerScroll(false, ScrollCommand::Last, 0);
  EXPECT_EQ(grid.LeftCol(), 4);
  grid.PeerScroll(false, ScrollCommand::PageForward, 0);
  EXPECT_EQ(grid.LeftCol(), 4);
  grid.PeerScroll(false, ScrollCommand::First, 0);
  EXPECT_EQ(grid.LeftCol(), 1);
  // Painting skips the columns out of view.
  RecordingCanvas& canvas = backend.PaintControl(grid);
  EXPECT_NE(canvas.FindText("2,1"), nullptr);
  EXPECT_EQ(canvas.FindText("5,1"), nullptr);
}

TEST_F(GridScrollHoverTest, TheSelectedCellIsKeptInViewBothWays) {
  grid.SetSelected(5, 19);
  EXPECT_GE(5, grid.LeftCol());
  EXPECT_LT(5, grid.LeftCol() + grid.VisibleColCount());
  EXPECT_FALSE(grid.CellRect(5, 19).IsEmpty());
  EXPECT_LE(grid.CellRect(5, 19).bottom, grid.Height() - StringGrid::kScrollBarSize);
  grid.SetSelected(1, 1);
  EXPECT_EQ(grid.LeftCol(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  // Keys walk right past the edge and the view follows.
  backend.FocusControl(grid);
  for (int i = 0; i < 4; ++i) backend.PressKey(form, kKeyRight);
  EXPECT_EQ(grid.Col(), 5);
  EXPECT_FALSE(grid.CellRect(5, 1).IsEmpty());
  EXPECT_LE(grid.CellRect(5, 1).right, grid.Width() - StringGrid::kScrollBarSize);
}

TEST_F(GridScrollHoverTest, TheWheelScrollsThreeRowsANotchWithinTheRowsAndLeavesTheSelection) {
  backend.WheelOn(grid, -120);
  EXPECT_EQ(grid.TopRow(), 4);
  EXPECT_EQ(grid.Row(), 1);
  backend.WheelOn(grid, -1200);
  // 19 task rows, 3 of them in view (100 - 17 for the bar - 20 fixed = 63).
  EXPECT_EQ(grid.VisibleRowCount(), 3);
  EXPECT_EQ(grid.TopRow(), 17);
  backend.WheelOn(grid, 240);
  EXPECT_EQ(grid.TopRow(), 11);
  backend.WheelOn(grid, 30);  // a fine-grained wheel still moves
  EXPECT_EQ(grid.TopRow(), 8);
  ScrollRange v;
  ASSERT_TRUE(grid.ScrollBarRange(true, v));
  EXPECT_EQ(v, (ScrollRange{0, 18, 3, 7}));
  grid.PeerScroll(true, ScrollCommand::Track, 0);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(GridScrollHoverTest, AGridWithoutBarsOrWithRoomShowsNone) {
  grid.SetScrollBars(false, false);
  ScrollRange r;
  EXPECT_FALSE(grid.ScrollBarRange(true, r));
  EXPECT_FALSE(grid.ColumnsOverflow());
  grid.SetScrollBars(true, true);
  grid.SetBounds(0, 0, 400, 500);
  ASSERT_TRUE(grid.ScrollBarRange(true, r));
  EXPECT_GT(r.page, r.max - r.min);  // the whole range in one page: no bar
  ASSERT_TRUE(grid.ScrollBarRange(false, r));
  EXPECT_GT(r.page, r.max - r.min);
}

TEST_F(GridScrollHoverTest, ADoubleClickSelectsTheCellAndReachesOnDblClickOnce) {
  std::vector<std::string> events;
  grid.OnDblClick = [&](Control&) { events.push_back("dbl " + std::to_string(grid.Row())); };
  grid.OnClick = [&](Control&) { events.push_back("click"); };
  grid.OnMouseDown = [&](Control&, MouseButton, ShiftState shift, int, int) {
    events.push_back(shift.doubleClick ? "down2" : "down");
  };
  const Rect cell = grid.CellRect(2, 3);
  backend.DoubleClickOn(grid, {cell.left + 5, cell.top + 5});
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "dbl 3", "down2"}));
}

TEST_F(GridScrollHoverTest, GraphicChildrenOfAPanelGetEnterAndLeaveTheirHintAndCursor) {
  std::vector<std::string> events;
  for (Label* l : {&form.Tip, &form.Plain}) {
    l->OnMouseEnter = [&events, l](Control&) { events.push_back("enter " + l->Name()); };
    l->OnMouseLeave = [&events, l](Control&) { events.push_back("leave " + l->Name()); };
  }
  backend.MouseMoveOn(form.Box, {15, 15});
  backend.MouseMoveOn(form.Box, {20, 18});  // still over Tip: nothing new
  EXPECT_EQ(form.Box.HoverChild(), &form.Tip);
  EXPECT_EQ(backend.ControlPeer(form.Box)->hint, "a tip");
  EXPECT_EQ(form.Box.CursorAt({15, 15}), Cursor::Hand);
  EXPECT_EQ(form.Box.CursorAt({15, 55}), form.Box.GetCursor());
  backend.MouseMoveOn(form.Box, {15, 55});
  EXPECT_EQ(backend.ControlPeer(form.Box)->hint, "");
  backend.MouseMoveOn(form.Box, {100, 100});
  backend.MouseMoveOn(form.Box, {15, 15});
  backend.MouseLeaveOn(form.Box);
  EXPECT_EQ(form.Box.HoverChild(), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"enter Tip", "leave Tip", "enter Plain", "leave Plain",
                                              "enter Tip", "leave Tip"}));
  // A hidden child is left as soon as the mouse moves.
  backend.MouseMoveOn(form.Box, {15, 15});
  form.Tip.SetVisible(false);
  backend.MouseMoveOn(form.Box, {16, 15});
  EXPECT_EQ(events.back(), "leave Tip");
}

}  // namespace
}  // namespace vm::ui::testing

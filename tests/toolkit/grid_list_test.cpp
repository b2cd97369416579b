// The drawn grid, the list view, the track bar, the pages, the colour box and the splitter
// through the headless backend.
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class GridForm : public Form {
 public:
  explicit GridForm(Application& app) : Form(app, "GridForm") {
    SetClientSize(400, 300);
    Grid.SetBounds(0, 0, 200, 100);
    Grid.SetColCount(3);
    Grid.SetRowCount(3);
    Grid.SetDefaultColWidth(50);
    Grid.SetDefaultRowHeight(20);
    List.SetBounds(0, 110, 200, 100);
    Bar.SetBounds(210, 0, 150, 30);
    Pages.SetBounds(210, 40, 180, 150);
  }
  StringGrid Grid{*this, "Grid"};
  ListView List{*this, "List"};
  TrackBar Bar{*this, "Bar"};
  PageControl Pages{*this, "Pages"};
  TabSheet First{Pages, "First"};
  TabSheet Second{Pages, "Second"};
  ColorBox Colors{*this, "Colors"};
};

class GridListTest : public ToolkitTest {
 protected:
  GridListTest() { form.Show(); }
  GridForm form{app};
};

TEST_F(GridListTest, DrawCellIsCalledForEveryVisibleCellAndItsFillsAreRecorded) {
  const Color rowColors[] = {clSilver, clRed, clLime};
  std::vector<std::pair<int, int>> cells;
  form.Grid.SetDefaultDrawing(false);
  form.Grid.OnDrawCell = [&](Control&, int col, int row, const Rect& r, GridDrawState) {
    cells.emplace_back(col, row);
    form.Grid.PaintCanvas()->FillRect(r, rowColors[row]);
  };
  RecordingCanvas& probe = backend.PaintControl(form.Grid);
  EXPECT_EQ(form.Grid.PaintCanvas(), nullptr);
  EXPECT_EQ(cells.size(), 9u);
  EXPECT_TRUE(probe.HasFill(Rect::FromXYWH(50, 20, 50, 20), clRed));
  EXPECT_TRUE(probe.HasFill(Rect::FromXYWH(100, 40, 50, 20), clLime));
  EXPECT_TRUE(probe.HasFill(Rect::FromXYWH(0, 0, 50, 20), clSilver));
}

TEST_F(GridListTest, DefaultDrawingHighlightsTheSelectedCellAndFixedRows) {
  form.Grid.SetCell(1, 2, "9:30");
  form.Grid.SetSelected(1, 2);
  std::vector<GridDrawState> states;
  form.Grid.OnDrawCell = [&](Control&, int col, int row, const Rect&, GridDrawState s) {
    if ((col == 1 && row == 2) || (col == 0 && row == 0)) states.push_back(s);
  };
  RecordingCanvas& canvas = backend.PaintControl(form.Grid);
  EXPECT_TRUE(canvas.HasFill(form.Grid.CellRect(1, 2), clHighlight));
  EXPECT_TRUE(canvas.HasFill(form.Grid.CellRect(0, 0), clBtnFace));
  EXPECT_TRUE(canvas.HasText("9:30", {52, 42}));
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(states[0].fixed);
  EXPECT_TRUE(states[1].selected);
}

TEST_F(GridListTest, ClickSelectsACellUnlessOnSelectCellRefuses) {
  std::vector<std::pair<int, int>> asked;
  form.Grid.OnSelectCell = [&](Control&, int col, int row, bool& can) {
    asked.emplace_back(col, row);
    can = row != 2;
  };
  backend.ClickOn(form.Grid, {75, 45});  // column 1, row 2: refused
  EXPECT_EQ(form.Grid.Row(), 1);
  EXPECT_EQ(form.Grid.Col(), 0);
  backend.ClickOn(form.Grid, {120, 25});  // column 2, row 1
  EXPECT_EQ(form.Grid.Col(), 2);
  EXPECT_EQ(form.Grid.Row(), 1);
  backend.ClickOn(form.Grid, {10, 5});  // the fixed row is never selected nor asked about
  backend.ClickOn(form.Grid, {190, 5});  // beyond the last column
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 2}, {2, 1}}));
  EXPECT_EQ(backend.FocusedControl(), &form.Grid);
}

TEST_F(GridListTest, GrowingRowsScrollWithTheKeysAndShrinkingKeepsTheSelectionInside) {
  for (int i = 0; i < 10; ++i) form.Grid.AddRow({"a" + std::to_string(i)});
  EXPECT_EQ(form.Grid.RowCount(), 13);
  EXPECT_EQ(form.Grid.Cell(0, 3), "a0");
  EXPECT_EQ(form.Grid.VisibleRowCount(), 4);
  form.Grid.SetFocus();
  backend.PressKey(form, kKeyEnd);
  EXPECT_EQ(form.Grid.Row(), 12);
  EXPECT_EQ(form.Grid.TopRow(), 9);
  EXPECT_TRUE(form.Grid.CellRect(0, 5).IsEmpty());  // scrolled out of view
  form.Grid.SetRowCount(4);
  EXPECT_EQ(form.Grid.Row(), 3);
  EXPECT_LE(form.Grid.TopRow(), 3);
  EXPECT_EQ(form.Grid.Cell(0, 12), "");  // gone with its row
  form.Grid.SetCell(7, 7, "ignored");
  EXPECT_EQ(form.Grid.Cell(7, 7), "");
}

TEST_F(GridListTest, ColumnBordersInTheFixedRowResizeWhenSizingIsOn) {
  backend.MouseDownOn(form.Grid, {50, 5});
  backend.MouseMoveOn(form.Grid, {80, 5});
  backend.MouseUpOn(form.Grid, {80, 5});
  EXPECT_EQ(form.Grid.ColWidth(0), 50);
  form.Grid.SetColSizing(true);
  backend.MouseDownOn(form.Grid, {50, 5});
  backend.MouseMoveOn(form.Grid, {80, 5});
  backend.MouseUpOn(form.Grid, {80, 5});
  EXPECT_EQ(form.Grid.ColWidth(0), 80);
  backend.MouseDownOn(form.Grid, {130, 5});
  backend.MouseMoveOn(form.Grid, {-500, 5});  // never below a grip's width
  backend.MouseUpOn(form.Grid, {-500, 5});
  EXPECT_GT(form.Grid.ColWidth(1), 0);
}

TEST_F(GridListTest, ListViewCustomSortUsesOnCompareStablyAndKeepsTheSelectedRow) {
  form.List.AddColumn({"Name", 100, 40, 150});
  form.List.AddColumn({"Memory", 60});
  for (auto [name, mem] : std::vector<std::pair<std::string, std::string>>{{"b", "30"}, {"a", "10"}, {"c", "30"}, {"d", "5"}})
    form.List.AddItem({name, {mem}});
  form.List.SetItemIndex(1);  // "a"
  int sortColumn = -1;
  form.List.OnColumnClick = [&](Control&, int column) {
    sortColumn = column;
    form.List.CustomSort(column);
  };
  form.List.OnCompare = [](Control&, const ListItem& a, const ListItem& b, int column, int& compare) {
    // Descending by memory, as a number; equal values keep their order.
    compare = column == 1 ? std::stoi(b.subItems[0]) - std::stoi(a.subItems[0]) : a.caption.compare(b.caption);
  };
  backend.ClickColumn(form.List, 1);
  EXPECT_EQ(sortColumn, 1);
  std::vector<std::string> order;
  for (const ListItem& item : form.List.Items()) order.push_back(item.caption);
  EXPECT_EQ(order, (std::vector<std::string>{"b", "c", "a", "d"}));
  EXPECT_EQ(form.List.Item(form.List.ItemIndex()).caption, "a");
  EXPECT_EQ(backend.ControlPeer(form.List)->index, 2);
}

TEST_F(GridListTest, ListViewColumnLimitsAndSelectionEvents) {
  form.List.AddColumn({"Name", 500, 40, 150});
  EXPECT_EQ(form.List.Columns()[0].width, 150);
  EXPECT_EQ(form.List.PeerColumnResized(0, 10), 40);
  form.List.SetItems({{"x"}, {"y"}});
  std::vector<std::pair<int, bool>> seen;
  form.List.OnSelectItem = [&](Control&, int i, bool on) { seen.emplace_back(i, on); };
  backend.SelectRow(form.List, 0);
  backend.SelectRow(form.List, 1);
  form.List.DeleteItem(0);
  EXPECT_EQ(form.List.ItemIndex(), 0);  // "y" moved up and stays selected
  EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{0, true}, {0, false}, {1, true}}));
}

TEST_F(GridListTest, TrackBarClampsUserAndCodePositionsAndFiresOnlyForTheUser) {
  form.Bar.SetRange(0, 20);
  std::vector<int> seen;
  form.Bar.OnChange = [&](Control&) { seen.push_back(form.Bar.Position()); };
  form.Bar.SetPosition(5);
  backend.DragTrackBar(form.Bar, 7);
  backend.DragTrackBar(form.Bar, 99);
  EXPECT_EQ(seen, (std::vector<int>{7, 20}));
  EXPECT_EQ(backend.ControlPeer(form.Bar)->index, 20);
  form.Bar.SetRange(0, 10);  // a shrinking range takes the position along, silently
  EXPECT_EQ(form.Bar.Position(), 10);
  form.Bar.SetRange(8, 3);
  EXPECT_EQ(form.Bar.Max(), 8);
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(GridListTest, PageControlChangeShowsOnePageAndOnChangingMayRefuse) {
  EXPECT_EQ(form.Pages.ActivePage(), &form.First);
  EXPECT_FALSE(form.Second.Visible());
  int changes = 0;
  bool allow = false;
  form.Pages.OnChanging = [&](Control&, bool& can) { can = allow; };
  form.Pages.OnChange = [&](Control&) { ++changes; };
  backend.ChooseTab(form.Pages, 1);
  EXPECT_EQ(form.Pages.ActivePageIndex(), 0);
  EXPECT_EQ(backend.ControlPeer(form.Pages)->index, 0);  // the tab went back
  allow = true;
  backend.ChooseTab(form.Pages, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(form.Second.Visible());
  EXPECT_FALSE(form.First.Visible());
  form.Pages.SetActivePage(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(form.Second.Bounds(), form.Pages.PageRect());
}

TEST_F(GridListTest, ColorBoxOffersCustomColoursOnlyWhenAsked) {
  form.Colors.SetSelected(clRed);
  EXPECT_EQ(form.Colors.Selected(), clRed);
  EXPECT_EQ(form.Colors.Text(), "Red");
  form.Colors.SetSelected(MakeRgb(1, 2, 3));  // not offered, no custom entry
  EXPECT_EQ(form.Colors.ItemIndex(), -1);
  form.Colors.SetStyle({.custom = true, .standard = true, .extended = true});
  EXPECT_EQ(form.Colors.Colors().size(), 21u);
  form.Colors.SetSelected(MakeRgb(1, 2, 3));
  EXPECT_EQ(form.Colors.ItemIndex(), 0);
  EXPECT_EQ(form.Colors.Selected(), MakeRgb(1, 2, 3));
  form.Colors.SetColorName(clRed, "Rot");
  form.Colors.SetSelected(clRed);
  EXPECT_EQ(form.Colors.Text(), "Rot");
  form.Colors.SetStyle({.custom = true, .standard = true, .system = true});  // the choice survives
  EXPECT_EQ(form.Colors.Selected(), clRed);
  EXPECT_EQ(form.Colors.Text(), "Rot");
}

class SplitForm : public Form {
 public:
  explicit SplitForm(Application& app) : Form(app, "SplitForm") {
    SetBorderStyle(BorderStyle::None);
    SetBounds(0, 0, 300, 100);
    Left.SetWidth(100);
    Left.SetAlign(Align::Left);
    Split.SetAlign(Align::Left);
    Rest.SetAlign(Align::Client);
  }
  Panel Left{*this, "Left"};
  Splitter Split{*this, "Split"};
  Panel Rest{*this, "Rest"};
};

TEST_F(ToolkitTest, SplitterResizesItsNeighbourWithinTheMinimum) {
  SplitForm form{app};
  form.Show();
  ASSERT_EQ(form.Split.ResizedControl(), &form.Left);
  int moved = 0;
  form.Split.OnMoved = [&](Control&) { ++moved; };
  backend.MouseDownOn(form.Split, {1, 50});
  backend.MouseMoveOn(form.Split, {41, 50});
  EXPECT_EQ(form.Left.Width(), 140);
  EXPECT_EQ(form.Split.Left(), 140);
  EXPECT_EQ(form.Rest.Left(), 143);
  backend.MouseMoveOn(form.Split, {-500, 50});
  EXPECT_EQ(form.Left.Width(), form.Split.MinSize());
  backend.MouseMoveOn(form.Split, {900, 50});
  EXPECT_EQ(form.Left.Width(), 300 - 3 - form.Split.MinSize());
  backend.MouseUpOn(form.Split, {900, 50});
  EXPECT_EQ(moved, 1);
}

TEST_F(ToolkitTest, MemoLinesSplitOnEveryLineBreak) {
  class MemoForm : public Form {
   public:
    explicit MemoForm(Application& app) : Form(app, "MemoForm") {}
    Memo Notes{*this, "Notes"};
  } form{app};
  form.Notes.SetText("one\r\ntwo\nthree\r\r\n");
  EXPECT_EQ(form.Notes.Lines(), (std::vector<std::string>{"one", "two", "three", ""}));
  form.Notes.SetLines({"a", "", "b"});
  EXPECT_EQ(form.Notes.Text(), "a\r\n\r\nb");
  EXPECT_EQ(form.Notes.Lines(), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace vm::ui::testing

namespace vm::ui::testing {
namespace {

class ListOptionsTest : public ToolkitTest {};

TEST_F(ListOptionsTest, OpeningAListInCodeFiresNothingAndReachesThePeer) {
  Form form{app, "Options"};
  ComboBox combo{form, "Combo"};
  Edit edit{form, "Edit"};
  UpDown spin{form, "Spin"};
  combo.SetItems({"a", "b"});
  int events = 0;
  combo.OnDropDown = [&](Control&) { ++events; };
  combo.OnCloseUp = [&](Control&) { ++events; };
  form.Show();
  combo.SetDroppedDown(true);
  EXPECT_TRUE(combo.DroppedDown());
  EXPECT_TRUE(backend.ControlPeer(combo)->droppedDown);
  // The user's choice closes it as the list does.
  backend.ChooseItem(combo, 1);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.SetDroppedDown(true);
  combo.SetDroppedDown(false);
  EXPECT_FALSE(backend.ControlPeer(combo)->droppedDown);
  EXPECT_EQ(events, 1);  // only the closing by the user: the list was already open

  const int stylePushes = backend.ControlPeer(edit)->Pushes("StyleChanged");
  edit.SetBorder(false);
  edit.SetBorder(false);
  EXPECT_FALSE(edit.Border());
  EXPECT_EQ(backend.ControlPeer(edit)->Pushes("StyleChanged"), stylePushes + 1);
  spin.SetArrowKeys(false);
  spin.SetAlignButton(UpDownAlign::Left);
  EXPECT_FALSE(spin.ArrowKeys());
  EXPECT_EQ(spin.AlignButton(), UpDownAlign::Left);
}

}  // namespace
}  // namespace vm::ui::testing

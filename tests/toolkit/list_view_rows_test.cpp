// The list view's row-by-row updates: sorted adding, inserting and deleting with the selection
// following its row, single texts, and what reaches the window.
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class RowsForm : public Form {
 public:
  explicit RowsForm(Application& app) : Form(app, "RowsForm") {
    SetClientSize(300, 200);
    List.SetBounds(0, 0, 300, 200);
    List.AddColumn({"Name", 100});
    List.AddColumn({"Count", 50});
  }
  ListView List{*this, "List"};
};

class ListRowsTest : public ToolkitTest {
 protected:
  ListRowsTest() { form.Show(); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const ListItem& item : form.List.Items()) out.push_back(item.caption);
    return out;
  }
  const HeadlessBackend::ControlState& Peer() const { return *backend.ControlPeer(form.List); }
  // The window's rows as they would be after a full push.
  std::vector<std::string> Expected() const {
    std::vector<std::string> out;
    for (const ListItem& item : form.List.Items()) {
      std::string text = item.caption;
      for (const std::string& sub : item.subItems) text += "|" + sub;
      out.push_back(text);
    }
    return out;
  }
  RowsForm form{app};
};

TEST_F(ListRowsTest, SortedAddingUsesTheCompareHandlerAndKeepsEqualRowsInOrder) {
  int calls = 0;
  form.List.OnCompare = [&](Control&, const ListItem& a, const ListItem& b, int, int& compare) {
    ++calls;
    compare = std::stoi(a.subItems[0]) - std::stoi(b.subItems[0]);
  };
  form.List.SetSorted(true);
  EXPECT_EQ(form.List.AddItem({"five", {"5"}}), 0);
  EXPECT_EQ(form.List.AddItem({"one", {"1"}}), 0);
  EXPECT_EQ(form.List.AddItem({"nine", {"9"}}), 2);
  EXPECT_EQ(form.List.AddItem({"five again", {"5"}}), 2);  // after the equal row
  EXPECT_GT(calls, 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"one", "five", "five again", "nine"}));
  // Unsorted, rows are appended.
  form.List.SetSorted(false);
  EXPECT_EQ(form.List.AddItem({"zero", {"0"}}), 4);
}

TEST_F(ListRowsTest, RowChangesReachTheWindowOneByOneAndTheSelectionFollowsItsRow) {
  for (const char* name : {"a", "c", "e"}) form.List.AddItem({name, {"1"}});
  backend.SelectRow(form.List, 1);  // "c"
  const int rebuilds = Peer().rowRebuilds;
  const int statePushes = Peer().Pushes("SelectionChanged");

  form.List.InsertItem(0, {"first", {"0"}});
  form.List.InsertItem(99, {"last", {"9"}});  // clamped to the end
  EXPECT_EQ(form.List.ItemIndex(), 2);
  form.List.DeleteItem(0);
  EXPECT_EQ(form.List.ItemIndex(), 1);
  form.List.SetItemText(2, 2, "42");  // a sub-item beyond the row's: the gap is filled
  form.List.SetItemText(2, 0, "E");
  form.List.SetItemImage(1, 3);
  form.List.SetItemText(1, 0, "c");  // the same text: nothing to push
  const int updates = Peer().rowUpdates;
  EXPECT_EQ(updates, 3);

  EXPECT_EQ(Peer().rowRebuilds, rebuilds);
  EXPECT_EQ(Peer().rowInserts, 5);
  EXPECT_EQ(Peer().rowDeletes, 1);
  EXPECT_EQ(Peer().rows, Expected());
  EXPECT_EQ(form.List.Item(2).subItems, (std::vector<std::string>{"1", "42"}));
  // The window moved its selection itself: nothing was pushed that could scroll it.
  EXPECT_EQ(Peer().index, 1);
  EXPECT_EQ(Peer().Pushes("SelectionChanged"), statePushes);

  // Deleting the selected row leaves nothing selected on both sides.
  form.List.DeleteItem(1);
  EXPECT_EQ(form.List.ItemIndex(), -1);
  EXPECT_EQ(Peer().index, -1);
  // Changes to rows that do not exist do nothing.
  form.List.SetItemText(17, 0, "x");
  form.List.SetItemImage(-1, 0);
  form.List.DeleteItem(17);
  EXPECT_EQ(Peer().rows, Expected());
  // A whole new set of rows is one rebuild.
  form.List.SetItems({{"only"}});
  EXPECT_EQ(Peer().rowRebuilds, rebuilds + 1);
  EXPECT_EQ(Peer().rows, Expected());
}

TEST_F(ListRowsTest, ItemDataChangesNothingTheWindowShows) {
  form.List.AddItem({"a"});
  const int updates = Peer().rowUpdates;
  form.List.SetItemData(0, 1234);
  EXPECT_EQ(form.List.Item(0).data, 1234);
  EXPECT_EQ(Peer().rowUpdates, updates);
}

TEST_F(ListRowsTest, PressesOnTheRowsReachOnMouseDownWithTheirButton) {
  form.List.AddItem({"a"});
  std::vector<std::pair<MouseButton, Point>> presses;
  form.List.OnMouseDown = [&](Control&, MouseButton button, ShiftState, int x, int y) {
    presses.push_back({button, {x, y}});
  };
  backend.MouseDownOn(form.List, {12, 7}, MouseButton::Right);
  backend.MouseDownOn(form.List, {3, 4}, MouseButton::Left);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0].first, MouseButton::Right);
  EXPECT_EQ(presses[0].second, (Point{12, 7}));
  EXPECT_EQ(presses[1].first, MouseButton::Left);
}

}  // namespace
}  // namespace vm::ui::testing

// What screen readers are told about a window: names and roles by control kind, the tree they
// walk (hidden controls, bare panels, focus proxies), the focused node, a grid's rows and cells,
// and the default action.
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class ReaderForm : public Form {
 public:
  explicit ReaderForm(Application& app) : Form(app, "ReaderForm") {
    SetCaption("Reader test");
    SetClientSize(400, 300);
    Heading.SetCaption("  Start options:  ");
    Heading.SetBounds(10, 10, 100, 16);
    Empty.SetBounds(10, 30, 50, 16);
    Decoration.SetBounds(0, 0, 400, 40);
    Named.SetBounds(10, 50, 24, 24);
    Named.SetHint("Font");
    Button.SetBounds(40, 50, 40, 24);
    Button.SetHint("Stop");
    Button.OnClick = [this](Control&) { ++clicks; };
    Link.SetCaption("Select position");
    Link.SetCursor(Cursor::Hand);
    Link.OnClick = [this](Control&) { ++clicks; };
    Link.SetBounds(10, 80, 100, 16);
    Box.SetBounds(200, 10, 150, 100);
    Box.SetBevelOuter(PanelBevel::None);
    Inner.SetCaption("Inside");
    Inner.SetBounds(5, 5, 60, 16);
    Check.SetBounds(200, 120, 100, 20);
    Check.SetCaption("AutoStart");
    Group.SetBounds(200, 150, 150, 60);
    Group.SetCaption("Screen");
    Line.SetBounds(0, 290, 400, 2);
  }
  Label Heading{*this, "Heading"};
  Label Empty{*this, "Empty"};
  Image Decoration{*this, "Decoration"};
  Image Named{*this, "Named"};
  Image Button{*this, "Button"};
  Label Link{*this, "Link"};
  Panel Box{*this, "Box"};
  Label Inner{Box, "Inner"};
  CheckBox Check{*this, "Check"};
  Panel Group{*this, "Group"};
  Bevel Line{*this, "Line"};
  int clicks = 0;
};

std::vector<std::string> Names(const std::vector<AccessNode>& nodes) {
  std::vector<std::string> names;
  for (const AccessNode& n : nodes) names.push_back(n.control->Name() + (n.item >= 0 ? "#" + std::to_string(n.item) : ""));
  return names;
}

class AccessibleTest : public ToolkitTest {
 protected:
  AccessibleTest() { form.Show(); }
  ReaderForm form{app};
};

TEST_F(AccessibleTest, EachKindHasItsRoleAndItsNameFromCaptionOrHintWithoutBlanks) {
  EXPECT_EQ(Describe({&form}).role, AccessRole::Client);
  EXPECT_EQ(Describe({&form}).name, "Reader test");
  const AccessInfo heading = Describe({&form.Heading});
  EXPECT_EQ(heading.role, AccessRole::StaticText);
  EXPECT_EQ(heading.name, "Start options:");
  EXPECT_EQ(heading.bounds, Rect::FromXYWH(10, 10, 100, 16));
  EXPECT_EQ(Describe({&form.Named}).role, AccessRole::Graphic);
  EXPECT_EQ(Describe({&form.Named}).name, "Font");
  const AccessInfo button = Describe({&form.Button});
  EXPECT_EQ(button.role, AccessRole::PushButton);
  EXPECT_EQ(button.name, "Stop");
  EXPECT_EQ(button.defaultAction, "Press");
  EXPECT_EQ(Describe({&form.Link}).role, AccessRole::Link);
  EXPECT_TRUE(Describe({&form.Link}).states.linked);
  EXPECT_EQ(Describe({&form.Group}).role, AccessRole::Grouping);
  EXPECT_TRUE(Describe({&form.Check}).system);  // the system's check box describes itself
  // A name the window gives wins over the caption; a role it gives wins over the kind's.
  form.Heading.SetAccessibleName("Options for the start");
  form.Named.SetAccessibleRole(AccessRole::None);
  EXPECT_EQ(Describe({&form.Heading}).name, "Options for the start");
  EXPECT_EQ(Describe({&form.Named}).role, AccessRole::None);
}

TEST_F(AccessibleTest, DecorationEmptyTextAndHiddenControlsAreLeftOutAndABarePanelStandsAsideForItsChildren) {
  EXPECT_EQ(Names(AccessChildren({&form})),
            (std::vector<std::string>{"Heading", "Named", "Button", "Link", "Inner", "Check", "Group"}));
  EXPECT_EQ(AccessParent({&form.Inner}), AccessNode{&form});  // its panel is no node
  EXPECT_EQ(AccessParent({&form.Heading}), AccessNode{&form});
  EXPECT_EQ(AccessParent({&form}), AccessNode{});
  form.Link.Hide();
  form.Box.Hide();
  EXPECT_EQ(Names(AccessChildren({&form})), (std::vector<std::string>{"Heading", "Named", "Button", "Check", "Group"}));
}

TEST_F(AccessibleTest, AProxyIsNoNodeOfItsOwnButMakesItsControlFocusableAndTheFocusedNode) {
  FocusProxy proxy{form.Button};
  EXPECT_EQ(Names(AccessChildren({&form}))[2], "Button");
  EXPECT_EQ(AccessChildren({&form}).size(), 7u);
  EXPECT_EQ(AccessFocus(form), AccessNode{&form});
  proxy.SetFocus();
  EXPECT_EQ(AccessFocus(form), AccessNode{&form.Button});
  const AccessInfo info = Describe({&form.Button});
  EXPECT_TRUE(info.states.focusable);
  EXPECT_TRUE(info.states.focused);
  form.Check.SetFocus();
  EXPECT_FALSE(Describe({&form.Button}).states.focused);
  EXPECT_EQ(AccessFocus(form), AccessNode{&form.Check});
}

TEST_F(AccessibleTest, ADisabledContainerMakesItsControlsUnavailableAndTheirActionDoesNothing) {
  EXPECT_TRUE(DoAccessDefaultAction({&form.Button}));
  EXPECT_TRUE(DoAccessDefaultAction({&form.Link}));
  EXPECT_FALSE(DoAccessDefaultAction({&form.Heading}));  // no action to take
  EXPECT_EQ(form.clicks, 2);
  form.SetEnabled(false);
  EXPECT_TRUE(Describe({&form.Button}).states.unavailable);
  EXPECT_FALSE(DoAccessDefaultAction({&form.Button}));
  EXPECT_EQ(form.clicks, 2);
}

class TakeOver : public AccessibleDescriber {
 public:
  void DescribeAccessible(const Control&, AccessInfo& info) const override {
    info.states.pressed = down;
    info.name = "Pause";
  }
  bool DoAccessibleAction(Control&) override {
    ++actions;
    return true;
  }
  bool down = true;
  int actions = 0;
};

TEST_F(AccessibleTest, ADescriberHasTheLastWordAndTakesTheDefaultAction) {
  TakeOver describer;
  form.Button.SetAccessibleDescriber(&describer);
  form.Button.SetAccessibleName("Stop the sound");
  EXPECT_EQ(Describe({&form.Button}).name, "Pause");
  EXPECT_TRUE(Describe({&form.Button}).states.pressed);
  EXPECT_TRUE(DoAccessDefaultAction({&form.Button}));
  EXPECT_EQ(describer.actions, 1);
  EXPECT_EQ(form.clicks, 0);  // the describer's action instead of the plain click
}

class GridForm : public Form {
 public:
  explicit GridForm(Application& app) : Form(app, "GridForm") {
    SetClientSize(300, 200);
    Grid.SetBounds(0, 0, 300, 100);
    Grid.SetColCount(3);
    Grid.SetRowCount(6);
    Grid.SetDefaultRowHeight(20);
    for (int c = 0; c < 3; ++c) Grid.SetColWidth(c, 80);
    const char* headers[3] = {"Info", "Date", "Message "};
    for (int c = 0; c < 3; ++c) Grid.SetCell(c, 0, headers[c]);
    Grid.SetCell(0, 1, "025");
    Grid.SetCell(1, 1, "1 Mar 2027");
    Grid.SetCell(2, 1, " Wake up ");
    Grid.SetCell(1, 2, "2 Mar 2027");
  }
  StringGrid Grid{*this, "Grid"};
};

class AccessibleGridTest : public ToolkitTest {
 protected:
  AccessibleGridTest() { form.Show(); }
  GridForm form{app};
  StringGrid& grid = form.Grid;
};

TEST_F(AccessibleGridTest, RowsAndCellsAreNamedByTheirTextsAndCellsByTheirColumnsCaption) {
  EXPECT_EQ(Describe({&grid}).role, AccessRole::Table);
  const std::vector<AccessNode> rows = AccessChildren({&grid});
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(Describe(rows[0]).role, AccessRole::Row);
  EXPECT_EQ(Describe(rows[0]).name, "Info, Date, Message");
  EXPECT_EQ(Describe(rows[1]).name, "025, 1 Mar 2027, Wake up");
  const std::vector<AccessNode> cells = AccessChildren(rows[1]);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(Describe(AccessChildren(rows[0])[2]).role, AccessRole::ColumnHeader);
  const AccessInfo message = Describe(cells[2]);
  EXPECT_EQ(message.role, AccessRole::Cell);
  EXPECT_EQ(message.name, "Wake up");
  EXPECT_EQ(message.description, "Message");
  EXPECT_EQ(message.bounds, Rect::FromXYWH(160, 20, 80, 20));
  EXPECT_EQ(AccessParent(cells[2]), rows[1]);
  EXPECT_EQ(AccessParent(rows[1]), AccessNode{&grid});
  // The window reads out a column it draws as pictures.
  grid.AccessibleCellText = [](int col, int row) { return col == 0 && row > 0 ? std::string("Message, Sound") : std::string(); };
  EXPECT_EQ(Describe(cells[0]).name, "Message, Sound");
  EXPECT_EQ(Describe(rows[1]).name, "Message, Sound, 1 Mar 2027, Wake up");
  EXPECT_EQ(Describe(AccessChildren(rows[0])[0]).name, "Info");  // the hook left the caption alone
}

TEST_F(AccessibleGridTest, RowsScrolledOutOfViewAreOffscreenAndTheSelectionIsTheFocusedCell) {
  grid.SetSelected(1, 5);  // four rows fit below the captions: row 5 scrolls the first away
  ASSERT_GT(grid.TopRow(), 1);
  EXPECT_TRUE(Describe({&grid, 1}).states.offscreen);
  EXPECT_FALSE(Describe({&grid, 5}).states.offscreen);
  EXPECT_TRUE(Describe({&grid, 5}).states.selected);
  EXPECT_TRUE(Describe({&grid, 5, 1}).states.selected);
  EXPECT_FALSE(Describe({&grid, 5, 1}).states.focused);  // the grid has no focus yet
  grid.SetFocus();
  EXPECT_TRUE(Describe({&grid, 5, 1}).states.focused);
  EXPECT_EQ(AccessFocus(form), (AccessNode{&grid, 5, 1}));
}

TEST_F(AccessibleGridTest, SelectingACellByTheReaderAsksTheWindowAndTheFocusedCellIsAnnounced) {
  grid.SetFocus();
  const std::size_t before = backend.AccessEvents().size();
  ASSERT_FALSE(backend.AccessEvents().empty());
  EXPECT_EQ(backend.AccessEvents().back(), (HeadlessBackend::AccessEventRecord{grid.Peer(), AccessEvent::Focus, 1, 0}));
  bool allow = false;
  grid.OnSelectCell = [&](Control&, int, int, bool& canSelect) { canSelect = allow; };
  EXPECT_FALSE(DoAccessDefaultAction({&grid, 2, 1}));
  EXPECT_EQ(grid.Row(), 1);
  allow = true;
  EXPECT_TRUE(DoAccessDefaultAction({&grid, 2, 1}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_FALSE(DoAccessDefaultAction({&grid, 0, 1}));  // the caption row is not selectable
  ASSERT_EQ(backend.AccessEvents().size(), before + 1);
  EXPECT_EQ(backend.AccessEvents().back(), (HeadlessBackend::AccessEventRecord{grid.Peer(), AccessEvent::Focus, 2, 1}));
  // Keys move the focused cell and the reader hears of it.
  backend.PressKey(form, kKeyDown);
  EXPECT_EQ(backend.AccessEvents().back(), (HeadlessBackend::AccessEventRecord{grid.Peer(), AccessEvent::Focus, 3, 1}));
}

}  // namespace
}  // namespace vm::ui::testing

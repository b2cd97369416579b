// What screen readers are told about a window: names and roles by control kind, the tree they
// walk (hidden controls, bare panels, focus proxies), the focused node, a grid's rows and cells,
// the default action, and a control found again by its serial while it lives.
#include <memory>
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

using Names = std::vector<std::string>;

class ReaderForm : public Form {
 public:
  explicit ReaderForm(Application& app) : Form(app, "ReaderForm") {
    SetCaption("Reader test");
    SetClientSize(400, 300);
    Heading.SetCaption("  Start options:  ");
    Heading.SetBounds(10, 10, 100, 16);
    Decoration.SetBounds(0, 0, 400, 40);
    Named.SetHint("Font");
    Button.SetBounds(40, 50, 40, 24);
    Button.SetHint("Stop");
    Button.OnClick = [this](Control&) { ++clicks; };
    Link.SetCaption("Select position");
    Link.SetCursor(Cursor::Hand);
    Link.OnClick = [this](Control&) { ++clicks; };
    Box.SetBevelOuter(PanelBevel::None);
    Inner.SetCaption("Inside");
    Group.SetCaption("Screen");
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

Names NamesOf(const std::vector<AccessNode>& nodes) {
  Names names;
  for (const AccessNode& n : nodes) names.push_back(n.control->Name());
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
  EXPECT_EQ(Describe({&form.Button}).role, AccessRole::PushButton);  // a picture the user clicks
  EXPECT_EQ(Describe({&form.Button}).name, "Stop");
  EXPECT_EQ(Describe({&form.Link}).role, AccessRole::Link);          // clicked, with the hand
  EXPECT_EQ(Describe({&form.Group}).role, AccessRole::Grouping);
  EXPECT_TRUE(Describe({&form.Check}).system);  // the system's check box describes itself
  form.Heading.SetAccessibleName("Options for the start");  // the window's word wins
  form.Named.SetAccessibleRole(AccessRole::None);
  EXPECT_EQ(Describe({&form.Heading}).name, "Options for the start");
  EXPECT_EQ(Describe({&form.Named}).role, AccessRole::None);
}

TEST_F(AccessibleTest, TheTreeLeavesOutDecorationAndHiddenControlsAndABarePanelStandsAsideForItsChildren) {
  FocusProxy proxy{form.Button};  // no node of its own
  EXPECT_EQ(NamesOf(AccessChildren({&form})), (Names{"Heading", "Named", "Button", "Link", "Inner", "Check", "Group"}));
  EXPECT_EQ(AccessParent({&form.Inner}), AccessNode{&form});
  EXPECT_EQ(AccessParent({&form}), AccessNode{});
  form.Link.Hide();
  form.Box.Hide();
  EXPECT_EQ(NamesOf(AccessChildren({&form})), (Names{"Heading", "Named", "Button", "Check", "Group"}));
  // The proxy makes its control focusable and the focused node.
  EXPECT_EQ(AccessFocus(form), AccessNode{&form});
  proxy.SetFocus();
  EXPECT_EQ(AccessFocus(form), AccessNode{&form.Button});
  EXPECT_TRUE(Describe({&form.Button}).states.focused);
  form.Check.SetFocus();
  EXPECT_EQ(AccessFocus(form), AccessNode{&form.Check});
}

TEST_F(AccessibleTest, TheDefaultActionClicksAndADisabledWindowMakesItsControlsUnavailable) {
  EXPECT_TRUE(DoAccessDefaultAction({&form.Button}));
  EXPECT_TRUE(DoAccessDefaultAction({&form.Link}));
  EXPECT_FALSE(DoAccessDefaultAction({&form.Heading}));  // no action to take
  EXPECT_EQ(form.clicks, 2);
  form.SetEnabled(false);
  EXPECT_TRUE(Describe({&form.Button}).states.unavailable);
  EXPECT_FALSE(DoAccessDefaultAction({&form.Button}));
  EXPECT_EQ(form.clicks, 2);
}

TEST_F(AccessibleTest, AControlIsFoundByItsSerialOnlyWhileItLives) {
  auto label = std::make_unique<Label>(form, "Late");
  const std::uint64_t serial = label->Serial();
  EXPECT_NE(serial, form.Heading.Serial());
  EXPECT_EQ(Control::FromSerial(serial), label.get());
  label.reset();
  EXPECT_EQ(Control::FromSerial(serial), nullptr);
  auto again = std::make_unique<Label>(form, "Again");  // never the serial of one that went
  EXPECT_NE(again->Serial(), serial);
}

class AccessibleGridTest : public ToolkitTest {
 protected:
  AccessibleGridTest() {
    form.SetClientSize(300, 200);
    grid.SetBounds(0, 0, 300, 100);
    grid.SetColCount(3);
    grid.SetRowCount(6);
    grid.SetDefaultRowHeight(20);
    for (int c = 0; c < 3; ++c) grid.SetColWidth(c, 80);
    const char* cells[2][3] = {{"Info", "Date", "Message "}, {"025", "1 Mar 2027", " Wake up "}};
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) grid.SetCell(c, r, cells[r][c]);
    form.Show();
  }
  Form form{app, "GridForm"};
  StringGrid grid{form, "Grid"};
};

TEST_F(AccessibleGridTest, RowsAndCellsAreNamedByTheirTextsAndCellsByTheirColumnsCaption) {
  EXPECT_EQ(Describe({&grid}).role, AccessRole::Table);
  ASSERT_EQ(AccessChildren({&grid}).size(), 6u);
  EXPECT_EQ(Describe({&grid, 0}).name, "Info, Date, Message");
  EXPECT_EQ(Describe({&grid, 1}).role, AccessRole::Row);
  EXPECT_EQ(Describe({&grid, 1}).name, "025, 1 Mar 2027, Wake up");
  EXPECT_EQ(AccessChildren({&grid, 1}).size(), 3u);
  EXPECT_EQ(Describe({&grid, 0, 2}).role, AccessRole::ColumnHeader);
  const AccessInfo message = Describe({&grid, 1, 2});
  EXPECT_EQ(message.role, AccessRole::Cell);
  EXPECT_EQ(message.name, "Wake up");
  EXPECT_EQ(message.description, "Message");
  EXPECT_EQ(message.bounds, Rect::FromXYWH(160, 20, 80, 20));
  EXPECT_EQ(AccessParent({&grid, 1, 2}), (AccessNode{&grid, 1}));
  EXPECT_EQ(AccessParent({&grid, 1}), AccessNode{&grid});
  // A column the window draws as pictures reads as the window says; the captions stay.
  grid.AccessibleCellText = [](int col, int row) { return col == 0 && row > 0 ? std::string("Message, Sound") : std::string(); };
  EXPECT_EQ(Describe({&grid, 1}).name, "Message, Sound, 1 Mar 2027, Wake up");
  EXPECT_EQ(Describe({&grid, 0, 0}).name, "Info");
}

TEST_F(AccessibleGridTest, ScrolledRowsAreOffscreenAndTheFocusedCellIsSelectedAndAnnounced) {
  grid.SetSelected(1, 5);  // four rows fit below the captions: row 5 scrolls the first away
  EXPECT_TRUE(Describe({&grid, 1}).states.offscreen);
  EXPECT_FALSE(Describe({&grid, 5}).states.offscreen);
  EXPECT_TRUE(Describe({&grid, 5, 1}).states.selected);
  EXPECT_FALSE(Describe({&grid, 5, 1}).states.focused);  // the grid has no focus yet
  grid.SetFocus();
  EXPECT_TRUE(Describe({&grid, 5, 1}).states.focused);
  EXPECT_EQ(AccessFocus(form), (AccessNode{&grid, 5, 1}));
  EXPECT_EQ(backend.AccessEvents().back(), (HeadlessBackend::AccessEventRecord{grid.Peer(), AccessEvent::Focus, 5, 1}));
  // The reader's action asks the window as a click does; keys move the announced cell.
  bool allow = false;
  grid.OnSelectCell = [&](Control&, int, int, bool& canSelect) { canSelect = allow; };
  EXPECT_FALSE(DoAccessDefaultAction({&grid, 2, 1}));
  allow = true;
  EXPECT_TRUE(DoAccessDefaultAction({&grid, 2, 1}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_FALSE(DoAccessDefaultAction({&grid, 0, 1}));  // the caption row
  backend.PressKey(form, kKeyDown);
  EXPECT_EQ(backend.AccessEvents().back(), (HeadlessBackend::AccessEventRecord{grid.Peer(), AccessEvent::Focus, 3, 1}));
}

}  // namespace
}  // namespace vm::ui::testing

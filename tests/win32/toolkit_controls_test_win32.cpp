// The windowed controls on real windows: each kind is created on a shown form, its properties
// reach the native control, and real mouse and key messages reach the portable events.

#include <string>
#include <vector>

#include "toolkit_support_win32.h"

#include <commctrl.h>

namespace vm::ui::testing {
namespace {

class AllControls : public Form {
 public:
  explicit AllControls(Application& app) : Form(app, "AllControls") {
    SetBounds(100, 100, 640, 480);
    SetCaption("Controls");
    Ok.SetBounds(8, 8, 75, 25);
    Ok.SetCaption("OK");
    Check.SetBounds(8, 40, 120, 20);
    Check.SetCaption("Repeat");
    Name.SetBounds(8, 64, 120, 22);
    Notes.SetBounds(8, 90, 160, 60);
    Notes.SetScrollBars(ScrollStyle::Vertical);
    Kind.SetBounds(8, 156, 120, 22);
    Kind.SetItems({"Once", "Daily"});
    Colors.SetBounds(8, 184, 140, 22);
    Bar.SetBounds(8, 212, 160, 30);
    Spin.SetBounds(130, 64, 16, 22);
    Pages.SetBounds(200, 8, 200, 150);
    Grid.SetBounds(200, 170, 200, 100);
    Grid.SetColCount(3);
    Grid.SetRowCount(4);
    Grid.SetDefaultColWidth(50);
    Grid.SetDefaultRowHeight(20);
    List.SetBounds(410, 8, 200, 150);
    Box.SetBounds(410, 170, 200, 100);
    Box.SetCaption("Panel");
    First.SetCaption("One");
    Second.SetCaption("Two");
    Status.SetSimpleText("Ready");
  }
  Button Ok{*this, "Ok"};
  CheckBox Check{*this, "Check"};
  Edit Name{*this, "Name"};
  Memo Notes{*this, "Notes"};
  ComboBox Kind{*this, "Kind"};
  ColorBox Colors{*this, "Colors"};
  TrackBar Bar{*this, "Bar"};
  UpDown Spin{*this, "Spin"};
  PageControl Pages{*this, "Pages"};
  TabSheet First{Pages, "First"};
  TabSheet Second{Pages, "Second"};
  StringGrid Grid{*this, "Grid"};
  ListView List{*this, "List"};
  Panel Box{*this, "Box"};
  Edit InBox{Box, "InBox"};
  StatusBar Status{*this, "Status"};
};

class ToolkitControlsTest : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    form.Show();
    PumpFor(50);
  }
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  static std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
  }
  LPARAM At(int x, int y) { return MAKELPARAM(ToDevice(x, Dpi(form)), ToDevice(y, Dpi(form))); }
  AllControls form{app};
};

TEST_F(ToolkitControlsTest, EveryControlHasAChildWindowInItsParentsWindow) {
  for (Control* c : std::vector<Control*>{&form.Ok, &form.Check, &form.Name, &form.Notes, &form.Kind, &form.Colors,
                                          &form.Bar, &form.Spin, &form.Pages, &form.Grid, &form.List, &form.Box,
                                          &form.Status}) {
    ASSERT_NE(Of(*c), nullptr) << c->Name();
    EXPECT_EQ(GetParent(Of(*c)), Hwnd(form)) << c->Name();
  }
  EXPECT_EQ(GetParent(Of(form.InBox)), Of(form.Box));
  EXPECT_EQ(GetParent(Of(form.First)), Of(form.Pages));
  EXPECT_TRUE(IsWindowVisible(Of(form.First)));
  EXPECT_FALSE(IsWindowVisible(Of(form.Second)));
}

TEST_F(ToolkitControlsTest, PropertiesSetInCodeReachTheNativeControls) {
  form.Check.SetChecked(true);
  EXPECT_EQ(SendMessageW(Of(form.Check), BM_GETCHECK, 0, 0), BST_CHECKED);
  form.Name.SetText("Alarm");
  EXPECT_EQ(TextOf(Of(form.Name)), L"Alarm");
  form.Kind.SetItemIndex(1);
  EXPECT_EQ(SendMessageW(Of(form.Kind), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Of(form.Kind), CB_GETCOUNT, 0, 0), 2);
  form.Bar.SetRange(0, 50);
  form.Bar.SetPosition(30);
  EXPECT_EQ(SendMessageW(Of(form.Bar), TBM_GETPOS, 0, 0), 30);
  form.Spin.SetRange(0, 9);
  form.Spin.SetPosition(4);
  EXPECT_EQ(SendMessageW(Of(form.Spin), UDM_GETPOS32, 0, 0), 4);
  form.Pages.SetActivePage(1);
  EXPECT_EQ(SendMessageW(Of(form.Pages), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Of(form.Pages), TCM_GETITEMCOUNT, 0, 0), 2);
  form.List.AddColumn({"Name", 100});
  form.List.AddColumn({"Id", 50});
  form.List.AddItem({"clock.exe", {"42"}});
  EXPECT_EQ(SendMessageW(Of(form.List), LVM_GETITEMCOUNT, 0, 0), 1);
  wchar_t sub[16] = {};
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = sub;
  item.cchTextMax = 16;
  SendMessageW(Of(form.List), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(sub, L"42");
  form.Name.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Of(form.Name)));
}

TEST_F(ToolkitControlsTest, CodeChangesFireNoEventsEvenWhenTheControlEchoesThem) {
  int events = 0;
  form.Name.OnChange = [&](Control&) { ++events; };  // EN_CHANGE follows WM_SETTEXT
  form.Kind.OnChange = [&](Control&) { ++events; };
  form.Bar.OnChange = [&](Control&) { ++events; };
  form.Name.SetText("x");
  form.Kind.SetItemIndex(0);
  form.Bar.SetPosition(3);
  PumpFor(30);
  EXPECT_EQ(events, 0);
}

TEST_F(ToolkitControlsTest, ClickOnTheCheckBoxTogglesCheckedThenFiresOnClick) {
  std::vector<bool> seen;
  form.Check.OnClick = [&](Control&) { seen.push_back(form.Check.Checked()); };
  SendMessageW(Of(form.Check), BM_CLICK, 0, 0);
  PumpFor(20);
  ASSERT_EQ(seen, std::vector<bool>{true});
  EXPECT_EQ(SendMessageW(Of(form.Check), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ToolkitControlsTest, MousePressOnTheCheckBoxComesBeforeItsClickAndTheReleaseAfter) {
  std::vector<std::string> seen;
  form.Check.OnMouseDown = [&](Control&, MouseButton b, ShiftState, int, int) {
    seen.push_back(std::string("down:") + (form.Check.Checked() ? "on" : "off"));
  };
  form.Check.OnClick = [&](Control&) { seen.push_back(std::string("click:") + (form.Check.Checked() ? "on" : "off")); };
  form.Check.OnMouseUp = [&](Control&, MouseButton, ShiftState, int, int) { seen.push_back("up"); };
  SendMessageW(Of(form.Check), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageW(Of(form.Check), WM_LBUTTONUP, 0, At(5, 5));
  PumpFor(20);
  EXPECT_EQ(seen, (std::vector<std::string>{"down:off", "click:on", "up"}));
  EXPECT_EQ(SendMessageW(Of(form.Check), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ToolkitControlsTest, TheProgramMovesTheMousePointer) {
  app.GetScreen().SetCursorPos({form.Left() + 40, form.Top() + 30});
  POINT p{};
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, ToDevice(form.Left() + 40, Dpi(form)));
  EXPECT_EQ(p.y, ToDevice(form.Top() + 30, Dpi(form)));
  EXPECT_EQ(app.GetScreen().CursorPos(), (Point{form.Left() + 40, form.Top() + 30}));
}

TEST_F(ToolkitControlsTest, ButtonClickReachesOnClick) {
  int clicks = 0;
  form.Ok.OnClick = [&](Control&) { ++clicks; };
  SendMessageW(Of(form.Ok), BM_CLICK, 0, 0);
  PumpFor(20);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ToolkitControlsTest, CharactersTypedIntoTheEditChangeItsTextAndFireOnChange) {
  std::vector<std::string> seen;
  form.Name.OnChange = [&](Control&) { seen.push_back(form.Name.Text()); };
  SetFocus(Of(form.Name));
  EXPECT_EQ(form.ActiveControl(), &form.Name);
  SendMessageW(Of(form.Name), WM_CHAR, 'h', 0);
  SendMessageW(Of(form.Name), WM_CHAR, 'i', 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"h", "hi"}));
}

TEST_F(ToolkitControlsTest, KeyPressHandlerSwallowsTheCharacterBeforeTheEditSeesIt) {
  form.Name.OnKeyPress = [](Control&, char32_t& ch) {
    if (ch < '0' || ch > '9') ch = 0;
  };
  SendMessageW(Of(form.Name), WM_CHAR, 'a', 0);
  SendMessageW(Of(form.Name), WM_CHAR, '7', 0);
  EXPECT_EQ(form.Name.Text(), "7");
  EXPECT_EQ(TextOf(Of(form.Name)), L"7");
}

TEST_F(ToolkitControlsTest, TabKeyMovesTheFocusAndKeyPreviewSeesKeysFirst) {
  std::vector<std::string> order;
  form.SetKeyPreview(true);
  form.OnKeyDown = [&](Control&, KeyCode& key, ShiftState) { order.push_back("form " + std::to_string(key)); };
  form.Name.OnKeyDown = [&](Control&, KeyCode& key, ShiftState) { order.push_back("edit " + std::to_string(key)); };
  form.Name.SetFocus();
  EXPECT_EQ(GetFocus(), Of(form.Name));
  SendMessageW(Of(form.Name), WM_KEYDOWN, VK_END, 0);
  SendMessageW(Of(form.Name), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(order, (std::vector<std::string>{"form 35", "edit 35", "form 9", "edit 9"}));
  EXPECT_EQ(form.ActiveControl(), &form.Notes);  // the next tab stop in declaration order
  EXPECT_EQ(GetFocus(), Of(form.Notes));
}

// The system character of an Alt+key a handler took must not reach the default handling, which
// asks for the menu of that letter (WM_SYSCOMMAND) and beeps when there is none.
std::vector<UINT> g_menuRequests;
LRESULT CALLBACK NoteMenuRequests(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg != WM_SYSCOMMAND) return DefSubclassProc(hwnd, msg, wp, lp);
  g_menuRequests.push_back(static_cast<UINT>(wp & 0xFFF0));
  return 0;  // no menu loop in the test
}

TEST_F(ToolkitControlsTest, AnAltKeyTakenByAHandlerLeavesNoSystemCharacterBehind) {
  form.OnSystemMessage = [&](Form&, const SystemMessage& m) {
    if (m.kind != SystemMessageKind::SysCommand) return SystemMessageResult{};
    g_menuRequests.push_back(m.code);
    return SystemMessageResult{true, 0};
  };
  form.SetKeyPreview(true);
  form.OnKeyDown = [](Control&, KeyCode& key, ShiftState) {
    if (key == 'S') key = 0;
  };
  for (HWND target : {Of(form.Name), Hwnd(form)}) {
    SCOPED_TRACE(target == Hwnd(form) ? "form" : "control");
    if (target != Hwnd(form)) {
      SetFocus(target);
      ASSERT_TRUE(SetWindowSubclass(target, &NoteMenuRequests, 1, 0));
    }
    g_menuRequests.clear();
    SendMessageW(target, WM_SYSKEYDOWN, 'S', 0x20000000);
    SendMessageW(target, WM_SYSCHAR, 's', 0x20000000);
    EXPECT_TRUE(g_menuRequests.empty());
    // A key no handler took goes on as before: its character asks for the menu.
    SendMessageW(target, WM_SYSKEYDOWN, 'D', 0x20000000);
    SendMessageW(target, WM_SYSCHAR, 'd', 0x20000000);
    EXPECT_EQ(g_menuRequests, (std::vector<UINT>{SC_KEYMENU}));
    if (target != Hwnd(form)) RemoveWindowSubclass(target, &NoteMenuRequests, 1);
  }
}

TEST_F(ToolkitControlsTest, PressOnAGridCellSelectsItThroughOnSelectCell) {
  std::vector<std::pair<int, int>> asked;
  form.Grid.OnSelectCell = [&](Control&, int col, int row, bool&) { asked.emplace_back(col, row); };
  PostMessageW(Of(form.Grid), WM_LBUTTONDOWN, MK_LBUTTON, At(75, 45));
  PostMessageW(Of(form.Grid), WM_LBUTTONUP, 0, At(75, 45));
  ASSERT_TRUE(PumpUntil([&] { return !asked.empty(); }, 2000));
  EXPECT_EQ(asked.front(), (std::pair<int, int>{1, 2}));
  EXPECT_EQ(form.Grid.Col(), 1);
  EXPECT_EQ(form.Grid.Row(), 2);
  PumpFor(20);
  EXPECT_EQ(form.ActiveControl(), &form.Grid);
}

TEST_F(ToolkitControlsTest, TabControlSelectionAndListColumnClickReachTheirEvents) {
  int pageChanges = 0;
  form.Pages.OnChange = [&](Control&) { ++pageChanges; };
  // The user's selection as the tab control reports it to its parent.
  SendMessageW(Of(form.Pages), TCM_SETCURSEL, 1, 0);
  NMHDR hdr{Of(form.Pages), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(Hwnd(form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(pageChanges, 1);
  EXPECT_EQ(form.Pages.ActivePageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(Of(form.Second)));

  form.List.AddColumn({"Name", 100});
  int clicked = -1;
  form.List.OnColumnClick = [&](Control&, int column) { clicked = column; };
  NMLISTVIEW nm{};
  nm.hdr = {Of(form.List), 0, static_cast<UINT>(LVN_COLUMNCLICK)};
  nm.iSubItem = 0;
  SendMessageW(Hwnd(form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(clicked, 0);
}

TEST_F(ToolkitControlsTest, UpDownArrowSpinsThePortablePosition) {
  form.Spin.SetRange(0, 5);
  std::vector<UpDownDirection> directions;
  form.Spin.OnChangingEx = [&](Control&, bool&, int, UpDownDirection d) { directions.push_back(d); };
  NMUPDOWN nm{};
  nm.hdr = {Of(form.Spin), 0, static_cast<UINT>(UDN_DELTAPOS)};
  nm.iDelta = 1;
  EXPECT_EQ(SendMessageW(Hwnd(form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)), 1);
  EXPECT_EQ(form.Spin.Position(), 1);
  EXPECT_EQ(SendMessageW(Of(form.Spin), UDM_GETPOS32, 0, 0), 1);
  ASSERT_EQ(directions, std::vector<UpDownDirection>{UpDownDirection::Up});
}

TEST_F(ToolkitControlsTest, DestroyingTheFormTakesTheControlWindows) {
  const HWND edit = Of(form.Name);
  const HWND grid = Of(form.Grid);
  form.BeforeDestruction();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(IsWindow(grid));
  EXPECT_EQ(form.Name.Peer(), 0u);
}

}  // namespace
}  // namespace vm::ui::testing

// The drawn grid's own scroll bars, the wheel and double clicks on real windows, and the mouse
// over a graphic control inside a panel.

#include <string>
#include <vector>

#include "toolkit_support_win32.h"

namespace vm::ui::testing {
namespace {

class ScrollingForm : public Form {
 public:
  explicit ScrollingForm(Application& app) : Form(app, "ScrollingForm") {
    SetBounds(100, 100, 480, 320);
    SetCaption("Scrolling");
    Grid.SetBounds(8, 8, 200, 100);
    Grid.SetColCount(6);
    Grid.SetRowCount(20);
    Grid.SetFixedCols(1);
    Grid.SetDefaultColWidth(60);
    Grid.SetDefaultRowHeight(20);
    Box.SetBounds(220, 8, 200, 100);
    Link.SetBounds(10, 10, 60, 20);
    Link.SetCaption("link");
    Link.SetCursor(Cursor::Hand);
  }
  StringGrid Grid{*this, "Grid"};
  Panel Box{*this, "Box"};
  Label Link{Box, "Link"};
};

class GridScrollWin32Test : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    form.Show();
    PumpFor(50);
    UpdateWindow(Of(form.Grid));
  }
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  LPARAM At(int x, int y) { return MAKELPARAM(ToDevice(x, Dpi(form)), ToDevice(y, Dpi(form))); }
  SCROLLINFO Bar(int which) {
    UpdateWindow(Of(form.Grid));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(Of(form.Grid), which, &info);
    return info;
  }
  ScrollingForm form{app};
};

TEST_F(GridScrollWin32Test, TheWindowsBarsShowTheRowsAndColumnsAndMoveTheGrid) {
  SCROLLINFO v = Bar(SB_VERT);
  EXPECT_EQ(v.nMax, 18);
  EXPECT_EQ(static_cast<int>(v.nPage), form.Grid.VisibleRowCount());
  EXPECT_EQ(v.nPos, 0);
  SCROLLINFO h = Bar(SB_HORZ);
  EXPECT_EQ(h.nMax, 4);
  EXPECT_EQ(static_cast<int>(h.nPage), form.Grid.VisibleColCount());

  SendMessageW(Of(form.Grid), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(form.Grid.TopRow(), 2);
  SendMessageW(Of(form.Grid), WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(form.Grid.LeftCol(), 2);
  EXPECT_EQ(Bar(SB_VERT).nPos, 1);  // the bar follows at the next paint
  EXPECT_EQ(Bar(SB_HORZ).nPos, 1);
  SendMessageW(Of(form.Grid), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(form.Grid.TopRow(), 20 - form.Grid.VisibleRowCount());
}

TEST_F(GridScrollWin32Test, TheWheelScrollsThreeRowsANotch) {
  POINT at{ToDevice(50, Dpi(form)), ToDevice(50, Dpi(form))};
  ClientToScreen(Of(form.Grid), &at);
  SendMessageW(Of(form.Grid), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(at.x, at.y));
  EXPECT_EQ(form.Grid.TopRow(), 4);
  SendMessageW(Of(form.Grid), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(at.x, at.y));
  EXPECT_EQ(form.Grid.TopRow(), 1);
}

TEST_F(GridScrollWin32Test, ADoubleClickOnTheGridReachesOnDblClickOnce) {
  int doubles = 0, clicks = 0;
  form.Grid.OnDblClick = [&](Control&) { ++doubles; };
  form.Grid.OnClick = [&](Control&) { ++clicks; };
  const HWND grid = Of(form.Grid);
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(90, 50));
  SendMessageW(grid, WM_LBUTTONUP, 0, At(90, 50));
  SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, At(90, 50));
  SendMessageW(grid, WM_LBUTTONUP, 0, At(90, 50));
  PumpFor(20);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.Grid.Row(), 2);
}

TEST_F(GridScrollWin32Test, ALabelInAPanelIsEnteredAndLeftAndShowsItsCursor) {
  std::vector<std::string> events;
  form.Link.OnMouseEnter = [&](Control&) { events.push_back("enter"); };
  form.Link.OnMouseLeave = [&](Control&) { events.push_back("leave"); };
  const HWND box = Of(form.Box);
  SendMessageW(box, WM_MOUSEMOVE, 0, At(20, 15));
  EXPECT_EQ(events, (std::vector<std::string>{"enter"}));
  EXPECT_EQ(form.Box.CursorAt({20, 15}), Cursor::Hand);
  SendMessageW(box, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

}  // namespace
}  // namespace vm::ui::testing

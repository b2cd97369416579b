// Colours, borders and up-down options of native controls on real windows: what the form answers
// to the controls' colour questions, the pixels they paint, and the styles they get.

#include "toolkit_support_win32.h"

#include <commctrl.h>

namespace vm::ui::testing {
namespace {

class ColouredControls : public Form {
 public:
  explicit ColouredControls(Application& app) : Form(app, "ColouredControls") {
    SetBounds(120, 120, 400, 300);
    SetColor(clWindow);
    Box.SetBounds(8, 8, 200, 20);
    Box.SetCaption("Box");
    Grey.SetBounds(8, 40, 160, 22);
    Grey.SetColor(clBtnFace);
    Grey.SetFontColor(clGray);
    Grey.SetText("grey");
    Plain.SetBounds(8, 70, 160, 22);
    Count.SetBounds(8, 100, 40, 22);
    Count.SetBorder(false);
    Count.SetReadOnly(true);
    Spin.SetBounds(50, 100, 17, 22);
    Spin.SetArrowKeys(false);
    Spin.SetAssociate(&Count);
    Pages.SetBounds(200, 8, 190, 150);
    OnPage.SetBounds(8, 8, 150, 20);
    OnPage.SetCaption("On a page");
    Sheet.SetColor(clBtnFace);  // the box on it follows the page, not the form
    Rows.SetBounds(8, 140, 180, 120);
    Rows.SetColor(kRowsBack);
    Rows.SetFontColor(kRowsText);
    Rows.AddColumn({"Name", 100});
    Rows.AddItem({"first", {}, -1, 0});
  }
  static constexpr Color kRowsBack = MakeRgb(0xF0, 0xE0, 0x30);
  static constexpr Color kRowsText = MakeRgb(0x10, 0x20, 0x90);
  CheckBox Box{*this, "Box"};
  Edit Grey{*this, "Grey"};
  Edit Plain{*this, "Plain"};
  Edit Count{*this, "Count"};
  UpDown Spin{*this, "Spin"};
  PageControl Pages{*this, "Pages"};
  TabSheet Sheet{Pages, "Sheet"};
  CheckBox OnPage{Sheet, "OnPage"};
  ListView Rows{*this, "Rows"};
};

class ControlColours : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    form.Show();
    PumpFor(100);
  }
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  // Asks the control's parent window for its colours as the control does before painting.
  struct Answer {
    LRESULT brush;
    COLORREF text;
    COLORREF back;
  };
  static Answer Ask(const Control& c, UINT message) {
    HWND child = Of(c);
    HDC dc = GetDC(child);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const LRESULT brush = SendMessageW(GetParent(child), message, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(child));
    Answer answer{brush, GetTextColor(dc), GetBkColor(dc)};
    ReleaseDC(child, dc);
    return answer;
  }
  ColouredControls form{app};
};

TEST_F(ControlColours, CheckBoxesTakeTheWindowColourAndColouredEditsTheirOwn) {
  const Answer box = Ask(form.Box, WM_CTLCOLORSTATIC);
  EXPECT_NE(box.brush, 0);
  EXPECT_EQ(box.back, GetSysColor(COLOR_WINDOW));
  const Answer onPage = Ask(form.OnPage, WM_CTLCOLORSTATIC);  // asked of the page's window
  EXPECT_NE(onPage.brush, 0);
  EXPECT_EQ(onPage.back, GetSysColor(COLOR_BTNFACE));

  const Answer grey = Ask(form.Grey, WM_CTLCOLOREDIT);
  EXPECT_EQ(grey.text, RGB(128, 128, 128));
  EXPECT_EQ(grey.back, GetSysColor(COLOR_BTNFACE));
  // An edit without colours of its own is left to the system.
  const Answer plain = Ask(form.Plain, WM_CTLCOLOREDIT);
  EXPECT_EQ(plain.back, GetSysColor(COLOR_WINDOW));
  EXPECT_NE(plain.text, RGB(128, 128, 128));
}

TEST_F(ControlColours, TheCheckBoxPaintsItsBackgroundInTheWindowColour) {
  if (GetSysColor(COLOR_WINDOW) == GetSysColor(COLOR_BTNFACE))
    GTEST_SKIP() << "the window and button colours are the same in this colour scheme";
  HWND box = Of(form.Box);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  PumpFor(100);
  RECT r;
  GetClientRect(box, &r);
  HDC dc = GetDC(box);
  const COLORREF pixel = GetPixel(dc, r.right - 3, r.bottom / 2);  // right of the caption
  ReleaseDC(box, dc);
  if (pixel == CLR_INVALID) GTEST_SKIP() << "the window's pixels cannot be read back here";
  EXPECT_EQ(pixel, GetSysColor(COLOR_WINDOW));
}

TEST_F(ControlColours, BordersAndUpDownOptionsReachTheWindows) {
  EXPECT_EQ(GetWindowLongPtrW(Of(form.Count), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(GetWindowLongPtrW(Of(form.Plain), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  form.Count.SetBorder(true);
  EXPECT_NE(GetWindowLongPtrW(Of(form.Count), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  HWND spin = Of(form.Spin);
  EXPECT_EQ(GetWindowLongPtrW(spin, GWL_STYLE) & UDS_ARROWKEYS, 0);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), Of(form.Count));
  form.Spin.SetArrowKeys(true);
  form.Spin.SetWrap(true);
  form.Spin.SetAlignButton(UpDownAlign::Left);  // pushes the style again, with the wrap
  EXPECT_NE(GetWindowLongPtrW(spin, GWL_STYLE) & UDS_ARROWKEYS, 0);
  EXPECT_NE(GetWindowLongPtrW(spin, GWL_STYLE) & UDS_WRAP, 0);
}

TEST_F(ControlColours, TheListViewTakesItsColoursAlsoWhenTheyChangeLater) {
  HWND rows = Of(form.Rows);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(rows, LVM_GETBKCOLOR, 0, 0)), ColouredControls::kRowsBack);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(rows, LVM_GETTEXTBKCOLOR, 0, 0)), ColouredControls::kRowsBack);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(rows, LVM_GETTEXTCOLOR, 0, 0)), ColouredControls::kRowsText);
  // Painted: the empty area below the row shows the background.
  RedrawWindow(rows, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  HDC dc = GetDC(rows);
  RECT client;
  GetClientRect(rows, &client);
  const COLORREF below = GetPixel(dc, client.right / 2, client.bottom - 4);
  ReleaseDC(rows, dc);
  if (below != CLR_INVALID) {
    EXPECT_EQ(below, ColouredControls::kRowsBack);
  }

  form.Rows.SetColor(clWhite);
  form.Rows.SetFontColor(clBlack);
  UpdateWindow(rows);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(rows, LVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(rows, LVM_GETTEXTCOLOR, 0, 0)), RGB(0, 0, 0));
}

}  // namespace
}  // namespace vm::ui::testing

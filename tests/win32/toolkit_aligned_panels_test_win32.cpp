// Panels inside panels on real windows: a bar shown at the top of a panel and a grid filling the
// rest keep their own bounds when the outer panel is resized, and the grid is drawn, not left
// black under a bar window that grew over it.

#include "toolkit_support_win32.h"

namespace vm::ui::testing {
namespace {

class PanelsForm : public Form {
 public:
  explicit PanelsForm(Application& app) : Form(app, "PanelsForm") {
    SetBounds(100, 100, 420, 320);
    SetCaption("Panels");
    Outer.SetBounds(8, 8, 300, 200);
    Outer.SetBevelOuter(PanelBevel::None);
    Bar.SetAlign(Align::Top);
    Bar.SetHeight(32);
    Bar.SetVisible(false);
    Grid.SetAlign(Align::Client);
    Grid.SetColor(kGridColor);
    Grid.SetColCount(2);
    Grid.SetRowCount(2);
    Grid.SetDefaultColWidth(40);
    Grid.SetDefaultRowHeight(20);
  }
  static constexpr Color kGridColor = MakeRgb(0x20, 0xC0, 0x40);
  Panel Outer{*this, "Outer"};
  Panel Bar{Outer, "Bar"};
  StringGrid Grid{Outer, "Grid"};
};

class AlignedPanelsWin32Test : public Win32ToolkitTest {
 protected:
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  int DeviceHeight(const Control& c) {
    RECT r;
    GetWindowRect(Of(c), &r);
    return r.bottom - r.top;
  }
  // The colour on screen at a design point of `c`'s client area.
  Color PixelOf(const Control& c, int x, int y) {
    UpdateWindow(Hwnd(form));
    RedrawWindow(Hwnd(form), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(Of(c));
    const COLORREF pixel = GetPixel(dc, ToDevice(x, Dpi(form)), ToDevice(y, Dpi(form)));
    ReleaseDC(Of(c), dc);
    return static_cast<Color>(pixel);
  }
  PanelsForm form{app};
};

TEST_F(AlignedPanelsWin32Test, ABarShownAtTheTopKeepsItsHeightWhenItsPanelIsResized) {
  form.Show();
  PumpFor(50);
  form.Bar.SetVisible(true);
  form.Outer.SetBounds(8, 8, 320, 240);
  PumpFor(50);
  EXPECT_EQ(form.Bar.Height(), 32);
  EXPECT_EQ(DeviceHeight(form.Bar), ToDevice(32, Dpi(form)));
  EXPECT_EQ(DeviceHeight(form.Grid), ToDevice(240 - 32, Dpi(form)));
  // The grid's empty area below its cells shows the grid's colour.
  EXPECT_EQ(PixelOf(form.Grid, 200, 150), PanelsForm::kGridColor);
}

}  // namespace
}  // namespace vm::ui::testing

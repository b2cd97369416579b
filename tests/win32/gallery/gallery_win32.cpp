// A form with one of each control kind. Arguments: --ready FILE writes "shown" to FILE once the
// window is on the screen and painted; --close-after MS closes it after MS milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "ui/toolkit/backend_win32.h"
#include "ui/toolkit/toolkit.h"

namespace {

using namespace vm::ui;

Font FontOf(const char* name, int points, bool bold = false, bool italic = false, Color color = clWindowText) {
  Font f;
  f.name = name;
  f.SetSizePoints(points);
  f.bold = bold;
  f.italic = italic;
  f.color = color;
  return f;
}

Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelAt(x, y, ColorToPixel(MakeRgb(x * 255 / w, y * 255 / h, 160)));
  return b;
}

class Gallery : public Form {
 public:
  Gallery(Application& app, std::string readyFile, int closeAfterMs)
      : Form(app, "Gallery"), readyFile_(std::move(readyFile)) {
    SetCaption("Vemtaro gallery");
    SetBounds(20, 20, 760, 560);
    SetBorderStyle(BorderStyle::Single);

    Title.SetBounds(8, 6, 300, 28);
    Title.SetCaption("Vemtaro controls");
    Title.SetFont(FontOf("Arial", 16, true, false, clNavy));
    Small.SetBounds(8, 36, 300, 16);
    Small.SetCaption("Tahoma 8, italic");
    Small.SetFont(FontOf("Tahoma", 8, false, true));
    Mono.SetBounds(8, 54, 300, 18);
    Mono.SetCaption("Courier New 10: 12:34:56");
    Mono.SetFont(FontOf("Courier New", 10));

    Picture.SetBounds(320, 6, 64, 64);
    Picture.SetPicture(Gradient(64, 64));
    Circle.SetBounds(392, 6, 64, 64);
    Circle.SetBrushColor(clYellow);
    Frame.SetBounds(464, 6, 64, 64);
    Paint.SetBounds(536, 6, 64, 64);
    Paint.OnPaint = [](Control&, Canvas& c) {
      c.FillRect({0, 0, 64, 64}, clWhite);
      for (int i = 0; i < 64; i += 8) c.Line({0, i}, {64, 64 - i}, clRed);
    };

    Ok.SetBounds(8, 80, 80, 26);
    Ok.SetCaption("Button");
    Ok.OnClick = [this](Control&) { Status.SetSimpleText("Button clicked"); };
    Check.SetBounds(96, 80, 120, 24);
    Check.SetCaption("Check box");
    Check.SetChecked(true);
    Name.SetBounds(8, 112, 150, 22);
    Name.SetText("Edit text");
    Count.SetBounds(166, 112, 44, 22);
    Count.SetEditMask("!999;1; ");
    Spin.SetBounds(210, 112, 17, 22);
    Spin.SetRange(0, 999);
    Spin.SetAssociate(&Count);
    Spin.SetPosition(15);
    Notes.SetBounds(8, 140, 220, 70);
    Notes.SetScrollBars(ScrollStyle::Vertical);
    Notes.SetLines({"Memo line one", "Memo line two", "Memo line three"});
    Kind.SetBounds(8, 218, 150, 22);
    Kind.SetItems({"Once", "Daily", "Weekly", "Monthly"});
    Kind.SetItemIndex(1);
    Colors.SetBounds(8, 248, 150, 22);
    Colors.SetStyle({.custom = true, .standard = true, .extended = true});
    Colors.SetSelected(clTeal);
    Volume.SetBounds(8, 278, 220, 32);
    Volume.SetRange(0, 20);
    Volume.SetFrequency(2);
    Volume.SetPosition(12);

    Grid.SetBounds(240, 80, 250, 130);
    Grid.SetColCount(3);
    Grid.SetRowCount(5);
    Grid.SetDefaultColWidth(80);
    Grid.SetDefaultRowHeight(24);
    Grid.SetCell(0, 0, "Time");
    Grid.SetCell(1, 0, "Task");
    Grid.SetCell(2, 0, "State");
    const char* tasks[] = {"Alarm", "Reminder", "Shutdown", "Program"};
    for (int r = 1; r < 5; ++r) {
      Grid.SetCell(0, r, std::to_string(6 + r) + ":00");
      Grid.SetCell(1, r, tasks[r - 1]);
    }
    Grid.OnDrawCell = [this](Control&, int col, int row, const Rect& rect, GridDrawState) {
      Canvas* canvas = Grid.PaintCanvas();
      if (col != 2 || row == 0 || !canvas) return;
      canvas->FillRect(rect.Inflate(-4, -4), row % 2 ? clLime : clRed);
    };

    List.SetBounds(500, 80, 240, 130);
    List.AddColumn({"Process", 120, 60, 200});
    List.AddColumn({"Id", 50});
    List.AddItem({"vemtaro.exe", {"1204"}});
    List.AddItem({"explorer.exe", {"880"}});
    List.AddItem({"notepad.exe", {"3321"}});
    List.SetItemIndex(1);

    Pages.SetBounds(240, 220, 250, 150);
    One.SetCaption("General");
    Two.SetCaption("Sound");
    OnOne.SetBounds(8, 8, 200, 20);
    OnOne.SetCaption("The first page");
    Pages.SetTabWidth(80);

    Box.SetBounds(500, 220, 240, 150);
    Box.SetBevelOuter(PanelBevel::Lowered);
    Left.SetWidth(80);
    Left.SetAlign(Align::Left);
    Left.SetCaption("Left");
    Split.SetAlign(Align::Left);
    Right.SetAlign(Align::Client);
    Right.SetCaption("Right");
    Right.SetColor(clInfoBk);

    Status.SetSimpleText("Status bar: ready");

    ReadyTimer.SetInterval(500);
    ReadyTimer.OnTimer = [this](Timer& t) {
      t.SetEnabled(false);
      if (readyFile_.empty()) return;
      if (FILE* f = std::fopen(readyFile_.c_str(), "w")) {
        std::fputs("shown\n", f);
        std::fclose(f);
      }
    };
    CloseTimer.SetEnabled(closeAfterMs > 0);
    CloseTimer.SetInterval(closeAfterMs > 0 ? closeAfterMs : 1000);
    CloseTimer.OnTimer = [this](Timer&) { Close(); };
  }

  Label Title{*this, "Title"};
  Label Small{*this, "Small"};
  Label Mono{*this, "Mono"};
  Image Picture{*this, "Picture"};
  Shape Circle{*this, "Circle"};
  Bevel Frame{*this, "Frame"};
  PaintBox Paint{*this, "Paint"};
  Button Ok{*this, "Ok"};
  CheckBox Check{*this, "Check"};
  Edit Name{*this, "Name"};
  MaskEdit Count{*this, "Count"};
  UpDown Spin{*this, "Spin"};
  Memo Notes{*this, "Notes"};
  ComboBox Kind{*this, "Kind"};
  ColorBox Colors{*this, "Colors"};
  TrackBar Volume{*this, "Volume"};
  StringGrid Grid{*this, "Grid"};
  ListView List{*this, "List"};
  PageControl Pages{*this, "Pages"};
  TabSheet One{Pages, "One"};
  TabSheet Two{Pages, "Two"};
  Label OnOne{One, "OnOne"};
  Panel Box{*this, "Box"};
  Panel Left{Box, "Left"};
  Splitter Split{Box, "Split"};
  Panel Right{Box, "Right"};
  StatusBar Status{*this, "Status"};
  Timer ReadyTimer{*this, "ReadyTimer"};
  Timer CloseTimer{*this, "CloseTimer"};

 private:
  std::string readyFile_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string readyFile;
  int closeAfter = 0;
  for (int i = 1; argv && i + 1 < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--ready") readyFile = win32::Narrow(argv[++i]);
    else if (arg == L"--close-after") closeAfter = _wtoi(argv[++i]);
  }
  if (argv) LocalFree(argv);
  Win32Backend backend;
  Application app(backend);
  app.SetTitle("Vemtaro gallery");
  app.CreateForm<Gallery>(readyFile, closeAfter);
  app.Run();
  return 0;
}

// A form with one of each control kind and of the controls' abilities (colours, mouse events
// reported in the status bar, hints and cursors, scrolling, up-down options, a sorted list that
// is updated row by row, the web-page area, themed buttons). Arguments: --ready FILE writes
// "shown" to FILE once the window is on the screen and painted, and then every text the status
// bar shows as a line "status: TEXT"; --close-after MS closes it after MS milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "theme/builtin_pictures.h"
#include "theme/dbut.h"
#include "ui/toolkit/backend_win32.h"
#include "ui/toolkit/toolkit.h"

namespace {

using namespace vm::ui;
namespace theme = vm::theme;

Font FontOf(const char* name, int points, bool bold = false, bool italic = false, Color color = clWindowText) {
  Font f;
  f.name = name;
  f.SetSizePoints(points);
  f.bold = bold;
  f.italic = italic;
  f.color = color;
  return f;
}

std::string Where(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

const char* ButtonName(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return "left";
    case MouseButton::Right: return "right";
    default: return "middle";
  }
}

// A small local page for the web-page area, next to the program.
std::string WritePage() {
  wchar_t folder[MAX_PATH] = {};
  if (!GetCurrentDirectoryW(MAX_PATH, folder)) return {};
  const std::string path = win32::Narrow(folder) + "\\gallery_page.html";
  if (FILE* f = std::fopen(path.c_str(), "w")) {
    std::fputs("<html><body style='font-family:Arial'><h3>Vemtaro</h3><p>A local page.</p></body></html>\n", f);
    std::fclose(f);
    return path;
  }
  return {};
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
    SetBounds(20, 20, 1010, 650);
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
    Ok.OnClick = [this](Control&) { Report("Button clicked"); };
    Check.SetBounds(96, 80, 120, 24);
    Check.SetCaption("Check box");
    Check.SetChecked(true);
    Check.OnMouseDown = [this](Control&, MouseButton b, ShiftState, int x, int y) {
      Report(std::string("Check box: ") + ButtonName(b) + " press at " + Where(x, y));
    };
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

    // More cells than fit: both scroll bars, the wheel, and the selected cell kept in view.
    Grid.SetBounds(240, 80, 250, 130);
    Grid.SetColCount(5);
    Grid.SetRowCount(13);
    Grid.SetFixedCols(1);
    Grid.SetDefaultColWidth(70);
    Grid.SetDefaultRowHeight(22);
    Grid.SetColWidth(0, 50);
    const char* heads[] = {"Time", "Task", "State", "Repeat", "Note"};
    for (int c = 0; c < 5; ++c) Grid.SetCell(c, 0, heads[c]);
    const char* tasks[] = {"Alarm", "Reminder", "Shutdown", "Program"};
    for (int r = 1; r < 13; ++r) {
      Grid.SetCell(0, r, std::to_string(6 + r) + ":00");
      Grid.SetCell(1, r, tasks[(r - 1) % 4]);
      Grid.SetCell(3, r, r % 3 ? "Daily" : "Once");
      Grid.SetCell(4, r, "Row " + std::to_string(r));
    }
    Grid.SetSelected(1, 2);
    Grid.OnDblClick = [this](Control&) {
      Report("Grid: double-click on " + Grid.Cell(0, Grid.Row()) + ", column " +
                           std::to_string(Grid.Col()));
    };
    Grid.OnDrawCell = [this](Control&, int col, int row, const Rect& rect, GridDrawState) {
      Canvas* canvas = Grid.PaintCanvas();
      if (col != 2 || row == 0 || !canvas) return;
      canvas->FillRect(rect.Inflate(-4, -4), row % 2 ? clLime : clRed);
    };

    // Kept sorted by id through the window's compare handler as rows are added; the CPU column
    // is updated row by row every second (no rebuild: the scroll position and selection stay).
    List.SetBounds(500, 80, 240, 130);
    List.AddColumn({"Process", 110, 60, 200});
    List.AddColumn({"Id", 50, 0, 0, TextAlign::Right});
    List.AddColumn({"CPU", 50, 0, 0, TextAlign::Right});
    List.OnCompare = [](Control&, const ListItem& a, const ListItem& b, int, int& compare) {
      compare = a.data < b.data ? -1 : a.data > b.data ? 1 : 0;
    };
    List.SetSorted(true);
    const std::pair<const char*, int> processes[] = {
        {"vemtaro.exe", 1204}, {"explorer.exe", 880}, {"notepad.exe", 3321}, {"services.exe", 412},
        {"winlogon.exe", 560}, {"svchost.exe", 2044}, {"taskmgr.exe", 2980}, {"spoolsv.exe", 1500}};
    for (auto& [name, id] : processes) {
      ListItem item{name, {std::to_string(id), "0 %"}};
      item.data = id;
      List.AddItem(item);
    }
    List.SetItemIndex(1);
    List.OnMouseDown = [this](Control&, MouseButton b, ShiftState, int x, int y) {
      const int row = List.ItemIndex();
      Report(std::string("List view: ") + ButtonName(b) + " press at " + Where(x, y) +
                           (row >= 0 ? ", row " + std::to_string(row) + " (" + List.Item(row).caption + ")"
                                     : ", no row"));
    };
    CpuTimer.SetInterval(1000);
    CpuTimer.OnTimer = [this](Timer&) {
      ++ticks_;
      const int row = ticks_ % List.ItemCount();
      List.SetItemText(row, 2, std::to_string((ticks_ * 7 + row * 13) % 40) + " %");
    };
    ListNote.SetBounds(610, 40, 140, 32);
    ListNote.SetWordWrap(true);
    ListNote.SetCaption("List: sorted by id, CPU updated row by row");

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
    Right.SetColor(clInfoBk);
    // Graphic controls inside a panel: hints, the hand and cross cursors, entry and exit.
    HoverLabel.SetBounds(6, 6, 140, 16);
    HoverLabel.SetCaption("Point at me (hint)");
    HoverLabel.SetTransparent(true);
    HoverLabel.SetHint("A label inside a panel");
    HoverLabel.SetShowHint(true);
    HoverLabel.SetCursor(Cursor::Hand);
    HoverLabel.OnMouseEnter = [this](Control&) { Report("Mouse entered the label in the panel"); };
    HoverLabel.OnMouseLeave = [this](Control&) { Report("Mouse left the label in the panel"); };
    HoverShape.SetBounds(6, 30, 60, 24);
    HoverShape.SetBrushColor(clAqua);
    HoverShape.SetHint("A shape inside a panel");
    HoverShape.SetShowHint(true);
    HoverShape.SetCursor(Cursor::Cross);
    HoverShape.OnMouseEnter = [this](Control&) { Report("Mouse entered the shape in the panel"); };
    HoverShape.OnMouseLeave = [this](Control&) { Report("Mouse left the shape in the panel"); };
    ShapeNote.SetBounds(72, 34, 80, 16);
    ShapeNote.SetTransparent(true);
    ShapeNote.SetCaption("cross cursor");

    DescribeNewerAbilities();

    Status.SetSimpleText("Status bar: presses, double-clicks and the pointer's moves are reported here");

    ReadyTimer.SetInterval(500);
    ReadyTimer.OnTimer = [this](Timer& t) {
      t.SetEnabled(false);
      if (readyFile_.empty()) return;
      if (FILE* f = std::fopen(readyFile_.c_str(), "w")) {
        std::fputs("shown\n", f);
        std::fclose(f);
        shown_ = true;
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
  Label HoverLabel{Right, "HoverLabel"};
  Shape HoverShape{Right, "HoverShape"};
  Label ShapeNote{Right, "ShapeNote"};
  Label ListNote{*this, "ListNote"};

  // ---- colours of native controls ----
  Label ColorsTitle{*this, "ColorsTitle"};
  Edit ColorEdit{*this, "ColorEdit"};
  Memo ColorMemo{*this, "ColorMemo"};
  CheckBox ColorCheck{*this, "ColorCheck"};
  Panel ColorPanel{*this, "ColorPanel"};
  ListView ColorList{*this, "ColorList"};

  // ---- up-down options, the plain read-only edit ----
  Label SpinTitle{*this, "SpinTitle"};
  UpDown HourSpin{*this, "HourSpin"};
  Edit HourEdit{*this, "HourEdit"};
  Label HourNote{*this, "HourNote"};
  Label PlainTitle{*this, "PlainTitle"};
  Edit PlainEdit{*this, "PlainEdit"};

  // ---- themed buttons ----
  Label ThemeTitle{*this, "ThemeTitle"};
  ImageList Frames{theme::kButtonFrameWidth, theme::kButtonFrameHeight};
  ImageList Glyphs{theme::kAddListSize, theme::kAddListSize};
  Image ThemedPush{*this, "ThemedPush"};
  Image ThemedToggle{*this, "ThemedToggle"};
  Label ThemeNote{*this, "ThemeNote"};

  // ---- the web-page area ----
  Label WebTitle{*this, "WebTitle"};
  WebBrowser Web{*this, "Web"};
  Label WebNote{*this, "WebNote"};

  StatusBar Status{*this, "Status"};
  Timer ReadyTimer{*this, "ReadyTimer"};
  Timer CloseTimer{*this, "CloseTimer"};
  Timer CpuTimer{*this, "CpuTimer"};

 private:
  void DescribeNewerAbilities();
  // Shows a text in the status bar; once the window is shown, also appends it to the ready file.
  void Report(const std::string& text) {
    Status.SetSimpleText(text);
    if (!shown_) return;
    if (FILE* f = std::fopen(readyFile_.c_str(), "a")) {
      std::fprintf(f, "status: %s\n", text.c_str());
      std::fclose(f);
    }
  }
  bool shown_ = false;

  std::string readyFile_;
  int ticks_ = 0;
  // After the images and lists they use, so that they go first.
  std::unique_ptr<theme::DBut> pushButton_;
  std::unique_ptr<theme::DBut> toggleButton_;
};

void Gallery::DescribeNewerAbilities() {
  const Font heading = FontOf("Tahoma", 8, true);

  // Colours: background and text colours of the native controls.
  ColorsTitle.SetBounds(8, 318, 220, 16);
  ColorsTitle.SetFont(heading);
  ColorsTitle.SetCaption("Colours of native controls");
  ColorEdit.SetBounds(8, 338, 220, 22);
  ColorEdit.SetText("Navy text on yellow");
  ColorEdit.SetColor(clYellow);
  ColorEdit.SetFontColor(clNavy);
  ColorMemo.SetBounds(8, 366, 220, 44);
  ColorMemo.SetLines({"Navy memo", "with white text"});
  ColorMemo.SetColor(clNavy);
  ColorMemo.SetFontColor(clWhite);
  ColorCheck.SetBounds(8, 416, 220, 22);
  ColorCheck.SetCaption("Check box in maroon on cream");
  ColorCheck.SetColor(MakeRgb(255, 251, 240));
  ColorCheck.SetFontColor(clMaroon);
  ColorPanel.SetBounds(8, 444, 220, 34);
  ColorPanel.SetColor(clTeal);
  ColorPanel.SetFontColor(clWhite);
  ColorPanel.SetCaption("Teal panel, white caption");
  ColorList.SetBounds(8, 484, 220, 86);
  ColorList.AddColumn({"List view in colour", 196});
  ColorList.AddItem({"Green text", {}});
  ColorList.AddItem({"on a light green ground", {}});
  ColorList.SetColor(MakeRgb(224, 255, 224));
  ColorList.SetFontColor(clGreen);

  // The up-down's options: arrows on the left of their edit, no arrow keys, wrapping.
  SpinTitle.SetBounds(240, 378, 250, 16);
  SpinTitle.SetFont(heading);
  SpinTitle.SetCaption("Up-down: left, wraps, no arrow keys");
  HourEdit.SetBounds(257, 398, 40, 22);
  HourSpin.SetBounds(240, 398, 17, 22);
  HourSpin.SetAlignButton(UpDownAlign::Left);
  HourSpin.SetArrowKeys(false);
  HourSpin.SetWrap(true);
  HourSpin.SetRange(0, 23);
  HourSpin.SetAssociate(&HourEdit);
  HourSpin.SetPosition(23);
  HourSpin.OnClick = [this](Control&, UpDownButton button) {
    Report(std::string("Up-down: ") + (button == UpDownButton::Next ? "up" : "down") +
                         " to " + std::to_string(HourSpin.Position()));
  };
  HourNote.SetBounds(304, 401, 180, 16);
  HourNote.SetCaption("hours 0 .. 23, up from 23 is 0");

  // A read-only edit without its frame, in the window's colour: text that can be selected.
  PlainTitle.SetBounds(240, 430, 250, 16);
  PlainTitle.SetFont(heading);
  PlainTitle.SetCaption("Read-only edit without a border");
  PlainEdit.SetBounds(240, 450, 250, 18);
  PlainEdit.SetBorder(false);
  PlainEdit.SetReadOnly(true);
  PlainEdit.SetColor(clBtnFace);
  PlainEdit.SetText("C:\\Program Files\\Vemtaro\\tasks.sft");

  // Themed buttons: image controls painted from the program's own button frames.
  ThemeTitle.SetBounds(770, 6, 220, 16);
  ThemeTitle.SetFont(heading);
  ThemeTitle.SetCaption("Themed buttons");
  theme::FillBuiltinImL1(Frames);
  theme::FillBuiltinAddList(Glyphs);
  ThemedPush.SetBounds(770, 26, 96, 26);
  ThemedToggle.SetBounds(874, 26, 28, 26);
  pushButton_ = std::make_unique<theme::DBut>(ThemedPush, *this, nullptr, Frames);
  pushButton_->SetCaption("Push");
  pushButton_->DrawFrame(theme::DBut::kFrameNormal);
  toggleButton_ = std::make_unique<theme::DBut>(ThemedToggle, *this, &Glyphs, Frames);
  toggleButton_->SetGlyphIndex(theme::kPictureClock);
  toggleButton_->SetLatching(true);
  toggleButton_->DrawFrame(theme::DBut::kFrameNormal);
  ThemedPush.OnClick = [this](Control&) { Report("Themed button: pushed"); };
  ThemedToggle.OnClick = [this](Control&) {
    Report(std::string("Themed toggle: ") + (toggleButton_->Down() ? "down" : "up"));
  };
  ThemeNote.SetBounds(910, 30, 90, 16);
  ThemeNote.SetCaption("push, toggle");

  // The web-page area: the system's browser control, empty where there is no browser engine.
  WebTitle.SetBounds(770, 64, 220, 16);
  WebTitle.SetFont(heading);
  WebTitle.SetCaption("Web page");
  Web.SetBounds(770, 84, 220, 140);
  Web.SetColor(clWindow);
  const std::string page = WritePage();
  if (!page.empty()) Web.Navigate(page);
  WebNote.SetBounds(770, 228, 220, 32);
  WebNote.SetWordWrap(true);
  WebNote.SetCaption("A local page; the area stays empty where no browser engine is installed");
}

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

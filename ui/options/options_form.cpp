#include "ui/options/options_form.h"

#include <algorithm>
#include <cstddef>

#include "app/clock_fonts.h"
#include "app/main_form.h"
#include "core/log.h"
#include "platform/desktop.h"
#include "scheduler/close_program.h"
#include "scheduler/speech.h"
#include "theme/dgroup_buts.h"
#include "ui/toolkit/dpi.h"

namespace vm {

namespace {

// The miniature's design size; FormCreate fits it to the screen's proportions.
constexpr int kMiniatureWidth = 161;
constexpr int kMiniatureHeight = 126;
// Zoom positions are font sizes in points.
constexpr int kPointsPerInch = 72;
// The status icon that FontIm shows.
constexpr int kFontIcon = 9;


}  // namespace

TOptF::TOptF(ui::Application& app, TForm1& clock) : Form(app, "OptF"), clock_(clock) {
  DescribeForm();
  WireHandlers();
  WireAccess();
  ApplyLanguage();
}

void TOptF::DescribeForm() {
  SetCaption("OptF");
  SetBorderStyle(ui::BorderStyle::Single);
  SetColor(ui::clWindow);
  SetMinSize(390, 150);
  SetClientSize(405, 464);

  Shape1.SetBounds(0, 0, 405, 22);
  Shape1.SetBrushColor(ui::clBtnFace);
  Shape1.SetPenColor(ui::clNone);
  Shape4.SetBounds(0, 18, 405, 6);
  Shape4.SetBrushColor(ui::clSilver);
  Shape4.SetPenColor(ui::clNone);

  // The right edge stays where the design puts it; the text grows to the left.
  Label3.SetAlignment(ui::Alignment::Right);
  Label3.SetTransparent(true);
  Label3.SetBounds(311, 4, 86, 13);
  Label3.SetCaption("00.00.0000 00:00:00");
  FitBevel9();

  // Frames around the groups and separators between them.
  Bevel1.SetBounds(9, 45, 190, 125);
  Bevel2.SetBounds(9, 198, 190, 62);
  Bevel3.SetBounds(207, 32, 188, 228);
  Bevel4.SetBounds(9, 266, 386, 2);
  Bevel4.SetShape(ui::BevelShape::TopLine);
  Bevel5.SetBounds(9, 306, 386, 2);
  Bevel5.SetShape(ui::BevelShape::TopLine);
  Bevel6.SetBounds(9, 312, 386, 92);
  Bevel7.SetBounds(9, 410, 386, 2);
  Bevel7.SetShape(ui::BevelShape::TopLine);
  Bevel8.SetBounds(9, 414, 386, 36);

  Label1.SetBounds(9, 32, 90, 13);
  Label1.SetCaption("Start options: ");
  Label1.SetTransparent(true);
  AStartCB.SetBounds(21, 53, 170, 17);
  AStartCB.SetCaption("AutoStart");
  HideCB.SetBounds(21, 78, 170, 17);
  HideCB.SetCaption("Hide in tray after start");
  AsPanCB.SetBounds(21, 101, 170, 17);
  AsPanCB.SetCaption("Hide As Panel");
  UseMonCB.SetBounds(22, 149, 170, 17);
  UseMonCB.SetCaption("Speak every hour");
  for (ui::CheckBox* box : {&AStartCB, &HideCB, &AsPanCB, &UseMonCB, &ShowTimeCB, &TransColorCB})
    box->SetColor(ui::clWindow);

  ThemeL.SetBounds(9, 184, 80, 13);
  ThemeL.SetCaption("Color Themes ");
  ThemeL.SetTransparent(true);
  ThemeCB.SetStyle({.custom = true, .standard = true, .extended = true, .system = true});
  ThemeCB.SetBounds(24, 208, 145, 22);
  ThemeCB.SetItemIndex(0);
  ThemeCB.SetTag(0);
  FontIm.SetBounds(24, 235, 24, 18);
  FontIm.SetCursor(ui::Cursor::Hand);
  FontIm.SetCenter(true);
  FontIm.SetTransparent(true);

  LangL.SetBounds(129, 280, 60, 13);
  LangL.SetCaption("Language");
  LangL.SetTransparent(true);
  LangE.SetBounds(202, 277, 160, 21);
  LangE.SetReadOnly(true);
  LangE.SetColor(ui::clBtnFace);  // reads as a caption, not as a field to type into
  LangE.SetFontColor(ui::clGrayText);
  LangE.SetTabStop(false);
  Button1.SetBounds(366, 275, 23, 23);
  Button1.SetCaption("...");

  Panel1.SetBounds(215, 39, kMiniatureWidth, kMiniatureHeight);
  Panel1.SetColor(ui::clBlack);
  Panel1.SetFontColor(ui::clWhite);
  Panel1.SetCaption("Screen");
  Panel1.SetBevelOuter(ui::PanelBevel::None);
  DispIm.SetAlign(ui::Align::Client);
  DispIm.SetStretch(true);
  DispIm.SetShowHint(true);
  DispIm.SetHint("Click to chose font");
  TLab.SetBounds(128, 0, 30, 16);
  TLab.SetCaption("00:00");
  TLab.SetTransparent(true);
  ui::Font mark = TLab.GetFont();
  mark.height = -12;
  mark.bold = true;
  mark.color = ui::clAqua;
  TLab.SetFont(mark);
  TLab.SetCursor(ui::Cursor::SizeAll);
  TLab.SetShowHint(true);
  TLab.SetHint("Drag to set position");

  ShowTimeCB.SetBounds(215, 188, 170, 17);
  ShowTimeCB.SetCaption("Show time on Desktop");
  ui::Font link = GetFont();
  link.underline = true;
  SetPosL.SetBounds(247, 212, 130, 13);
  SetPosL.SetCaption("Select position on display");
  SetPosL.SetFont(link);
  SetPosL.SetCursor(ui::Cursor::Hand);
  SetPosL.SetTransparent(true);
  SetFontL.SetBounds(247, 236, 130, 13);
  SetFontL.SetCaption("Select font for display time");
  SetFontL.SetFont(link);
  SetFontL.SetCursor(ui::Cursor::Hand);
  SetFontL.SetTransparent(true);

  ZoomL.SetBounds(21, 318, 40, 13);
  ZoomL.SetCaption(" Zoom ");
  ZoomL.SetTransparent(true);
  ZoomT.SetBounds(22, 330, 349, 26);
  ZoomT.SetRange(8, 120);
  ZoomT.SetFrequency(5);
  ZoomT.SetPosition(15);
  TranL.SetBounds(21, 358, 70, 13);
  TranL.SetCaption("Transparency");
  TranL.SetTransparent(true);
  Tb.SetBounds(22, 371, 349, 26);
  Tb.SetRange(8, 255);
  Tb.SetFrequency(5);
  Tb.SetPosition(15);
  TransColorCB.SetBounds(22, 421, 200, 17);
  TransColorCB.SetCaption("Transparent background");

  SetShowHint(true);
}

void TOptF::WireHandlers() {
  OnCreate = ui::Bind(this, &TOptF::FormCreate);
  OnShow = ui::Bind(this, &TOptF::FormShow);
  OnClose = ui::Bind(this, &TOptF::FormClose);
  OnDestroy = ui::Bind(this, &TOptF::FormDestroy);
  AStartCB.OnMouseDown = ui::Bind(this, &TOptF::AStartCBMouseDown);
  HideCB.OnMouseDown = ui::Bind(this, &TOptF::HideCBMouseDown);
  for (ui::CheckBox* box : {&AStartCB, &HideCB}) {
    box->OnClick = ui::Bind(this, &TOptF::StartBoxClick);
    box->OnMouseUp = ui::Bind(this, &TOptF::StartBoxMouseUp);
  }
  ShowTimeCB.OnClick = ui::Bind(this, &TOptF::ShowTimeCBClick);
  TransColorCB.OnClick = ui::Bind(this, &TOptF::TransColorCBClick);
  ZoomT.OnChange = ui::Bind(this, &TOptF::ZoomTChange);
  Tb.OnChange = ui::Bind(this, &TOptF::TbChange);
  ThemeCB.OnChange = ui::Bind(this, &TOptF::ThemeCBChange);
  FontIm.OnClick = ui::Bind(this, &TOptF::FontImClick);
  FontIm.OnMouseDown = ui::Bind(this, &TOptF::FontImMouseDown);
  FontIm.OnMouseUp = ui::Bind(this, &TOptF::FontImMouseUp);
  DispIm.OnClick = ui::Bind(this, &TOptF::TLabClick);
  SetFontL.OnClick = ui::Bind(this, &TOptF::SetFontLClick);
  TLab.OnMouseDown = ui::Bind(this, &TOptF::TLabMouseDown);
  TLab.OnMouseMove = ui::Bind(this, &TOptF::TLabMouseMove);
  TLab.OnMouseUp = ui::Bind(this, &TOptF::TLabMouseUp);
  SetPosL.OnClick = ui::Bind(this, &TOptF::SetPosLClick);
  for (ui::Label* link : {&SetPosL, &SetFontL}) {
    link->OnMouseEnter = ui::Bind(this, &TOptF::SetFontLMouseEnter);
    link->OnMouseLeave = ui::Bind(this, &TOptF::SetPosLMouseLeave);
  }
  Button1.OnClick = ui::Bind(this, &TOptF::LangBClick);
}

void TOptF::ApplyLanguage() {
  Language& language = clock_.GetLanguage();
  auto apply = [&](const char* key, auto&& set, const char* appended) {
    if (auto text = language.LookUpText(key)) set(*text + appended);
  };
  auto caption = [](ui::Control& c) { return [&c](const std::string& t) { c.SetCaption(t); }; };
  auto hint = [](ui::Control& c) { return [&c](const std::string& t) { c.SetHint(t); }; };
  apply("L5.1", caption(*this), "");
  apply("L5.2", caption(Label1), " ");
  apply("L5.3", caption(AsPanCB), "");
  apply("L5.4", caption(ShowTimeCB), "");
  apply("L5.5", hint(DispIm), "");
  apply("L5.6", caption(UseMonCB), "");
  apply("L5.7", caption(ZoomL), " ");
  apply("M5", caption(ThemeL), " ");
  apply("M26", caption(TranL), "");
  apply("L5.11", caption(TransColorCB), "");
  apply("L5.8", caption(SetPosL), " ");
  apply("L5.9", caption(SetFontL), " ");
  apply("L5.10", hint(TLab), " ");
  // Texts the clock's menu already has in the current language.
  LangL.SetCaption(clock_.Languige1.Caption());
  FontIm.SetHint(clock_.Font1.Caption());
  AStartCB.SetCaption(clock_.AutostartM.Caption());
  HideCB.SetCaption(clock_.HideM.Caption());
  ApplyAccessNames();
}

void TOptF::FormCreate(ui::Control&) {
  WriteLog("  %s:%d", "TOptF::FormCreate", __LINE__);
  ApplyLanguage();
  clock_.Toggled[kOptionsWindow] = this;
  SizeMiniature();
  if (clock_.StatusIcons.Count() > kFontIcon) FontIm.SetPicture(clock_.StatusIcons.GetBitmap(kFontIcon));
  ShowTimeCBClick(ShowTimeCB);
}

void TOptF::SizeMiniature() {
  ui::Screen& screen = App().GetScreen();
  const int width = screen.Width();
  const int height = screen.Height();
  // A screen that reports no size keeps the design miniature.
  if (width <= 0 || height <= 0) return;
  const int k = width / kMiniatureWidth;
  const int m = height / kMiniatureHeight;
  Panel1.SetBounds(Panel1.Left(), Panel1.Top(), std::max(1, width / (k + 1)), std::max(1, height / (m + 1)));
}

int TOptF::ScreenPerMiniatureX() const {
  const int width = const_cast<TOptF*>(this)->App().GetScreen().Width();
  return std::max(1, width / std::max(1, Panel1.Width()));
}

int TOptF::ScreenPerMiniatureY() const {
  const int height = const_cast<TOptF*>(this)->App().GetScreen().Height();
  return std::max(1, height / std::max(1, Panel1.Height()));
}

WindowId TOptF::FindIconView() {
  Desktop* desktop = clock_.Services().desktop;
  if (!desktop) return 0;
  const WindowId progman = desktop->FindDesktopWindow();
  const WindowId view = progman ? desktop->FindDesktopView(progman) : 0;
  // While a wallpaper slideshow runs, the system keeps the icon view under a "WorkerW" window.
  return view ? view : desktop->FindWorkerView();
}

void TOptF::ShowDesktopPicture(WindowId view) {
  Desktop* desktop = clock_.Services().desktop;
  if (!desktop || !view) return;
  const ui::Rect work = App().GetScreen().WorkArea();
  ui::Bitmap picture(std::max(1, DispIm.Width()), std::max(1, DispIm.Height()));
  if (desktop->CopyPicture(view, {0, 0, work.Width(), work.Height()}, picture)) DispIm.SetPicture(std::move(picture));
}

void TOptF::FitBevel9() {
  Bevel9.SetBounds(Label3.Left() - 3, Label3.Top() - 2, Label3.Width() + 6, Label3.Height() + 4);
}

void TOptF::FormShow(ui::Control&) {
  WriteLog("  %s:%d", "TOptF::FormShow", __LINE__);
  desktopView_ = FindIconView();
  shown_ = true;

  ui::Font mark = clock_.BufLab.GetFont();
  mark.SetSizePoints(8);
  mark.bold = true;
  TLab.SetFont(mark);
  const Settings& s = clock_.settings;
  TLab.SetBounds(s.DispLeft / (ScreenPerMiniatureX() + 1), s.DispTop / (ScreenPerMiniatureY() + 1), TLab.Width(),
                 TLab.Height());

  // Only the picture needs the desktop's icon view; every setting is shown without it, so that
  // closing the window never stores what the design says instead of what the user chose.
  ShowDesktopPicture(desktopView_);

  ApplyLanguage();
  clock_.PlaceNearClock(*this);
  ZoomT.SetPosition(s.Zoom);

  if (clock_.Speaker) clock_.AgentAvailable = clock_.Speaker->Probe();
  UseMonCB.SetEnabled(clock_.AgentAvailable);
  UseMonCB.SetChecked(s.UseMonitor);

  TransColorCB.SetChecked(s.TransColor);
  const DateTime now = clock_.Services().clock.Now();
  ShowCurrentTime(clock_.Services().locale.ShortDate(now) + " " + clock_.Services().locale.LongTime(now));
  Tb.SetPosition(s.Transparency);
  LangE.SetText(FileNameOf(s.LanguagePath));
  ThemeCB.SetItemIndex(static_cast<int>(ThemeCB.Tag()));

  ShowTimeCB.SetChecked(s.DisplayTime);
  AStartCB.SetChecked(s.AutoStart);
  HideCB.SetChecked(s.Background);
  AsPanCB.SetChecked(s.AsPanel);
  UseMonCB.SetChecked(s.UseMonitor);
  ShowTimeCBClick(ShowTimeCB);  // the links follow the box as after a click
  Repaint();
  if (ThemeCB.CanFocus()) ThemeCB.SetFocus();
}

void TOptF::ShowCurrentTime(const std::string& dateAndTime) {
  Label3.SetCaption(dateAndTime);
  FitBevel9();
}

// ---- start options ----

// The box's own click follows the press and flips it once more: set to the opposite of the new
// state here, the box ends up showing the new state.
void TOptF::AStartCBMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Left) return;
  clock_.AutostartMClick(clock_.AutostartM);
  AStartCB.SetChecked(!clock_.settings.AutoStart);
  pressedBox_ = &AStartCB;
}

void TOptF::HideCBMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (button != ui::MouseButton::Left) return;
  clock_.HideMClick(clock_.HideM);
  HideCB.SetChecked(!clock_.settings.Background);
  pressedBox_ = &HideCB;
}

void TOptF::StartBoxClick(ui::Control& sender) {
  if (pressedBox_ == &sender) {
    pressedBox_ = nullptr;  // the press did the work; the click shows its result
    return;
  }
  // Space on the focused box: no press came first, so the setting follows the click here.
  if (&sender == &AStartCB) {
    clock_.AutostartMClick(clock_.AutostartM);
    AStartCB.SetChecked(clock_.settings.AutoStart);
  } else {
    clock_.HideMClick(clock_.HideM);
    HideCB.SetChecked(clock_.settings.Background);
  }
}

void TOptF::StartBoxMouseUp(ui::Control& sender, ui::MouseButton, ui::ShiftState, int, int) {
  if (pressedBox_ != &sender) return;
  // Released outside the box: no click follows, the box shows the setting as it now is.
  pressedBox_ = nullptr;
  AStartCB.SetChecked(clock_.settings.AutoStart);
  HideCB.SetChecked(clock_.settings.Background);
}

void TOptF::ShowTimeCBClick(ui::Control&) {
  SetFontL.SetEnabled(ShowTimeCB.Checked());
  SetPosL.SetEnabled(ShowTimeCB.Checked());
}

void TOptF::TransColorCBClick(ui::Control&) {
  clock_.settings.TransColor = TransColorCB.Checked();
  clock_.SetTransparentColor(clock_.settings.TransColor);
  clock_.SetTransparentColorValue(clock_.ToRgb(clock_.GetColor()));
}

// ---- the clock's size, opacity and colour ----

void TOptF::ZoomTChange(ui::Control&) {
  clock_.Show();
  Settings& s = clock_.settings;
  // The size in the screen's pixels, kept in the design pixels the clock's fonts are drawn from
  // (the screen's pixels per inch scale them back): the nearest height the screen can show.
  const int pixelsPerInch = App().GetScreen().PixelsPerInch();
  s.LogFont.Height = -ui::ToDesign(ui::MulDiv(ZoomT.Position(), pixelsPerInch, kPointsPerInch), pixelsPerInch);
  s.FontDialog.Color = s.FontColor;
  clock_.ApplyClockFont(s.FontDialog, s.LogFont);
  clock_.ApplyFontColour(s.FontColor);
  clock_.SetRegistryInfo(kDataTypeFontColor);
  clock_.SetRegistryInfo(kDataTypeFontLog);
  clock_.SetSize();
}

void TOptF::TbChange(ui::Control&) {
  clock_.Show();
  clock_.settings.Transparency = Tb.Position();
  clock_.SetAlphaBlendValue(clock_.settings.AppliedOpacity());
  clock_.SetRegistryInfo(kDataTypeTransparency);
}

void TOptF::ThemeCBChange(ui::Control&) {
  clock_.ApplyFontColour(clock_.ToRgb(ThemeCB.Selected()));
  ThemeCB.SetTag(ThemeCB.ItemIndex());
  clock_.SetRegistryInfo(kDataTypeFontColor);
  if (ThemeCB.CanFocus()) ThemeCB.SetFocus();
}

void TOptF::FontImClick(ui::Control&) { clock_.Font1Click(clock_.Font1); }

void TOptF::FontImMouseDown(ui::Control&, ui::MouseButton, ui::ShiftState, int, int) { FontIm.SetTop(FontIm.Top() + 1); }

void TOptF::FontImMouseUp(ui::Control&, ui::MouseButton, ui::ShiftState, int, int) { FontIm.SetTop(FontIm.Top() - 1); }

// ---- the desktop time ----

void TOptF::TLabClick(ui::Control&) { ChooseDesktopFont(); }

void TOptF::SetFontLClick(ui::Control&) { ChooseDesktopFont(); }

void TOptF::ChooseDesktopFont() {
  const ui::Font& current = TLab.GetFont();
  ui::FontChoice choice = ChoiceFromFont(current, clock_.ToRgb(current.color));
  const WindowId owner = clock_.Handle();
  if (!App().GetDialogs().ChooseFont(choice, owner)) return;
  // Smaller than 13 pixels (and cell heights) cannot be read on the desktop.
  if (choice.height > kSmallestChosenClockHeight) choice.height = kSmallestChosenClockHeight;

  TLab.SetFontColor(choice.color);
  if (Desktop* desktop = clock_.Services().desktop; desktop && desktopView_) desktop->Redraw(desktopView_);
  Settings& s = clock_.settings;
  s.DisplayLogFont = LogFontFromChoice(choice, clock_.Services().codec);
  s.DisplayFontDialog = DialogRecordFromChoice(choice, static_cast<std::uint32_t>(owner));
  clock_.BufLab.SetFont(FontFromLogFont(s.DisplayLogFont, choice.color, clock_.Services().codec));
  clock_.SetRegistryInfo(kDataTypeDisplayFont);
}

void TOptF::TLabMouseDown(ui::Control&, ui::MouseButton button, ui::ShiftState, int x, int y) {
  if (button != ui::MouseButton::Left) return;
  dragStart_ = {x, y};
  TLab.SetTag(1);
}

void TOptF::TLabMouseMove(ui::Control&, ui::ShiftState, int x, int y) {
  if (TLab.Tag() != 1) return;
  TLab.SetBounds(TLab.Left() + x - dragStart_.x, TLab.Top() + y - dragStart_.y, TLab.Width(), TLab.Height());
}

void TOptF::TLabMouseUp(ui::Control&, ui::MouseButton button, ui::ShiftState, int, int) {
  if (TLab.Tag() != 1) return;
  TLab.SetTag(0);
  Settings& s = clock_.settings;
  s.DispLeft = ScreenPerMiniatureX() * TLab.Left();
  s.DispTop = ScreenPerMiniatureY() * TLab.Top();
  clock_.SetRegistryInfo(kDataTypeDisplayPosition);
  ZoomTChange(ZoomT);
}

void TOptF::SetPosLClick(ui::Control&) { App().GetScreen().SetCursorPos(TLab.ClientToScreen({2, 2})); }

void TOptF::SetFontLMouseEnter(ui::Control& sender) { sender.SetFont(GetFont()); }

void TOptF::SetPosLMouseLeave(ui::Control& sender) {
  ui::Font font = GetFont();
  font.underline = true;
  sender.SetFont(font);
}

void TOptF::LangBClick(ui::Control&) {
  clock_.Languige1Click(clock_.Languige1);
  LangE.SetText(FileNameOf(clock_.settings.LanguagePath));
  ApplyLanguage();
  Repaint();
}

// ---- closing ----

void TOptF::StoreSettings() {
  Settings& s = clock_.settings;
  s.DisplayTime = ShowTimeCB.Checked();
  s.AsPanel = AsPanCB.Checked();
  s.UseMonitor = UseMonCB.Checked();
  s.TransColor = TransColorCB.Checked();
  s.Zoom = ZoomT.Position();
  for (int dataType : {kDataTypeZoom, kDataTypeDisplayTime, kDataTypeAsPanel, kDataTypeUseMonitor, kDataTypeTransColor})
    clock_.SetRegistryInfo(dataType);
  stored_ = true;
}

void TOptF::FormClose(ui::Form&, ui::CloseAction&) {
  WriteLog("  %s:%d", "TOptF::FormClose", __LINE__);
  StoreSettings();
  clock_.SetTransparentColor(clock_.settings.TransColor);
  // The options toggle button goes up; its handler then takes this window away.
  if (clock_.TopButtons) clock_.TopButtons->Release(kOptionsWindow);
  clock_.MyClick(clock_.TopA);
}

void TOptF::FormDestroy(ui::Control&) {
  // Taken away without being closed (the toggle button released, the program ending): what the
  // user set here is stored all the same.
  if (!stored_ && shown_) StoreSettings();
}

}  // namespace vm

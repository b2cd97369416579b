// The task editor window: its controls, loading EditBuf into them, the summary line, the
// calendar and time, the rules between the action boxes, and saving on close.

#include "ui/task_editor/task_editor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "app/main_form.h"
#include "core/log.h"
#include "scheduler/sound.h"
#include "scheduler/speech.h"
#include "scheduler/task.h"

namespace vm {

namespace {

const char* const kWeekdayKeys[7] = {"C.15", "C.16", "C.17", "C.18", "C.19", "C.20", "C.21"};
const char* const kMonthKeys[12] = {"C.22", "C.23", "C.24", "C.25", "C.26", "C.27",
                                    "C.28", "C.29", "C.30", "C.31", "C.32", "C.33"};

constexpr ui::Color kGridFontColor = 4947087;   // red 143, green 124, blue 75
constexpr ui::Color kLabelHotColor = 65280;     // pure green
constexpr ui::Color kLabelColdColor = 8421504;  // grey 128, 128, 128
constexpr int kPeriodRowHeight = 16;

std::optional<int> Number(const std::string& text) {
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  while (first < last && *first == ' ') ++first;
  while (last > first && last[-1] == ' ') --last;
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

ui::Font BoldFont(int pixels) {
  ui::Font font;
  font.bold = true;
  font.height = -pixels;
  return font;
}

}  // namespace

TForm2::TForm2(ui::Application& app, TForm1& owner) : Form(app, "Form2"), owner_(owner) {
  WriteLog("  %s %d", "TForm2::TForm2", 30);
  Describe();
  Wire();
  WireAccess();
}

TForm2::~TForm2() = default;

std::string TForm2::Text(const char* key) const {
  return owner_.GetLanguage().LookUpText(key).value_or(std::string());
}

// ---- the form description ----

void TForm2::Describe() {
  SetBorderStyle(ui::BorderStyle::Single);
  SetClientSize(653, 449);
  SetMinSize(425, 0);
  SetColor(ui::clWindow);
  SetShowHint(true);
  SetKeyPreview(true);
  SetCaption("Task");
  FocusTimer.SetEnabled(false);
  FocusTimer.SetInterval(10);

  auto place = [](ui::Control& c, int left, int top, int width, int height) { c.SetBounds(left, top, width, height); };
  auto box = [&](ui::CheckBox& c, int left, int top, int width, const char* caption) {
    place(c, left, top, width, 17);
    c.SetCaption(caption);
  };
  auto label = [&](ui::Label& l, int left, int top, const char* caption) {
    l.SetCaption(caption);
    l.SetTransparent(true);
    l.SetBounds(left, top, l.Width(), l.Height());
  };

  // The summary line across the top of the "WHEN" half.
  InfoL.SetAutoSize(false);
  InfoL.SetWordWrap(true);
  InfoL.SetTransparent(true);
  place(InfoL, 300, 8, 345, 30);
  InfoL.SetFontColor(ui::clNavy);

  place(Image10, 30, 11, 16, 14);
  box(ActiveCh, 50, 10, 200, "Active Task");
  box(PassedCh, 50, 29, 230, "Show if Comp was turned off");
  WhatL.SetFont(BoldFont(13));
  label(WhatL, 53, 52, "WHAT");
  box(MessageCheck, 53, 75, 200, "Show message ");
  box(SpeakCh, 53, 92, 200, "Speak message");
  place(AlarmMessage, 53, 114, 201, 52);
  {
    ui::Font grey;
    grey.height = -12;
    grey.color = ui::clGray;
    AlarmMessage.SetFont(grey);
    PrgEdit.SetFont(grey);
    SoundEdit.SetFont(grey);
  }
  AlarmMessage.SetText(kDesignMessage);
  AlarmMessage.SetHint("Click Me to test speak!");
  AlarmMessage.SetMaxLength(static_cast<int>(kMessageField - 1));
  box(ProgramCheck, 53, 174, 200, "Close program");
  place(ProgB, 53, 192, 25, 24);
  ProgB.SetCaption("...");
  place(PrgEdit, 80, 194, 179, 20);
  PrgEdit.SetColor(ui::clBtnFace);
  PrgEdit.SetMaxLength(static_cast<int>(kProgramField - 1));
  box(RunCheck, 53, 218, 200, "Run program");
  box(LockCheck, 53, 247, 200, "Lock computer ");
  box(WakeupCh, 53, 263, 200, "Wake up computer ");
  box(HiberCheck, 53, 278, 200, "Hibernate computer");
  box(RebootCheck, 53, 294, 200, "Reboot computer");
  box(CompCheck, 53, 311, 200, "Shutdown computer");
  box(AlSoundCh, 53, 342, 200, "Alarm sound");
  place(SoundB, 53, 360, 25, 24);
  SoundB.SetCaption("...");
  place(SoundEdit, 80, 362, 179, 20);
  SoundEdit.SetColor(ui::clBtnFace);
  SoundEdit.SetText("System Beep");
  SoundEdit.SetMaxLength(static_cast<int>(kSoundFileField - 1));
  label(Label2, 53, 392, "Test");
  place(TestIm, 90, 390, 18, 18);
  TestIm.SetHint("Play");
  TestIm.SetCursor(ui::Cursor::Hand);
  place(StopIm, 112, 390, 18, 18);
  StopIm.SetHint("Stop");
  StopIm.SetCursor(ui::Cursor::Hand);
  label(Label1, 53, 418, "Sounds Repeat :");
  RepeatL.SetFont(BoldFont(16));
  label(RepeatL, 150, 414, "1");
  place(SoundUpDown, 180, 413, 17, 24);
  SoundUpDown.SetRange(0, 100);
  SoundUpDown.SetPosition(1);
  place(Button5, 565, 414, 75, 25);
  Button5.SetCaption("OK");
  CapL.SetCaption("CapL");
  CapL.SetVisible(false);

  // ---- the "WHEN" half ----
  WhenL.SetFont(BoldFont(13));
  label(WhenL, 310, 52, "WHEN");
  place(Shape3, 300, 48, 1, 360);
  place(Grid, 330, 96, 145, 150);
  Grid.SetColCount(7);
  Grid.SetRowCount(7);
  Grid.SetFixedRows(1);
  Grid.SetFixedCols(0);
  Grid.SetDefaultDrawing(false);
  Grid.SetGridLineColor(ui::clNone);
  Grid.SetColor(ui::clGradientInactiveCaption);
  {
    ui::Font font;
    font.name = "MS Sans Serif";
    font.height = -12;
    font.color = kGridFontColor;
    Grid.SetFont(font);
  }
  MonL.SetAutoSize(false);
  MonL.SetAlignment(ui::Alignment::Right);
  MonL.SetTransparent(true);
  MonL.SetCursor(ui::Cursor::Hand);
  MonL.SetFontColor(kLabelColdColor);
  place(MonL, 330, 76, 100, 16);
  MonL.SetCaption("Jan");
  YearL.SetCursor(ui::Cursor::Hand);
  YearL.SetFontColor(kLabelColdColor);
  label(YearL, 436, 76, "2006");
  place(CalCB, 330, 72, 73, 21);
  CalCB.SetStyle(ui::ComboStyle::DropDownList);
  CalCB.SetDropDownCount(12);
  CalCB.SetVisible(false);
  place(Button3, 306, 160, 22, 24);
  Button3.SetCaption("<");
  place(Button4, 477, 160, 22, 24);
  Button4.SetCaption(">");

  HourL.SetFont(BoldFont(32));
  label(HourL, 530, 92, "00");
  DotsL.SetFont(BoldFont(35));
  label(DotsL, 570, 90, ":");
  DotsL.SetHint("Task Minits");
  MinL.SetFont(BoldFont(32));
  label(MinL, 585, 92, "00");
  place(HourUpDown, 510, 96, 17, 34);
  HourUpDown.SetRange(0, 23);
  HourUpDown.SetWrap(true);
  HourUpDown.SetAlignButton(ui::UpDownAlign::Left);
  HourUpDown.SetArrowKeys(false);
  place(MinUpDown, 625, 96, 17, 34);
  MinUpDown.SetRange(0, 59);
  MinUpDown.SetWrap(true);
  label(HouCapL, 532, 134, "Hour");
  label(MinCapL, 587, 134, "Minit");
  CurrTimeL.SetFontColor(ui::clGray);
  label(CurrTimeL, 530, 160, "");
  CurrTimeL.SetAutoSize(false);
  CurrTimeL.SetBounds(510, 160, 135, 16);
  CurrTimeL.SetAlignment(ui::Alignment::Center);

  label(TaskRepL, 310, 256, "Task period  :");
  place(Page1, 305, 274, 340, 134);
  Page1.SetTabWidth(100);
  Tab2.SetCaption("Week days");
  Tab1.SetCaption("Custom");
  Tab3.SetCaption("System Events");
  std::array<ui::Label*, 7> names{&SdL1, &SdL2, &SdL3, &SdL4, &SdL5, &SdL6, &SdL7};
  DayBoxes = {&CB1, &CB2, &CB3, &CB4, &CB5, &CB6, &CB7};
  for (int i = 0; i < 7; ++i) {
    label(*names[i], 14 + 46 * i, 14, "");
    place(*DayBoxes[i], 16 + 46 * i, 34, 17, 17);
    DayBoxes[i]->SetChecked(true);
  }
  place(Label4, 4, 0, 20, 110);
  PeriodLabels = {&OnceL, &MinintL, &HoursL, &DaysL, &WeekL, &MonthL, &YeL};
  const char* periodNames[7] = {"Once", "Minits", "Hours", "Days", "Week", "Month", "Year"};
  for (int i = 0; i < 7; ++i) {
    label(*PeriodLabels[i], 26, kPeriodRowHeight * i, periodNames[i]);
    PeriodLabels[i]->SetCursor(ui::Cursor::Hand);
  }
  place(RepCntL, 150, 18, 34, 24);
  RepCntL.SetFont(BoldFont(16));
  RepCntL.SetEditMask("!999;0; ");
  RepCntL.SetMaxLength(3);
  RepCntL.SetReadOnly(true);
  RepCntL.SetBorder(false);
  RepCntL.SetText("1");
  place(TaskUpDown, 186, 18, 17, 24);
  TaskUpDown.SetRange(1, 366);
  TaskUpDown.SetPosition(1);
  TaskUpDown.SetAssociate(&RepCntL);
  box(ImmedCB, 150, 60, 170, "Immediately");
  ImmedCB.SetEnabled(false);
  box(PwrOn_CB, 10, 4, 150, "Power On");
  box(PwrOff_CB, 10, 21, 150, "Power Off");
  box(LockS_CB, 10, 38, 150, "Session Lock");
  box(UnLockS_CB, 10, 55, 150, "Session UnLock");
  box(LoOnS_CB, 10, 72, 150, "User Logon");
  box(LoOfS_CB, 10, 89, 150, "User Logoff");
  box(SSaverOn_CB, 170, 4, 150, "ScreenSaver On");
  box(SSaverOff_CB, 170, 21, 150, "ScreenSaver Off");
  Page1.SetActivePage(Tab3);
}

void TForm2::Wire() {
  using ui::Bind;
  OnCreate = Bind(this, &TForm2::FormCreate);
  OnShow = Bind(this, &TForm2::FormShow);
  OnCloseQuery = Bind(this, &TForm2::FormCloseQuery);
  OnClose = Bind(this, &TForm2::FormClose);
  OnDestroy = Bind(this, &TForm2::FormDestroy);
  OnPaint = Bind(this, &TForm2::FormPaint);
  OnKeyPress = Bind(this, &TForm2::FormKeyPress);
  OnMouseMove = Bind(this, &TForm2::FormMouseMove);
  FocusTimer.OnTimer = Bind(this, &TForm2::FocusTimerTimer);
  Button5.OnClick = Bind(this, &TForm2::LabelOKClick);
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &ActiveCh, &PassedCh, &SpeakCh, &HiberCheck, &RebootCheck, &AlSoundCh, &WakeupCh, &LockCheck,
           &CB1, &CB2, &CB3, &CB4, &CB5, &CB6, &CB7, &Grid})
    c->OnClick = Bind(this, &TForm2::ActiveChClick);
  PrgEdit.OnChange = Bind(this, &TForm2::ActiveChClick);
  MessageCheck.OnClick = Bind(this, &TForm2::MessageCheckClick);
  MessageCheck.OnExit = Bind(this, &TForm2::MessageCheckExit);
  CompCheck.OnClick = Bind(this, &TForm2::CompCheckClick);
  CompCheck.OnExit = Bind(this, &TForm2::CompCheckExit);
  // The box has changed its state when the click arrives, as after the button's release.
  RunCheck.OnClick = [this](ui::Control& sender) { RunCheckMouseUp(sender, ui::MouseButton::Left, {}, 0, 0); };
  ProgramCheck.OnClick = [this](ui::Control& sender) {
    ProgramCheckMouseUp(sender, ui::MouseButton::Left, {}, 0, 0);
  };
  for (ui::CheckBox* c : {&LockS_CB, &UnLockS_CB, &LoOnS_CB, &LoOfS_CB, &PwrOn_CB, &PwrOff_CB, &SSaverOn_CB, &SSaverOff_CB})
    c->OnClick = Bind(this, &TForm2::LockS_CBClick);
  ImmedCB.OnClick = Bind(this, &TForm2::ImmedCBClick);
  AlarmMessage.OnChange = Bind(this, &TForm2::AlarmMessageChange);
  AlarmMessage.OnDblClick = Bind(this, &TForm2::AlarmMessageDblClick);
  SoundEdit.OnChange = Bind(this, &TForm2::SoundEditChange);
  Page1.OnChange = Bind(this, &TForm2::Page1Change);
  PrgEdit.OnMouseMove = Bind(this, &TForm2::PrgEditMouseMove);
  SoundEdit.OnMouseMove = Bind(this, &TForm2::SoundEditMouseMove);
  ProgB.OnClick = Bind(this, &TForm2::ProgBClick);
  SoundB.OnClick = Bind(this, &TForm2::SoundBClick);
  TestIm.OnClick = Bind(this, &TForm2::TestImClick);
  StopIm.OnClick = Bind(this, &TForm2::StopImClick);
  for (ui::Image* image : {&TestIm, &StopIm}) {
    image->OnMouseDown = Bind(this, &TForm2::TestImMouseDown);
    image->OnMouseUp = Bind(this, &TForm2::TestImMouseUp);
  }
  SoundUpDown.OnChangingEx = Bind(this, &TForm2::SoundUpDownChangingEx);
  SoundUpDown.OnClick = Bind(this, &TForm2::SoundUpDownClick);
  TaskUpDown.OnClick = Bind(this, &TForm2::TaskUpDownClick);
  OnceL.OnClick = Bind(this, &TForm2::OnceLClick);
  MinintL.OnClick = Bind(this, &TForm2::MinintLClick);
  HoursL.OnClick = Bind(this, &TForm2::HoursLClick);
  DaysL.OnClick = Bind(this, &TForm2::DaysLClick);
  WeekL.OnClick = Bind(this, &TForm2::WeekLClick);
  MonthL.OnClick = Bind(this, &TForm2::MonthLClick);
  YeL.OnClick = Bind(this, &TForm2::YeLClick);
  Label4.OnPaint = Bind(this, &TForm2::Label4Paint);
  Grid.OnDrawCell = Bind(this, &TForm2::GridDrawCell);
  Grid.OnSelectCell = Bind(this, &TForm2::GridSelectCell);
  Button3.OnClick = Bind(this, &TForm2::LeftBClick);
  Button4.OnClick = Bind(this, &TForm2::RighBClick);
  MonL.OnClick = Bind(this, &TForm2::MonLClick);
  YearL.OnClick = Bind(this, &TForm2::YearLClick);
  CalCB.OnChange = Bind(this, &TForm2::CalCBChange);
  for (ui::Label* l : {&MonL, &YearL}) {
    l->OnMouseEnter = Bind(this, &TForm2::LabelLMouseEnter);
    l->OnMouseLeave = Bind(this, &TForm2::LabelLMouseLeave);
  }
  HourUpDown.OnChangingEx = Bind(this, &TForm2::HourUpDownChangingEx);
  MinUpDown.OnChangingEx = Bind(this, &TForm2::MinUpDownChangingEx);
  HourUpDown.OnClick = Bind(this, &TForm2::HourUpDownClick);
  MinUpDown.OnClick = Bind(this, &TForm2::MinUpDownClick);
}

// ---- creation and language ----

void TForm2::FormCreate(ui::Control&) {
  Hour = 0;
  Minute = 0;
  newTaskMode_ = false;
  // The time group: the dots and the minute follow the hour's width.
  DotsL.SetLeft(HourL.Left() + HourL.Width() + 3);
  MinL.SetLeft(DotsL.Left() + DotsL.Width() + 3);
  MinUpDown.SetLeft(MinL.Left() + MinL.Width() + 10);
  MinCapL.SetLeft(MinL.Left() + 2);
  TestIm.SetPicture(owner_.AddList.GetBitmap(4));
  StopIm.SetPicture(owner_.AddList.GetBitmap(5));
  TestIm.SetTransparent(true);
  StopIm.SetTransparent(true);
  Grid.SetDefaultColWidth(Grid.Width() / 7);
  Grid.SetDefaultRowHeight(Grid.Height() / 7);
  ApplyLanguage();
}

void TForm2::ApplyLanguage() {
  const Language& language = owner_.GetLanguage();
  auto caption = [&](ui::Control& c, const char* key) {
    if (auto text = language.LookUpText(key)) c.SetCaption(*text);
  };
  auto hint = [&](ui::Control& c, const char* key) {
    if (auto text = language.LookUpText(key)) c.SetHint(*text);
  };
  ui::Control* boxes[11] = {&ActiveCh, &MessageCheck, &ProgramCheck, &RunCheck, &HiberCheck, &RebootCheck,
                            &CompCheck, &AlSoundCh, &SpeakCh, &PassedCh, &WakeupCh};
  for (int i = 0; i < 11; ++i) {
    caption(*boxes[i], ("C2." + std::to_string(i + 1)).c_str());
    hint(*boxes[i], ("H." + std::to_string(10 + i)).c_str());
  }
  ui::Control* labels[10] = {&CapL, &TaskRepL, &OnceL, &MinintL, &HoursL, &DaysL, &WeekL, &MonthL, &YeL, &Label1};
  for (int i = 0; i < 10; ++i) caption(*labels[i], ("L2." + std::to_string(i + 1)).c_str());
  owner_.GetLanguage().ApplyTableKeys("C.", 15, 21);
  hint(ProgB, "H.21");
  hint(SoundB, "H.22");
  hint(Grid, "H.23");
  hint(TestIm, "H.24");
  hint(StopIm, "H.25");
  hint(RepCntL, "H.26");
  caption(LockCheck, "H.27");
  LockCheck.SetHint(LockCheck.Caption());
  caption(Tab1, "L2.16");
  caption(LockS_CB, "20017");
  caption(UnLockS_CB, "20018");
  caption(LoOnS_CB, "20019");
  caption(LoOfS_CB, "20020");
  caption(Tab3, "20021");
  caption(WhatL, "20022");
  caption(WhenL, "20023");
  caption(ImmedCB, "20025");
  caption(PwrOn_CB, "20026");
  caption(SSaverOn_CB, "20027");
  caption(PwrOff_CB, "20050");
  caption(SSaverOff_CB, "20051");
  caption(Label2, "L2.50");
  Tab2.SetCaption(DaysL.Caption());
  HouCapL.SetCaption(HoursL.Caption());
  MinCapL.SetCaption(MinintL.Caption());
}

// ---- loading ----

void TForm2::FormShow(ui::Control&) {
  owner_.PlaceNearClock(*this);
  SetCaption(CapL.Caption());
  Shape3.SetBrushColor(ui::clBtnFace);
  Shape3.SetPenColor(ui::clBtnFace);
  {
    ui::Font font = Page1.GetFont();
    font.bold = false;
    font.color = GetFont().color;
    Page1.SetFont(font);
  }
  std::array<ui::Label*, 7> names{&SdL1, &SdL2, &SdL3, &SdL4, &SdL5, &SdL6, &SdL7};
  for (int i = 0; i < 7; ++i) names[i]->SetCaption(owner_.GetLanguage().Msg(kWeekdayKeys[i]));
  LoadFromEditBuf();
  // Opened from the notification-area menu the window would stay behind the menu's owner
  // without the keyboard: once it is on screen it takes the focus, so that Esc and typing
  // reach it at once.
  FocusTimer.SetEnabled(false);
  FocusTimer.SetEnabled(true);
}

void TForm2::FocusTimerTimer(ui::Timer&) {
  FocusTimer.SetEnabled(false);
  if (Visible()) BringToFront();
}

void TForm2::ShowEditBuf() {
  if (loading_) return;
  const bool wasNew = newTaskMode_;
  newTaskMode_ = false;  // the record is shown as it stands
  LoadFromEditBuf();
  newTaskMode_ = wasNew;
}

void TForm2::LoadFromEditBuf() {
  Scheduler& scheduler = owner_.scheduler;
  TTask& task = scheduler.EditBuf;
  loading_ = true;
  std::uint16_t weekDays = task.WeekDays;
  if (newTaskMode_) {
    scheduler.InitTask(task);
    task.Active = kScheduled;
    // The next whole minute: the current minute with 0 seconds has already passed, and a task
    // found late at the next tick would be dropped without firing.
    if (std::optional<DateTimeParts> now = SplitDateTime(task.AlarmTime)) {
      now->time.second = 0;
      now->time.millisecond = 0;
      if (std::optional<DateTime> minute = EncodeDateTime(now->date, now->time))
        task.AlarmTime = *minute + 1.0 / (24 * 60);
    }
    weekDays = 127;
  }

  // The calendar: the task's month with its day selected.
  CalendarCursor = task.AlarmTime;
  std::optional<DateTimeParts> due = SplitDateTime(task.AlarmTime);
  if (!due) due = SplitDateTime(owner_.Services().clock.Now());
  if (!due) due = DateTimeParts{{2006, 1, 1}, {}};
  if (!SplitDateTime(CalendarCursor)) CalendarCursor = *EncodeDate(due->date.year, due->date.month, 1);
  Calendar.SelectedDay = due->date.day;
  Calendar.ShownYear = due->date.year;
  Calendar.ShownMonth = due->date.month;
  RighBClick(Button4);

  SoundEdit.SetText(task.SoundFile);
  PrgEdit.SetText(task.Program);
  AlarmMessage.SetText(FitTaskText(task.Message, kMessageField - 1, owner_.Services().codec));

  MessageCheck.SetChecked(task.State & kStateMessage);
  ProgramCheck.SetChecked(task.State & kStateCloseProgram);
  CompCheck.SetChecked(task.State & kStateShutdown);
  RebootCheck.SetChecked(task.State & kStateReboot);
  HiberCheck.SetChecked(task.State & kStateHibernate);
  RunCheck.SetChecked(task.State & kStateRunProgram);
  AlSoundCh.SetChecked(task.State & kStateAlarmSound);
  WakeupCh.SetChecked(task.State & kStateWakeUp);
  LockCheck.SetChecked(task.State & kStateLock);
  AlarmMessage.SetEnabled(MessageCheck.Checked());
  WakeupCh.SetEnabled(!CompCheck.Checked());
  HiberCheck.SetEnabled(!CompCheck.Checked());

  if (AlSoundCh.Checked()) {
    SoundUpDown.SetPosition(task.SoundRepeat);
    RepeatL.SetCaption(SoundUpDown.Position() == 0 ? "~" : std::to_string(SoundUpDown.Position()));
  }
  for (int i = 0; i < 7; ++i) DayBoxes[i]->SetChecked(weekDays & (1u << i));

  SpeakCh.SetEnabled(owner_.AgentAvailable.load());
  ActiveCh.SetChecked(task.Active > 0);
  SpeakCh.SetChecked(task.SpeakOn != 0 && SpeakCh.Enabled());
  PassedCh.SetChecked(task.ShowPassed != 0);

  const int period = task.Period <= kPeriodYear ? static_cast<int>(task.Period) : 0;
  SelectPeriod(period);
  const bool counted = period >= 1 && period <= 3;
  TaskUpDown.SetPosition(static_cast<int>(std::min<std::uint32_t>(task.Cnt, 366)));
  RepCntL.SetText(counted ? std::to_string(task.Cnt) : "1");

  ImmedCB.SetEnabled(task.Event != 0);
  ImmedCB.SetChecked(task.Cnt == 0 && task.Period == kPeriodMinutes);
  SetCalendarEnabled(!ImmedCB.Checked());
  if (ImmedCB.Enabled() && ImmedCB.Checked()) {
    RepCntL.SetText("1");
    TaskUpDown.SetPosition(1);
  }
  if (task.Spare == 0) {
    LockS_CB.SetChecked(task.Event & kEventSessionLock);
    UnLockS_CB.SetChecked(task.Event & kEventSessionUnlock);
    LoOnS_CB.SetChecked(task.Event & kEventLogon);
    LoOfS_CB.SetChecked(task.Event & kEventLogoff);
    PwrOn_CB.SetChecked(task.Event & kEventPowerOn);
    PwrOff_CB.SetChecked(task.Event & kEventPowerOff);
    SSaverOn_CB.SetChecked(task.Event & kEventScreenSaverOn);
    SSaverOff_CB.SetChecked(task.Event & kEventScreenSaverOff);
  }
  ActiveChClick(ActiveCh);

  Hour = static_cast<std::uint16_t>(due->time.hour);
  Minute = static_cast<std::uint16_t>(due->time.minute);
  HourL.SetCaption(std::to_string(Hour));
  HourUpDown.SetPosition(Hour);
  MinUpDown.SetPosition(Minute);
  ShowMinute(Minute);
  ShowSummary();
  ModifiedCounter = 0;
  loading_ = false;
}

void TForm2::OpenOnDate(DateTime alarmTime) {
  CalendarCursor = alarmTime;
  std::optional<DateTimeParts> at = SplitDateTime(alarmTime);
  if (!at) {
    CalendarCursor = owner_.Services().clock.Now();
    at = SplitDateTime(CalendarCursor);
  }
  if (at) Calendar.SelectedDay = at->date.day;
  RighBClick(Button4);
}

void TForm2::ShowCalendarCaption(const std::string& month, const std::string& year) {
  MonL.SetCaption(month);
  YearL.SetCaption(year);
}

void TForm2::ShowMinute(int minute) {
  MinL.SetCaption((minute <= 9 ? "0" : "") + std::to_string(minute));
  Minute = static_cast<std::uint16_t>(minute);
}

void TForm2::SelectPeriod(int index) {
  if (index < 0 || index > 6) index = 0;
  PeriodMarks.fill(0);
  PeriodMarks[static_cast<std::size_t>(index)] = 1;
  Label4.Invalidate();
  const bool counted = index >= 1 && index <= 3;
  RepCntL.SetVisible(counted);
  TaskUpDown.SetVisible(counted);
  ActiveChClick(*PeriodLabels[static_cast<std::size_t>(index)]);
}

int TForm2::MarkedPeriod() const {
  for (int i = 0; i < 7; ++i)
    if (PeriodMarks[static_cast<std::size_t>(i)] == 1) return i;
  return 0;
}

std::uint32_t TForm2::RepeatCount() const {
  std::optional<int> n = Number(RepCntL.Text());
  return n && *n > 0 ? static_cast<std::uint32_t>(*n) : 0;
}

void TForm2::Label4Paint(ui::Control&, ui::Canvas& canvas) {
  for (int i = 0; i < 7; ++i) canvas.DrawImage({0, kPeriodRowHeight * i}, owner_.AddList, 0);
  canvas.DrawImage({0, kPeriodRowHeight * MarkedPeriod()}, owner_.AddList, 2);
}

void TForm2::ActiveChClick(ui::Control&) {
  ++ModifiedCounter;
  Image10.SetPicture(owner_.AddList.GetBitmap(ActiveCh.Checked() ? 2 : 0));
  Image10.Invalidate();
  ShowSummary();
}

std::uint16_t TForm2::ReadEventBoxes() const {
  std::uint16_t mask = 0;
  const std::pair<const ui::CheckBox*, std::uint16_t> boxes[] = {
      {&LockS_CB, kEventSessionLock}, {&UnLockS_CB, kEventSessionUnlock}, {&LoOnS_CB, kEventLogon},
      {&LoOfS_CB, kEventLogoff},      {&PwrOn_CB, kEventPowerOn},         {&PwrOff_CB, kEventPowerOff},
      {&SSaverOn_CB, kEventScreenSaverOn}, {&SSaverOff_CB, kEventScreenSaverOff}};
  for (const auto& [box, bit] : boxes)
    if (box->Checked()) mask = static_cast<std::uint16_t>(mask | bit);
  return mask;
}

DateTime TForm2::ShownDueTime() const {
  const int year = Number(YearL.Caption()).value_or(Calendar.ShownYear);
  const int month = std::clamp(Calendar.ShownMonth, 1, 12);
  if (year < 100 || year > 9999) return 0;
  const int day = std::clamp(Calendar.SelectedDay, 1, DaysInMonth(year, month));
  return EncodeDateTime({year, month, day}, {Hour % 24, Minute % 60, 0, 0}).value_or(0.0);
}

void TForm2::ShowSummary() {
  const Language& language = owner_.GetLanguage();
  std::string text;
  for (int i = 0; i < 7; ++i)
    if (DayBoxes[static_cast<std::size_t>(i)]->Checked()) text += language.Msg(kWeekdayKeys[i]) + ",";
  text += "   ";
  const std::uint16_t mask = ReadEventBoxes();
  const std::string when = mask == 0 ? owner_.FormatTaskDate(ShownDueTime(), true) : owner_.scheduler.EventText(mask);
  text += "    " + when;
  std::uint32_t period = 0, count = 1;
  if (mask != 0 && ImmedCB.Checked()) {
    period = kPeriodMinutes;
    count = 0;
  } else {
    period = static_cast<std::uint32_t>(MarkedPeriod());
    count = period >= kPeriodMinutes && period <= kPeriodDays ? RepeatCount() : 1;
  }
  const std::string periodText = owner_.scheduler.PeriodText(period, count);
  // The kind word is set off from the date by a blank (the date ends in a digit or "PM").
  if (auto kind = language.LookUpText(mask == 0 ? "L2.16" : "20024")) {
    if (!kind->empty() && kind->front() != ' ') text += ' ';
    text += *kind;
  }
  text += " " + periodText;
  InfoL.SetCaption(text);
}

// ---- closing and saving ----

void TForm2::LabelOKClick(ui::Control&) { Close(); }

void TForm2::FormCloseQuery(ui::Form&, bool& canClose) {
  if (ModifiedCounter == 0) return;
  const Language& language = owner_.GetLanguage();
  MessageBoxRequest request;
  request.text = language.Msg("M.17");
  request.caption = language.Msg("C.7");
  request.icon = MsgIcon::Question;
  request.buttons = MsgButtons::YesNoCancel;
  request.owner = Handle();
  switch (owner_.Services().messages.Show(request)) {
    case MsgResult::Cancel:
      canClose = false;
      break;
    case MsgResult::No:
      ModifiedCounter = 0;
      break;
    default:
      break;
  }
}

void TForm2::FormClose(ui::Form&, ui::CloseAction& action) {
  if (ModifiedCounter == 0) return;
  StoreIntoEditBuf();
}

void TForm2::StoreIntoEditBuf() {
  Scheduler& scheduler = owner_.scheduler;
  TTask& task = scheduler.EditBuf;
  loading_ = true;  // ChangeTask shows the record again: nothing to reload while storing
  task.AlarmTime = ShownDueTime();
  std::uint32_t state = 0;
  const std::pair<const ui::CheckBox*, std::uint32_t> bits[] = {
      {&MessageCheck, kStateMessage}, {&ProgramCheck, kStateCloseProgram}, {&CompCheck, kStateShutdown},
      {&RebootCheck, kStateReboot},   {&RunCheck, kStateRunProgram},        {&AlSoundCh, kStateAlarmSound},
      {&LockCheck, kStateLock}};
  for (const auto& [box, bit] : bits)
    if (box->Checked()) state |= bit;
  if (HiberCheck.Enabled() && HiberCheck.Checked()) state |= kStateHibernate;
  if (WakeupCh.Enabled() && WakeupCh.Checked()) state |= kStateWakeUp;
  task.State = state;
  task.Active = ActiveCh.Checked() ? kScheduled : kInactive;
  task.SoundOn = AlSoundCh.Checked() ? 1 : 0;
  task.SoundRepeat = static_cast<std::uint16_t>(SoundUpDown.Position());
  task.SpeakOn = SpeakCh.Checked() ? 1 : 0;
  task.ShowPassed = PassedCh.Checked() ? 1 : 0;
  task.LastAlarm = 0;
  task.AlarmCnt = 0;
  task.Period = static_cast<std::uint32_t>(MarkedPeriod());
  task.Cnt = task.Period >= kPeriodMinutes && task.Period <= kPeriodDays ? RepeatCount() : 0;
  TextCodec& codec = owner_.Services().codec;
  task.SoundFile = FitTaskText(SoundEdit.Text(), kSoundFileField - 1, codec);
  task.Program = FitTaskText(PrgEdit.Text(), kProgramField - 1, codec);
  task.Message = FitTaskText(AlarmMessage.Text(), kMessageField - 1, codec);
  std::uint16_t days = 0;
  for (int i = 0; i < 7; ++i)
    if (DayBoxes[static_cast<std::size_t>(i)]->Checked()) days = static_cast<std::uint16_t>(days | (1u << i));
  task.WeekDays = days;
  task.Event = ReadEventBoxes();
  if (task.Event != 0) {
    task.AlarmTime = 0;
    task.Active = kWaitingForEvent;
    if (ImmedCB.Checked()) {
      task.Cnt = 0;
      task.Period = kPeriodMinutes;
    }
  }
  if (newTaskMode_) {
    task.TaskId = scheduler.NewTaskId();
    scheduler.TaskList.push_back(task);
    newTaskMode_ = false;
  } else {
    scheduler.ChangeTask(task.TaskId);
    scheduler.UpdateCurTask();
  }
  if (owner_.Sound) owner_.Sound->CloseSong();
  ModifiedCounter = 0;
  loading_ = false;
}

void TForm2::FormDestroy(ui::Control&) { Scratch = ui::Bitmap(); }

// ---- calendar and time ----

void TForm2::RighBClick(ui::Control&) {
  std::optional<DateTimeParts> at = SplitDateTime(CalendarCursor);
  if (at) CalendarCursor = EncodeDate(at->date.year, at->date.month, 1).value_or(CalendarCursor);
  owner_.ShowCalendar(CalendarCursor, Grid, Calendar);
  ActiveChClick(Button4);
}

void TForm2::LeftBClick(ui::Control&) {
  std::optional<DateTimeParts> at = SplitDateTime(CalendarCursor);
  if (at) {
    // The cursor stands in the month after the shown one: two months back is the one before.
    int year = at->date.year;
    int month = at->date.month - 2;
    if (month < 1) {
      month += 12;
      --year;
    }
    CalendarCursor = EncodeDate(year, month, 1).value_or(CalendarCursor);
  }
  owner_.ShowCalendar(CalendarCursor, Grid, Calendar);
  ActiveChClick(Button3);
}

void TForm2::MonLClick(ui::Control& sender) {
  CalCB.SetLeft(sender.Left());
  CalMode = CalendarMode::Month;
  std::vector<std::string> months;
  for (const char* key : kMonthKeys) months.push_back(owner_.GetLanguage().Msg(key));
  CalCB.SetItems(std::move(months));
  CalCB.SetItemIndex(Calendar.ShownMonth - 1);
  CalCB.SetVisible(true);
  CalCB.SetDroppedDown(true);
}

void TForm2::YearLClick(ui::Control& sender) {
  std::vector<std::string> years;
  for (int year = 1900; year <= 2100; ++year) years.push_back(std::to_string(year));
  CalCB.SetItems(std::move(years));
  CalCB.SetItemIndex(Calendar.ShownYear - 1900);
  CalCB.SetLeft(sender.Left());
  CalMode = CalendarMode::Year;
  CalCB.SetVisible(true);
  CalCB.SetDroppedDown(true);
}

void TForm2::CalCBChange(ui::Control&) {
  if (CalMode == CalendarMode::Year) {
    if (std::optional<int> year = Number(CalCB.Text()); year && *year >= 100 && *year <= 9999) {
      Calendar.ShownYear = *year;
      CalendarCursor = EncodeDate(*year, Calendar.ShownMonth, 1).value_or(CalendarCursor);
      YearL.SetCaption(CalCB.Text());
    }
  } else if (CalCB.ItemIndex() >= 0) {
    CalendarCursor = EncodeDate(Calendar.ShownYear, CalCB.ItemIndex() + 1, 1).value_or(CalendarCursor);
    MonL.SetCaption(CalCB.Text());
  }
  SetDropDownClosed();
  owner_.ShowCalendar(CalendarCursor, Grid, Calendar);
  ActiveChClick(CalCB);
}

void TForm2::SetDropDownClosed() {
  CalCB.SetDroppedDown(false);
  CalCB.SetVisible(false);
}

void TForm2::FormKeyPress(ui::Control&, char32_t& key) {
  if (key != 27) return;
  key = 0;
  if (CalCB.Visible()) {
    SetDropDownClosed();
    return;
  }
  Close();
}

void TForm2::FormMouseMove(ui::Control&, ui::ShiftState, int, int) {
  if (CalCB.Visible()) SetDropDownClosed();
}

void TForm2::LabelLMouseEnter(ui::Control& sender) {
  if (sender.GetFont().color != kLabelHotColor) sender.SetFontColor(kLabelHotColor);
}

void TForm2::LabelLMouseLeave(ui::Control& sender) {
  if (sender.GetFont().color != kLabelColdColor) sender.SetFontColor(kLabelColdColor);
}

void TForm2::GridSelectCell(ui::Control&, int col, int row, bool& canSelect) {
  std::optional<int> day = Number(Grid.Cell(col, row));
  if (row == 0 || !day) {
    canSelect = false;
    return;
  }
  Calendar.SelectedDay = *day;
}

void TForm2::GridDrawCell(ui::Control&, int col, int row, const ui::Rect& rect, ui::GridDrawState state) {
  ui::Canvas* canvas = Grid.PaintCanvas();
  if (!canvas) return;
  const std::string text = row == 0 ? owner_.GetLanguage().Msg(kWeekdayKeys[col % 7]) : Grid.Cell(col, row);
  ui::Color background = row == 0 ? ui::clInactiveCaption : ui::clWindow;
  ui::Color foreground = row == 0 ? ui::clCaptionText : ui::clWindowText;
  if (col == 6) foreground = ui::clRed;
  if (text.empty()) background = ui::clBtnFace;
  if (row > 0 && Calendar.TodayShown == 1 && text == std::to_string(Calendar.TodayDay)) {
    background = ui::clHighlight;
    foreground = owner_.ToRgb(ui::clHighlightText);
  }
  const bool selected = row > 0 && col == Grid.Col() && row == Grid.Row();
  if (selected) {
    background = ui::clHotLight;
    foreground = owner_.ToRgb(ui::clWindow);
  }
  canvas->FillRect(rect, background);
  canvas->SetFont(Grid.GetFont());
  canvas->SetTextColor(foreground);
  canvas->SetTransparentText(true);
  canvas->TextOut({rect.left + 2, rect.top + 2}, text);
  if (selected) canvas->FrameRect(rect, ui::clBlack);
}

void TForm2::HourUpDownChangingEx(ui::Control&, bool&, int newValue, ui::UpDownDirection direction) {
  if (direction == ui::UpDownDirection::None) {
    if (newValue == -1) newValue = 23;
    if (newValue == 24) newValue = 0;
  }
  HourL.SetCaption(std::to_string(newValue));
  Hour = static_cast<std::uint16_t>(newValue);
}

void TForm2::MinUpDownChangingEx(ui::Control&, bool&, int newValue, ui::UpDownDirection direction) {
  if (direction == ui::UpDownDirection::None) {
    if (newValue == -1) newValue = 59;
    if (newValue == 60) newValue = 0;
  }
  ShowMinute(newValue);
}

void TForm2::HourUpDownClick(ui::Control& sender, ui::UpDownButton) { ActiveChClick(sender); }
void TForm2::MinUpDownClick(ui::Control& sender, ui::UpDownButton) { ActiveChClick(sender); }

void TForm2::SetCalendarEnabled(bool enabled) {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&Grid, &HourUpDown, &MinUpDown, &MonL, &YearL})
    c->SetEnabled(enabled);
}

}  // namespace vm

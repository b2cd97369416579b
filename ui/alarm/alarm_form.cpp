#include "ui/alarm/alarm_form.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "app/main_form.h"
#include "app/maker_addresses.h"
#include "core/log.h"
#include "platform/media_services.h"
#include "scheduler/sound.h"
#include "scheduler/speech.h"
#include "scheduler/task_runner.h"
#include "theme/dgroup_buts.h"

namespace vm {

namespace {

constexpr const char* kBellPage = "bell.htm";
constexpr int kColumnWidths[4] = {126, 213, 130, 64};
constexpr const char* kButtonCaptions[3] = {"X", ">", "| |"};

// ShutdownConfirm values: the shutdown goes ahead on 1 only.
constexpr int kShutdownGoesAhead = 1;
constexpr int kShutdownCancelled = 2;

// The repeat count of the task file is a 16-bit signed number there; a value above the largest
// positive one (only a damaged file holds it) counts as that largest one, not as "for ever".
std::int32_t SignalCountFor(std::uint16_t soundRepeat) {
  if (soundRepeat == 0) return -1;
  return std::min<std::int32_t>(soundRepeat, std::numeric_limits<std::int16_t>::max());
}

}  // namespace

// The sound file's error box is shown once per window; later failures only beep.
class TAlForm::OnceMessageBoxes : public MessageBoxes {
 public:
  explicit OnceMessageBoxes(MessageBoxes& inner) : inner_(inner) {}
  MsgResult Show(const MessageBoxRequest& request) override {
    if (shown_) return MsgResult::Ok;
    shown_ = true;
    return inner_.Show(request);
  }

 private:
  MessageBoxes& inner_;
  bool shown_ = false;
};

TAlForm::TAlForm(ui::Application& app, TForm1& owner) : Form(app, "AlForm"), owner_(owner) {
  WriteLog("  %s %d", "TAlForm::TAlForm", 24);
  DescribeForm();
  WireAccess();
  App().SetTaskbarButton(true);
  SetTopMost(true);
  CurrentRow = 1;
  Countdown = kCountdownSeconds;
  CancelL.SetTag(0);
  AlarmTexts = {};

  MainServices& services = owner_.Services();
  if (services.mci && services.shortPaths) {
    boxes_ = std::make_unique<OnceMessageBoxes>(services.messages);
    sound_ = std::make_unique<SoundPlayer>(*services.mci, *services.shortPaths, *boxes_);
  }
}

TAlForm::~TAlForm() = default;

void TAlForm::DescribeForm() {
  SetCaption("Vemtaro - alarm!");
  SetBorderStyle(ui::BorderStyle::Single);
  SetClientSize(421, 362);
  SetColor(ui::clWindow);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetShowHint(true);

  struct ButtonPlace {
    ui::Image& image;
    int left, width;
    const char* hint;
  };
  for (const ButtonPlace& b : {ButtonPlace{Stop, 24, 41, "Stop"}, ButtonPlace{Resume, 65, 41, "Play"},
                               ButtonPlace{Pause, 106, 40, "Pause"}}) {
    b.image.SetBounds(b.left, 296, b.width, 25);
    b.image.SetHint(b.hint);
    b.image.SetTransparent(true);
  }
  Stop.OnClick = ui::Bind(this, &TAlForm::StopClick);
  Resume.OnClick = ui::Bind(this, &TAlForm::ResumeClick);
  Pause.OnClick = ui::Bind(this, &TAlForm::PauseClick);

  ui::Font big;
  big.height = -16;
  CancelL.SetBounds(240, 20, 60, 20);
  CancelL.SetCaption("Cancel");
  ui::Font bold = big;
  bold.bold = true;
  CancelL.SetFont(bold);
  CancelL.SetCursor(ui::Cursor::Hand);
  CancelL.SetTransparent(true);
  CancelL.Hide();
  CancelL.OnClick = ui::Bind(this, &TAlForm::CancelLClick);

  ShutDL.SetBounds(148, 45, 200, 40);
  ShutDL.SetFont(big);
  ShutDL.SetTransparent(true);
  MessL.SetBounds(180, 304, 120, 16);
  MessL.SetCaption("Message \u2116");
  MessL.SetTransparent(true);

  Web1.SetBounds(23, 16, 82, 82);
  Web1.SetHint(BuiltMakerAddresses().webPage);
  Panel1.SetBounds(Web1.Left() + Web1.Width(), Web1.Top(), 20, Web1.Height());
  Panel1.SetBevelOuter(ui::PanelBevel::None);

  AlGrid.SetBounds(24, 96, 369, 193);
  AlGrid.SetColor(ui::clWhite);
  AlGrid.SetColCount(4);
  for (int col = 0; col < 4; ++col) AlGrid.SetColWidth(col, kColumnWidths[col]);
  AlGrid.SetDefaultRowHeight(18);
  AlGrid.SetRowCount(2);
  AlGrid.SetFixedCols(0);
  AlGrid.SetFixedRows(1);
  AlGrid.SetColSizing(true);
  // The columns are wider than the grid: a horizontal bar reaches the ones past its edge.
  AlGrid.SetScrollBars(true, true);
  AlGrid.OnSelectCell = ui::Bind(this, &TAlForm::AlGridSelectCell);
  AlGrid.OnDblClick = ui::Bind(this, &TAlForm::AlGridDblClick);

  Bevel1.SetBounds(405, 343, 13, 13);
  Bevel1.SetShape(ui::BevelShape::Spacer);

  Timer1.SetInterval(1000);
  Timer1.SetEnabled(false);
  Timer1.OnTimer = ui::Bind(this, &TAlForm::Timer1Timer);
  SignalTimer.SetInterval(1000);
  SignalTimer.SetEnabled(false);
  SignalTimer.OnTimer = ui::Bind(this, &TAlForm::SignalTimerTimer);
  FlashTimer.SetInterval(500);
  FlashTimer.SetEnabled(false);
  FlashTimer.OnTimer = ui::Bind(this, &TAlForm::FlashTimerTimer);

  DescribeSnooze();

  OnCreate = ui::Bind(this, &TAlForm::FormCreate);
  OnShow = ui::Bind(this, &TAlForm::FormShow);
  OnClose = ui::Bind(this, &TAlForm::FormClose);
  OnPaint = ui::Bind(this, &TAlForm::FormPaint);
}

void TAlForm::FormCreate(ui::Control&) {
  WriteLog("  %s %d", "TAlForm::FormCreate", 223);
  SpeechAvailable = owner_.Speaker && owner_.Speaker->Probe();
  owner_.AgentAvailable = SpeechAvailable;

  Buttons = std::make_unique<theme::DGroupButs>(std::initializer_list<ui::Image*>{&Stop, &Resume, &Pause},
                                                *this, nullptr, owner_.ImL3);
  for (int i = 0; i < Buttons->Count(); ++i) {
    theme::DBut* button = Buttons->Button(i);
    button->GetImage().SetTag(i);
    button->SetLatching(i != kStopButton);
    Buttons->Release(i);
    button->SetCaption(kButtonCaptions[i]);
    button->DrawFrame(theme::DBut::kFrameNormal);
  }

  Web1.Navigate(owner_.ProgramDirectory() + kBellPage, ui::WebBrowser::kNavNoHistory);

  // The panel covers the browser's vertical scroll bar.
  const int scrollBar = App().GetScreen().VerticalScrollBarWidth();
  Web1.SetHeight(Web1.Width() - scrollBar);
  Panel1.SetBounds(Web1.Left() + Web1.Width() - scrollBar, Web1.Top(), scrollBar + 2, Web1.Height() + 5);
}

void TAlForm::ApplyLanguage() {
  const Language& language = owner_.GetLanguage();
  for (std::size_t i = 0; i < AlarmTexts.size(); ++i) {
    if (auto text = language.LookUpText("L3." + std::to_string(i + 1))) AlarmTexts[i] = *text;
  }
  if (auto text = language.LookUpText("L4.3")) AlGrid.SetCell(kDateColumn, 0, *text);
  if (auto text = language.LookUpText("L4.4")) AlGrid.SetCell(kMessageColumn, 0, *text);
  ApplyAccessNames();
}

void TAlForm::FormShow(ui::Control&) {
  WriteLog("  %s %d", "TAlForm::FormShow", 171);
  AlarmTask = owner_.scheduler.CurTask;
  WriteLog(" Task Id = %d", static_cast<int>(AlarmTask.TaskId));
  WriteLog(" Message = %s", AlarmTask.Message.c_str());

  ApplyLanguage();
  // The sound of the row before makes way for this task's, also when it has played out and
  // stands rewound: while it holds the device's name this task's file cannot be opened.
  CloseSong();
  Armed = true;

  for (ui::Label* label : {&CancelL, &ShutDL, &MessL}) label->SetFontColor(ui::clWindowText);
  CancelL.SetCaption(AlarmTexts[2]);

  const int row = CurrentRow;
  const std::string due = owner_.FormatTaskDate(AlarmTask.AlarmTime, true);
  AlGrid.SetCell(kDateColumn, row, due);
  AlGrid.SetCell(kMessageColumn, row, AlarmTask.Message);
  AlGrid.SetCell(kIdColumn, row, std::to_string(AlarmTask.TaskId));
  ShutDL.SetCaption(AlarmTexts[0] + "\n\r" + due);
  MessL.SetCaption(AlGrid.Cell(kMessageColumn, 0) + " \u2116 " + std::to_string(row));

  BringToFront();
  FlashTimer.SetEnabled(true);

  const bool soundOn = AlarmTask.SoundOn != 0;
  for (ui::Image* image : {&Stop, &Resume, &Pause}) image->SetVisible(soundOn);
  Resume.SetTag(AlarmTask.SoundOn);
  FocusFirstControl();

  SignalCount = SignalCountFor(AlarmTask.SoundRepeat);
  SignalTimer.SetEnabled(true);

  if (AlarmTask.State & kStateShutdown) {
    Timer1.SetEnabled(true);
    CancelL.Show();
  }
  if (AlarmTask.SpeakOn != 0 && SpeechAvailable && owner_.Speaker) owner_.Speaker->Speak(AlarmTask.Message);
  ShowSnooze();
}

void TAlForm::AddAlarm() {
  ++CurrentRow;
  AlGrid.SetRowCount(CurrentRow + 1);
  FormShow(*this);
}

bool TAlForm::OpenSound(const std::string& path) {
  if (!sound_) return true;
  return sound_->OpenSong(path);
}

void TAlForm::CloseSong() {
  if (sound_) sound_->CloseSong();
}

void TAlForm::SignalTimerTimer(ui::Timer&) {
  if (!Armed) return;
  if (AlarmTask.SoundOn == 0) {
    // Nothing to play for this task.
    SignalTimer.SetEnabled(false);
    return;
  }
  const std::int32_t taken = SignalCount--;
  if (taken == 0) {
    SignalTimer.SetEnabled(false);
    return;
  }
  if (OpenSound(AlarmTask.SoundFile)) {
    App().Beep();
    ReleaseButton(kPlayButton);
    return;  // still armed: the next tick tries again while the count allows
  }
  // The completion notice goes to the clock, which rewinds the sound and arms this window.
  sound_->SetNotifyWindow(owner_.Handle());
  sound_->PlaySong();
  PressButton(kPlayButton);
  Armed = false;
}

void TAlForm::Timer1Timer(ui::Timer&) {
  --Countdown;
  ShutDL.SetCaption(AlarmTexts[1] + " " + std::to_string(Countdown) + " s");
  if (Countdown <= 0) Close();
}

void TAlForm::FlashTimerTimer(ui::Timer&) { App().FlashTaskbarButton(true); }

void TAlForm::PressButton(int index) {
  if (Buttons) Buttons->Press(index);
}

void TAlForm::ReleaseButton(int index) {
  if (Buttons) Buttons->Release(index);
}

void TAlForm::StopClick(ui::Control&) {
  CloseSong();
  Resume.SetTag(0);
  ReleaseButton(kPlayButton);
  ReleaseButton(kPauseButton);
}

void TAlForm::ResumeClick(ui::Control&) {
  if (sound_) sound_->ResumeSong();
  ReleaseButton(kStopButton);
  ReleaseButton(kPauseButton);
  // After Stop there is nothing to resume: the Play button does not stay down.
  if (Resume.Tag() == 0) ReleaseButton(kPlayButton);
}

void TAlForm::PauseClick(ui::Control&) {
  if (sound_) sound_->PauseSong();
  ReleaseButton(kPlayButton);
  ReleaseButton(kStopButton);
}

void TAlForm::AlGridSelectCell(ui::Control&, int, int row, bool&) {
  if (row <= 0) return;
  const std::string& cell = AlGrid.Cell(kIdColumn, row);
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), id);
  // A row without a task (never filled) selects nothing.
  AlGrid.SetTag(error == std::errc() && end == cell.data() + cell.size() && !cell.empty()
                    ? static_cast<std::int64_t>(id) + 1
                    : 0);
}

void TAlForm::AlGridDblClick(ui::Control&) {
  if (AlGrid.Tag() == 0 || owner_.Slots[kTaskListWindow]) return;
  owner_.EditTask(static_cast<std::uint32_t>(AlGrid.Tag() - 1));
}

void TAlForm::FormPaint(ui::Control&, ui::Canvas&) { Panel1.SetColor(GetColor()); }

void TAlForm::CancelLClick(ui::Control&) {
  CancelL.SetTag(1);
  Close();
}

void TAlForm::FormClose(ui::Form&, ui::CloseAction&) {
  WriteLog("  %s %d", "TAlForm::FormClose", 61);
  CurrentRow = 1;
  AlGrid.SetRowCount(2);
  owner_.ShowClockDate();
  CancelL.Hide();
  CloseSong();
  FlashTimer.SetEnabled(false);
  SignalTimer.SetEnabled(false);
  Timer1.SetEnabled(false);
  App().FlashTaskbarButton(false);
  App().SetTaskbarButton(false);
  Buttons.reset();
  if (owner_.Runner) owner_.Runner->ShutdownConfirm = CancelL.Tag() == 1 ? kShutdownCancelled : kShutdownGoesAhead;
  // A modal window is destroyed by the firing once its modal show has returned.
  if (!IsModal()) owner_.DeleteFormA(kAlarmWindow);
}

}  // namespace vm

// The clock window's life: construction, creation, showing, activation, closing, destruction.

#include "app/main_form.h"
#include "app/task_editor_window.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "app/version_code.h"
#include "core/log.h"
#include "platform/desktop.h"
#include "platform/shell_icons.h"
#include "scheduler/event_triggers.h"
#include "scheduler/sound.h"
#include "scheduler/speech.h"
#include "scheduler/stray_files.h"
#include "scheduler/task_runner.h"
#include "scheduler/wake_timer.h"
#include "theme/dgroup_buts.h"
#include "theme/visual_style.h"

namespace vm {

namespace {

// The fade-in of the clock: opacity steps per tick and the tick. From 0 to the default 250 in
// 16 ticks, about a quarter of a second.
constexpr int kFadeStep = 16;
constexpr int kFadeTickMs = 15;

}  // namespace

TForm1::TForm1(ui::Application& app, MainServices& services, Language& language,
               const StartupState& startup)
    : Form(app, "Form1"),
      scheduler(SchedulerServices{services.files, services.clock, services.codec, language, *this},
                startup.programDirectory),
      services_(services),
      language_(language),
      store_(services.registry),
      programDirectory_(startup.programDirectory) {
  DescribeForm();
  WireDisplay();
  WireWindowsAndMenus();
  WireMovement();
  WireAccess();
  WriteLog(" %s:%d", "TForm1::TForm1", __LINE__);
  SetBounds(Left(), Top(), 305, 60);

  OnCreate = ui::Bind(this, &TForm1::FormCreate);
  OnShow = ui::Bind(this, &TForm1::FormShow);
  FadeT.OnTimer = ui::Bind(this, &TForm1::FadeTTimer);
  FadeT.SetInterval(kFadeTickMs);
  FadeT.SetEnabled(false);
  LateT.OnTimer = ui::Bind(this, &TForm1::LateTTimer);
  LateT.SetInterval(1);
  LateT.SetEnabled(false);
  HoldFocusWindows();  // the buttons' focus windows come after the first frame (LateT)
  OnActivate = ui::Bind(this, &TForm1::FormActivate);
  OnClose = ui::Bind(this, &TForm1::FormClose);
  OnDestroy = ui::Bind(this, &TForm1::FormDestroy);
  OnSystemMessage = ui::Bind(this, &TForm1::MainWindowProc);
  App().RegisterMessageName(kShowMessageName);

  AskSystemFolders();
  WinVersion = vm::VersionCode(services.environment.VersionMajor(), services.environment.VersionMinor());

  DesignTimeFont = TimeLabel.GetFont();
  DesignSecFont = SecLabel.GetFont();
  DesignDaywFont = DaywL.GetFont();
  settings.ExecutablePath = services.environment.ExecutablePath();
  settings.LanguagePath = language.Path();

  GetRegistryInfo();
  store_.SetAutostart(settings);
  store_.SetRegistryInfo(settings, kDataTypeDisplayTime);
  if (services_.desktop) DesktopWindow = services_.desktop->FindDesktopWindow();
  WireScheduling();
}

TForm1::~TForm1() { FinishSpeechProbe(); }

void TForm1::AskSystemFolders() {
  auto windows = services_.environment.WindowsDirectory();
  auto system = services_.environment.SystemDirectory();
  if (!windows || !system) {
    services_.messages.Show({language_.Msg("M.2"), language_.Msg("C.1"), MsgIcon::None,
                             MsgButtons::Ok, Handle()});
  }
  WindowsDirectory = windows.value_or("");
  SystemDirectory = system.value_or("");
}

void TForm1::FormCreate(ui::Control&) {
  WriteLog("  %s:%d", "TForm1::FormCreate", __LINE__);
  SetBounds(Left(), Top(), 262, 54);
  LoadTheme();
  BuildButtons();
  ApplyLanguage();
  RemoveStrayTemporaryFiles(services_.files, services_.processTable,
                            services_.environment.ProcessId(), scheduler.TaskFilePath());
  scheduler.LoadList();
  ShowClockDate();
  SplitClockTime();
  ShowClockTime();
  SetSize();
  // Where the clock fades in when shown (FormShow), its window is made at the opacity the fade
  // starts from: one opacity fewer to set on its way to the screen.
  if (WinVersion >= 20) SetAlphaBlendValue(0);
  // The end of every play is reported to this window (MM_MCINOTIFY), which rewinds the sound.
  if (Sound) Sound->SetNotifyWindow(Handle());
  App().OnDeactivate = [this] { AppDeactivate(); };
  if (settings.Background) HideToTray();
  UpdateEventTask(kEventPowerOn);
  LateT.SetEnabled(true);
}

void TForm1::StartSpeechProbe() {
  if (speechProbeStarted_) return;
  speechProbeStarted_ = true;
  auto probe = [this] {
    bool available = false;
    try {
      available = Speaker->Probe();
    } catch (...) {
      // Nothing may escape the thread; a probe that fails this way finds no speech.
    }
    AgentAvailable = available;
  };
  // No thread to be had: the window waits for the answer instead.
  if (!speechProbe_.Start(probe)) probe();
}

void TForm1::FinishSpeechProbe() {
  speechProbe_.Join();
}

void TForm1::FormShow(ui::Control&) {
  SetTopMost(settings.StayOnTop);
  BringToFront();
  if (WinVersion >= 20) {
    // Fade in from opacity 0. The window appears when this handler returns and is drawn before
    // the next steps, which FadeT takes a few at a tick.
    SetAlphaBlendValue(0);
    FadeT.SetEnabled(true);
  }
}

void TForm1::FadeTTimer(ui::Timer&) {
  const int opacity = settings.AppliedOpacity();
  const int alpha = std::min(AlphaBlendValue() + kFadeStep, opacity);
  SetAlphaBlendValue(alpha);
  if (alpha >= opacity) FadeT.SetEnabled(false);
}

void TForm1::LateTTimer(ui::Timer&) {
  LateT.SetEnabled(false);
  // Lock and unlock of the session are reported from here on; the first frame need not wait
  // for the session library.
  if (Sessions) Sessions->RegisterWts(Handle());
  MakeFocusWindows();
  EnsureWindowIcon();
  EnsureMenuIcons();
  if (Speaker) StartSpeechProbe();
}

void TForm1::EnsureWindowIcon() {
  // The window class shows the same stock picture until then.
  if (GetIcon().IsEmpty() && services_.shellIcons)
    SetIcon(services_.shellIcons->Stock(StockIcon::Application, 32));
}

void TForm1::FormActivate(ui::Control&) {
  RefreshDateLabels();
  if (Visible() && settings.StayOnTop) {
    SetTopMost(true);
    BringToFront();
  }
}

void TForm1::FormClose(ui::Form&, ui::CloseAction&) {
  WriteLog("  %s:%d", "TForm1::FormClose", __LINE__);
  if (!SaveTasksAndPosition() && scheduler.HasUnsavedChanges())
    TaskFileWarning(scheduler.UnsavedChangesMessage());
  FadeT.SetEnabled(false);  // a fade-in still under way gives way to the fade-out
  if (WinVersion >= 20) {
    // One step after the other, but for a moment only: where each change of the opacity is
    // slow (under Wine each is a round trip to the X server, ~4 ms), the remaining steps are
    // left out and the window goes straight to the last one, so that closing never lingers.
    constexpr std::int64_t kFadeOutMs = 200;
    const std::int64_t until = services_.clock.TickMs() + kFadeOutMs;
    // From where the window is: a fade-in cut short by the close has not reached the setting.
    for (int alpha = std::min<int>(settings.AppliedOpacity(), AlphaBlendValue()); alpha >= 1; --alpha) {
      if (alpha > 1 && services_.clock.TickMs() >= until) alpha = 1;
      SetAlphaBlendValue(alpha);
    }
  }
}

bool TForm1::SaveTasksAndPosition() {
  bool saved = scheduler.SaveList();
  settings.Left = Left();
  settings.Top = Top();
  store_.SetRegistryInfo(settings, kDataTypePosition);
  return saved;
}

void TForm1::FormDestroy(ui::Control&) {
  WriteLog(" =========Destroing========");
  WriteLog("  %s:%d", "TForm1::FormDestroy", __LINE__);
  FinishSpeechProbe();
  mPre.Clear();
  for (int number : {kProcessWindow, kOptionsWindow, kTaskListWindow, kTaskEditorWindow}) DeleteFormA(number);
  WriteLog("  %s:%d", "TForm1::FormDestroy", __LINE__);
  NotifyTray(2);
  // The task file is not kept open between saves: nothing to close here.
  WriteLog(" TForm1::FormDestroy 5");
  TopButtons.reset();
  CaptionButtons.reset();
  WriteLog(" TForm1::FormDestroy 6");
  MenuIcons.Clear();
  StatusIcons.Clear();
  if (services_.desktop && DesktopWindow) services_.desktop->Redraw(DesktopWindow);
  WriteLog(" TForm1::FormDestroy 7");
  if (Sessions) Sessions->Unregister();
  WriteLog(" TForm1::FormDestroy Finished");
}

SystemMessageResult TForm1::MainWindowProc(ui::Form&, const SystemMessage& message) {
  if (message.kind == SystemMessageKind::TrayCallback) return TrayMessage(message);
  if (Messages) return Messages->Handle(message);
  if (message.kind == SystemMessageKind::Registered && message.name == kShowMessageName)
    ShowMainWindow();
  return {};
}

void TForm1::ApplyLanguage() {
  // L1.1 .. L1.7: hints of the three window buttons and captions of the three check items
  // (L1.5 is kept but shows nowhere).
  ui::Control* hints[7] = {&TopP, nullptr, nullptr, nullptr, nullptr, &TopA, &TopH};
  ui::MenuItem* items[7] = {nullptr, &HideM, &AutostartM, &OntopM, nullptr, nullptr, nullptr};
  for (int i = 0; i < 7; ++i) {
    auto text = language_.LookUpText("L1." + std::to_string(i + 1));
    if (!text) continue;
    MainTexts[i] = *text;
    if (hints[i]) hints[i]->SetHint(*text);
    if (items[i]) items[i]->SetCaption(*text);
  }
  for (int i = 0; i < 12; ++i) {
    if (auto text = language_.LookUpText("M" + std::to_string(i + 1))) MenuTexts[i]->SetCaption(*text);
  }
  const std::pair<const char*, ui::MenuItem*> more[] = {
      {"M28", &DateTimeFormat}, {"M31", &mPre}, {"M32", &mSave}, {"M33", &SetTime},
      {"M34", &mDel},           {"M30", &mProc}, {"L5.1", &mOpt}, {"L4.1", &mTask},
      {"L2.1", &mTaskAdd}};
  for (auto& [key, item] : more) {
    if (auto text = language_.LookUpText(key)) item->SetCaption(*text);
  }
  language_.ApplyTableKeys("C.", 1, 14);
  language_.ApplyTableKeys("M.", 1, 18);
  language_.ApplyTableKeys("H.", 1, 9);
  language_.ApplyTableKeys("L6.", 1, 8);
  if (auto help = language_.LookUpText("C.34")) HelpFile = programDirectory_ + *help;
  const std::pair<const char*, std::string*> speech[] = {{"M.50", &SpeechTexts.speakFailed},
                                                         {"M.51", &SpeechTexts.comFailed},
                                                         {"M.52", &SpeechTexts.serverFailed}};
  for (auto& [key, text] : speech) {
    if (auto found = language_.LookUpText(key)) *text = std::move(*found);
  }
  if (Speaker) Speaker->SetWarnings(SpeechTexts);
  ApplyAccessNames();
}

void TForm1::RefreshDateLabels() { ShowClockDate(); }

void TForm1::ShowEditBufInEditor() {
  if (TaskEditorWindow* editor = TaskEditor()) editor->ShowEditBuf();
}

}  // namespace vm

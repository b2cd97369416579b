#pragma once
// TForm1: the clock window, hub of the program. It owns the settings, the task list and every
// window it opens; its handlers are named after the control and the event.

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "app/main_services.h"
#include "app/program_entry.h"
#include "app/settings.h"
#include "core/language.h"
#include "core/threads.h"
#include "scheduler/firing_host.h"
#include "scheduler/scheduler.h"
#include "scheduler/speech.h"
#include "scheduler/system_messages.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

namespace theme {
class DGroupButs;
class VisualStyle;
struct LoadedPictures;
}  // namespace theme
class SessionSubscription;
class TaskEditorWindow;
class AlarmWindow;
struct CalendarState;
class SoundPlayer;
class Speech;
class SystemMessageHandler;
class TaskRunner;
class WakeTimer;

// The numbers of the secondary windows.
enum WindowNumber : int {
  kProcessWindow = 0,
  kOptionsWindow = 1,
  kTaskListWindow = 2,
  kTaskEditorWindow = 3,
  kAlarmWindow = 4,
  kAboutWindow = 5,
  kWindowCount = 6,
};
static_assert(std::tuple_size_v<WindowKinds> == kWindowCount);

class TForm1 : public ui::Form, public SchedulerHost, public FiringHost, public SystemMessageHost {
 public:
  TForm1(ui::Application& app, MainServices& services, Language& language, const StartupState& startup);
  ~TForm1() override;

  // ---- the form description: display controls (painted in this order) ----
  ui::Image Image1{*this, "Image1"};      // background band along the bottom
  ui::Image Image3{*this, "Image3"};      // behind the next-task line
  ui::Label Label2{*this, "Label2"};      // fills the window; catches presses for dragging
  ui::Label MemProcL{*this, "MemProcL"};  // program name or next task
  ui::Label TimeLabel{*this, "TimeLabel"};
  ui::Label SecLabel{*this, "SecLabel"};  // hidden: place and font of the seconds
  ui::Label VML{*this, "VML"};
  ui::Label DaywL{*this, "DaywL"};
  ui::Label DateLabel{*this, "DateLabel"};
  ui::Label BufLab{*this, "BufLab"};      // hidden: font and colour of the desktop time
  ui::Image TopP{*this, "TopP"};          // toggle buttons: process manager, options, task list
  ui::Image TopA{*this, "TopA"};
  ui::Image TopH{*this, "TopH"};
  ui::Image MinP{*this, "MinP"};          // caption buttons "_" and "x"
  ui::Image OffP{*this, "OffP"};
  // The program name opens the about window: a tab stop of its own.
  ui::FocusProxy VMLFocus{VML};

  ui::Timer Timer1{*this, "Timer1"};  // the one-second tick
  ui::Timer StT{*this, "StT"};        // repaints during the first minutes
  ui::Timer Timer3{*this, "Timer3"};  // desktop time while hidden
  // Set by HideToTray until the clock is shown or hidden completely: the desktop time is wanted.
  bool DesktopTimeWanted = false;
  // StT and Timer3 run only while they have work: StT while the clock is visible (until its
  // start-up repaints are done), Timer3 while the desktop time is wanted and switched on.
  void FollowVisibilityWithIdleTimers();
  void FollowDesktopTimeSetting();

  // ---- the notification-area menu ----
  ui::PopupMenu PopupMenu1{*this, "PopupMenu1"};
  ui::MenuItem mProc{PopupMenu1, "mProc", "Processes"};
  ui::MenuItem mOpt{PopupMenu1, "mOpt", "Options"};
  ui::MenuItem mTask{PopupMenu1, "mTask", "Task List"};
  ui::MenuItem mTaskAdd{PopupMenu1, "mTaskAdd", "New Task"};
  ui::MenuItem N1{PopupMenu1, "N1", "-"};
  ui::MenuItem MenuShow{PopupMenu1, "MenuShow", "Show"};
  ui::MenuItem Hide1{PopupMenu1, "Hide1", "Hide Program             "};
  ui::MenuItem Shutdown1{PopupMenu1, "Shutdown1", "Shutdown"};

  // ---- the clock's own menu ----
  ui::PopupMenu OptMenu{*this, "OptMenu"};
  ui::MenuItem OntopM{OptMenu, "OntopM", "Always on top"};
  ui::MenuItem Options1{OptMenu, "Options1", "Options                      "};
  ui::MenuItem Dateandtime1{OptMenu, "Dateandtime1", "Appearance      "};
  ui::MenuItem Font1{Dateandtime1, "Font1", "Font                   "};
  ui::MenuItem Color1{Dateandtime1, "Color1", "Form Color"};
  ui::MenuItem N4{Dateandtime1, "N4", "-"};
  ui::MenuItem mPre{Dateandtime1, "mPre", "Predefined"};
  ui::MenuItem Default1{Dateandtime1, "Default1", "Default"};
  ui::MenuItem mSave{Dateandtime1, "mSave", "Save Current"};
  ui::MenuItem mDel{Dateandtime1, "mDel", "Delete Current"};
  ui::MenuItem N2{OptMenu, "N2", "-"};
  ui::MenuItem DateTimeFormat{OptMenu, "DateTimeFormat", "DateTime Format"};
  ui::MenuItem SetTime{OptMenu, "SetTime", "Set Time"};
  ui::MenuItem N3{OptMenu, "N3", "-"};
  ui::MenuItem Languige1{OptMenu, "Languige1", "Language"};
  ui::MenuItem About1{OptMenu, "About1", "Help"};
  ui::MenuItem Help1{About1, "Help1", "Vemtaro Help              "};
  ui::MenuItem About2{About1, "About2", "About..."};
  ui::MenuItem N5{OptMenu, "N5", "-"};
  ui::MenuItem AutostartM{OptMenu, "AutostartM", "Autostart"};
  ui::MenuItem HideM{OptMenu, "HideM", "Start in Icon"};

  // ---- image lists owned by the clock ----
  ui::ImageList MenuIcons{16, 16};    // pictures of every popup menu
  ui::ImageList StatusIcons{16, 16};  // task-kind marks of the other windows
  ui::ImageList ImL1{20, 23};         // theme frames: window buttons
  ui::ImageList ImL2{14, 14};         // theme frames: caption buttons
  ui::ImageList ImL3{20, 23};         // theme frames: alarm and calendar buttons
  ui::ImageList AddList{16, 16};      // small marks: check, play, stop, sort arrow

  // ---- state ----
  Settings settings;
  Scheduler scheduler;
  std::list<TTask> DisplayList;  // the task list's sorted copy of the tasks
  int SortColumn = 1;            // the task list's sort column (not saved)
  std::string WindowsDirectory;
  std::string SystemDirectory;
  std::string HelpFile;          // from the language key C.34; empty: Help opens nothing
  std::uint16_t WinVersion = 0;  // the version code of version_code.h
  std::atomic<bool> AgentAvailable{false};
  std::array<std::string, 7> MainTexts;  // L1.1 .. L1.7
  std::array<ui::MenuItem*, 12> MenuTexts{};  // the items named by the keys M1 .. M12
  ui::Font DesignTimeFont, DesignSecFont, DesignDaywFont;

  // ---- clock display (the tick, fonts, colours, layout) ----
  std::uint16_t ClockHour = 0, ClockMinute = 0, ClockSecond = 0, ClockMillisecond = 0;
  std::string SecText;  // the seconds, two digits
  int StartupRepaints = 0;  // StT ticks so far
  std::int64_t LastSpokenHour = -1;  // hours since the epoch of the last hourly announcement
  void AnnounceHour();                  // the hourly spoken time (step 4 of the tick)
  ui::Color ToRgb(ui::Color colour);    // a system colour as the screen shows it
  void ApplyReadFonts(const SettingsReadReport& report);  // GetRegistryInfo's fonts and colours
  void Timer1Timer(ui::Timer& sender);  // the firing half, then DisplayTick
  void DisplayTick();                    // the display half of the tick
  void ShowTimeInOptions();              // step 1 of the display half: the options window's time
  void WireDisplay();                    // binds the display handlers (constructor)
  void SplitClockTime();
  void ShowClockTime();
  void ShowClockDate();
  void SetSize();
  void ApplyClockFont(const ChooseFontRecord& dialog, const LogFontRecord& logFont);
  void ApplyFontColour(std::uint32_t colour);
  void MatchBackground();
  void DrawSeconds();
  void WriteSeconds(ui::Canvas& canvas);  // the seconds text in SecLabel's place and font
  void FormPaint(ui::Control& sender, ui::Canvas& canvas);  // the window's paint: the seconds too
  void Font1Click(ui::MenuItem& sender);
  void Color1Click(ui::MenuItem& sender);
  void StTTimer(ui::Timer& sender);
  std::array<ui::Color, 16> CustomColours{};  // the colour dialog's custom colours
  std::string FormatTaskDate(DateTime value, bool withTime) override;
  void AutostartMClick(ui::MenuItem& sender);
  void HideMClick(ui::MenuItem& sender);
  void OntopMClick(ui::MenuItem& sender);
  void LoadTheme();
  std::unique_ptr<theme::VisualStyle> Style;  // the visual-style record, made by the first LoadTheme
  // The button frames and the background the first LoadTheme found no picture for.
  void FillBuiltinPicturesLeft(const theme::LoadedPictures& loaded);
  bool builtinPicturesDrawn_ = false;

  // ---- secondary windows, menus, notification-area icon ----
  // One slot per window number. The window kinds come with the services; a number without a
  // creator creates nothing.
  std::array<ui::Form*, kWindowCount> Slots{};
  std::array<ui::Form*, 3> Toggled{};  // windows 0..2 write themselves here (MyClick shows them)
  void CreateForm(int number);
  void DeleteFormA(int number);
  void PlaceNearClock(ui::Form& window);
  // The task editor window when it exists (its slot), else nullptr.
  TaskEditorWindow* TaskEditor();
  // The alarm window when it exists (its slot), else nullptr.
  AlarmWindow* Alarm();
  // Opens a fresh editor modally on the task with this id, then saves the list; nothing for an
  // id the list does not hold.
  void EditTask(std::uint32_t taskId);
  // The new-task path: creates the editor if needed (and keeps it for the next use), shows it
  // modally in new-task mode. False when there is no task editor to show. The caller saves.
  bool EditNewTask();
  // Fills a 7 x 7 grid with the month of `cursor` (row 0 the weekday names, Monday first),
  // selects the state's selected day and leaves the cursor on the first day of the next month.
  void ShowCalendar(DateTime& cursor, ui::StringGrid& grid, CalendarState& state);
  void MyClick(ui::Control& sender);
  std::unique_ptr<theme::DGroupButs> TopButtons;      // TopP, TopA, TopH
  std::unique_ptr<theme::DGroupButs> CaptionButtons;  // MinP, OffP
  void WireWindowsAndMenus();  // binds the handlers of this group (constructor)
  void BuildButtons();
  // The menu and status icons come from shell32.dll, which takes a while to read: the clock
  // loads them once its first frame is on screen (LateT), or earlier when a menu or another
  // window needs them first. EnsureMenuIcons loads them unless that has been done.
  void LoadMenuIcons();
  void EnsureMenuIcons();
  bool menuIconsLoaded_ = false;
  ui::TrayIcon Tray{*this};
  bool NotifyTray(int command);  // 0 add, 1 modify, 2 delete
  void BuildTrayTip();
  void HideToTray();
  SystemMessageResult TrayMessage(const SystemMessage& message);
  void MenuShowClick(ui::MenuItem& sender);
  void Hide1Click(ui::MenuItem& sender);
  void Shutdown1Click(ui::MenuItem& sender);
  void OffPClick(ui::Control& sender);
  void MinPClick(ui::Control& sender);
  void Options1Click(ui::MenuItem& sender);
  void mProcClick(ui::MenuItem& sender);
  void mTaskClick(ui::MenuItem& sender);
  void mTaskAddClick(ui::MenuItem& sender);
  void About2Click(ui::MenuItem& sender);
  void VMLClick(ui::Control& sender);
  void Help1Click(ui::MenuItem& sender);
  void DateTimeFormatClick(ui::MenuItem& sender);
  void SetTimeClick(ui::MenuItem& sender);
  void Languige1Click(ui::MenuItem& sender);
  void FormKeyUp(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void MemProcLMouseEnter(ui::Control& sender);
  // The Ctrl shortcuts count Ctrl as held at the key's press, so letting go of Ctrl first still
  // works: the last key pressed with Ctrl held, until its release.
  void FormKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  ui::KeyCode CtrlKeyDown = 0;
  void Options1DrawItem(ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, bool selected);
  // Shows the window of a slot and brings it up; nothing when the slot is empty.
  void ShowSecondary(int number);
  // Tells the slot hooks of the secondary windows whether the clock still exists (CreateForm).
  std::shared_ptr<TForm1*> SlotOwner = std::make_shared<TForm1*>(this);

  // ---- keyboard and screen readers ----
  void WireAccess();  // the tab order (constructor)
  void ApplyAccessNames();  // names from the language texts (ApplyLanguage)
  // The Menu key and Shift+F10 open the clock's own menu below the clock.
  void OpenOptMenuByKey();

  // ---- movement, panel mode, desktop time ----
  bool Dragging = false;
  ui::Point DragStart;
  WindowId DesktopWindow = 0;  // "Progman", remembered to notice a restarted desktop shell
  WindowId DesktopView = 0;    // its icon view as last found; drawn on when finding it fails
  void WireMovement();  // binds the mouse handlers (constructor)
  void Label2MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void Label2MouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void Label2MouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void Label2MouseLeave(ui::Control& sender);
  void Image1MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void FormMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void FormMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void AppDeactivate();
  void SlidePanel(bool show);
  void PaintOnDesktop();
  void DrawDesktopTime(ui::Canvas& canvas);  // the two lines of PaintOnDesktop's second block
  void Timer3Timer(ui::Timer& sender);

  // ---- scheduling: the firing tick, events, wake timer, sound, speech ----
  std::unique_ptr<WakeTimer> Wake;
  std::unique_ptr<TaskRunner> Runner;
  std::unique_ptr<SessionSubscription> Sessions;
  std::unique_ptr<SystemMessageHandler> Messages;
  std::unique_ptr<SoundPlayer> Sound;
  std::unique_ptr<Speech> Speaker;
  SpeechWarnings SpeechTexts;  // M.50 .. M.52, handed to Speaker
  void UpdateEventTask(std::uint16_t mask);
  // Rings `fired`'s alarm again after the snooze length of the settings, as a one-time task
  // whose message ends in `marker` (Scheduler::Snooze); the task list window shows it at once.
  void SnoozeTask(const TTask& fired, const std::string& marker);
  // The speech probe runs once, on its own thread, after the first frame (LateT): loading the
  // speech server beside the window's making held the first paint up by 3 to 9 ms under Wine.
  // AgentAvailable holds the answer once it has run; nothing on the first frame depends on it.
  // FinishSpeechProbe waits for the probe to end (FormDestroy does it too, before the speech
  // objects go).
  void StartSpeechProbe();
  void FinishSpeechProbe();

  // ---- lifecycle handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormActivate(ui::Control& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormDestroy(ui::Control& sender);
  // The fade-in of FormShow, a few opacity steps per tick, so that the window is drawn first.
  ui::Timer FadeT{*this, "FadeT"};
  void FadeTTimer(ui::Timer& sender);
  // Once, when the window has been drawn for the first time: what the first frame does not need
  // (a timer's message comes only after the window's pending paint): the session notifications,
  // the icons and the buttons' focus windows.
  ui::Timer LateT{*this, "LateT"};
  void LateTTimer(ui::Timer& sender);
  // The window's own icon (the stock application picture), set after the first frame too, or
  // when the notification area needs it first.
  void EnsureWindowIcon();
  SystemMessageResult MainWindowProc(ui::Form& sender, const SystemMessage& message);

  void ApplyLanguage();
  void GetRegistryInfo();
  void SetRegistryInfo(int dataType) {
    store_.SetRegistryInfo(settings, dataType);
    // The options window switches the desktop time on and off, also under the hidden clock.
    if (dataType == kDataTypeDisplayTime) FollowDesktopTimeSetting();
  }

  Language& GetLanguage() { return language_; }
  MainServices& Services() { return services_; }
  const std::string& ProgramDirectory() const { return programDirectory_; }

 protected:
  // Screen readers find the clock face: its value is the time and the date shown.
  void DescribeAccessible(ui::AccessInfo& info) const override;

 private:
  // SchedulerHost
  void CurrentTaskChanged() override;
  void RefreshDateLabels() override;
  void ShowEditBufInEditor() override;
  void TaskListChanged() override;
  // FiringHost
  WindowId MainWindow() override { return Handle(); }
  int VersionCode() override { return WinVersion; }
  void CreateAlarmWindow() override;
  bool AlarmWindowVisible() override;
  void ShowAlarmWindowModal() override;
  void ShowAlarmWindow() override;
  void AddAlarm() override;
  void DestroyAlarmWindow() override;
  void Speak(const std::string& text) override;
  void RefreshTaskListWindow() override;
  bool CloseProgramThroughWindow(const std::string& programPath) override;
  // SystemMessageHost
  void ShowMainWindow() override;
  void RefreshDisplay(bool reloadTheme) override;
  void RewindSound() override;
  void ArmAlarmSound() override;
  void SessionEnding() override;
  // SchedulerHost: a problem with the task file, told in a message box.
  void TaskFileWarning(const std::string& text) override;

  void WireScheduling();
  // What closing the window and the end of the session keep: the tasks and the position.
  // False when the tasks could not be saved.
  bool SaveTasksAndPosition();

  void DescribeForm();
  void DescribeMenus();
  void AskSystemFolders();

  MainServices& services_;
  Language& language_;
  SettingsStore store_;
  std::string programDirectory_;
  Thread speechProbe_;  // the speech probe while it runs (see FinishSpeechProbe)
  bool speechProbeStarted_ = false;
};

}  // namespace vm

// The alarm window as the clock's firing shows it: rows, sound repetitions, the shutdown
// countdown with Cancel, the task-bar button, and opening a task from its row.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_form_fixture.h"
#include "app/window_interface.h"
#include "app/alarm_window.h"
#include "app/maker_addresses.h"
#include "app/process_window.h"
#include "app/task_editor_window.h"
#include "app/task_list_window.h"
#include "scheduler/speech.h"
#include "scheduler/task_runner.h"
#include "theme/dgroup_buts.h"
#include "theme/theme_fakes.h"
#include "theme/visual_style.h"
#include "ui/alarm/alarm_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

using ::testing::Contains;
using ::testing::Not;

constexpr double kSecond = 1.0 / 86400.0;
constexpr const char* kWav = "C:\\Sounds\\bell.wav";

// A task editor that only notes that it was opened.
class StubEditor : public ui::Form, public TaskEditorWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskEditorWindow>(this, tag); }
  StubEditor(ui::Application& app, int& opened) : Form(app, "StubEditor"), opened_(opened) {}
  void SetNewTaskMode(bool) override {}
  bool NewTaskMode() const override { return false; }
  void OpenOnDate(DateTime) override { ++opened_; }
  void ShowEditBuf() override {}
  void ShowCalendarCaption(const std::string&, const std::string&) override {}
  void ShowCurrentTime(const std::string&) override {}

 private:
  int& opened_;
};

class AlarmFormTest : public MainFormTest {
 protected:
  AlarmFormTest() {
    services.windows[kAlarmWindow] = AllWindowKinds()[kAlarmWindow];
    mci.Answer("open " + std::string(kWav) + " alias song", 0);
  }

  void SetUp() override {
    // The shipped English texts, as the program loads them at start.
    std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    files.Put(std::string(kDir) + "english.vml", content.str());
    ASSERT_TRUE(language.LoadLanguageFile(std::string(kDir) + "english.vml"));
    Create();
    form->Show();
    form->scheduler.TaskList.clear();
    form->scheduler.UpdateCurTask();
  }

  TAlForm* Alarm() { return dynamic_cast<TAlForm*>(form->Slots[kAlarmWindow]); }

  // A task due `secondsAgo` before now; `id` is its identifier.
  TTask& AddTask(std::uint32_t id, std::uint32_t state, double secondsFromNow = -1) {
    TTask task;
    task.TaskId = id;
    task.State = state;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() + secondsFromNow * kSecond;
    task.Message = "Task " + std::to_string(id);
    task.SoundOn = 1;
    task.SoundRepeat = 1;
    task.SoundFile = kWav;
    form->scheduler.TaskList.push_back(task);
    form->scheduler.UpdateCurTask();
    return form->scheduler.TaskList.back();
  }

  // One second passes: the clock's tick (which fires what is due) and the alarm window's timers.
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) {
      clock.AdvanceSeconds(1);
      backend.AdvanceMs(1000);
    }
  }
  // The sound device reports the end of a play to the clock.
  void PlayEnds() {
    backend.SendSystemMessage(*form, {SystemMessageKind::MciNotify, kMciNotifySuccessful, ""});
  }
  int Count(const std::string& command) const {
    const auto commands = mci.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
  int Plays() const { return Count("play song notify"); }
  bool SignalTimerRunning() { return Alarm() && Alarm()->SignalTimer.Running(); }
};

TEST_F(AlarmFormTest, AFiringShowsTheWindowWithoutWaitingAndFillsRowOne) {
  AddTask(7, kStateMessage);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_TRUE(alarm->Visible());
  EXPECT_FALSE(alarm->IsModal());
  // The tick went on: the one-time task is done and gone from the list.
  EXPECT_FALSE(form->scheduler.FindTask(7));
  EXPECT_EQ(backend.UnansweredModals(), 0);

  EXPECT_EQ(alarm->Caption(), "Vemtaro - alarm!");
  EXPECT_EQ(alarm->ClientWidth(), 421);
  EXPECT_EQ(alarm->ClientHeight(), 362);
  EXPECT_TRUE(alarm->TopMost());
  EXPECT_EQ(alarm->AlGrid.RowCount(), 2);
  EXPECT_EQ(alarm->AlGrid.ColWidth(1), 213);
  const std::string due = form->FormatTaskDate(clock.Now() - 2 * kSecond, true);
  EXPECT_EQ(alarm->AlGrid.Cell(0, 0), "Date");
  EXPECT_EQ(alarm->AlGrid.Cell(0, 1), due);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 1), "Task 7");
  EXPECT_EQ(alarm->AlGrid.Cell(3, 1), "7");
  EXPECT_EQ(alarm->ShutDL.Caption(), "Alarm was set to:\n\r" + due);
  EXPECT_EQ(alarm->ShutDL.Lines(), (std::vector<std::string>{"Alarm was set to:", due}));
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 1");
  EXPECT_FALSE(alarm->CancelL.Visible());
  EXPECT_FALSE(alarm->Timer1.Running());
  EXPECT_TRUE(backend.TaskbarButtonVisible());

  // The page area: the bell from the program folder; the panel covers the scroll bar.
  EXPECT_EQ(alarm->Web1.Url(), std::string(kDir) + "bell.htm");
  EXPECT_EQ(alarm->Web1.NavigateFlags(), 2);
  EXPECT_EQ(backend.ControlPeer(alarm->Web1)->text, std::string(kDir) + "bell.htm");
  EXPECT_EQ(alarm->Web1.Height(), 82 - 17);
  EXPECT_EQ(alarm->Panel1.Left(), 23 + 82 - 17);
  EXPECT_EQ(alarm->Panel1.Height(), alarm->Web1.Height() + 5);
}

TEST_F(AlarmFormTest, ColumnsWiderThanTheGridGetAHorizontalScrollBarThatReachesTheLast) {
  AddTask(7, kStateMessage);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  ui::StringGrid& grid = alarm->AlGrid;
  ASSERT_EQ(grid.Width(), 369);
  ASSERT_GT(126 + 213 + 130 + 64, grid.Width());
  ui::ScrollRange range;
  ASSERT_TRUE(grid.ScrollBarRange(false, range));
  EXPECT_TRUE(grid.ColumnsOverflow());
  EXPECT_EQ(range.max, 3);
  EXPECT_LT(range.page, range.max + 1);  // a bar with somewhere to go
  EXPECT_EQ(grid.VisibleRowCount(), (193 - ui::StringGrid::kScrollBarSize - 18) / 18);
  // The bar brings the task number's column into view.
  grid.PeerScroll(false, ui::ScrollCommand::Last, 0);
  EXPECT_GT(grid.CellRect(TAlForm::kIdColumn, 1).left, 0);
  EXPECT_LE(grid.CellRect(TAlForm::kIdColumn, 1).right, grid.Width());
  // Many alarms: the rows scroll too.
  for (int i = 0; i < 15; ++i) alarm->AddAlarm();
  ASSERT_TRUE(grid.RowsOverflow());
  ASSERT_TRUE(grid.ScrollBarRange(true, range));
  EXPECT_LT(range.page, range.max + 1);
  EXPECT_TRUE(grid.ScrollBarRange(false, range));
}

TEST_F(AlarmFormTest, ThePageHintIsTheMakerPageTheAboutWindowLinksTo) {
  AddTask(7, kStateMessage);
  Seconds(1);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->Web1.Hint(), BuiltMakerAddresses().webPage);
}

TEST_F(AlarmFormTest, RepeatCountsPlayTheSoundThatManyTimes) {
  // Three: exactly three plays, however often the device reports the end.
  AddTask(1, kStateMessage).SoundRepeat = 3;
  form->scheduler.UpdateCurTask();
  Seconds(2);
  for (int i = 0; i < 6; ++i) {
    PlayEnds();
    Seconds(1);
  }
  EXPECT_EQ(Plays(), 3);
  EXPECT_FALSE(SignalTimerRunning());
  // Every play starts from the start and reports to the clock's window.
  for (const auto& sent : mci.sent)
    if (sent.command == "play song notify") {
      EXPECT_EQ(sent.notifyWindow, form->Handle());
    }
}

TEST_F(AlarmFormTest, RepeatZeroPlaysUntilStopped) {
  AddTask(1, kStateMessage).SoundRepeat = 0;
  form->scheduler.UpdateCurTask();
  Seconds(2);
  for (int i = 0; i < 9; ++i) {
    PlayEnds();
    Seconds(1);
  }
  EXPECT_EQ(Plays(), 10);
  EXPECT_TRUE(SignalTimerRunning());

  TAlForm* alarm = Alarm();
  backend.Click(alarm->Stop);
  EXPECT_EQ(mci.Commands().back(), "close song");
  EXPECT_EQ(alarm->Resume.Tag(), 0);
  Seconds(5);
  EXPECT_EQ(Plays(), 10);  // stopped: nothing plays until the device reports again
}

TEST_F(AlarmFormTest, ASoundThatCannotBeOpenedBeepsAndReportsOnce) {
  const std::string broken = "C:\\Sounds\\broken.wav";
  shortPaths.table[broken] = "C:\\Sounds\\BROKEN.WAV";
  mci.Answer("open " + broken + " alias song", fakes::kMciErrFileNotFound);
  mci.Answer("seek song to start", fakes::kMciErrInvalidDeviceName);
  struct Case {
    std::uint16_t repeat;
    int seconds;
    int beeps;
  };
  // Three attempts for a count of three; one a second for ever for a count of 0.
  for (Case c : {Case{3, 8, 3}, Case{0, 8, 8}}) {
    SCOPED_TRACE(c.repeat);
    const int beepsBefore = backend.Beeps();
    const auto boxesBefore = boxes.shown.size();
    TTask& task = AddTask(1, kStateMessage);
    task.SoundFile = broken;
    task.SoundRepeat = c.repeat;
    form->scheduler.UpdateCurTask();
    Seconds(1);  // fires
    Seconds(c.seconds);
    EXPECT_EQ(backend.Beeps() - beepsBefore, c.beeps);
    EXPECT_EQ(Plays(), 0);
    ASSERT_EQ(boxes.shown.size() - boxesBefore, 1u);
    EXPECT_EQ(boxes.shown.back().caption, "Error open file!");
    backend.UserClose(*Alarm());
    app.ProcessMessages();
  }
}

TEST_F(AlarmFormTest, SoundOffHidesTheButtonsAndStopsTheSignalTimer) {
  AddTask(1, kStateMessage).SoundOn = 0;
  form->scheduler.UpdateCurTask();
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_FALSE(alarm->Stop.Visible());
  EXPECT_FALSE(alarm->Resume.Visible());
  EXPECT_FALSE(alarm->Pause.Visible());
  Seconds(1);
  EXPECT_FALSE(SignalTimerRunning());
  EXPECT_EQ(Count("open " + std::string(kWav) + " alias song"), 0);
  EXPECT_EQ(backend.Beeps(), 0);
}

TEST_F(AlarmFormTest, ADamagedRepeatCountIsTheLargestCountNotForEver) {
  AddTask(1, kStateMessage).SoundRepeat = 40000;
  form->scheduler.UpdateCurTask();
  Seconds(1);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->SignalCount, 32767);
}

TEST_F(AlarmFormTest, ASecondFiringAddsARowAndStartsItsOwnSound) {
  AddTask(1, kStateMessage).SoundRepeat = 0;
  TTask& second = AddTask(2, kStateMessage, 5);
  second.SoundFile = "C:\\Sounds\\gong.wav";
  second.SoundRepeat = 2;
  form->scheduler.UpdateCurTask();
  Seconds(2);  // the first fires and plays
  ASSERT_EQ(Plays(), 1);
  const auto closesBefore = Count("close song");
  Seconds(4);  // the second is due while the first still plays
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(alarm->AlGrid.RowCount(), 3);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 1), "Task 1");
  EXPECT_EQ(alarm->AlGrid.Cell(1, 2), "Task 2");
  EXPECT_EQ(alarm->AlGrid.Cell(3, 2), "2");
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 2");
  EXPECT_EQ(Count("close song"), closesBefore + 1);  // the running sound made way
  // The next tick opens the new sound; its count is its own (two plays).
  Seconds(1);
  EXPECT_EQ(Count("open C:\\Sounds\\gong.wav alias song"), 1);
  for (int i = 0; i < 4; ++i) {
    PlayEnds();
    Seconds(1);
  }
  EXPECT_EQ(Count("open C:\\Sounds\\gong.wav alias song"), 2);
  EXPECT_FALSE(SignalTimerRunning());
}

// The same window on a device that keeps its one alias and its pending notice as the system
// does.
class AlarmSoundDeviceTest : public AlarmFormTest {
 protected:
  AlarmSoundDeviceTest() {
    services.mci = &device;
    // The files exist: an open of a taken alias is retried in the short form, then rewinds.
    shortPaths.table[kWav] = "C:\\SOUNDS\\BELL.WAV";
    shortPaths.table[kGong] = "C:\\SOUNDS\\GONG.WAV";
  }
  static constexpr const char* kGong = "C:\\Sounds\\gong.wav";
  // The play ends; the clock hears of it only when a notice was asked for.
  void DevicePlayEnds() {
    if (std::optional<WindowId> window = device.PlayEnds()) {
      EXPECT_EQ(*window, form->Handle());
      PlayEnds();
    }
  }
  fakes::SongDevice device;
};

TEST_F(AlarmSoundDeviceTest, ASecondFiringAfterTheFirstSoundPlayedOutPlaysItsOwnFile) {
  const std::string gong = kGong;
  AddTask(1, kStateMessage).SoundRepeat = 1;
  TTask& second = AddTask(2, kStateMessage, 6);
  second.SoundFile = gong;
  second.SoundRepeat = 2;
  form->scheduler.UpdateCurTask();
  Seconds(2);
  ASSERT_EQ(device.played, (std::vector<std::string>{kWav}));
  DevicePlayEnds();
  Seconds(2);
  ASSERT_FALSE(SignalTimerRunning());  // its one play is done; the device stands rewound
  Seconds(4);                          // the second task fires into a new row
  ASSERT_EQ(Alarm()->AlGrid.Cell(1, 2), "Task 2");
  Seconds(1);
  DevicePlayEnds();
  Seconds(1);
  EXPECT_EQ(device.played, (std::vector<std::string>{kWav, gong, gong}));
  EXPECT_EQ(device.openFile, gong);
}

// The play's completion notice outlives a pause and the resume (as the system documents it and
// Wine does it), so the repetitions go on after Play.
TEST_F(AlarmSoundDeviceTest, PauseThenPlayKeepsARepeatingSoundGoing) {
  AddTask(1, kStateMessage).SoundRepeat = 0;
  form->scheduler.UpdateCurTask();
  Seconds(2);
  ASSERT_EQ(device.played.size(), 1u);
  TAlForm* alarm = Alarm();
  backend.Click(alarm->Pause);
  Seconds(3);  // paused: nothing starts again
  EXPECT_EQ(device.played.size(), 1u);
  backend.Click(alarm->Resume);
  EXPECT_EQ(device.commands.back(), "resume song");
  for (int i = 0; i < 3; ++i) {
    DevicePlayEnds();
    Seconds(1);
  }
  EXPECT_EQ(device.played.size(), 4u);
  EXPECT_TRUE(SignalTimerRunning());
}

TEST_F(AlarmFormTest, AShutdownCountsDownModallyAndGoesAheadAtZero) {
  AddTask(1, kStateMessage | kStateShutdown);
  std::string afterOneSecond;
  bool modal = false, cancelShown = false;
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    modal = alarm.IsModal();
    cancelShown = alarm.CancelL.Visible() && alarm.CancelL.Caption() == "Cancel";
    backend.AdvanceMs(1000);
    afterOneSecond = alarm.ShutDL.Caption();
    backend.AdvanceMs(59000);  // the countdown closes the window
  });
  Seconds(1);
  EXPECT_TRUE(modal);
  EXPECT_TRUE(cancelShown);
  EXPECT_EQ(afterOneSecond, "Shutdown in 59 s");
  EXPECT_EQ(backend.UnansweredModals(), 0);
  EXPECT_EQ(Alarm(), nullptr);  // destroyed after the modal show
  EXPECT_THAT(calls, Contains("privilege"));
  EXPECT_THAT(calls, Contains("power.poweroff"));
  EXPECT_FALSE(backend.TaskbarButtonVisible());
  EXPECT_FALSE(backend.TaskbarHighlighted());
}

TEST_F(AlarmFormTest, CancelKeepsTheComputerRunning) {
  AddTask(1, kStateMessage | kStateShutdown);
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    backend.AdvanceMs(3000);
    backend.Click(alarm.CancelL);
    if (alarm.Visible()) backend.AdvanceMs(1000);  // the modal loop sees the close
  });
  Seconds(1);
  ASSERT_EQ(form->Runner->ShutdownConfirm, 2);
  EXPECT_EQ(backend.UnansweredModals(), 0);
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_THAT(calls, Not(Contains("privilege")));
  EXPECT_THAT(calls, Not(Contains("power.poweroff")));
  EXPECT_EQ(mci.Commands().back(), "close song");
}

TEST_F(AlarmFormTest, ClosingEndsTheFlashingAndTheTaskbarButtonAndFreesTheWindow) {
  AddTask(1, kStateMessage);
  Seconds(1);
  ASSERT_NE(Alarm(), nullptr);
  const int flashes = backend.TaskbarFlashes();
  backend.AdvanceMs(2000);
  EXPECT_EQ(backend.TaskbarFlashes() - flashes, 4);
  backend.UserClose(*Alarm());
  app.ProcessMessages();
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_FALSE(backend.TaskbarButtonVisible());
  EXPECT_FALSE(backend.TaskbarHighlighted());
  const int afterClose = backend.TaskbarFlashes();
  backend.AdvanceMs(2000);
  EXPECT_EQ(backend.TaskbarFlashes(), afterClose);
  EXPECT_EQ(form->Runner->ShutdownConfirm, 1);
  // A new firing makes a fresh window: row 1 again.
  AddTask(2, kStateMessage, 1);
  Seconds(3);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->AlGrid.RowCount(), 2);
  EXPECT_EQ(Alarm()->AlGrid.Cell(1, 1), "Task 2");
}

TEST_F(AlarmFormTest, DoubleClickOnARowOpensItsTaskUnlessTheTaskListIsOpen) {
  int editorOpened = 0;
  services.windows[kTaskEditorWindow] = [&](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<StubEditor>(owner.App(), editorOpened);
  };
  services.windows[kTaskListWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<ui::Form>(owner.App(), "TaskList");
  };
  TTask& daily = AddTask(4, kStateMessage);
  daily.Period = kPeriodDays;  // stays in the list after firing
  form->scheduler.UpdateCurTask();
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);

  alarm->AlGridDblClick(alarm->AlGrid);  // nothing selected yet
  EXPECT_EQ(editorOpened, 0);
  ASSERT_TRUE(alarm->AlGrid.UserSelect(1, 1));
  EXPECT_EQ(alarm->AlGrid.Tag(), 5);

  form->CreateForm(kTaskListWindow);
  alarm->AlGridDblClick(alarm->AlGrid);
  EXPECT_EQ(editorOpened, 0);

  form->DeleteFormA(kTaskListWindow);
  app.ProcessMessages();
  alarm->AlGridDblClick(alarm->AlGrid);
  EXPECT_EQ(editorOpened, 1);
}

TEST_F(AlarmFormTest, SpeaksTheMessageWhenSpeechWorks) {
  speech.canWaitUntilDone = true;
  AddTask(1, kStateMessage).SpeakOn = 1;
  form->scheduler.UpdateCurTask();
  Seconds(1);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_TRUE(Alarm()->SpeechAvailable);
  ASSERT_TRUE(form->Speaker->WaitForWorkers(std::chrono::seconds(5)));
  EXPECT_EQ(speech.CountOf("Speak Task 1"), 1);
  // Asking whether speech works neither shows a character nor says anything else.
  EXPECT_EQ(speech.CountOf("Speak MSA test"), 0);
  EXPECT_EQ(speech.CountOf("Show 1"), 1);
}

}  // namespace
}  // namespace vm::testing

namespace vm::testing {
namespace {

// Windows that only note when the clock hands them a new visual style.
struct ThemeNotes {
  std::vector<std::string> order;
};
struct NotedAlarm : ui::Form, AlarmWindow {
  void* FindInterface(const void* tag) override { return AnswerInterface<AlarmWindow>(this, tag); }
  NotedAlarm(ui::Application& app, ThemeNotes& n) : Form(app, "NotedAlarm"), notes(n) {}
  void AddAlarm() override {}
  void ArmSound() override {}
  void ApplyTheme() override { notes.order.push_back("alarm"); }
  ThemeNotes& notes;
};
struct NotedProcess : ui::Form, ProcessWindow {
  void* FindInterface(const void* tag) override { return AnswerInterface<ProcessWindow>(this, tag); }
  NotedProcess(ui::Application& app, ThemeNotes& n) : Form(app, "NotedProcess"), notes(n) {}
  void CloseProgram(const std::string&) override {}
  void ApplyTheme() override { notes.order.push_back("process"); }
  ThemeNotes& notes;
};
struct NotedList : ui::Form, TaskListWindow {
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskListWindow>(this, tag); }
  NotedList(ui::Application& app, ThemeNotes& n) : Form(app, "NotedList"), notes(n) {}
  void RefreshList() override {}
  void AddTask() override {}
  void ApplyTheme() override { notes.order.push_back("list"); }
  ThemeNotes& notes;
};

class ThemeOrderTest : public MainFormTest {
 protected:
  static constexpr const char* kStyle = "C:\\windows\\resources\\themes\\luna\\luna.msstyles";
  ThemeOrderTest() {
    fakes::SetThemeManager(registry, kStyle, "Metallic");
    themes.files[kStyle] = {};
    services.themes = &themes;
  }
  // The clock's style record releases its file through `themes`, which goes first.
  ~ThemeOrderTest() override {
    if (form) form->Style.reset();
  }
  fakes::FakeThemeSource themes;
  ThemeNotes notes;
};

TEST_F(ThemeOrderTest, LoadingAThemeReachesTheOpenAlarmProcessAndListWindowsInThatOrder) {
  services.windows = AllWindowKinds();
  services.windows[kAlarmWindow] = [&](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<NotedAlarm>(owner.App(), notes);
  };
  services.windows[kProcessWindow] = [&](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<NotedProcess>(owner.App(), notes);
  };
  services.windows[kTaskListWindow] = [&](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<NotedList>(owner.App(), notes);
  };
  TForm1& f = Create();
  f.LoadTheme();
  EXPECT_TRUE(notes.order.empty());  // none of them is open
  f.CreateForm(kTaskListWindow);
  f.CreateForm(kAlarmWindow);
  f.LoadTheme();
  EXPECT_EQ(notes.order, (std::vector<std::string>{"alarm", "list"}));
  notes.order.clear();
  f.CreateForm(kProcessWindow);
  f.LoadTheme();
  EXPECT_EQ(notes.order, (std::vector<std::string>{"alarm", "process", "list"}));
}

}  // namespace
}  // namespace vm::testing

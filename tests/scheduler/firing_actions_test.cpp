// The order of a firing's actions for the combinations of State bits.

#include <gmock/gmock.h>

#include "firing_fixture.h"
#include "scheduler/event_triggers.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(FiringTest, MessageOrSoundShowsTheAlarmWindowOrAddsARow) {
  TTask sound = Task(0);
  sound.SoundOn = 1;
  Load({sound});
  TickAt(1);
  EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.show", "save", "tasklist.refresh"));
  EXPECT_LT(IndexOf("log: checkState = 0"), IndexOf("alarm.create"));
  EXPECT_LT(IndexOf("alarm.create"), IndexOf("log: State = 1(Message) or SoundOn"));

  Load({Task(kStateMessage)});
  TickAt(1);  // the window from before is still visible
  EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.add", "save", "tasklist.refresh"));
}

// The alarm window speaks for itself; only without it is the message spoken here.
TEST_F(FiringTest, SpeechOnlyWithoutTheAlarmWindow) {
  TTask spoken = Task(0);
  spoken.SpeakOn = 1;
  TTask shown = Task(kStateMessage, kPeriodOnce, Due() + 1.0 / 24);
  shown.SpeakOn = 1;
  Load({spoken, shown});
  TickAt(1);
  EXPECT_THAT(Actions(), ElementsAre("speak Meeting", "save", "tasklist.refresh"));
  calls.clear();
  TickAt(3601);
  EXPECT_FALSE(Has("speak Meeting"));
  EXPECT_TRUE(Has("alarm.show"));
}

TEST_F(FiringTest, MessageAndShutdownWaitsForTheWarning) {
  struct Case {
    int confirmOnClose;
    bool shutsDown;
  };
  for (Case c : {Case{2, false}, Case{1, true}}) {
    SCOPED_TRACE(c.confirmOnClose);
    scheduler.TaskList.clear();
    Load({Task(kStateMessage | kStateShutdown)});
    TTask seenByWindow;
    host.onModal = [&] {
      seenByWindow = scheduler.CurTask;
      runner.ShutdownConfirm = c.confirmOnClose;  // the window's close handler
    };
    bool goesOn = TickAt(1);
    EXPECT_EQ(seenByWindow.TaskId, 0u);
    EXPECT_EQ(seenByWindow.AlarmCnt, 1u);
    if (c.shutsDown) {
      EXPECT_FALSE(goesOn);
      EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.modal", "alarm.destroy",
                                         "privilege", "save", "tasklist.refresh",
                                         "power.poweroff"));
    } else {
      EXPECT_TRUE(goesOn);
      EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.modal", "alarm.destroy", "save",
                                         "tasklist.refresh"));
    }
    EXPECT_LT(IndexOf("log: State = 4(Warning)"), IndexOf("alarm.modal"));
  }
}

TEST_F(FiringTest, ShutdownWithoutMessageOrSoundGoesAtOnce) {
  Load({Task(kStateShutdown)});
  EXPECT_FALSE(TickAt(1));
  EXPECT_THAT(Actions(), ElementsAre("privilege", "save", "tasklist.refresh", "power.poweroff"));
}

TEST_F(FiringTest, ShutdownWhileTheAlarmWindowIsOpenAddsARowAndGoes) {
  host.exists = host.visible = true;
  Load({Task(kStateMessage | kStateShutdown)});
  EXPECT_FALSE(TickAt(1));
  EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.add", "privilege", "save",
                                     "tasklist.refresh", "power.poweroff"));
}

// Power precedence: shutdown (only when confirmed), then hibernate, then reboot.
TEST_F(FiringTest, OnePowerActionByPrecedence) {
  struct Case {
    std::uint32_t state;
    int confirmOnClose;
    const char* request;
  };
  for (Case c : {Case{kStateMessage | kStateShutdown | kStateReboot, 2, "power.reboot"},
                 Case{kStateMessage | kStateShutdown | kStateHibernate, 2, "power.hibernate"},
                 Case{kStateShutdown | kStateHibernate | kStateReboot, 1, "power.poweroff"},
                 Case{kStateHibernate | kStateReboot, 1, "power.hibernate"}}) {
    SCOPED_TRACE(c.state);
    scheduler.TaskList.clear();
    Load({Task(c.state)});
    host.onModal = [&] { runner.ShutdownConfirm = c.confirmOnClose; };
    EXPECT_FALSE(TickAt(1));
    std::vector<std::string> actions = Actions();
    ASSERT_GE(actions.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(actions.end() - 4, actions.end()),
                ElementsAre("privilege", "save", "tasklist.refresh", c.request));
    EXPECT_EQ(std::count_if(actions.begin(), actions.end(),
                            [](const std::string& a) { return a.rfind("power.", 0) == 0; }),
              1);
  }
}

TEST_F(FiringTest, CloseRunAndLockInThisOrder) {
  TTask task = Task(kStateCloseProgram | kStateRunProgram | kStateLock);
  task.Program = "C:\\Tools\\Report.EXE";
  Load({task});
  EXPECT_TRUE(TickAt(1));
  EXPECT_THAT(Actions(),
              ElementsAre("processes.end Report.EXE",
                          "shell.execute verb=open file=C:\\Tools\\Report.EXE parameters= "
                          "directory= owner=16962",
                          "lock", "save", "tasklist.refresh"));
  EXPECT_LT(IndexOf("log: State = 256(Lock)"), IndexOf("lock"));
}

TEST_F(FiringTest, LockFallsBackToWindowsLWhenTheSystemRefuses) {
  actions.keyboard.lockAccepted = false;
  Load({Task(kStateLock)});
  EXPECT_TRUE(TickAt(1));
  EXPECT_THAT(Actions(), ElementsAre("lock refused", "key 5B down", "key 4C down", "key 4C up",
                                     "key 5B up", "save", "tasklist.refresh"));
}

// Nothing in the sequence stops it: a failed close, start or refused privilege still lets the
// following actions run.
TEST_F(FiringTest, FailuresDoNotStopTheSequence) {
  actions.processes.result = {true, 0, {{77, true}}};
  actions.shell.succeeds = false;
  actions.privileges.result = {PrivilegeStep::OpenToken, 5};
  TTask task = Task(kStateCloseProgram | kStateRunProgram | kStateReboot);
  task.Program = "C:\\Tools\\stuck.exe";
  Load({task});
  EXPECT_FALSE(TickAt(1));
  EXPECT_THAT(Actions(),
              ElementsAre("processes.end stuck.exe", "box Can't close program: C:\\Tools\\stuck.exe",
                          "shell.execute verb=open file=C:\\Tools\\stuck.exe parameters= "
                          "directory= owner=16962",
                          "privilege", "box Vemtaro: Error OpenProcessToken", "save",
                          "tasklist.refresh", "power.reboot"));
}

TEST_F(FiringTest, ProgramEndingInLnkRunsTheShortcutWhateverTheCase) {
  actions.shellLinks.links["C:\\Links\\Backup.LNK"] = {"C:\\PROGRA~1\\BACKUP.EXE", "D:\\data",
                                                       "/full"};
  TTask shortcut = Task(kStateRunProgram);
  shortcut.Program = "C:\\Links\\Backup.LNK";
  TTask text = Task(kStateRunProgram, kPeriodOnce, Due() + 1.0 / 24);
  text.Program = "C:\\notes.lnk.txt";
  Load({shortcut, text});
  TickAt(1);
  ASSERT_GE(Actions().size(), 3u);  // short path, resolve, start
  EXPECT_EQ(Actions()[2], "shell.execute verb= file=C:\\PROGRA~1\\BACKUP.EXE parameters=/full "
                          "directory=D:\\data owner=16962");
  calls.clear();
  TickAt(3601);
  EXPECT_EQ(Actions().front(),
            "shell.execute verb=open file=C:\\notes.lnk.txt parameters= directory= owner=16962");
}

TEST_F(FiringTest, EmptyProgramStartsAndClosesNothing) {
  Load({Task(kStateRunProgram | kStateCloseProgram)});
  TickAt(1);
  EXPECT_THAT(Actions(), ElementsAre("save", "tasklist.refresh"));
}

// Ticks keep coming while the shutdown warning is open: they leave ShutdownConfirm alone and
// fire nothing, also a task that falls due meanwhile; that one is missed after the firing ends.
TEST_F(FiringTest, TicksNestedInTheWarningFireNothing) {
  TTask other = Task(kStateMessage | kStateLock, kPeriodOnce, Due() + 20.0 / 86400);
  other.ShowPassed = 1;
  Load({Task(kStateMessage | kStateShutdown), other});
  int nestedConfirm = 0;
  host.onModal = [&] {
    for (int second = 2; second <= 61; ++second) {
      runner.ShutdownConfirm = 2;
      TickAt(second);
      nestedConfirm = runner.ShutdownConfirm;
    }
    runner.ShutdownConfirm = 2;  // closed with Cancel, after the last nested tick
  };
  EXPECT_TRUE(TickAt(1));
  EXPECT_EQ(nestedConfirm, 2);
  EXPECT_FALSE(Has("lock"));
  EXPECT_FALSE(Has("power.poweroff"));
  EXPECT_EQ(Entry(0), nullptr);  // the shutdown task is done
  ASSERT_NE(Entry(1), nullptr);
  EXPECT_EQ(scheduler.CurTask.TaskId, 1u);

  calls.clear();
  TickAt(62);  // the next real tick finds the other task 42 s late
  EXPECT_THAT(Actions(), ElementsAre("box Vemtaro: Alarm was set to :", "save", "tasklist.refresh"));
}

// An event raised while the warning is open chooses another current task. The firing still
// finishes its own task, and the event task is neither fired inside it nor lost.
TEST_F(FiringTest, FiringFinishesItsOwnTaskWhenAnotherBecameCurrent) {
  TTask onLock = Task(kStateMessage | kStateRunProgram, kPeriodOnce, 0.0);
  onLock.Event = kEventSessionLock;
  onLock.Active = kWaitingForEvent;
  onLock.Program = "C:\\lockapp.exe";
  Load({Task(kStateMessage | kStateShutdown), onLock});
  host.onModal = [&] {
    clock.Set(Due() + 10.0 / 86400);
    UpdateEventTask(scheduler, clock, kEventSessionLock);
    clock.Set(Due() + 11.0 / 86400);
    runner.Tick();
    runner.ShutdownConfirm = 2;
  };
  EXPECT_TRUE(TickAt(1));
  EXPECT_FALSE(Has("shell.execute verb=open file=C:\\lockapp.exe parameters= directory= "
                   "owner=16962"));
  EXPECT_EQ(Entry(0), nullptr);  // the one-time shutdown task was finished, not the event task
  const TTask* event = Entry(1);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->Active, kScheduled);
  EXPECT_EQ(event->AlarmCnt, 0u);
  EXPECT_EQ(scheduler.CurTask.TaskId, 1u);
}

TEST_F(FiringTest, FinishingAWakeTaskCancelsTheWakeTimer) {
  Load({Task(kStateMessage | kStateWakeUp, kPeriodDays, Due())});
  clock.Set(Due() - 2.0 / 24);
  wakeTimer.SetResumeTimer(scheduler.TaskList);  // a suspend two hours before
  ASSERT_TRUE(wakeTimer.Armed());
  calls.clear();
  TickAt(120);  // resumed two minutes late: still fires
  EXPECT_TRUE(Has("alarm.show"));
  EXPECT_LT(IndexOf("log:  TForm1::FinishTask:1798"), IndexOf("timer.cancel 101"));
  EXPECT_LT(IndexOf("timer.cancel 101"), IndexOf("save"));
  EXPECT_FALSE(wakeTimer.Armed());
  EXPECT_THAT(actions.wakeTimers.open, IsEmpty());  // the handle is closed, not only forgotten
}


// Cancel in the shutdown warning holds for the whole firing, also when later actions of the
// same firing open boxes of their own (a program that cannot be closed, the shell's error for a
// program that cannot be started) and ticks run inside them.
TEST_F(FiringTest, CancelHoldsThroughBoxesOfTheLaterActions) {
  for (std::uint32_t power : {0u, static_cast<std::uint32_t>(kStateReboot)}) {
    SCOPED_TRACE(power);
    calls.clear();
    scheduler.TaskList.clear();
    TTask task = Task(kStateMessage | kStateShutdown | kStateCloseProgram | kStateRunProgram | power);
    task.Program = "C:\\Tools\\stuck.exe";
    Load({task});
    actions.processes.result = {true, 0, {ProcessEndFailure{42, true}}};
    int nestedTicks = 0;
    boxes.onShow = [&](const MessageBoxRequest&) {
      ++nestedTicks;
      TickAt(3);
    };
    actions.shell.succeeds = false;
    actions.shell.onExecute = [&] {
      ++nestedTicks;
      TickAt(4);
    };
    host.onModal = [&] {
      TickAt(2);
      runner.ShutdownConfirm = 2;  // the user pressed Cancel
    };
    EXPECT_TRUE(TickAt(1) == (power == 0));
    EXPECT_EQ(nestedTicks, 2);
    EXPECT_TRUE(Has("box Can't close program: C:\\Tools\\stuck.exe"));
    EXPECT_FALSE(Has("power.poweroff"));
    EXPECT_FALSE(Has("power.shutdown"));
    // The reboot is another action: it does not ask the warning.
    EXPECT_EQ(Has("power.reboot"), power != 0);
    boxes.onShow = nullptr;
    actions.shell.onExecute = nullptr;
    actions.shell.succeeds = true;
  }
}

// Without Cancel the same firing shuts down, after the boxes.
TEST_F(FiringTest, ClosedWarningShutsDownAfterTheBoxes) {
  TTask task = Task(kStateMessage | kStateShutdown | kStateCloseProgram);
  task.Program = "C:\\Tools\\stuck.exe";
  Load({task});
  actions.processes.result = {true, 0, {ProcessEndFailure{42, true}}};
  boxes.onShow = [&](const MessageBoxRequest&) { TickAt(3); };
  host.onModal = [&] { runner.ShutdownConfirm = 1; };
  EXPECT_FALSE(TickAt(1));
  EXPECT_GT(IndexOf("power.poweroff"), IndexOf("box Can't close program: C:\\Tools\\stuck.exe"));
}

}  // namespace
}  // namespace vm::firetest

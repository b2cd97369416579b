#include <cmath>
// The main window's answers to the system's notifications.

#include <gmock/gmock.h>

#include "firing_fixture.h"
#include "scheduler/system_messages.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingSystemHost : public SystemMessageHost {
 public:
  explicit RecordingSystemHost(CallLog& log) : log_(log) {}
  void ShowMainWindow() override { log_.push_back("host.show"); }
  void RefreshDisplay(bool reloadTheme) override {
    log_.push_back(reloadTheme ? "host.refresh+theme" : "host.refresh");
  }
  void RewindSound() override { log_.push_back("host.rewind"); }
  void ArmAlarmSound() override { log_.push_back("host.arm"); }
  void SessionEnding() override { log_.push_back("host.session-ending"); }

 private:
  CallLog& log_;
};

class SystemMessageTest : public FiringTest {
 protected:
  SystemMessageTest() { clock.Set(Due() - 2.0 / 24); }

  SystemMessageResult Send(SystemMessageKind kind, std::uint32_t code = 0,
                           const std::string& name = "") {
    calls.clear();
    return handler.Handle({kind, code, name});
  }
  static TTask OnEvent(std::uint16_t event) {
    TTask task = Task(kStateMessage, kPeriodOnce, 0.0);
    task.Event = event;
    task.Active = kWaitingForEvent;
    return task;
  }
  bool Started(std::uint32_t id) { return Entry(id)->Active == kScheduled; }

  RecordingSystemHost systemHost{calls};
  SystemMessageHandler handler{systemHost, scheduler, wakeTimer, clock};
};

TEST_F(SystemMessageTest, ShowMessageShowsTheWindowAndStillGoesOn) {
  SystemMessageResult shown = Send(SystemMessageKind::Registered, 0, "VMR_SHOW");
  EXPECT_FALSE(shown.handled);
  EXPECT_THAT(Actions(), ElementsAre("host.show"));

  SystemMessageResult other = Send(SystemMessageKind::Registered, 0, "TaskbarCreated");
  EXPECT_FALSE(other.handled);
  EXPECT_THAT(Actions(), IsEmpty());
  EXPECT_FALSE(Send(SystemMessageKind::TrayCallback, 517).handled);
}

TEST_F(SystemMessageTest, EndOfSessionQueryStartsPowerOffTasksArmsTheTimerAndAgrees) {
  clock.Set(Due() - 2.0 / 24);
  const std::string armed = "timer.set 101 due=" + std::to_string(static_cast<std::uint64_t>(std::llround((Due() + 109205.0) * 864000000000.0))) + " period=0 resume";
  TTask wake = Task(kStateMessage | kStateWakeUp, kPeriodOnce, Due());
  Load({OnEvent(kEventPowerOff), wake});
  SystemMessageResult result = Send(SystemMessageKind::QueryEndSession);
  EXPECT_TRUE(result.handled);
  EXPECT_EQ(result.result, 1);
  EXPECT_TRUE(Started(0));
  EXPECT_TRUE(Has(armed));
  EXPECT_LT(IndexOf("log:  TForm1::UpdateEventTask:2876 Event 32"),
            IndexOf("log:  TForm1::SetResumeTimer:1812"));
  EXPECT_LT(IndexOf(armed),
            IndexOf("log: WM_POWERBROADCAST 1"));
}

TEST_F(SystemMessageTest, PowerBroadcastsArmOnSuspendAndLogResume) {
  clock.Set(Due() - 2.0 / 24);
  Load({Task(kStateMessage | kStateWakeUp, kPeriodOnce, Due())});
  for (std::uint32_t code : {kPbtQuerySuspend, kPbtSuspend}) {
    SystemMessageResult result = Send(SystemMessageKind::PowerBroadcast, code);
    EXPECT_TRUE(result.handled);
    EXPECT_EQ(result.result, 1);
    EXPECT_TRUE(wakeTimer.Armed());
    EXPECT_TRUE(Has("log:  TForm1::SetResumeTimer:1812"));
    EXPECT_TRUE(Has("log: WM_POWERBROADCAST 1"));
  }
  for (std::uint32_t code : {kPbtResumeCritical, kPbtResumeSuspend, 10u /* power status */}) {
    SystemMessageResult result = Send(SystemMessageKind::PowerBroadcast, code);
    EXPECT_TRUE(result.handled);
    EXPECT_EQ(result.result, 1);
    EXPECT_THAT(Actions(), IsEmpty());
    EXPECT_EQ(Has("log: WM_POWERBROADCAST 2"), code != 10u);
  }
}

TEST_F(SystemMessageTest, SessionChangesStartTheirEventTasks) {
  struct Case {
    std::uint32_t code;
    std::uint16_t event;
  };
  for (Case c : {Case{kWtsLock, kEventSessionLock}, Case{kWtsUnlock, kEventSessionUnlock},
                 Case{kWtsLogon, kEventLogon}, Case{kWtsLogoff, kEventLogoff}}) {
    SCOPED_TRACE(c.code);
    scheduler.TaskList.clear();
    Load({OnEvent(c.event), OnEvent(static_cast<std::uint16_t>(~c.event & 0xFF))});
    SystemMessageResult result = Send(SystemMessageKind::SessionChange, c.code);
    EXPECT_TRUE(result.handled);
    EXPECT_EQ(result.result, 0);
    EXPECT_TRUE(Started(0));
    EXPECT_FALSE(Started(1));
  }
  scheduler.TaskList.clear();
  Load({OnEvent(0xFF)});
  Send(SystemMessageKind::SessionChange, 3);  // remote connect: no event
  EXPECT_FALSE(Started(0));
}

// The screen saver's command becomes the event 64 instead of starting the screen saver from
// this window; every other command (here SC_CLOSE, Alt+F4) goes on to the normal procedure.
TEST_F(SystemMessageTest, ScreenSaverCommandIsAnEventOtherCommandsPassOn) {
  Load({OnEvent(kEventScreenSaverOn)});
  SystemMessageResult close = Send(SystemMessageKind::SysCommand, 0xF060);
  EXPECT_FALSE(close.handled);
  EXPECT_FALSE(Started(0));

  SystemMessageResult saver = Send(SystemMessageKind::SysCommand, kScScreenSave);
  EXPECT_TRUE(saver.handled);
  EXPECT_EQ(saver.result, 0);
  EXPECT_TRUE(Started(0));
  EXPECT_LT(IndexOf("log: SC_SCREENSAVE"), IndexOf("log:  TForm1::UpdateEventTask:2876 Event 64"));
}

TEST_F(SystemMessageTest, DisplayAndSoundNotifications) {
  EXPECT_TRUE(Send(SystemMessageKind::SettingChange).handled);
  EXPECT_THAT(Actions(), ElementsAre("host.refresh+theme"));
  EXPECT_TRUE(Send(SystemMessageKind::TimeChange).handled);
  EXPECT_THAT(Actions(), ElementsAre("host.refresh"));
  // Only a play that ran to its end is rewound and played again; superseded, aborted (a pause
  // or stop) and failed plays are not.
  SystemMessageResult done = Send(SystemMessageKind::MciNotify, 1u);
  EXPECT_TRUE(done.handled);
  EXPECT_THAT(Actions(), ElementsAre("host.rewind", "host.arm"));
  for (std::uint32_t code : {2u, 4u, 8u}) {
    SCOPED_TRACE(code);
    SystemMessageResult result = Send(SystemMessageKind::MciNotify, code);
    EXPECT_TRUE(result.handled);
    EXPECT_THAT(Actions(), IsEmpty());
  }
}

// The end of the session keeps the tasks and the position only when the session really ends.
TEST_F(SystemMessageTest, EndOfSessionSavesOnlyWhenTheSessionEnds) {
  SystemMessageResult goesOn = Send(SystemMessageKind::EndSession, 0);
  EXPECT_TRUE(goesOn.handled);
  EXPECT_EQ(goesOn.result, 0);
  EXPECT_THAT(Actions(), IsEmpty());
  SystemMessageResult ends = Send(SystemMessageKind::EndSession, 1);
  EXPECT_TRUE(ends.handled);
  EXPECT_EQ(ends.result, 0);
  EXPECT_THAT(Actions(), ElementsAre("host.session-ending"));
}

}  // namespace
}  // namespace vm::firetest

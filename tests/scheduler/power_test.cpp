// The shutdown privilege and the power requests with their failure messages.

#include <gmock/gmock.h>

#include "firing_fixture.h"
#include "scheduler/power.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;

class PowerTest : public FiringTest {
 protected:
  PowerActions& power = runner.Power();
};

TEST_F(PowerTest, EachFailedPrivilegeStepShowsItsMessageWithTheApplicationTitle) {
  struct Case {
    PrivilegeStep step;
    const char* box;
  };
  for (Case c : {Case{PrivilegeStep::OpenToken, "box Vemtaro: Error OpenProcessToken"},
                 Case{PrivilegeStep::LookupValue, "box Vemtaro: Error on LookupPrivilegeValue"},
                 Case{PrivilegeStep::Adjust, "box Vemtaro: Error on AdjustTokenPrivileges"}}) {
    calls.clear();
    actions.privileges.result = {c.step, 1300};
    power.SetPrivileges(60);
    EXPECT_THAT(Actions(), ElementsAre("privilege", c.box));
  }
  EXPECT_EQ(boxes.shown.back().owner, 0u);
  EXPECT_EQ(boxes.shown.back().buttons, MsgButtons::Ok);
  EXPECT_TRUE(Has("log:  TForm1::SetPrivileges:1056"));
}

TEST_F(PowerTest, ShutdownIsOneRequestOnNtAndTwoOn9x) {
  power.ShutDown(20);
  EXPECT_THAT(Actions(), ElementsAre("power.poweroff"));
  calls.clear();
  power.ShutDown(18);
  EXPECT_THAT(Actions(), ElementsAre("power.shutdown", "power.poweroff"));
}

TEST_F(PowerTest, RefusedRequestsShowTheirMessagesUnowned) {
  actions.power.accepts = false;
  power.ShutDown(18);  // the refused shutdown does not stop the power-off request
  EXPECT_THAT(Actions(), ElementsAre("power.shutdown", "box Message: Can't shut down",
                                     "power.poweroff", "box Message: Can't power off"));
  calls.clear();
  power.Reboot();
  EXPECT_THAT(Actions(), ElementsAre("power.reboot", "box Message: Can't reboot "));
  calls.clear();
  power.Hibernate();
  EXPECT_THAT(Actions(), ElementsAre("power.hibernate"));
  for (const MessageBoxRequest& box : boxes.shown) EXPECT_EQ(box.owner, 0u);
}

// A user without the shutdown right: the privilege message, then the refused power-off, one
// box after the other; the task is finished and saved in between.
TEST_F(PowerTest, UserWithoutTheRightSeesTwoBoxesInTurn) {
  actions.privileges.result = {PrivilegeStep::Adjust, 1300};
  actions.power.accepts = false;
  Load({Task(kStateShutdown)});
  EXPECT_FALSE(TickAt(1));
  EXPECT_THAT(Actions(), ElementsAre("privilege", "box Vemtaro: Error on AdjustTokenPrivileges",
                                     "save", "tasklist.refresh", "power.poweroff",
                                     "box Message: Can't power off"));
}

TEST_F(PowerTest, NinexFiringAsksTwiceWithoutPrivileges) {
  host.versionCode = 15;
  Load({Task(kStateShutdown)});
  EXPECT_FALSE(TickAt(1));
  EXPECT_THAT(Actions(), ElementsAre("save", "tasklist.refresh", "power.shutdown", "power.poweroff"));
}

// The file on disk when the system is asked: a one-time shutdown task is already gone, a
// repeating reboot task already carries its next time.
TEST_F(PowerTest, TaskFileIsFinalBeforeThePowerRequest) {
  std::vector<TTask> atRequest;
  actions.power.onRequest = [&] { atRequest = SavedTasks(); };
  TTask keep = Task(kStateMessage, kPeriodOnce, Due() + 5);
  Load({Task(kStateShutdown), keep});
  TickAt(1);
  ASSERT_EQ(atRequest.size(), 1u);
  EXPECT_EQ(atRequest[0].AlarmTime, Due() + 5);

  scheduler.TaskList.clear();
  Load({Task(kStateReboot, kPeriodWeek)});
  TickAt(1);
  ASSERT_EQ(atRequest.size(), 1u);
  EXPECT_EQ(atRequest[0].AlarmTime, Due() + 7);
  EXPECT_EQ(atRequest[0].AlarmCnt, 1u);
  EXPECT_EQ(atRequest[0].Active, kScheduled);
}

}  // namespace
}  // namespace vm::firetest

// Snoozing a fired task: the one-time record it saves, when it is due (also across daylight-
// saving changes), and how it rings, or is reported as missed after a sleep.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "firing_fixture.h"
#include "scheduler/snooze.h"

namespace vm::firetest {
namespace {

constexpr const char* kMarker = " (snoozed)";

long long Ms(DateTime later, DateTime earlier) { return std::llround((later - earlier) * 86'400'000.0); }

class SnoozeTest : public FiringTest {
 protected:
  // A task that did everything when it fired, on weekdays only.
  static TTask Fired(std::uint32_t state) {
    TTask task = Task(kStateMessage | state, kPeriodDays, Due());
    task.WeekDays = 31;
    task.SpeakOn = task.SoundOn = 1;
    task.SoundRepeat = 4;
    task.SoundFile = "C:\\gong.wav";
    task.Program = "C:\\backup.exe";
    task.AlarmCnt = 5;
    return task;
  }
};

TEST_F(SnoozeTest, TheSavedRecordKeepsMessageSoundSpeechAndWakeUpOnly) {
  Load({Task(kStateMessage, kPeriodDays, Due() + 1.0)});
  const std::uint32_t id = scheduler.Snooze(
      Fired(kStateCloseProgram | kStateShutdown | kStateReboot | kStateHibernate | kStateRunProgram |
            kStateAlarmSound | kStateWakeUp | kStateLock), 10, kMarker);
  const std::vector<TTask> saved = SavedTasks();
  ASSERT_EQ(saved.size(), 2u);
  const TTask& t = saved.front();  // due first
  EXPECT_EQ(t.TaskId, id);
  EXPECT_EQ(Ms(t.AlarmTime, clock.Now()), 10 * 60'000);
  EXPECT_EQ(t.State, kStateMessage | kStateAlarmSound | kStateWakeUp);
  EXPECT_EQ(std::tuple(t.Period, t.Active, t.Event, t.AlarmCnt), std::tuple(0u, 1, 0, 0u));
  EXPECT_EQ(t.WeekDays, 127) << "due on whatever day the snooze ends";
  EXPECT_EQ(t.ShowPassed, 1) << "a missed snooze is reported";
  EXPECT_EQ(std::tuple(t.SpeakOn, t.SoundOn, t.SoundRepeat, t.SoundFile), std::tuple(1, 1, 4, "C:\\gong.wav"));
  EXPECT_EQ(t.Message, "Meeting (snoozed)");
  EXPECT_EQ(scheduler.CurTask.TaskId, id);

  // Snoozed again, or with no valid length: one marker, the default length.
  const std::uint32_t again = scheduler.Snooze(t, 0, kMarker);
  ASSERT_TRUE(scheduler.FindTask(again));
  EXPECT_EQ(scheduler.TaskIter->Message, "Meeting (snoozed)");
  EXPECT_EQ(Ms(scheduler.TaskIter->AlarmTime, clock.Now()), kDefaultSnoozeMinutes * 60'000);
  // A message that fills its field gives way to the marker, cut between whole characters.
  TTask full = Fired(0);
  full.Message = std::string(240, 'y') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";  // five é
  ASSERT_TRUE(scheduler.FindTask(scheduler.Snooze(full, 5, kMarker)));
  EXPECT_EQ(scheduler.TaskIter->Message, std::string(237, 'y') + kMarker);
}

// Central Europe: UTC+1, summer UTC+2 from 28 March to 31 October 2027, 01:00 UTC.
int CentralEurope2027(DateTime utc) { return utc >= At(2027, 3, 28, 1) && utc < At(2027, 10, 31, 1) ? 120 : 60; }

TEST_F(SnoozeTest, ItWaitsRealMinutesAcrossDaylightSavingChanges) {
  clock.SetZone(CentralEurope2027);
  struct Case {
    DateTime utcNow, expectedLocal;
  };
  for (const Case& c : {
           Case{At(2027, 6, 1, 10, 0), At(2027, 6, 1, 12, 10)},
           // 01:55 local; at 02:00 the clock jumps to 03:00: ten real minutes end at 03:05.
           Case{At(2027, 3, 28, 0, 55), At(2027, 3, 28, 3, 5)},
           // 02:55 the first time: ten real minutes end at 02:05 the second time, which would
           // count as missed at once; 03:05 comes instead.
           Case{At(2027, 10, 31, 0, 55), At(2027, 10, 31, 3, 5)},
       }) {
    clock.SetUtc(c.utcNow);
    EXPECT_EQ(Ms(SnoozeDueTime(clock, 10), c.expectedLocal), 0) << c.utcNow;
  }
}

TEST_F(SnoozeTest, ItRingsAtItsTimeOnAnyDayAndIsReportedMissedAfterASleep) {
  files.Put(std::string(kProgramDir) + "english.vml", "L3.1Alarm was set to:\r\n");
  ASSERT_TRUE(language.LoadLanguageFile(std::string(kProgramDir) + "english.vml"));
  const DateTime friday = At(2026, 12, 11, 23, 58);  // the snooze ends on Saturday
  struct Case {
    std::uint32_t wake;
    double secondsLate;  // from the snooze's time to the first tick
    bool rings;
  };
  for (Case c : {Case{0, 1, true}, Case{0, 30 * 60, false}, Case{kStateWakeUp, 100, true},
                 Case{kStateWakeUp, 20 * 60, false}}) {
    SCOPED_TRACE(std::to_string(c.wake) + " " + std::to_string(c.secondsLate));
    scheduler.TaskList.clear();
    host.exists = host.visible = false;
    clock.Set(friday);
    const std::uint32_t id = scheduler.Snooze(Fired(c.wake | kStateRunProgram), 5, kMarker);
    calls.clear();
    TickAt(5 * 60 + c.secondsLate, friday);
    EXPECT_EQ(Has("alarm.show"), c.rings);
    EXPECT_EQ(Has("box Vemtaro: Alarm was set to: " + host.FormatTaskDate(friday + 5.0 / 1440, true) +
                  " \n Meeting (snoozed)"),
              !c.rings);
    EXPECT_FALSE(std::any_of(calls.begin(), calls.end(), [](const std::string& s) { return s.starts_with("shell."); }));
    EXPECT_FALSE(scheduler.FindTask(id)) << "rung or missed, it is done";
  }
}

}  // namespace
}  // namespace vm::firetest

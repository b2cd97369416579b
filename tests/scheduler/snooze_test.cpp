// Snoozing a fired task: the one-time record it leaves in the task file, when it is due (also
// across daylight-saving changes), and how it rings, or is reported as missed after a sleep.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "firing_fixture.h"
#include "scheduler/snooze.h"

namespace vm::firetest {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr const char* kMarker = " (snoozed)";

// Milliseconds between two date-time values, rounded.
long long Ms(DateTime later, DateTime earlier) { return std::llround((later - earlier) * 86'400'000.0); }

class SnoozeTest : public FiringTest {
 protected:
  // A task that does everything, as it fired: a message, sound, speech and every other action.
  static TTask Fired(std::uint32_t extraState) {
    TTask task = Task(kStateMessage | extraState, kPeriodDays, Due());
    task.Cnt = 3;
    task.WeekDays = 31;  // Monday to Friday
    task.SpeakOn = 1;
    task.SoundOn = 1;
    task.SoundRepeat = 4;
    task.SoundFile = "C:\\Sounds\\gong.wav";
    task.Program = "C:\\Tools\\backup.exe";
    task.AlarmCnt = 5;
    task.LastAlarm = Due();
    task.Active = kInactive;
    return task;
  }
  bool AnyStarting(const std::string& prefix) const {
    return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.starts_with(prefix); });
  }
};

TEST_F(SnoozeTest, TheRecordRepeatsMessageSoundSpeechAndWakeUpOnlyOnceAndIsSaved) {
  constexpr std::uint32_t kEverything = kStateCloseProgram | kStateShutdown | kStateReboot |
                                        kStateHibernate | kStateRunProgram | kStateAlarmSound |
                                        kStateWakeUp | kStateLock;
  struct Case {
    std::uint32_t state;
    std::uint32_t kept;
  };
  for (Case c : {Case{kEverything, kStateMessage | kStateAlarmSound | kStateWakeUp},
                 Case{kStateRunProgram, kStateMessage}}) {
    SCOPED_TRACE(c.state);
    scheduler.TaskList.clear();
    Load({Task(kStateMessage, kPeriodDays, Due() + 1.0), Task(kStateMessage, kPeriodOnce, Due() + 2.0)});
    clock.Set(Due() + 3.0 / 86400);
    const std::uint32_t id = scheduler.Snooze(Fired(c.state), 10, kMarker);

    EXPECT_EQ(id, 2u);
    ASSERT_TRUE(Has("save"));
    const std::vector<TTask> saved = SavedTasks();
    EXPECT_EQ(files.Text(schedtest::kTaskPath).size(), 8 + 3 * kTaskRecordSize);
    ASSERT_EQ(saved.size(), 3u);
    const TTask& t = saved.front();  // the earliest: first in the file
    EXPECT_EQ(t.TaskId, id);
    EXPECT_EQ(Ms(t.AlarmTime, Due()), 3'000 + 10 * 60'000);
    EXPECT_EQ(t.State, c.kept);
    EXPECT_EQ(t.Period, kPeriodOnce);
    EXPECT_EQ(t.Active, kScheduled);
    EXPECT_EQ(t.Event, 0);
    EXPECT_EQ(t.WeekDays, 127) << "due on whatever day the snooze ends";
    EXPECT_EQ(t.SpeakOn, 1);
    EXPECT_EQ(t.SoundOn, 1);
    EXPECT_EQ(t.SoundRepeat, 4);
    EXPECT_EQ(t.SoundFile, "C:\\Sounds\\gong.wav");
    EXPECT_EQ(t.ShowPassed, 1) << "a missed snooze is reported";
    EXPECT_EQ(t.AlarmCnt, 0u);
    EXPECT_EQ(t.LastAlarm, 0.0);
    EXPECT_EQ(t.Message, "Meeting (snoozed)");
    // It is the next task to ring.
    EXPECT_EQ(scheduler.CurTask.TaskId, id);
    EXPECT_EQ(scheduler.CurTask.Active, kScheduled);
    calls.clear();
  }
}

TEST_F(SnoozeTest, TheMarkerIsAddedOnceAndAlwaysFits) {
  Load({});
  struct Case {
    std::string message;
    std::string marker;
    std::string expected;
  };
  const std::string longest(247, 'x');
  const std::string latin1Long = std::string(240, 'y') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";  // é x5
  for (const Case& c : {
           Case{"Tea", kMarker, "Tea (snoozed)"},
           Case{"Tea (snoozed)", kMarker, "Tea (snoozed)"},  // a snooze of a snooze
           Case{longest, kMarker, std::string(237, 'x') + kMarker},
           Case{latin1Long, kMarker, std::string(237, 'y') + kMarker},
           Case{"Tea", "", "Tea"},  // a language file with an empty marker
           Case{"Tea", std::string(300, 'm'), "Tea"},  // a marker longer than the field
       }) {
    SCOPED_TRACE(c.message.substr(0, 20) + "|" + c.marker.substr(0, 12));
    TTask fired = Fired(0);
    fired.Message = c.message;
    const std::uint32_t id = scheduler.Snooze(fired, 5, c.marker);
    ASSERT_TRUE(scheduler.FindTask(id));
    EXPECT_EQ(scheduler.TaskIter->Message, c.expected);
    EXPECT_LE(codec.Utf8ToAnsi(scheduler.TaskIter->Message).size(), kMessageField - 1);
  }
}

TEST_F(SnoozeTest, ALengthThatIsNoSnoozeLengthGivesTheDefault) {
  Load({});
  for (int minutes : {0, -5, kLongestSnoozeMinutes + 1}) {
    SCOPED_TRACE(minutes);
    const std::uint32_t id = scheduler.Snooze(Fired(0), minutes, kMarker);
    ASSERT_TRUE(scheduler.FindTask(id));
    EXPECT_EQ(Ms(scheduler.TaskIter->AlarmTime, clock.Now()), kDefaultSnoozeMinutes * 60'000);
  }
  const std::uint32_t id = scheduler.Snooze(Fired(0), kLongestSnoozeMinutes, kMarker);
  ASSERT_TRUE(scheduler.FindTask(id));
  EXPECT_EQ(Ms(scheduler.TaskIter->AlarmTime, clock.Now()), kLongestSnoozeMinutes * 60'000LL);
}

// Central Europe: UTC+1, summer UTC+2 from the last Sunday of March to the last Sunday of
// October, 01:00 UTC.
int CentralEurope(DateTime utc) {
  const bool summer = utc >= At(2027, 3, 28, 1) && utc < At(2027, 10, 31, 1);
  return summer ? 120 : 60;
}

TEST_F(SnoozeTest, TheSnoozeWaitsRealMinutesAcrossDaylightSavingChanges) {
  clock.SetZone(CentralEurope);
  struct Case {
    const char* what;
    DateTime utcNow;
    DateTime expectedLocal;
  };
  for (const Case& c : {
           Case{"an ordinary day", At(2027, 6, 1, 10, 0), At(2027, 6, 1, 12, 10)},
           // 01:55 local, the clock jumps to 03:00 at 02:00: ten real minutes end at 03:05.
           Case{"the night the hour is skipped", At(2027, 3, 28, 0, 55), At(2027, 3, 28, 3, 5)},
           // 02:55 local the first time: ten real minutes end at 02:05 the second time, which
           // would count as missed at once; local 03:05 comes instead.
           Case{"the night an hour repeats", At(2027, 10, 31, 0, 55), At(2027, 10, 31, 3, 5)},
       }) {
    SCOPED_TRACE(c.what);
    clock.SetUtc(c.utcNow);
    EXPECT_EQ(Ms(SnoozeDueTime(clock, 10), c.expectedLocal), 0);
  }
}

TEST_F(SnoozeTest, ASnoozeRingsAtItsTimeAndIsReportedMissedAfterASleep) {
  // Friday 23:58, a task for Monday to Friday: its snooze rings on Saturday all the same.
  const DateTime friday = At(2026, 12, 11, 23, 58);
  struct Case {
    const char* what;
    std::uint32_t wake;
    double secondsLate;  // how long after the snooze's time the first tick comes
    bool rings;
  };
  for (const Case& c : {
           Case{"awake", 0, 1, true},
           Case{"asleep past its time", 0, 30 * 60, false},
           Case{"woken by its timer", kStateWakeUp, 100, true},
           Case{"asleep past its time although it wakes", kStateWakeUp, 20 * 60, false},
       }) {
    files.Put(std::string(kProgramDir) + "english.vml", "L3.1Alarm was set to:\r\n");
    ASSERT_TRUE(language.LoadLanguageFile(std::string(kProgramDir) + "english.vml"));
    SCOPED_TRACE(c.what);
    scheduler.TaskList.clear();
    host.exists = host.visible = false;
    Load({});
    clock.Set(friday);
    const std::uint32_t id = scheduler.Snooze(Fired(c.wake), 5, kMarker);
    calls.clear();
    TickAt(5 * 60 + c.secondsLate, friday);

    EXPECT_EQ(Has("alarm.show"), c.rings);
    const std::string missedBox = "box Vemtaro: Alarm was set to: " +
                                  host.FormatTaskDate(friday + 5 * kMinute, true) + " \n Meeting (snoozed)";
    EXPECT_EQ(Has(missedBox), !c.rings);
    EXPECT_FALSE(Has("alarm.modal"));
    for (const char* action : {"shell.", "link.", "power.", "privilege", "processes.", "key", "lock"})
      EXPECT_FALSE(AnyStarting(action)) << action << ": no program, lock or power action comes back";
    EXPECT_FALSE(scheduler.FindTask(id)) << "rung or missed, a one-time task is done";
    EXPECT_TRUE(SavedTasks().empty());
  }
}

}  // namespace
}  // namespace vm::firetest

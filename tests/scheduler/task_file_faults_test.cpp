// Saves that fail or are cut off by a crash at each of their steps in turn: whatever happened,
// the next start loads the whole old list or the whole new one, never a mix and never nothing,
// and bytes kept aside from a damaged file are never lost.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/faulty_files.h"
#include "scheduler_fixture.h"

namespace vm::schedtest {
namespace {

using fakes::FaultyFileSystem;
using Fault = FaultyFileSystem::Fault;

// More steps than any save takes; reaching it means the loop below would not end.
constexpr int kStepLimit = 500;

class TaskFileFaultTest : public SchedulerTest {
 protected:
  struct Scenario {
    const char* what;
    std::vector<std::uint8_t> file;                    // tasks.sft before the start
    std::function<void(Scheduler&)> change;            // what the user does before the save
    bool faultDuringStart = false;                     // the start-up load itself writes
    std::vector<std::uint8_t> mustSurvive;             // bytes that must stay somewhere
  };

  Scheduler Start(FaultyFileSystem& fs) { return Scheduler{{fs, clock, codec, language, host}, kProgramDir}; }

  // What a fresh start over `files` loads (the files themselves are left as they were).
  std::vector<TTask> LoadedBy(const FaultyFileSystem::Files& files) {
    FaultyFileSystem fs;
    fs.Restore(files);
    Scheduler fresh = Start(fs);
    fresh.LoadList();
    return {fresh.TaskList.begin(), fresh.TaskList.end()};
  }

  static bool HeldSomewhere(const FaultyFileSystem& fs, const std::vector<std::uint8_t>& bytes) {
    for (const auto& [path, content] : fs.Snapshot())
      if (content == bytes) return true;
    return false;
  }

  // Runs the start (and the change and the save) once without a fault, then once for every
  // step with the fault at that step, until a run reaches no armed step. Returns the steps seen.
  int RunEveryStep(const Scenario& s, Fault fault) {
    SCOPED_TRACE(s.what);
    FaultyFileSystem fs;
    fs.SetWritePiece(300);  // a record and more than one piece per file
    fs.Put(kTaskPath, s.file);
    const auto before = fs.Snapshot();
    const std::vector<TTask> oldList = LoadedBy(before);

    // Without a fault: the new list, and the steps a save takes.
    std::vector<TTask> newList;
    {
      Scheduler program = Start(fs);
      program.LoadList();
      if (s.change) s.change(program);
      EXPECT_TRUE(program.SaveList());
      newList = LoadedBy(fs.Snapshot());
      if (s.change) {
        EXPECT_NE(newList, oldList) << "the change should show in the file";
      }
    }

    int step = 0;
    for (; step < kStepLimit; ++step) {
      SCOPED_TRACE("fault at step " + std::to_string(step));
      fs.Restore(before);
      Scheduler program = Start(fs);
      bool saved = false;
      try {
        if (s.faultDuringStart) fs.Arm(step, fault);
        program.LoadList();
        if (s.change) s.change(program);
        if (!s.faultDuringStart) fs.Arm(step, fault);
        saved = program.SaveList();
      } catch (const fakes::SimulatedCrash&) {
      }
      const bool hit = fs.Hit();
      const auto log = fs.StepLog();
      fs.Disarm();
      if (!hit) {
        EXPECT_TRUE(saved) << "a save without a fault must succeed";
        EXPECT_EQ(LoadedBy(fs.Snapshot()), newList);
        break;
      }

      std::vector<TTask> loaded = LoadedBy(fs.Snapshot());
      EXPECT_FALSE(loaded.empty()) << "a start must never load nothing";
      EXPECT_TRUE(loaded == oldList || loaded == newList)
          << "at \"" << log[static_cast<std::size_t>(step)] << "\" the next start loads "
          << loaded.size() << " tasks: neither the old list (" << oldList.size()
          << ") nor the new one (" << newList.size() << ")";
      if (!s.mustSurvive.empty()) {
        EXPECT_TRUE(HeldSomewhere(fs, s.mustSurvive))
            << "at \"" << log[static_cast<std::size_t>(step)] << "\" the original file is lost";
      }

      if (fault == Fault::Fail) {
        // The program goes on: unless the failed step was the clean-up itself, no temporary
        // file is left, and the next save keeps the new list.
        if (log[static_cast<std::size_t>(step)].rfind("delete", 0) != 0) {
          EXPECT_TRUE(fs.PathsStartingWith(std::string(kTaskPath) + ".tmp").empty())
              << "after \"" << log[static_cast<std::size_t>(step)] << "\" failed";
        }
        EXPECT_TRUE(program.SaveList());
        EXPECT_EQ(LoadedBy(fs.Snapshot()), newList);
        if (!s.mustSurvive.empty()) {
          EXPECT_TRUE(HeldSomewhere(fs, s.mustSurvive));
        }
      }
    }
    EXPECT_LT(step, kStepLimit) << "the fault was reached at every step";
    return step;
  }

  std::vector<Scenario> Scenarios() {
    auto three = FileImage({Task(At(2026, 12, 9), kPeriodOnce, 1, kScheduled, 0, "dentist"),
                            Task(At(2026, 12, 10), kPeriodOnce, 1, kScheduled, 0, "train"),
                            Task(At(2026, 12, 11), kPeriodOnce, 1, kScheduled, 0, "call mum")});
    auto cutShort = three;
    cutShort.resize(cutShort.size() - 100);
    auto partOfOne = three;
    partOfOne.resize(8 + 500);
    auto oldHeader = three;
    oldHeader[7] = '1';
    auto addOne = [](Scheduler& program) {
      TTask task = Task(At(2026, 12, 20), kPeriodOnce, 1, kScheduled, 0, "added");
      task.TaskId = program.NewTaskId();
      program.TaskList.push_back(task);
    };
    return {
        {"a task added", three, addOne, false, {}},
        {"a task edited", three,
         [](Scheduler& program) { program.TaskList.front().Message = "dentist at 9"; }, false, {}},
        {"the list emptied", three, [](Scheduler& program) { program.TaskList.clear(); }, false, {}},
        {"a task added to a file whose last record is cut short", cutShort, addOne, false, cutShort},
        {"a damaged file at the start", Bytes(std::string(900, 'x')), nullptr, true,
         Bytes(std::string(900, 'x'))},
        {"a cut-short file at the start, then a change", cutShort, addOne, true, cutShort},
        {"an older header upgraded at the start", oldHeader, nullptr, true, {}},
        {"a header and part of a record at the start", partOfOne, nullptr, true, partOfOne},
    };
  }
};

TEST_F(TaskFileFaultTest, ACrashAtAnyStepLeavesTheOldOrTheNewList) {
  for (const Scenario& s : Scenarios()) {
    int steps = RunEveryStep(s, Fault::Crash);
    // A whole replacement takes at least create, write, flush, close and move.
    EXPECT_GE(steps, 5) << s.what;
  }
}

TEST_F(TaskFileFaultTest, AFailureAtAnyStepLeavesTheOldOrTheNewListAndTheNextSaveKeepsIt) {
  for (const Scenario& s : Scenarios()) RunEveryStep(s, Fault::Fail);
}

}  // namespace
}  // namespace vm::schedtest

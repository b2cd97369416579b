#include <gtest/gtest.h>

#include <algorithm>

#include "scheduler_fixture.h"

namespace vm::schedtest {
namespace {

const std::string kKept = std::string(kTaskPath) + ".damaged-20261207-120000";

using TaskFileTest = SchedulerTest;

TEST_F(TaskFileTest, LoadRenumbersInFileOrderSortsAndRefreshesTheHost) {
  TTask a = Task(At(2026, 12, 9), 0, 1, kScheduled, 0, "a");
  TTask b = Task(At(2026, 12, 8), 0, 1, kScheduled, 0, "b");
  TTask c = Task(0.0, 0, 1, kWaitingForEvent, kEventLogon, "c");
  a.TaskId = 7, b.TaskId = 3, c.TaskId = 9;
  files.Put(kTaskPath, FileImage({a, b, c}));
  scheduler.LoadList();

  EXPECT_EQ(Names(), (std::vector<std::string>{"c", "b", "a"}));
  ASSERT_TRUE(scheduler.FindTask(0));
  EXPECT_EQ(scheduler.TaskIter->Message, "a");
  ASSERT_TRUE(scheduler.FindTask(2));
  EXPECT_EQ(scheduler.TaskIter->Message, "c");
  EXPECT_EQ(scheduler.CurTask.Message, "b");
  EXPECT_EQ(scheduler.EditBuf, scheduler.CurTask);
  EXPECT_GE(host.tipRefreshes, 1);
  EXPECT_EQ(host.labelRefreshes, 1);
  EXPECT_TRUE(log.Contains("  TForm1::LoadList:1356"));
  EXPECT_EQ(KeptFiles(), 0u);
}

TEST_F(TaskFileTest, OldHeadersAreUpgradedToOnesThatLoadAgain) {
  for (std::string header : {std::string("Vemtaro\0", 8), std::string("xVemtaro")}) {
    SCOPED_TRACE(header);
    auto original = FileImage({Task(At(2026, 12, 9), 0, 1, kScheduled, 0, "kept")}, header);
    files.Put(kTaskPath, original);
    scheduler.LoadList();
    auto expected = original;
    std::copy_n("Vemtaro2", 8, expected.begin());
    EXPECT_EQ(FileBytes(), expected);

    Scheduler again{{files, clock, codec, language, host}, kProgramDir};
    again.LoadList();
    ASSERT_EQ(again.TaskList.size(), 1u);
    EXPECT_EQ(again.TaskList.front().Message, "kept");
  }
  EXPECT_EQ(KeptFiles(), 0u);
}

// Missing, too short, or without the name: the old file is kept aside under a free
// name and a new one holds one default task.
TEST_F(TaskFileTest, DamagedFilesAreKeptAsideAndReplacedByOneDefaultTask) {
  const auto image = FileImage({Task(At(2026, 12, 9))});
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool exists, unreadable;
  } cases[] = {{"missing", {}, false, false},
               {"no name", std::vector<std::uint8_t>(2000, 'A'), true, false},
               {"short", Bytes("Vemt"), true, false},
               {"the name without its digit", Bytes("Vemtaro"), true, false},
               {"NUL first", FileImage({Task(1.0)}, std::string("\0Vemtaro", 8)), true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fakes::MemoryFileSystem fresh;
    files = fresh;  // the language texts stay loaded
    files.Put(kKept, std::string("an earlier one"));
    if (c.exists) files.Put(kTaskPath, c.bytes);
    if (c.unreadable) files.MakeUnreadable(kTaskPath);
    scheduler.LoadList();

    auto bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 824u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "Vemtaro2");
    ASSERT_EQ(scheduler.TaskList.size(), 1u);
    TTask expected;
    scheduler.InitTask(expected);
    EXPECT_EQ(scheduler.TaskList.front(), expected);
    EXPECT_EQ(scheduler.TaskList.front().Message, "Time is up");
    std::span<const std::uint8_t, kTaskRecordSize> record(bytes.data() + 8, kTaskRecordSize);
    EXPECT_EQ(DeserializeTask(record, codec), expected);
    EXPECT_EQ(files.Text(kKept), "an earlier one");
    if (c.exists)
      EXPECT_EQ(FileBytes(kKept + "-2"), c.bytes);
    else
      EXPECT_EQ(KeptFiles(), 1u);
  }
}

TEST_F(TaskFileTest, CutShortLastRecordIsKeptAsideBeforeTheFileFirstChanges) {
  auto original = FileImage({Task(At(2026, 12, 9)), Task(At(2026, 12, 10))});
  original.resize(original.size() + 100, 0x5A);
  files.Put(kTaskPath, original);
  scheduler.LoadList();
  EXPECT_EQ(scheduler.TaskList.size(), 2u);
  EXPECT_EQ(FileBytes(), original);
  EXPECT_EQ(KeptFiles(), 0u);

  ASSERT_TRUE(scheduler.SaveList());
  EXPECT_EQ(FileBytes(kKept), original);
  EXPECT_EQ(FileBytes().size(), 8u + 2 * 816);
  clock.AdvanceSeconds(5);
  ASSERT_TRUE(scheduler.SaveList());
  EXPECT_EQ(KeptFiles(), 1u);

  // In an old file the header upgrade is the first change.
  clock.Set(At(2026, 12, 7, 12));
  original = FileImage({Task(At(2026, 12, 9))}, "Vemtaro1");
  original.resize(original.size() + 10, 0x5A);
  files.Put(kTaskPath, original);
  scheduler.LoadList();
  EXPECT_EQ(FileBytes(kKept + "-2"), original);
  original[7] = '2';
  EXPECT_EQ(FileBytes(), original);
}

// A header and part of one record loads no task: the start then has one default task, as
// after a bare header, and the part is kept aside, as any cut-short record is.
TEST_F(TaskFileTest, HeaderWithLessThanOneRecordStartsWithTheDefaultTaskAndKeepsThePart) {
  for (std::size_t part : {1u, 741u, 815u}) {
    SCOPED_TRACE(part);
    fakes::MemoryFileSystem fresh;
    files = fresh;
    auto original = FileImage({Task(At(2026, 12, 9), kPeriodOnce, 1, kScheduled, 0, "lost?")});
    original.resize(8 + part);
    files.Put(kTaskPath, original);
    scheduler.LoadList();
    ASSERT_EQ(scheduler.TaskList.size(), 1u);
    TTask expected;
    scheduler.InitTask(expected);
    EXPECT_EQ(scheduler.TaskList.front(), expected);
    EXPECT_EQ(scheduler.CurTask, expected);
    EXPECT_EQ(FileBytes(kKept), original);
    EXPECT_EQ(FileBytes().size(), 8u + 816);
    EXPECT_FALSE(scheduler.HasUnsavedChanges());
  }
}

TEST_F(TaskFileTest, ReadOnlyFolderKeepsTheListInMemoryAndTheFileUntouched) {
  for (bool good : {true, false}) {
    SCOPED_TRACE(good ? "good file" : "damaged file");
    auto original = good ? FileImage({Task(At(2026, 12, 9)), Task(At(2026, 12, 10))})
                         : std::vector<std::uint8_t>(100, 'A');
    files.Put(kTaskPath, original);
    files.MakeReadOnlyFolder(kProgramDir);
    scheduler.LoadList();
    EXPECT_EQ(scheduler.TaskList.size(), good ? 2u : 1u);
    Fill({Task(At(2026, 12, 11))});
    EXPECT_FALSE(scheduler.SaveList());
    EXPECT_EQ(scheduler.TaskList.size(), good ? 3u : 2u);
    EXPECT_EQ(FileBytes(), original);
  }
  EXPECT_TRUE(log.Contains(" SaveList failed"));
}

TEST_F(TaskFileTest, SaveReplacesTheWholeFileInListOrder) {
  Fill({Task(At(2026, 12, 9), 0, 1, kScheduled, 0, "late"), Task(0.0, 0, 1, kWaitingForEvent, 8, "event"),
        Task(At(2026, 12, 8), 0, 1, kScheduled, 0, "early")});
  scheduler.UpdateCurTask();
  int replaces = files.ReplaceCount();
  ASSERT_TRUE(scheduler.SaveList());
  EXPECT_EQ(files.ReplaceCount(), replaces + 1);
  EXPECT_TRUE(log.Contains("  TForm1::SaveList:885"));
  auto expected = FileImage(std::vector<TTask>(scheduler.TaskList.begin(), scheduler.TaskList.end()));
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(Names(), (std::vector<std::string>{"event", "early", "late"}));

  ASSERT_TRUE(scheduler.RemoveTask(1));
  ASSERT_TRUE(scheduler.SaveList());
  EXPECT_EQ(FileBytes().size(), expected.size() - 816);
}

TEST_F(TaskFileTest, InitTaskTakesTheLanguageTextsCutToTheirFields) {
  TTask task;
  task.AlarmCnt = 5, task.Event = 4;
  scheduler.InitTask(task);
  TTask expected;
  expected.AlarmTime = clock.Now();
  expected.Program = "notepad.exe", expected.SoundFile = "bell.wav", expected.Message = "Time is up";
  EXPECT_EQ(task, expected);
  EXPECT_TRUE(log.Contains("  TForm1::InitTask:1426"));

  files.Put(kLanguagePath, "L2.14" + std::string(400, 'w') + "\r\n");
  ASSERT_TRUE(language.LoadLanguageFile(kLanguagePath));
  scheduler.InitTask(task);
  EXPECT_EQ(task.Message, std::string(247, 'w'));
  EXPECT_EQ(task.SoundFile, "");
}

TEST_F(TaskFileTest, IdsLookupAndRemoval) {
  EXPECT_EQ(scheduler.NewTaskId(), 1u);
  Fill({Task(1.0)});
  EXPECT_EQ(scheduler.NewTaskId(), 1u);
  Fill({Task(2.0), Task(3.0)});
  EXPECT_EQ(scheduler.NewTaskId(), 3u);

  ASSERT_TRUE(scheduler.FindTask(1));
  EXPECT_EQ(scheduler.TaskIter->AlarmTime, 2.0);
  EXPECT_FALSE(scheduler.FindTask(42));
  EXPECT_TRUE(scheduler.TaskIter == scheduler.TaskList.end());
  ASSERT_TRUE(scheduler.RemoveTask(1));
  EXPECT_EQ(scheduler.TaskIter->TaskId, 2u);
  EXPECT_FALSE(scheduler.RemoveTask(1));
  EXPECT_EQ(scheduler.TaskList.size(), 2u);

  // Ids compare unsigned, and the largest possible one does not wrap onto an id in use.
  scheduler.TaskList.front().TaskId = 0x80000000u;
  EXPECT_EQ(scheduler.NewTaskId(), 0x80000001u);
  scheduler.TaskList.front().TaskId = 0xFFFFFFFFu;
  std::uint32_t id = scheduler.NewTaskId();
  EXPECT_FALSE(scheduler.FindTask(id));
}

}  // namespace
}  // namespace vm::schedtest

namespace vm::schedtest {
namespace {

using TaskFileSafetyTest = SchedulerTest;

// An emptied list is saved as the bare header; the next start replaces it with one default task
// and keeps nothing aside.
TEST_F(TaskFileSafetyTest, HeaderOnlyFileIsAnEmptyListNotADamagedOne) {
  files.Put(kTaskPath, FileImage({Task(At(2026, 12, 9))}));
  scheduler.LoadList();
  scheduler.TaskList.clear();
  ASSERT_TRUE(scheduler.SaveList());
  ASSERT_EQ(FileBytes(), Bytes("Vemtaro2"));

  scheduler.LoadList();
  EXPECT_EQ(KeptFiles(), 0u);
  ASSERT_EQ(scheduler.TaskList.size(), 1u);
  EXPECT_EQ(FileBytes().size(), 8u + 816);
  EXPECT_TRUE(host.warnings.empty());
}

// Held open by another program, or too large to read: not damaged. The file stays as it is for
// the whole run, the user is told once, and no save writes over it.
TEST_F(TaskFileSafetyTest, FileThatCannotBeReadNowIsLeftAloneForTheRun) {
  const auto original = FileImage({Task(At(2026, 12, 9)), Task(At(2026, 12, 10))});
  files.Put(kTaskPath, original);
  files.MakeUnreadable(kTaskPath);
  scheduler.LoadList();
  ASSERT_EQ(host.warnings.size(), 1u);
  EXPECT_NE(host.warnings[0].find(kTaskPath), std::string::npos);
  EXPECT_EQ(scheduler.TaskList.size(), 1u);
  EXPECT_FALSE(scheduler.HasUnsavedChanges());

  Fill({Task(At(2026, 12, 11))});
  EXPECT_FALSE(scheduler.SaveList());
  EXPECT_FALSE(scheduler.SaveList());
  EXPECT_EQ(host.warnings.size(), 1u);
  EXPECT_TRUE(scheduler.HasUnsavedChanges());
  EXPECT_NE(scheduler.UnsavedChangesMessage().find(kTaskPath), std::string::npos);
  EXPECT_EQ(KeptFiles(), 0u);
  EXPECT_EQ(files.PathsStartingWith(kTaskPath).size(), 1u);
  EXPECT_EQ(files.Text(kTaskPath), std::string(original.begin(), original.end()));
}

// A folder the user may not write: the user hears of it once per run, with the path, only when
// a change is at stake; the list stays in memory and the next save tries again.
TEST_F(TaskFileSafetyTest, FailingSavesAreToldOnceAndRetried) {
  files.MakeReadOnlyFolder(kProgramDir);
  scheduler.LoadList();  // no file, and none can be created: nothing of the user's is lost yet
  EXPECT_TRUE(host.warnings.empty());
  EXPECT_FALSE(scheduler.HasUnsavedChanges());
  EXPECT_FALSE(scheduler.SaveList());
  EXPECT_TRUE(host.warnings.empty());

  Fill({Task(At(2026, 12, 11), kPeriodOnce, 1, kScheduled, 0, "dentist")});
  EXPECT_FALSE(scheduler.SaveList());
  ASSERT_EQ(host.warnings.size(), 1u);
  EXPECT_NE(host.warnings[0].find(kTaskPath), std::string::npos);
  Fill({Task(At(2026, 12, 12))});
  EXPECT_FALSE(scheduler.SaveList());
  EXPECT_EQ(host.warnings.size(), 1u);
  EXPECT_EQ(scheduler.TaskList.size(), 3u);
  EXPECT_TRUE(scheduler.HasUnsavedChanges());

  // Write access given meanwhile: the next save keeps everything.
  fakes::MemoryFileSystem writable;
  writable.Put(kLanguagePath, files.Text(kLanguagePath));
  files = writable;
  EXPECT_TRUE(scheduler.SaveList());
  EXPECT_FALSE(scheduler.HasUnsavedChanges());
  scheduler.LoadList();
  EXPECT_EQ(scheduler.TaskList.size(), 3u);
}

}  // namespace
}  // namespace vm::schedtest

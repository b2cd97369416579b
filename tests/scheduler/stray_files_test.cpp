// Temporary task files left behind by a save that never finished: which names count, which
// are removed at start, and that a failing removal neither stops the others nor the start.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/log.h"
#include "fakes/platform_fakes.h"
#include "fakes/process_fakes.h"
#include "scheduler/stray_files.h"

namespace vm {
namespace {

constexpr char kFolder[] = "C:\\Vemtaro\\";
constexpr std::uint32_t kOwnId = 4242;

class LinesSink : public LogSink {
 public:
  LinesSink() { previous_ = SetLogSink(this); }
  ~LinesSink() override { SetLogSink(previous_); }
  void WriteLine(const std::string&, const std::string& message) override {
    lines.push_back(message);
  }
  bool Has(const std::string& part) const {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
  }
  std::vector<std::string> lines;

 private:
  LogSink* previous_ = nullptr;
};

// A file system in which chosen files cannot be deleted (held open, no rights).
class StubbornFiles : public fakes::MemoryFileSystem {
 public:
  bool DeleteFile(const std::string& path) override {
    ++deletes;
    if (undeletable.count(path)) return false;
    return MemoryFileSystem::DeleteFile(path);
  }
  std::set<std::string> undeletable;
  int deletes = 0;
};

std::string Path(const std::string& name) { return std::string(kFolder) + name; }

TEST(StrayFileNames, OnlyTheTemporaryNameOfASaveCarriesAnOwner) {
  EXPECT_EQ(TemporaryTaskFileOwner("tasks.sft.tmp-1234", "tasks.sft"), 1234u);
  EXPECT_EQ(TemporaryTaskFileOwner("TASKS.SFT.TMP-77", "tasks.sft"), 77u);
  EXPECT_EQ(TemporaryTaskFileOwner("tasks.sft.tmp-4294967295", "tasks.sft"), 4294967295u);
  for (const char* other :
       {"tasks.sft", "tasks.sft.tmp-", "tasks.sft.tmp", "tasks.sft.tmp-0", "tasks.sft.tmp-012",
        "tasks.sft.tmp-12a", "tasks.sft.tmp-12.bak", "tasks.sft.tmp--5", "tasks.sft.tmp-+5",
        "tasks.sft.tmp- 5", "tasks.sft.tmp-4294967296", "tasks.sft.tmp-99999999999",
        "xtasks.sft.tmp-5", "tasks.sftx.tmp-5", "tasks.sfx.tmp-5", "tasks.sft.damaged-20261207-101500",
        "tasks.sft.damaged-20261207-101500.tmp-5", "settings.tmp-5", ""}) {
    EXPECT_FALSE(TemporaryTaskFileOwner(other, "tasks.sft")) << other;
  }
}

class StrayFilesTest : public ::testing::Test {
 protected:
  StrayFilesTest() {
    files.Put(Path("tasks.sft"), std::string("Vemtaro2"));
    files.Put(Path("tasks.sft.damaged-20261207-101500"), std::string("old"));
  }
  StrayFileCount Run(ProcessTable* table) {
    return RemoveStrayTemporaryFiles(files, table, kOwnId, Path("tasks.sft"));
  }
  bool Exists(const std::string& name) { return files.FileExists(Path(name)); }

  LinesSink log;
  StubbornFiles files;
  fakes::FakeProcessTable processes;
};

TEST_F(StrayFilesTest, RemovesFilesOfEndedProcessesAndOfThisProcessesOwnIdOnly) {
  processes.Start(kOwnId, "vemtaro.exe");  // this process: its own id is in the snapshot
  processes.Start(5000, "vemtaro.exe");    // another copy, perhaps in the middle of a save
  files.Put(Path("tasks.sft.tmp-4242"), std::string("Vemtaro2 earlier run"));
  files.Put(Path("tasks.sft.tmp-5000"), std::string("Vemtaro2 being written"));
  files.Put(Path("tasks.sft.tmp-6000"), std::string("Vemtaro2 crashed"));
  files.Put(Path("tasks.sft.tmp-06000"), std::string("not ours"));
  files.Put(Path("tasks.sft.tmp-6000.txt"), std::string("not ours"));
  files.Put(Path("notes.tmp-6000"), std::string("not ours"));
  files.Put(Path("backup\\tasks.sft.tmp-6000"), std::string("another folder"));

  StrayFileCount count = Run(&processes);

  EXPECT_EQ(count.removed, 2);
  EXPECT_EQ(count.kept, 1);
  EXPECT_EQ(count.failed, 0);
  EXPECT_FALSE(Exists("tasks.sft.tmp-4242"));
  EXPECT_FALSE(Exists("tasks.sft.tmp-6000"));
  EXPECT_TRUE(Exists("tasks.sft.tmp-5000"));
  for (const char* untouched : {"tasks.sft", "tasks.sft.damaged-20261207-101500",
                                "tasks.sft.tmp-06000", "tasks.sft.tmp-6000.txt", "notes.tmp-6000",
                                "backup\\tasks.sft.tmp-6000"})
    EXPECT_TRUE(Exists(untouched)) << untouched;
  EXPECT_EQ(files.Text(Path("tasks.sft")), "Vemtaro2");
  EXPECT_TRUE(log.Has("tasks.sft.tmp-5000 is kept, process 5000 runs"));
  EXPECT_TRUE(log.Has("tasks.sft.tmp-6000 removed"));
}

TEST_F(StrayFilesTest, WithoutTheRunningProcessesOnlyOwnFilesGo) {
  files.Put(Path("tasks.sft.tmp-4242"), std::string("x"));
  files.Put(Path("tasks.sft.tmp-6000"), std::string("x"));
  processes.snapshotFails = true;
  StrayFileCount count = Run(&processes);
  EXPECT_EQ(count.removed, 1);
  EXPECT_EQ(count.kept, 1);
  EXPECT_FALSE(Exists("tasks.sft.tmp-4242"));
  EXPECT_TRUE(Exists("tasks.sft.tmp-6000"));
  EXPECT_TRUE(log.Has("running processes cannot be listed"));

  // No process table at all, and the own id not known either: nothing can be decided.
  files.Put(Path("tasks.sft.tmp-4242"), std::string("x"));
  count = RemoveStrayTemporaryFiles(files, nullptr, 0, Path("tasks.sft"));
  EXPECT_EQ(count.removed, 0);
  EXPECT_EQ(count.kept, 2);
  EXPECT_EQ(files.deletes, 1);
}

TEST_F(StrayFilesTest, AFailedRemovalIsLoggedAndTheOthersGoOn) {
  files.Put(Path("tasks.sft.tmp-6000"), std::string("x"));
  files.Put(Path("tasks.sft.tmp-7000"), std::string("x"));
  files.Put(Path("tasks.sft.tmp-8000"), std::string("x"));
  files.undeletable.insert(Path("tasks.sft.tmp-7000"));
  StrayFileCount count = Run(&processes);
  EXPECT_EQ(count.removed, 2);
  EXPECT_EQ(count.failed, 1);
  EXPECT_TRUE(Exists("tasks.sft.tmp-7000"));
  EXPECT_FALSE(Exists("tasks.sft.tmp-6000"));
  EXPECT_FALSE(Exists("tasks.sft.tmp-8000"));
  EXPECT_TRUE(log.Has("tasks.sft.tmp-7000 could not be removed"));
}

TEST_F(StrayFilesTest, NothingToDoAsksNoProcessesAndAnUnlistableFolderIsLogged) {
  EXPECT_EQ(Run(&processes).removed, 0);
  EXPECT_EQ(processes.snapshots, 0);
  EXPECT_EQ(files.deletes, 0);

  files.Put(Path("tasks.sft.tmp-6000"), std::string("x"));
  files.MakeUnlistable();
  StrayFileCount count = Run(&processes);
  EXPECT_EQ(count.removed + count.kept + count.failed, 0);
  EXPECT_TRUE(Exists("tasks.sft.tmp-6000"));
  EXPECT_TRUE(log.Has("cannot be listed"));
}

}  // namespace
}  // namespace vm

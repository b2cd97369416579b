// Any bytes as tasks.sft, read the way the program reads it at start: a damaged file, a cut-short
// last record, an unreadable file or a read-only folder. Checks that what was loaded is saved and
// loaded again unchanged, and that a damaged file's bytes are never lost.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/language.h"
#include "fakes/platform_fakes.h"
#include "fuzz_support.h"
#include "scheduler/scheduler.h"

namespace {

constexpr char kFolder[] = "C:\\Vemtaro\\";
constexpr char kPath[] = "C:\\Vemtaro\\tasks.sft";

class Host : public vm::SchedulerHost {
 public:
  void CurrentTaskChanged() override {}
  void RefreshDateLabels() override {}
  void ShowEditBufInEditor() override {}
  void TaskListChanged() override {}
  void TaskFileWarning(const std::string&) override {}
};

// The records of the list with their ids cleared (ids are renumbered at every load); bytes,
// not values, so that NaN times compare equal to themselves.
std::vector<std::uint8_t> Records(const std::list<vm::TTask>& tasks, vm::TextCodec& codec) {
  std::vector<std::uint8_t> out;
  for (vm::TTask task : tasks) {
    task.TaskId = 0;
    auto record = vm::SerializeTask(task, codec);
    out.insert(out.end(), record.begin(), record.end());
  }
  return out;
}

using vm::fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  vm::fuzz::InstallLog();
  const std::uint8_t flags = data[0];
  const std::vector<std::uint8_t> file(data + 1, data + size);

  vm::fakes::MemoryFileSystem files;
  vm::fakes::FakeClock clock;
  vm::fakes::Latin1Codec codec;
  vm::fakes::ScriptedMessageBoxes boxes;
  vm::Language language{files, boxes, codec};
  Host host;

  files.Put(kPath, file);
  if (flags & 1) files.MakeUnreadable(kPath);
  if (flags & 2) files.MakeReadOnlyFolder(kFolder);
  if (flags & 4) files.Put(std::string(kPath) + ".damaged-20261207-120000", std::string("earlier"));

  vm::Scheduler program{{files, clock, codec, language, host}, kFolder};
  program.LoadList();
  Check(!program.TaskList.empty(), "a start loads at least one task");
  program.UpdateCurTask();
  const bool saved = program.SaveList();

  // The user's bytes are somewhere: still in tasks.sft, or kept aside.
  bool kept = files.Text(kPath) == std::string(file.begin(), file.end());
  for (const auto& path : files.PathsStartingWith(std::string(kPath) + ".damaged"))
    kept = kept || files.Text(path) == std::string(file.begin(), file.end());
  bool wholeRecords = file.size() >= 8 && (file.size() - 8) % vm::kTaskRecordSize == 0 &&
                      std::strstr(std::string(file.begin(), file.begin() + 8).c_str(), "Vemtaro");
  if (!(flags & 1) && !wholeRecords) Check(kept, "the bytes of a damaged file are kept");

  if (saved && !(flags & 1)) {
    vm::Scheduler again{{files, clock, codec, language, host}, kFolder};
    again.LoadList();
    Check(Records(again.TaskList, codec) == Records(program.TaskList, codec),
          "a saved list loads again as it was");
  }
  return 0;
}

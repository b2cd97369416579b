#include "scheduler/stray_files.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "core/log.h"
#include "platform/process_table.h"
#include "platform/services.h"

namespace vm {

namespace {

constexpr std::string_view kTemporarySuffix = ".tmp-";
// The longest decimal process id: 4294967295.
constexpr std::size_t kMaxIdDigits = 10;

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The ids of every running process; nothing when they cannot be listed.
std::optional<std::set<std::uint32_t>> RunningProcessIds(ProcessTable* processes) {
  if (!processes) return std::nullopt;
  auto snapshot = processes->Snapshot();
  if (!snapshot) return std::nullopt;
  std::set<std::uint32_t> ids;
  for (const ProcessEntry& entry : *snapshot) ids.insert(entry.processId);
  return ids;
}

}  // namespace

std::optional<std::uint32_t> TemporaryTaskFileOwner(std::string_view name,
                                                     std::string_view taskFileName) {
  const std::size_t prefix = taskFileName.size() + kTemporarySuffix.size();
  if (taskFileName.empty() || name.size() <= prefix) return std::nullopt;
  if (!SameLetters(name.substr(0, taskFileName.size()), taskFileName) ||
      !SameLetters(name.substr(taskFileName.size(), kTemporarySuffix.size()), kTemporarySuffix))
    return std::nullopt;
  std::string_view digits = name.substr(prefix);
  if (digits.size() > kMaxIdDigits || digits.front() == '0') return std::nullopt;
  std::uint64_t id = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    id = id * 10 + static_cast<unsigned>(c - '0');
  }
  if (id > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(id);
}

StrayFileCount RemoveStrayTemporaryFiles(FileSystem& files, ProcessTable* processes,
                                         std::uint32_t ownProcessId,
                                         const std::string& taskFilePath) {
  StrayFileCount count;
  const std::size_t slash = taskFilePath.find_last_of("\\/");
  const std::string folder =
      slash == std::string::npos ? std::string() : taskFilePath.substr(0, slash + 1);
  const std::string taskFileName =
      slash == std::string::npos ? taskFilePath : taskFilePath.substr(slash + 1);

  auto names = files.FileNames(folder);
  if (!names) {
    WriteLog(" Stray files: the folder %s cannot be listed", folder.c_str());
    return count;
  }
  struct Stray {
    std::string name;
    std::uint32_t owner;
  };
  std::vector<Stray> strays;
  for (const std::string& name : *names)
    if (auto owner = TemporaryTaskFileOwner(name, taskFileName)) strays.push_back({name, *owner});
  if (strays.empty()) return count;

  // Asked only when there is something to decide; a process id can be given out again at once,
  // so a running process of that id keeps the file even when it is some other program.
  std::optional<std::set<std::uint32_t>> running = RunningProcessIds(processes);
  if (!running) WriteLog(" Stray files: the running processes cannot be listed");
  for (const Stray& stray : strays) {
    const bool own = ownProcessId != 0 && stray.owner == ownProcessId;
    const bool ownerGone = running && running->count(stray.owner) == 0;
    if (!own && !ownerGone) {
      WriteLog(" Stray files: %s is kept, process %u runs", stray.name.c_str(),
               static_cast<unsigned>(stray.owner));
      ++count.kept;
      continue;
    }
    if (files.DeleteFile(folder + stray.name)) {
      WriteLog(" Stray files: %s removed", stray.name.c_str());
      ++count.removed;
    } else {
      WriteLog(" Stray files: %s could not be removed", stray.name.c_str());
      ++count.failed;
    }
  }
  return count;
}

}  // namespace vm

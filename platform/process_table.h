#pragma once
// The running processes as the process manager shows them: the snapshot, each executable's
// path and icon, priority classes and termination.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw/image_list.h"

namespace vm {

// One entry of a process snapshot.
struct ProcessEntry {
  std::uint32_t processId = 0;
  std::uint32_t parentProcessId = 0;
  std::uint32_t threadCount = 0;
  std::int32_t basePriority = 0;  // 4 idle, 6 below normal, 8 normal, 10 above normal, 13 high, 24 real time
  std::string exeFile;            // the executable's file name, without its folder
};

enum class ProcessCallResult {
  Done,
  NotOpened,  // the process could not be opened with the rights the call needs
  Failed,     // opened, but the system refused the change
};

class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  // Every process in the system's order (its first entry is the idle process); nothing when
  // the system cannot take a snapshot.
  virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
  // The full path of the process's executable: the image name read with the limited query
  // right, else the path of its first module; nothing when neither can be read (another
  // user's or a protected process, or one that has just ended).
  virtual std::optional<std::string> ImagePath(std::uint32_t processId) = 0;
  // The first icon of an executable at `size` × `size` pixels; nothing when it has none.
  virtual std::optional<ui::Icon> FileIcon(const std::string& path, int size) = 0;
  // The system's standard application icon.
  virtual ui::Icon ApplicationIcon(int size) = 0;
  // Sets the priority class (64 idle, 16384 below normal, 32 normal, 32768 above normal,
  // 128 high, 256 real time).
  virtual ProcessCallResult SetPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) = 0;
  // Ends the process with exit code 0.
  virtual ProcessCallResult Terminate(std::uint32_t processId) = 0;
  // Whether two executable file names name the same file: the system's comparison, without
  // regard to case for every letter (not only A to Z), as the close-program action compares.
  virtual bool SameExeName(const std::string& a, const std::string& b) const = 0;
};

}  // namespace vm

#pragma once
// The real process table on the W API: the tool-help snapshot, image paths, icons, priority
// classes and termination.

#include <windows.h>
// The A/W macros of these names would rename members of the portable interfaces in every file
// that sees both headers.
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile

#include "platform/process_table.h"

namespace vm {

class Win32ProcessTable : public ProcessTable {
 public:
  std::optional<std::vector<ProcessEntry>> Snapshot() override;
  std::optional<std::string> ImagePath(std::uint32_t processId) override;
  std::optional<ui::Icon> FileIcon(const std::string& path, int size) override;
  ui::Icon ApplicationIcon(int size) override;
  ProcessCallResult SetPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) override;
  ProcessCallResult Terminate(std::uint32_t processId) override;
  bool SameExeName(const std::string& a, const std::string& b) const override;
};

}  // namespace vm

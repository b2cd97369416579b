#pragma once
// Temporary task files left behind. A save writes "tasks.sft.tmp-<process id>" beside the task
// file and moves it over tasks.sft; a program that ends in between (a crash, a power cut)
// leaves the temporary file, and nothing else would ever remove it.
//
// The rule at start: such a file is removed when no running program can still be writing it,
// that is when the process id in its name is this process's own (this process has not saved
// yet, so the file is from an earlier run whose id the system gave out again), or when no
// running process has that id. A file whose id belongs to a running process is left, because
// another copy of the program may be in the middle of a save there; when the running processes
// cannot be listed, only this process's own files are removed. Only names of exactly that form
// are touched: never tasks.sft itself, its "damaged" copies or any other file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm {

class FileSystem;
class ProcessTable;

// The process id in `name` when it is a temporary file of a save of `taskFileName`
// ("tasks.sft.tmp-1234", the prefix compared without regard to case as Windows names are);
// nothing for every other name: other prefixes, anything after the digits, no digits, a
// leading zero, the id 0, an id too large for a process id.
std::optional<std::uint32_t> TemporaryTaskFileOwner(std::string_view name,
                                                     std::string_view taskFileName);

struct StrayFileCount {
  int removed = 0;
  int kept = 0;    // a running process may still write it
  int failed = 0;  // it could not be removed (logged)
};

// Removes the stray temporary files of `taskFilePath` in its folder by the rule above.
// `processes` may be missing; `ownProcessId` 0 means not known. Every removal that fails is
// logged, and the others go on.
StrayFileCount RemoveStrayTemporaryFiles(FileSystem& files, ProcessTable* processes,
                                         std::uint32_t ownProcessId,
                                         const std::string& taskFilePath);

}  // namespace vm

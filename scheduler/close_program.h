#pragma once
// Ending every running copy of a program, the "close program" action of a task.

#include <string>

#include "platform/action_services.h"
#include "platform/services.h"

namespace vm {

// The file name of a path: what follows the last backslash or slash.
std::string FileNameOf(const std::string& path);

// Ends every process whose executable file name equals the file name of `programPath` (without
// regard to case). Each one that cannot be opened or ended is reported in a message box owned
// by `owner`: the path as text, caption "Can't close program", information icon. Returns the
// number of processes ended.
int CloseProgram(Processes& processes, MessageBoxes& boxes, WindowId owner,
                 const std::string& programPath);

}  // namespace vm

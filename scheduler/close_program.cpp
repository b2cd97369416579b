#include "scheduler/close_program.h"

namespace vm {

std::string FileNameOf(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int CloseProgram(Processes& processes, MessageBoxes& boxes, WindowId owner,
                 const std::string& programPath) {
  std::string name = FileNameOf(programPath);
  // An empty name (no program, or a path ending in a backslash) names no process.
  if (name.empty()) return 0;
  EndProcessesResult result = processes.EndProcessesNamed(name);
  // A process that could not even be opened (another user's, or an elevated one) is still
  // running, so it is reported like one whose termination failed.
  for (std::size_t i = 0; i < result.failures.size(); ++i) {
    MessageBoxRequest request;
    request.text = programPath;
    request.caption = "Can't close program";
    request.icon = MsgIcon::Information;
    request.owner = owner;
    boxes.Show(request);
  }
  return result.ended;
}

}  // namespace vm

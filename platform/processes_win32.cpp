#include "platform/action_services_win32.h"

#include <tlhelp32.h>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// Closes a handle when it goes out of scope.
class HandleScope {
 public:
  explicit HandleScope(HANDLE handle) : handle_(handle) {}
  ~HandleScope() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HandleScope(const HandleScope&) = delete;
  HandleScope& operator=(const HandleScope&) = delete;

 private:
  HANDLE handle_;
};

}  // namespace

EndProcessesResult Win32Processes::EndProcessesNamed(const std::string& exeFileName) {
  EndProcessesResult result;
  std::wstring name = Utf8ToWide(exeFileName);
  if (name.empty()) return result;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return result;
  HandleScope snapshotScope(snapshot);
  result.snapshotTaken = true;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  // The first entry is the system's idle process; it is never a candidate.
  if (!Process32FirstW(snapshot, &entry)) return result;
  while (Process32NextW(snapshot, &entry)) {
    std::wstring exe = WideFromBuffer(entry.szExeFile, MAX_PATH);
    if (CompareStringOrdinal(exe.c_str(), -1, name.c_str(), -1, TRUE) != CSTR_EQUAL) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
    if (process == nullptr) {
      result.failures.push_back({entry.th32ProcessID, false});
      continue;
    }
    HandleScope processScope(process);
    if (TerminateProcess(process, 0))
      ++result.ended;
    else
      result.failures.push_back({entry.th32ProcessID, true});
  }
  return result;
}

}  // namespace vm

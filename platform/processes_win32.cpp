#include "platform/action_services_win32.h"

#include <tlhelp32.h>
#include <psapi.h>
#include <shellapi.h>

#include "platform/process_table_win32.h"
#include "platform/wide_text_win32.h"
#include "draw/gdi_win32.h"

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

// Executable file names compared as the file system compares them: every letter without regard
// to case, not only A to Z. The close-program action and the process manager both use it.
bool SameFileName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

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
    if (!SameFileName(exe, name)) continue;
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

// ---- the process manager's table ----

namespace vm {

std::optional<std::vector<ProcessEntry>> Win32ProcessTable::Snapshot() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  HandleScope snapshotScope(snapshot);
  std::vector<ProcessEntry> entries;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    ProcessEntry e;
    e.processId = entry.th32ProcessID;
    e.parentProcessId = entry.th32ParentProcessID;
    e.threadCount = entry.cntThreads;
    e.basePriority = entry.pcPriClassBase;
    e.exeFile = WideToUtf8(WideFromBuffer(entry.szExeFile, MAX_PATH));
    entries.push_back(std::move(e));
    entry.dwSize = sizeof entry;
  }
  return entries;
}

std::optional<std::string> Win32ProcessTable::ImagePath(std::uint32_t processId) {
  // The limited query right is granted for nearly every process, also 64-bit and elevated
  // ones seen from a 32-bit program, where reading the module list fails.
  if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
    HandleScope scope(process);
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process, 0, path.data(), &size) && size > 0) {
      path.resize(size);
      return WideToUtf8(path);
    }
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  HandleScope scope(process);
  HMODULE modules[10] = {};
  DWORD needed = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed) || needed == 0) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameExW(process, modules[0], path, MAX_PATH);
  if (length == 0) return std::nullopt;
  return WideToUtf8(std::wstring(path, length));
}

std::optional<ui::Icon> Win32ProcessTable::FileIcon(const std::string& path, int size) {
  if (path.empty() || size <= 0) return std::nullopt;
  HICON small = nullptr;
  if (ExtractIconExW(Utf8ToWide(path).c_str(), 0, nullptr, &small, 1) == 0 || !small) return std::nullopt;
  ui::Icon picture = ui::win32::IconFromHandle(small, size);
  DestroyIcon(small);
  if (picture.IsEmpty()) return std::nullopt;
  return picture;
}

ui::Icon Win32ProcessTable::ApplicationIcon(int size) {
  // A shared system icon: it is not destroyed.
  return ui::win32::IconFromHandle(LoadIconW(nullptr, IDI_APPLICATION), size);
}

ProcessCallResult Win32ProcessTable::SetPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) {
  HANDLE process = OpenProcess(PROCESS_SET_INFORMATION, FALSE, processId);
  if (!process) return ProcessCallResult::NotOpened;
  HandleScope scope(process);
  return ::SetPriorityClass(process, priorityClass) ? ProcessCallResult::Done : ProcessCallResult::Failed;
}

bool Win32ProcessTable::SameExeName(const std::string& a, const std::string& b) const {
  return SameFileName(Utf8ToWide(a), Utf8ToWide(b));
}

ProcessCallResult Win32ProcessTable::Terminate(std::uint32_t processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) return ProcessCallResult::NotOpened;
  HandleScope scope(process);
  return TerminateProcess(process, 0) ? ProcessCallResult::Done : ProcessCallResult::Failed;
}

}  // namespace vm

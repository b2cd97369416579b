#include <vector>

#include "platform/action_services_win32.h"

#include <shellapi.h>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// A null pointer for an empty text: the shell reads "no parameters" and "no directory" so.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

bool Win32Shell::Execute(WindowId owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory) {
  std::wstring wideVerb = Utf8ToWide(verb);
  std::wstring wideFile = Utf8ToWide(file);
  std::wstring wideParameters = Utf8ToWide(parameters);
  std::wstring wideDirectory = Utf8ToWide(directory);
  HINSTANCE result = ShellExecuteW(ToHwnd(owner), OrNull(wideVerb), wideFile.c_str(),
                                   OrNull(wideParameters), OrNull(wideDirectory), SW_SHOW);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::RunCommandLine(const std::string& commandLine) {
  std::wstring wide = Utf8ToWide(commandLine);
  if (wide.empty()) return false;
  // CreateProcessW may write into the command line, so it gets its own buffer.
  std::vector<wchar_t> buffer(wide.begin(), wide.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace vm

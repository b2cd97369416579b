#include "platform/win32_services_win32.h"

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// The classic buffer size the directories are asked for with; an answer that does not fit
// counts as no answer.
constexpr UINT kDirectoryBuffer = 260;
// Longest path the W API can return (the \\?\ form).
constexpr DWORD kLongestPath = 32768;

std::optional<std::string> DirectoryFrom(UINT (WINAPI* query)(LPWSTR, UINT)) {
  wchar_t buffer[kDirectoryBuffer];
  UINT length = query(buffer, kDirectoryBuffer);
  if (length == 0 || length >= kDirectoryBuffer) return std::nullopt;
  return WideToUtf8(std::wstring_view(buffer, length));
}

std::string WithTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

std::string Win32Environment::QueryExecutablePath() {
  // The path may be longer than MAX_PATH; a full buffer means it was cut, so try the largest.
  for (DWORD size : {DWORD{MAX_PATH}, kLongestPath + 1}) {
    std::wstring buffer(size, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return WideToUtf8(std::wstring_view(buffer.data(), length));
  }
  return {};
}

std::optional<std::string> Win32Environment::WindowsDirectory() {
  return DirectoryFrom(&GetWindowsDirectoryW);
}

std::optional<std::string> Win32Environment::SystemDirectory() {
  return DirectoryFrom(&GetSystemDirectoryW);
}

std::string Win32Environment::TempDirectory() {
  DWORD needed = GetTempPathW(0, nullptr);
  if (needed == 0) return {};
  std::wstring buffer(needed + 1, L'\0');
  DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return {};
  return WithTrailingBackslash(WideToUtf8(std::wstring_view(buffer.data(), length)));
}

std::string Win32Environment::CurrentDirectory() {
  // Another thread may change the directory between the two calls: retry with the new size.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return {};
    std::wstring buffer(needed, L'\0');
    DWORD length = GetCurrentDirectoryW(needed, buffer.data());
    if (length == 0) return {};
    if (length < needed) {
      return WithTrailingBackslash(WideToUtf8(std::wstring_view(buffer.data(), length)));
    }
  }
  return {};
}

std::uint32_t Win32Environment::ProcessId() { return GetCurrentProcessId(); }

int Win32Environment::VersionMajor() { return version_.major; }

int Win32Environment::VersionMinor() { return version_.minor; }

Win32Environment::Version Win32Environment::QueryVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  // GetVersionEx reports 6.2 on every later system unless the manifest names it; the kernel's
  // own function tells the truth. ntdll is in every process, so it is not loaded or freed here.
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    FARPROC proc = GetProcAddress(ntdll, "RtlGetVersion");
    if (proc != nullptr) {
      auto rtlGetVersion =
          reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(proc));
      if (rtlGetVersion(&info) == 0) {
        return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
      }
    }
  }
  info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (GetVersionExW(&info)) {
    return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
  }
  return {};
}

}  // namespace vm

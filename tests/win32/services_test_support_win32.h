#pragma once
// Utilities shared by the tests of the Win32 services: names unique to this test process and a
// scratch folder that is removed afterwards.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/wide_text_win32.h"
#include "platform/win32_services_win32.h"

namespace vm::win32test {

// "<prefix>-<pid>-<test name>-<n>": tests of parallel runs never meet on one name.
inline std::string UniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string test = info != nullptr ? info->name() : "none";
  return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + test + "-" +
         std::to_string(++counter);
}

// True when the tests run under Wine rather than Windows.
inline bool IsWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Removes a folder with everything in it (one level of sub-folders is enough here).
inline void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = folder + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolder(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

// A fresh folder in the temp directory, named with non-ASCII letters so that every path the
// tests use goes through the UTF-8 to UTF-16 conversion.
class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = Win32Environment().TempDirectory() + UniqueName("vm-test-\xC3\xA9\xD0\x96");
    CreateDirectoryW(Utf8ToWide(path_).c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveFolder(Utf8ToWide(path_)); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, without trailing backslash.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Number of entries in `folder` whose names match `pattern` ("*.tmp-*").
inline int CountMatching(const std::string& folder, const std::string& pattern) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Utf8ToWide(folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

}  // namespace vm::win32test

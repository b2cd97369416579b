// Facts about the running test program and the system, as the environment service reports them.

#include <cctype>
#include <string>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(EnvironmentTest, ExecutableAndSystemFolders) {
  Win32Environment environment;
  std::string exe = environment.ExecutablePath();
  ASSERT_GT(exe.size(), 4u);
  EXPECT_EQ(Lower(exe.substr(exe.size() - 4)), ".exe");
  EXPECT_TRUE(Win32FileSystem().FileExists(exe));

  auto windows = environment.WindowsDirectory();
  auto system = environment.SystemDirectory();
  ASSERT_TRUE(windows);
  ASSERT_TRUE(system);
  EXPECT_FALSE(windows->empty());
  EXPECT_EQ(Lower(*system).rfind(Lower(*windows), 0), 0u) << *system << " / " << *windows;
  EXPECT_NE(GetFileAttributesW(Utf8ToWide(*system + "\\kernel32.dll").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(EnvironmentTest, FoldersEndInExactlyOneBackslash) {
  Win32Environment environment;
  std::string temp = environment.TempDirectory();
  ASSERT_GE(temp.size(), 3u);
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_NE(temp[temp.size() - 2], '\\');

  wchar_t saved[MAX_PATH * 4];
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH * 4, saved), 0u);
  {
    win32test::ScratchFolder folder;  // a non-ASCII name
    ASSERT_TRUE(SetCurrentDirectoryW(Utf8ToWide(folder.Path()).c_str()));
    EXPECT_EQ(Lower(environment.CurrentDirectory()), Lower(folder.Path() + "\\"));
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
    EXPECT_EQ(environment.CurrentDirectory(), "C:\\");  // a root keeps its one backslash
    SetCurrentDirectoryW(saved);
  }
}

TEST(EnvironmentTest, VersionIsTheRealOne) {
  Win32Environment environment;
  int major = environment.VersionMajor();
  int minor = environment.VersionMinor();
  EXPECT_GE(major, 5);
  EXPECT_GE(minor, 0);
  // GetVersionEx caps newer systems at 6.2 without a manifest entry; the service must not
  // report less than it.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_GE(major * 100 + minor,
            static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion));
}

}  // namespace
}  // namespace vm

// The action services against the real system: shortcuts, the wake timer, the time probe file,
// the shutdown privilege, ending processes and session notifications. Power requests and the
// Windows+L keys are never sent from here.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>
#include <string>

#include "platform/action_services_win32.h"
#include "scheduler/shortcut.h"
#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

// Started with this argument, a copy of this program only sleeps: a process of a name no other
// process has, for the process tests to end.
const bool kSleepingChild = [] {
  if (std::wcsstr(GetCommandLineW(), L"--vm-sleeping-child") != nullptr) {
    Sleep(60000);
    ExitProcess(3);
  }
  return false;
}();

bool EndsWithNoCase(const std::string& text, const std::string& ending) {
  if (text.size() < ending.size()) return false;
  return CompareStringOrdinal(Utf8ToWide(text.substr(text.size() - ending.size())).c_str(), -1,
                              Utf8ToWide(ending).c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Saves a shortcut to `target` with arguments and working directory.
bool SaveLink(const std::string& linkPath, const std::string& target, const std::string& args,
              const std::string& directory) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  link->SetPath(Utf8ToWide(target).c_str());
  link->SetArguments(Utf8ToWide(args).c_str());
  link->SetWorkingDirectory(Utf8ToWide(directory).c_str());
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(Utf8ToWide(linkPath).c_str(), TRUE));
  if (file) file->Release();
  link->Release();
  return saved;
}

class ShellLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HANDLE created = CreateFileW(Utf8ToWide(target_).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);
  }
  void TearDown() override { CoUninitialize(); }

  win32test::ScratchFolder folder_;
  std::string target_ = folder_.File("target.exe");
  Win32ShellLinks links_;
};

TEST_F(ShellLinkTest, SavedLinkResolvesToTargetArgumentsAndDirectory) {
  const std::string link = folder_.File("Start It.lnk");
  ASSERT_TRUE(SaveLink(link, target_, "-x \"a b\";c", folder_.Path()));
  std::optional<ShellLinkInfo> info = links_.Resolve(0, link);
  ASSERT_TRUE(info.has_value());
  // The short form where the volume has one; Wine hands back the long path.
  EXPECT_TRUE(EndsWithNoCase(info->targetPath, "\\target.exe")) << info->targetPath;
  EXPECT_EQ(info->arguments, "-x \"a b\";c");
  EXPECT_EQ(info->workingDirectory, folder_.Path());

  std::optional<ResolvedShortcut> resolved = ResolveShortcut(links_, 0, link);
  ASSERT_TRUE(resolved.has_value());
  EXPECT_EQ(resolved->arguments, "-x \"a b\";c");
}

TEST_F(ShellLinkTest, MissingOrBrokenLinkFilesDoNotResolve) {
  EXPECT_FALSE(links_.Resolve(0, folder_.File("missing.lnk")).has_value());
  EXPECT_FALSE(links_.Resolve(0, target_).has_value());  // not a link at all
  EXPECT_FALSE(links_.Resolve(0, "").has_value());
}

TEST_F(ShellLinkTest, ShortPathOfExistingFilesOnly) {
  std::optional<std::string> shortPath = links_.ShortPath(target_);
  ASSERT_TRUE(shortPath.has_value());
  EXPECT_TRUE(EndsWithNoCase(*shortPath, "\\target.exe")) << *shortPath;
  EXPECT_FALSE(links_.ShortPath(folder_.File("missing.exe")).has_value());
}

TEST(WakeTimerWin32Test, ArmedTimerSignalsAtItsDueTimeAndCancelDisarms) {
  Win32WakeTimerService timers;
  TimerHandle timer = timers.CreateTimer(win32test::UniqueName("ResumeT"));
  ASSERT_NE(timer, 0u);
  HANDLE handle = reinterpret_cast<HANDLE>(timer);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  std::uint64_t nowTime = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  // Wine arms the timer but reports that it cannot resume the computer (last error 722).
  EXPECT_TRUE(timers.SetTimer(timer, nowTime, 3600000, true));
  EXPECT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);  // due now: signalled at once

  // Armed one second ahead, the timer signals in a second: the wait below would see it.
  constexpr std::uint64_t kSecond = 10'000'000ull;  // in file-time units
  GetSystemTimeAsFileTime(&now);
  nowTime = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  EXPECT_TRUE(timers.SetTimer(timer, nowTime + kSecond, 3600000, true));
  EXPECT_EQ(WaitForSingleObject(handle, 5000), WAIT_OBJECT_0);

  // Armed one second ahead again and cancelled at once: nothing comes in twice that time.
  const ULONGLONG armed = GetTickCount64();
  GetSystemTimeAsFileTime(&now);
  nowTime = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  EXPECT_TRUE(timers.SetTimer(timer, nowTime + kSecond, 3600000, true));
  timers.CancelTimer(timer);
  if (GetTickCount64() - armed >= 900) {
    timers.CloseTimer(timer);
    GTEST_SKIP() << "the machine stalled between arming and cancelling; the timer may have come due first";
  }
  EXPECT_EQ(WaitForSingleObject(handle, 2000), static_cast<DWORD>(WAIT_TIMEOUT));
  timers.CloseTimer(timer);
}

class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& directory) {
    wchar_t previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    SetCurrentDirectoryW(Utf8ToWide(directory).c_str());
  }
  ~CurrentDirectoryScope() { SetCurrentDirectoryW(previous_.c_str()); }

 private:
  std::wstring previous_;
};

TEST(TempFileTimeWin32Test, ProbeGivesNowAndLeavesNoFileAndNoUserFileTouched) {
  win32test::ScratchFolder folder;
  CurrentDirectoryScope inFolder(folder.Path());
  Win32TempFileTime probe;
  FILETIME before{};
  GetSystemTimeAsFileTime(&before);
  std::optional<std::uint64_t> created = probe.CreationTimeOfNewFile("dummy.txt");
  ASSERT_TRUE(created.has_value());
  std::uint64_t beforeTime = (std::uint64_t{before.dwHighDateTime} << 32) | before.dwLowDateTime;
  EXPECT_LT(*created > beforeTime ? *created - beforeTime : beforeTime - *created,
            10'000'000ull * 60);
  EXPECT_EQ(GetFileAttributesW(L"dummy.txt"), INVALID_FILE_ATTRIBUTES);

  Win32FileSystem files;
  const std::string userFile = folder.File("dummy.txt");
  ASSERT_TRUE(files.ReplaceFile(userFile, std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(probe.CreationTimeOfNewFile("dummy.txt").has_value());
  EXPECT_EQ(files.ReadFile(userFile), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
}

TEST(PrivilegesWin32Test, ShutdownPrivilegeIsGrantedToTheUser) {
  PrivilegeResult result = Win32Privileges().EnableShutdownPrivilege();
  EXPECT_EQ(result.failedStep, PrivilegeStep::Granted) << "last error " << result.lastError;
}

class ProcessesWin32Test : public ::testing::Test {
 protected:
  // Copies this program into the scratch folder as `exeName`.
  bool CopySelf(const std::string& exeName) {
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return CopyFileW(self, Utf8ToWide(folder_.File(exeName)).c_str(), FALSE) != 0;
  }
  // Starts the copy so that it only sleeps; its process handle, or null.
  HANDLE StartChild(const std::string& exeName) {
    std::wstring copy = Utf8ToWide(folder_.File(exeName));
    std::wstring commandLine = L"\"" + copy + L"\" --vm-sleeping-child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
      return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
  }

  win32test::ScratchFolder folder_;
};

TEST_F(ProcessesWin32Test, EndsEveryProcessOfThatFileNameWithExitCodeZero) {
  const std::string name = "vm-end-" + std::to_string(GetCurrentProcessId()) + ".exe";
  ASSERT_TRUE(CopySelf(name));
  HANDLE first = StartChild(name);
  HANDLE second = StartChild(name);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(WaitForSingleObject(first, 300), static_cast<DWORD>(WAIT_TIMEOUT));

  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::towupper(static_cast<unsigned char>(c)));
  EndProcessesResult result = Win32Processes().EndProcessesNamed(upper);
  EXPECT_TRUE(result.snapshotTaken);
  EXPECT_EQ(result.ended, 2);
  EXPECT_TRUE(result.failures.empty());
  for (HANDLE child : {first, second}) {
    EXPECT_EQ(WaitForSingleObject(child, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(child, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(child);
  }
  EXPECT_EQ(Win32Processes().EndProcessesNamed("vm-none-" + name).ended, 0);
}

TEST(ShellWin32Test, NothingToStartReportsFailure) {
  Win32Shell shell;
  EXPECT_FALSE(shell.RunCommandLine(""));
  EXPECT_FALSE(shell.RunCommandLine("C:\\no-such-folder\\no-such-program.exe"));
  EXPECT_FALSE(shell.Execute(0, "open", "C:\\no-such-folder\\no-such-file.txt", "", ""));
}

TEST(SessionNotificationsWin32Test, RegisterHoldsTheLibraryUntilUnregister) {
  HWND window = CreateWindowExW(0, L"STATIC", L"vm-session", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Win32SessionNotifications sessions;
  sessions.Unregister(reinterpret_cast<WindowId>(window));  // before Register: nothing to do
  EXPECT_TRUE(sessions.Register(reinterpret_cast<WindowId>(window)));
  EXPECT_TRUE(sessions.LibraryLoaded());
  sessions.Unregister(reinterpret_cast<WindowId>(window));
  EXPECT_FALSE(sessions.LibraryLoaded());
  sessions.Unregister(reinterpret_cast<WindowId>(window));
  DestroyWindow(window);
}

}  // namespace
}  // namespace vm

// The process manager's process table against the real system, on a copy of this program
// started to sleep (see the sleeping child of the action services' tests).

#include <cwctype>
#include <string>

#include "platform/process_table_win32.h"
#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

class ProcessTableWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = "vm-table-" + std::to_string(GetCurrentProcessId()) + ".exe";
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(CopyFileW(self, Utf8ToWide(folder_.File(name_)).c_str(), FALSE));
    std::wstring copy = Utf8ToWide(folder_.File(name_));
    std::wstring commandLine = L"\"" + copy + L"\" --vm-sleeping-child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    CloseHandle(process.hThread);
    child_ = process.hProcess;
    childId_ = process.dwProcessId;
  }
  void TearDown() override {
    if (!child_) return;
    TerminateProcess(child_, 7);  // only when a test left it running
    WaitForSingleObject(child_, 10000);
    CloseHandle(child_);
  }
  static bool SameText(const std::string& a, const std::string& b) {
    return CompareStringOrdinal(Utf8ToWide(a).c_str(), -1, Utf8ToWide(b).c_str(), -1, TRUE) == CSTR_EQUAL;
  }

  win32test::ScratchFolder folder_;
  std::string name_;
  HANDLE child_ = nullptr;
  DWORD childId_ = 0;
  Win32ProcessTable table_;
};

TEST_F(ProcessTableWin32Test, SnapshotListsTheChildWithItsNameParentAndThreads) {
  auto snapshot = table_.Snapshot();
  ASSERT_TRUE(snapshot.has_value());
  ASSERT_GT(snapshot->size(), 1u);
  const ProcessEntry* found = nullptr;
  for (const ProcessEntry& e : *snapshot)
    if (e.processId == childId_) found = &e;
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->exeFile, name_);
  EXPECT_EQ(found->parentProcessId, GetCurrentProcessId());
  EXPECT_GE(found->threadCount, 1u);
}

TEST_F(ProcessTableWin32Test, ImagePathIsTheFullPathAndNothingForAProcessThatIsNotThere) {
  auto path = table_.ImagePath(childId_);
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(SameText(*path, folder_.File(name_))) << *path;
  EXPECT_FALSE(table_.ImagePath(0xFFFFFFF0u).has_value());
}

TEST_F(ProcessTableWin32Test, IconsOfAFileWithoutIconsAndTheStandardOne) {
  // The test program has no icon resource; the system's standard icon is always there.
  EXPECT_FALSE(table_.FileIcon(folder_.File(name_), 16).has_value());
  EXPECT_FALSE(table_.FileIcon(folder_.File("missing.exe"), 16).has_value());
  ui::Icon standard = table_.ApplicationIcon(16);
  EXPECT_EQ(standard.Width(), 16);
  EXPECT_EQ(standard.Height(), 16);
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  auto notepad = table_.FileIcon(WideToUtf8(system) + "\\notepad.exe", 16);
  if (!notepad) GTEST_SKIP() << "this system's notepad.exe has no icon to read";
  EXPECT_EQ(notepad->Width(), 16);
}

TEST_F(ProcessTableWin32Test, PriorityAndTerminationReachTheProcess) {
  EXPECT_EQ(table_.SetPriorityClass(childId_, BELOW_NORMAL_PRIORITY_CLASS), ProcessCallResult::Done);
  EXPECT_EQ(GetPriorityClass(child_), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(table_.SetPriorityClass(0xFFFFFFF0u, HIGH_PRIORITY_CLASS), ProcessCallResult::NotOpened);

  EXPECT_EQ(table_.Terminate(childId_), ProcessCallResult::Done);
  ASSERT_EQ(WaitForSingleObject(child_, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(child_, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(table_.Terminate(0xFFFFFFF0u), ProcessCallResult::NotOpened);
}

TEST(ProcessTableNamesWin32Test, FileNamesCompareWithoutCaseForEveryLetter) {
  Win32ProcessTable table;
  EXPECT_TRUE(table.SameExeName("Report.EXE", "report.exe"));
  EXPECT_TRUE(table.SameExeName("ОТЧЁТ.EXE", "Отчёт.exe"));
  EXPECT_TRUE(table.SameExeName("ÄRGER.EXE", "ärger.exe"));
  EXPECT_FALSE(table.SameExeName("отчет.exe", "отчёт.exe"));
  EXPECT_FALSE(table.SameExeName("report.exe", "report.ex"));
  EXPECT_FALSE(table.SameExeName("report.exe", ""));
}

}  // namespace
}  // namespace vm

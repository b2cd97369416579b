// The file service against real files in a scratch folder of the temp directory.

#include <algorithm>
#include <string>
#include <vector>

#include "win32/services_test_support_win32.h"

namespace vm {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

class FilesTest : public ::testing::Test {
 protected:
  std::string Text(const std::string& path) {
    auto bytes = files_.ReadFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
  }

  win32test::ScratchFolder folder_;
  Win32FileSystem files_;
};

TEST_F(FilesTest, ReplaceSwapsContentAndLeavesNoTemporaryFile) {
  const std::string path = folder_.File("tasks.sft");
  ASSERT_TRUE(files_.ReplaceFile(path, Bytes("Vemtaro2 first")));  // creates a missing file
  EXPECT_EQ(Text(path), "Vemtaro2 first");
  std::vector<std::uint8_t> second = Bytes("Vemtaro2");
  second.resize(8 + 2 * 816, 0);  // zero bytes and more than the old length
  ASSERT_TRUE(files_.ReplaceFile(path, second));
  EXPECT_EQ(files_.ReadFile(path), second);
  ASSERT_TRUE(files_.ReplaceFile(path, {}));
  auto empty = files_.ReadFile(path);
  ASSERT_TRUE(empty);  // an empty file is content, not a failure
  EXPECT_TRUE(empty->empty());
  EXPECT_EQ(win32test::CountMatching(folder_.Path(), "*.tmp-*"), 0);
}

TEST_F(FilesTest, FailedReplaceKeepsTargetAndRemovesTemporaryFile) {
  // A folder in the way of the target: the write succeeds, the final move cannot.
  const std::string blocked = folder_.File("blocked");
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(blocked).c_str(), nullptr));
  EXPECT_FALSE(files_.ReplaceFile(blocked, Bytes("new")));
  EXPECT_EQ(GetFileAttributesW(Utf8ToWide(blocked).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(win32test::CountMatching(folder_.Path(), "*.tmp-*"), 0);
  EXPECT_FALSE(files_.ReplaceFile(folder_.File("missing\\tasks.sft"), Bytes("new")));
  EXPECT_FALSE(files_.FileExists(folder_.File("missing\\tasks.sft")));
}

TEST_F(FilesTest, FileNamesListsTheFilesOfOneFolderOnly) {
  auto empty = files_.FileNames(folder_.Path());
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());  // "." and ".." are folders
  ASSERT_TRUE(files_.ReplaceFile(folder_.File("tasks.sft"), Bytes("Vemtaro2")));
  ASSERT_TRUE(files_.ReplaceFile(folder_.File("Tasks.sft.tmp-1234"), Bytes("x")));
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(folder_.File("tasks.sft.tmp-99")).c_str(), nullptr));
  ASSERT_TRUE(files_.ReplaceFile(folder_.File("tasks.sft.tmp-99\\inner.txt"), Bytes("x")));
  auto names = files_.FileNames(folder_.Path() + "\\");
  ASSERT_TRUE(names);
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"Tasks.sft.tmp-1234", "tasks.sft"}));
  auto again = files_.FileNames(folder_.Path());  // the backslash is added when missing
  ASSERT_TRUE(again);
  std::sort(again->begin(), again->end());
  EXPECT_EQ(*again, *names);
  EXPECT_FALSE(files_.FileNames(folder_.File("missing")));
}

TEST_F(FilesTest, MoveNeverOverwrites) {
  const std::string from = folder_.File("tasks.sft");
  const std::string to = folder_.File("tasks.bad");
  ASSERT_TRUE(files_.ReplaceFile(from, Bytes("damaged")));
  ASSERT_TRUE(files_.ReplaceFile(to, Bytes("older")));
  EXPECT_FALSE(files_.MoveFile(from, to));
  EXPECT_EQ(Text(from), "damaged");
  EXPECT_EQ(Text(to), "older");
  ASSERT_TRUE(files_.DeleteFile(to));
  EXPECT_FALSE(files_.DeleteFile(to));
  EXPECT_TRUE(files_.MoveFile(from, to));
  EXPECT_FALSE(files_.FileExists(from));
  EXPECT_EQ(Text(to), "damaged");
  EXPECT_FALSE(files_.MoveFile(from, to));  // source gone
}

TEST_F(FilesTest, ReadRefusesWhatIsNotAReadableFile) {
  EXPECT_FALSE(files_.ReadFile(folder_.File("missing.vml")));
  EXPECT_FALSE(files_.ReadFile(folder_.Path()));  // a folder
  EXPECT_FALSE(files_.FileExists(folder_.Path()));
  EXPECT_FALSE(files_.ReadFile(""));
  const std::string path = folder_.File("english.vml");
  ASSERT_TRUE(files_.ReplaceFile(path, Bytes("M.1 x")));
  EXPECT_FALSE(files_.ReadFile(path + std::string(1, '\0') + "x"));
  EXPECT_FALSE(files_.DeleteFile(path + std::string(1, '\0') + "x"));
  EXPECT_TRUE(files_.FileExists(path));
}

TEST_F(FilesTest, ReadStopsAtTheSizeBound) {
  const std::string path = folder_.File("huge.sft");
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = static_cast<LONGLONG>(Win32FileSystem::kMaxReadSize) + 1;
  EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  EXPECT_TRUE(files_.FileExists(path));
  EXPECT_FALSE(files_.ReadFile(path));
}

TEST_F(FilesTest, WrittenLogIsReadableAtOnceButNotWritableByOthers) {
  const std::string path = folder_.File("console.log");
  ASSERT_TRUE(files_.ReplaceFile(path, Bytes("old content to be emptied")));
  auto log = files_.CreateForWriting(path);
  ASSERT_TRUE(log);
  const std::string line = "12/7/2026 8:05:03 AM  TForm1::TForm1:1\r\n";
  ASSERT_TRUE(log->Write(line.data(), line.size()));
  EXPECT_TRUE(log->Write(nullptr, 0));
  EXPECT_FALSE(log->Write(nullptr, 3));
  // While it is still open, what was written is there for a reader.
  EXPECT_EQ(Text(path), line);
  HANDLE writer = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = GetLastError();
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST_F(FilesTest, CreationFailsCleanlyWhereNothingCanBeWritten) {
  EXPECT_EQ(files_.CreateForWriting(folder_.File("missing\\console.log")), nullptr);
  const std::string plain = folder_.File("plain.txt");
  ASSERT_TRUE(files_.ReplaceFile(plain, Bytes("x")));
  EXPECT_EQ(files_.CreateForWriting(plain + "\\console.log"), nullptr);  // a file as folder
  EXPECT_EQ(files_.CreateForWriting(folder_.Path()), nullptr);           // a folder itself
  EXPECT_EQ(files_.CreateForWriting(""), nullptr);
}

TEST_F(FilesTest, CreationFailsInAFolderThatRefusesNewFiles) {
  // Everyone may do everything in the folder except add a file.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:P(D;OICI;0x2;;;WD)(A;OICI;FA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const std::string locked = folder_.File("locked");
  BOOL made = CreateDirectoryW(Utf8ToWide(locked).c_str(), &attributes);
  LocalFree(descriptor);
  ASSERT_TRUE(made);
  auto file = files_.CreateForWriting(locked + "\\console.log");
  if (file != nullptr) {
    file.reset();
    GTEST_SKIP() << "folder access lists are not enforced here (Wine keeps them but does not "
                    "check them when files are created)";
  }
  EXPECT_FALSE(files_.FileExists(locked + "\\console.log"));
  EXPECT_FALSE(files_.ReplaceFile(locked + "\\tasks.sft", Bytes("x")));
}

}  // namespace
}  // namespace vm

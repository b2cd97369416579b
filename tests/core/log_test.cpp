#include "core/log.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/date_time.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

// Records every Write call separately, so a test sees how a line was cut into writes.
class RecordingFile : public WritableFile {
 public:
  bool Write(const void* data, std::size_t size) override {
    std::lock_guard<std::mutex> guard(mutex_);
    writes_.emplace_back(static_cast<const char*>(data), size);
    std::this_thread::yield();  // invites the other thread in between two writes of a line
    return true;
  }
  std::vector<std::string> Writes() {
    std::lock_guard<std::mutex> guard(mutex_);
    return writes_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> writes_;
};

// Every test leaves the process without a log, whatever it installed.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = SetLogSink(nullptr); }
  void TearDown() override { SetLogSink(saved_); }

  // Installs a file sink over a recording file and returns the file.
  RecordingFile* InstallRecordingSink() {
    auto file = std::make_unique<RecordingFile>();
    RecordingFile* raw = file.get();
    sink_ = std::make_unique<FileLogSink>(std::move(file), clock_, locale_, codec_);
    SetLogSink(sink_.get());
    return raw;
  }

  fakes::FakeClock clock_{*EncodeDateTime({2026, 12, 7}, {8, 5, 3})};
  fakes::FakeLocale locale_;
  fakes::Latin1Codec codec_;
  std::unique_ptr<FileLogSink> sink_;
  LogSink* saved_ = nullptr;
};

TEST_F(LogTest, LineIsStampMessageAndCrLfInThreeWritesInAnsi) {
  RecordingFile* file = InstallRecordingSink();
  WriteLog("  %s:%d", "TForm1::FormCreate", 42);
  WriteLog(" Message = %s", "Gr\xC3\xBC\xC3\x9F" "e");  // UTF-8 "Grüße"

  std::vector<std::string> expected = {"12/7/2026 8:05:03 AM", "  TForm1::FormCreate:42", "\r\n",
                                       "12/7/2026 8:05:03 AM", " Message = Gr\xFC\xDF" "e", "\r\n"};
  EXPECT_EQ(file->Writes(), expected);
}

TEST_F(LogTest, MessageLongerThan64KiBIsWrittenWhole) {
  RecordingFile* file = InstallRecordingSink();
  std::string big(70 * 1024, 'x');
  big.back() = 'y';
  WriteLog(" %s:%d %s", "Say", 7, big.c_str());

  auto writes = file->Writes();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[1], " Say:7 " + big);
}

TEST_F(LogTest, LinesOfTwoThreadsNeverInterleave) {
  RecordingFile* file = InstallRecordingSink();
  constexpr int kLines = 1000;
  auto writer = [](char name) {
    for (int i = 0; i < kLines; ++i) WriteLog("%c %d", name, i);
  };
  std::thread a(writer, 'A');
  std::thread b(writer, 'B');
  a.join();
  b.join();

  auto writes = file->Writes();
  ASSERT_EQ(writes.size(), 3u * 2 * kLines);
  int next[2] = {0, 0};
  for (std::size_t i = 0; i < writes.size(); i += 3) {
    ASSERT_EQ(writes[i], "12/7/2026 8:05:03 AM") << "line " << i / 3;
    ASSERT_EQ(writes[i + 2], "\r\n") << "line " << i / 3;
    const std::string& message = writes[i + 1];
    ASSERT_TRUE(message[0] == 'A' || message[0] == 'B') << message;
    int& expected = next[message[0] - 'A'];
    ASSERT_EQ(message.substr(2), std::to_string(expected)) << "lines of one thread out of order";
    ++expected;
  }
  EXPECT_EQ(next[0], kLines);
  EXPECT_EQ(next[1], kLines);
}

TEST_F(LogTest, TimeStampFollowsLocaleAndDropsTimeAtMidnight) {
  RecordingFile* file = InstallRecordingSink();
  clock_.Set(*EncodeDate(2026, 12, 7));
  WriteLog("a");
  fakes::FakeLocale german(true);
  FileLogSink germanSink(std::make_unique<RecordingFile>(), clock_, german, codec_);
  clock_.Set(*EncodeDateTime({2026, 12, 7}, {8, 5, 3}));

  EXPECT_EQ(file->Writes()[0], "12/7/2026");
  EXPECT_EQ(germanSink.TimeStamp(), "7.12.2026 08:05:03");
}

TEST_F(LogTest, FailedWriteNeitherThrowsNorSpoilsLaterLines) {
  fakes::MemoryFileSystem files;
  fakes::FakeEnvironment environment;
  std::string path = OpenLog(files, environment, clock_, locale_, codec_, "C:\\Prog\\");
  files.FailWrites(true);
  EXPECT_NO_THROW(WriteLog(" lost"));
  files.FailWrites(false);
  WriteLog(" kept");
  EXPECT_EQ(files.Text(path), "12/7/2026 8:05:03 AM kept\r\n");
}

struct FallbackCase {
  std::vector<std::string> readOnly;
  std::string expected;  // "" : no log at all
};

class OpenLogFallback : public LogTest, public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(OpenLogFallback, TakesFirstWritableFolderOrRunsWithoutLog) {
  fakes::MemoryFileSystem files;
  fakes::FakeEnvironment environment;
  environment.currentDir = "D:\\Work\\";
  environment.tempDir = "C:\\Temp\\";
  files.Put("D:\\Work\\console.log", "old trace\r\n");
  for (const auto& folder : GetParam().readOnly) files.MakeReadOnlyFolder(folder);

  ScopedLogCapture capture;  // must be replaced (or removed) by OpenLog
  std::string path = OpenLog(files, environment, clock_, locale_, codec_, "C:\\Prog");
  WriteLog(" %s:%d", "TForm1::TForm1", 1);

  EXPECT_EQ(path, GetParam().expected);
  EXPECT_TRUE(capture.Messages().empty());
  if (path.empty()) {
    EXPECT_EQ(SetLogSink(nullptr), nullptr) << "no sink may be installed without a file";
    EXPECT_EQ(files.PathsStartingWith("C:\\Prog").size(), 0u);
    EXPECT_EQ(files.PathsStartingWith("C:\\Temp").size(), 0u);
  } else {
    EXPECT_EQ(files.Text(path), "12/7/2026 8:05:03 AM TForm1::TForm1:1\r\n");
  }
  if (path != "D:\\Work\\console.log") {
    EXPECT_EQ(files.Text("D:\\Work\\console.log"), "old trace\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OpenLogFallback,
    ::testing::Values(FallbackCase{{}, "D:\\Work\\console.log"},
                      FallbackCase{{"D:\\Work"}, "C:\\Prog\\console.log"},
                      FallbackCase{{"D:\\Work", "C:\\Prog"}, "C:\\Temp\\console.log"},
                      FallbackCase{{"D:\\", "C:\\"}, ""}));

}  // namespace
}  // namespace vm

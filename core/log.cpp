#include "core/log.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <utility>

#include "core/date_text.h"
#include "platform/services.h"
#include "core/text_format.h"

namespace vm {

namespace {

constexpr const char* kLogFileName = "console.log";

// The installed sink. A line is written under this lock, and changing the sink takes it too, so
// the change waits until no line is being written to the old sink. The lines of several threads
// wait for one another here, as they do in the sink anyway to stay whole, so a plain mutex is
// enough.
Mutex& SinkLock() {
  static Mutex lock;
  return lock;
}
std::atomic<LogSink*> gSink{nullptr};

// Set while this thread is inside a sink: a line logged from there is dropped rather than
// re-entering the sink's lock.
thread_local bool tInsideSink = false;

std::string WithTrailingBackslash(std::string directory) {
  if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
    directory += '\\';
  return directory;
}

// Sinks opened by OpenLog are never destroyed: a worker thread may still log while the process
// ends. Kept reachable from here so that leak checkers do not count them.
std::vector<FileLogSink*>& OpenedSinks() {
  static auto* sinks = new std::vector<FileLogSink*>();
  return *sinks;
}

}  // namespace

FileLogSink::FileLogSink(std::unique_ptr<WritableFile> file, Clock& clock, Locale& locale,
                         TextCodec& codec)
    : file_(std::move(file)), clock_(clock), locale_(locale), codec_(codec) {}

FileLogSink::~FileLogSink() = default;

std::string FileLogSink::TimeStamp() { return DateTimeText(locale_, clock_.Now()); }

void FileLogSink::WriteLine(const std::string& timeStamp, const std::string& message) {
  std::string stamp = codec_.Utf8ToAnsi(timeStamp);
  std::string text = codec_.Utf8ToAnsi(message);
  std::lock_guard<Mutex> guard(mutex_);
  // A failed write (disk full, medium gone) is not reported: the trace is best effort and must
  // never end the program or the speech worker that logs too.
  file_->Write(stamp.data(), stamp.size());
  file_->Write(text.data(), text.size());
  file_->Write("\r\n", 2);
}

LogSink* SetLogSink(LogSink* sink) {
  std::lock_guard<Mutex> guard(SinkLock());
  return gSink.exchange(sink);
}

void WriteLog(const char* format, ...) {
  if (format == nullptr || tInsideSink) return;
  if (gSink.load() == nullptr) return;  // no log: spare the formatting
  va_list args;
  va_start(args, format);
  std::string message = FormatTextV(format, args);
  va_end(args);

  std::lock_guard<Mutex> guard(SinkLock());
  LogSink* sink = gSink.load();
  if (sink == nullptr) return;
  tInsideSink = true;
  try {
    sink->WriteLine(sink->TimeStamp(), message);
  } catch (...) {
    // Logging never throws into its caller (which may be a worker thread).
  }
  tInsideSink = false;
}

std::string OpenLog(FileSystem& files, Environment& environment, Clock& clock, Locale& locale,
                    TextCodec& codec, const std::string& programDirectory) {
  // The working directory first, as the log always lay there; a directory that cannot be
  // written (a read-only share, a system folder) falls back to the program and temp folders
  // instead of ending the start, and with none writable the program runs without a log.
  std::vector<std::string> candidates;
  for (std::string directory : {environment.CurrentDirectory(), programDirectory,
                                environment.TempDirectory()}) {
    if (directory.empty()) continue;
    std::string path = WithTrailingBackslash(std::move(directory)) + kLogFileName;
    if (std::find(candidates.begin(), candidates.end(), path) == candidates.end())
      candidates.push_back(path);
  }
  for (const std::string& path : candidates) {
    std::unique_ptr<WritableFile> file = files.CreateForWriting(path);
    if (!file) continue;
    auto* sink = new FileLogSink(std::move(file), clock, locale, codec);
    {
      std::lock_guard<Mutex> guard(SinkLock());
      OpenedSinks().push_back(sink);
      gSink.store(sink);
    }
    return path;
  }
  SetLogSink(nullptr);
  return {};
}

ScopedLogCapture::ScopedLogCapture() : previous_(SetLogSink(this)) {}

ScopedLogCapture::~ScopedLogCapture() { SetLogSink(previous_); }

void ScopedLogCapture::WriteLine(const std::string&, const std::string& message) {
  std::lock_guard<Mutex> guard(mutex_);
  messages_.push_back(message);
}

std::vector<std::string> ScopedLogCapture::Messages() const {
  std::lock_guard<Mutex> guard(mutex_);
  return messages_;
}

bool ScopedLogCapture::Contains(const std::string& message) const {
  std::lock_guard<Mutex> guard(mutex_);
  return std::find(messages_.begin(), messages_.end(), message) != messages_.end();
}

}  // namespace vm

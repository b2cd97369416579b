#pragma once
// The diagnostic log "console.log": one line per call, time stamp (system short date, a blank,
// long time) + printf-expanded message + CR LF, written unbuffered and serialized across threads.

#include <memory>
#include <mutex>

#include "core/threads.h"
#include <string>
#include <vector>

namespace vm {

class Clock;
class Locale;
class TextCodec;
class FileSystem;
class Environment;
class WritableFile;

// Where log lines go. The process has one; `WriteLog` writes to it. A sink may be called from
// several threads at once and must keep lines whole.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // The time stamp of a line written now; a sink without a clock gives an empty text.
  virtual std::string TimeStamp() { return {}; }
  // One whole line without its CR LF: the time stamp and the message, written in that order.
  virtual void WriteLine(const std::string& timeStamp, const std::string& message) = 0;
};

// The sink behind "console.log": three writes per line (time stamp, message, CR LF) on an
// unbuffered file, texts converted to ANSI, one line at a time across threads. The services
// must outlive the sink.
class FileLogSink : public LogSink {
 public:
  FileLogSink(std::unique_ptr<WritableFile> file, Clock& clock, Locale& locale, TextCodec& codec);
  ~FileLogSink() override;
  std::string TimeStamp() override;
  void WriteLine(const std::string& timeStamp, const std::string& message) override;

 private:
  std::unique_ptr<WritableFile> file_;
  Clock& clock_;
  Locale& locale_;
  TextCodec& codec_;
  Mutex mutex_;
};

// Opens "console.log" in the current directory (emptied); when that cannot be created, in the
// program directory, then in the user's temp directory, and installs it as the process's log.
// Returns the path opened, or an empty string when no place could be written: the program then
// runs without a log (no sink installed). The installed sink lives to the end of the process,
// so the services given here must too.
std::string OpenLog(FileSystem& files, Environment& environment, Clock& clock, Locale& locale,
                    TextCodec& codec, const std::string& programDirectory);

// Writes one line to the open log; does nothing when no log is open. Thread-safe. The message
// may be of any length. A line written from inside a sink (re-entrance) is dropped.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs `sink` as the process's log (nullptr: no log). Returns the previous one. Waits for
// lines being written to the previous sink, so it may be destroyed once this returns.
LogSink* SetLogSink(LogSink* sink);

// Test support: collects every line written while it lives.
class ScopedLogCapture : public LogSink {
 public:
  ScopedLogCapture();
  ~ScopedLogCapture() override;
  ScopedLogCapture(const ScopedLogCapture&) = delete;
  ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;
  void WriteLine(const std::string& timeStamp, const std::string& message) override;
  // The messages (without time stamps) in order.
  std::vector<std::string> Messages() const;
  bool Contains(const std::string& message) const;

 private:
  LogSink* previous_;
  mutable Mutex mutex_;
  std::vector<std::string> messages_;
};

}  // namespace vm

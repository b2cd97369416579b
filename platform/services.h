#pragma once
// The operating-system services the portable code uses. Each is a small interface: the real
// implementations live in files named *_win32.cpp, the tests bring fakes. The portable code never
// sees a Win32 type; texts are UTF-8 unless a comment says otherwise.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/date_time.h"

namespace vm {

// Identifies a realized top-level window for the services that need an owner (message boxes,
// dialogs). 0 means "no owner".
using WindowId = std::uintptr_t;

// The local clock.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time.
  virtual DateTime Now() = 0;
  // The current time as a Windows file time (UTC, 100-ns units since 1601-01-01).
  virtual std::uint64_t FileTimeNow() = 0;
  // Milliseconds of a clock that only runs forward (from any start), for short time limits.
  virtual std::int64_t TickMs() = 0;
  // How many minutes local time is ahead of UTC at the moment `utc` (a date-time value counted
  // in UTC), by the system's time-zone rules for that date, daylight saving included. Nothing
  // when the system cannot tell; callers then take local time as running evenly.
  virtual std::optional<int> UtcOffsetMinutes(DateTime utc) {
    (void)utc;
    return std::nullopt;
  }
};

// The user's regional settings.
class Locale {
 public:
  virtual ~Locale() = default;
  // `when` in the system's short date format, e.g. "12/7/2026".
  virtual std::string ShortDate(DateTime when) = 0;
  // `when` in the system's long time format, e.g. "8:45:00 AM".
  virtual std::string LongTime(DateTime when) = 0;
  // The system's time separator, e.g. ":".
  virtual std::string TimeSeparator() = 0;
};

// Conversion between the program's UTF-8 texts and the 8-bit texts of the system's ANSI code
// page, in which the task file, the language files and the log are written.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
};

enum class RegRoot { CurrentUser, LocalMachine };
enum class RegType { String, Dword, Binary, Other };

struct RegValue {
  RegType type = RegType::Other;
  std::string text;                 // String
  std::uint32_t number = 0;         // Dword
  std::vector<std::uint8_t> bytes;  // Binary (and the raw data of Other)
};

// The registry. Key paths are relative to the root, without leading backslash
// ("Software\\Vemtaro").
class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(RegRoot root, const std::string& key) = 0;
  // Opens the key, creating it when missing; false when that fails (for example no rights).
  virtual bool CreateKey(RegRoot root, const std::string& key) = 0;
  // The value, or nothing when the key or the value is missing.
  virtual std::optional<RegValue> ReadValue(RegRoot root, const std::string& key,
                                            const std::string& name) = 0;
  // Writes into an existing key; false on failure.
  virtual bool WriteString(RegRoot root, const std::string& key, const std::string& name,
                           const std::string& value) = 0;
  virtual bool WriteDword(RegRoot root, const std::string& key, const std::string& name,
                          std::uint32_t value) = 0;
  virtual bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                           std::span<const std::uint8_t> value) = 0;
  virtual bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key with all its values and sub-keys.
  virtual bool DeleteKeyTree(RegRoot root, const std::string& key) = 0;
};

// A file opened for writing, unbuffered: every Write reaches the file before it returns.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Write(const void* data, std::size_t size) = 0;
};

// Files. Paths are full Windows paths ("C:\\Program Files\\Vemtaro\\tasks.sft") or, where a
// comment says so, relative to the current directory.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole content, or nothing when the file is missing or cannot be read.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Replaces the file atomically: writes a temporary file beside it, flushes it to disk, then
  // moves it over `path`. A crash leaves either the old or the new content.
  virtual bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
  // Renames `from` to `to`; never overwrites an existing `to`.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // The names (without folder) of the files directly in `folder` (a full path, with or without
  // a trailing backslash); folders are not listed. Nothing when the folder cannot be listed.
  virtual std::optional<std::vector<std::string>> FileNames(const std::string& folder) {
    (void)folder;
    return std::nullopt;
  }
  // Creates (empties) the file for writing; other programs may read it but not write it.
  virtual std::unique_ptr<WritableFile> CreateForWriting(const std::string& path) = 0;
};

// Facts about the running program and system.
class Environment {
 public:
  virtual ~Environment() = default;
  // Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
  // Nothing when the system does not answer.
  virtual std::optional<std::string> WindowsDirectory() = 0;
  virtual std::optional<std::string> SystemDirectory() = 0;
  // The user's directory for temporary files, with a trailing backslash.
  virtual std::string TempDirectory() = 0;
  // The process's current directory, with a trailing backslash.
  virtual std::string CurrentDirectory() = 0;
  // The id of this process; 0 when it is not known.
  virtual std::uint32_t ProcessId() { return 0; }
  // Major and minor version of the system as it reports them.
  virtual int VersionMajor() = 0;
  virtual int VersionMinor() = 0;
};

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  WindowId owner = 0;
  bool topMost = false;
  bool foreground = false;
};

// Modal message boxes.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgResult Show(const MessageBoxRequest& request) = 0;
};

// The one-instance-per-logon guard of the program entry.
class InstanceGuard {
 public:
  virtual ~InstanceGuard() = default;
  // Creates the named mutex, owned by the caller; true when it already existed (another
  // instance runs). The handle stays open for the life of the process.
  virtual bool CreateMutexAlreadyExisted(const std::string& name) = 0;
  // Registers the window message name and sends it to every top-level window, waiting until
  // all have processed it.
  virtual void BroadcastRegisteredMessage(const std::string& name) = 0;
};

}  // namespace vm

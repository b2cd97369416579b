#pragma once
// The real platform services on the W (Unicode) API. Texts cross the boundary as UTF-8 and are
// converted to UTF-16 right at each call. `Win32Services` owns one of each for the program entry.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <windows.h>
// The A/W macros of these names would rename the FileSystem members in every file that sees
// both headers; the W functions are called by their full names instead.
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile

#include "core/threads.h"
#include "platform/services.h"

namespace vm {

class Win32Clock : public Clock {
 public:
  DateTime Now() override;
  std::uint64_t FileTimeNow() override;
  std::int64_t TickMs() override;
  std::optional<int> UtcOffsetMinutes(DateTime utc) override;
};

class Win32Locale : public Locale {
 public:
  // Empty text for a value that cannot be split into a calendar date.
  std::string ShortDate(DateTime when) override;
  std::string LongTime(DateTime when) override;
  std::string TimeSeparator() override;
};

// UTF-8 and the system's ANSI code page (CP_ACP), through UTF-16.
class Win32TextCodec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

// Writes and deletions open and close their key around the call. Reads keep the key they last
// read from open for the next read: the clock reads some thirty settings from one key while it
// starts, and opening and closing the key around each was half the cost of that under Wine. A
// read through the kept key that finds the key deleted (by another program, or by
// DeleteKeyTree) opens it anew, so a key deleted and made again is read as it is now. Key paths
// may carry leading or trailing backslashes ("\\Software\\Vemtaro\\"); they are ignored.
class Win32Registry : public Registry {
 public:
  // Values larger than this are not loaded; they read as Other with no bytes.
  static constexpr std::uint32_t kMaxValueSize = 1u << 20;

  bool KeyExists(RegRoot root, const std::string& key) override;
  bool CreateKey(RegRoot root, const std::string& key) override;
  std::optional<RegValue> ReadValue(RegRoot root, const std::string& key,
                                    const std::string& name) override;
  bool WriteString(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override;
  bool WriteDword(RegRoot root, const std::string& key, const std::string& name,
                  std::uint32_t value) override;
  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   std::span<const std::uint8_t> value) override;
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
  // False when the key does not exist. An empty path is refused: it would name the whole root.
  bool DeleteKeyTree(RegRoot root, const std::string& key) override;

  Win32Registry() = default;
  ~Win32Registry() override;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

 private:
  bool WriteRaw(RegRoot root, const std::string& key, const std::string& name,
                std::uint32_t type, const void* data, std::size_t size);
  // The kept read key for `key`, opened when it is another key or none is kept; nullptr when
  // the key cannot be opened for reading. Called with readLock_ held.
  HKEY ReadKey(RegRoot root, const std::string& key);
  void DropReadKey();

  // Reads may come from more than one thread; the kept key is shared by them.
  Mutex readLock_;
  RegRoot readRoot_ = RegRoot::CurrentUser;
  std::string readPath_;
  HKEY readKey_ = nullptr;
};

class Win32FileSystem : public FileSystem {
 public:
  // Files larger than this are not read (nothing the program reads comes near it).
  static constexpr std::uint64_t kMaxReadSize = 64ull << 20;

  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::optional<std::vector<std::string>> FileNames(const std::string& folder) override;
  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path) override;
};

class Win32Environment : public Environment {
 public:
  // Asks the version and the program's path at once: both questions take the loader's lock,
  // which the window system's set-up at the start of the program holds for a while (see
  // Win32Backend). Neither changes while the process runs.
  Win32Environment() : executablePath_(QueryExecutablePath()), version_(QueryVersion()) {}
  std::string ExecutablePath() override { return executablePath_; }
  std::optional<std::string> WindowsDirectory() override;
  std::optional<std::string> SystemDirectory() override;
  // Empty when the system cannot name one.
  std::string TempDirectory() override;
  std::string CurrentDirectory() override;
  std::uint32_t ProcessId() override;
  int VersionMajor() override;
  int VersionMinor() override;

 private:
  struct Version {
    int major = 0;
    int minor = 0;
  };
  static std::string QueryExecutablePath();
  static Version QueryVersion();

  const std::string executablePath_;
  const Version version_;
};

class Win32MessageBoxes : public MessageBoxes {
 public:
  MsgResult Show(const MessageBoxRequest& request) override;
};

class Win32InstanceGuard : public InstanceGuard {
 public:
  // How long the broadcast waits for each window before going on to the next.
  static constexpr unsigned kBroadcastTimeoutMs = 5000;

  bool CreateMutexAlreadyExisted(const std::string& name) override;
  void BroadcastRegisteredMessage(const std::string& name) override;
};

// One of each service, alive as long as this object.
class Win32Services {
 public:
  Win32Services();
  ~Win32Services();
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  Clock& GetClock() { return clock_; }
  Locale& GetLocale() { return locale_; }
  TextCodec& GetTextCodec() { return codec_; }
  Registry& GetRegistry() { return registry_; }
  FileSystem& GetFileSystem() { return files_; }
  Environment& GetEnvironment() { return environment_; }
  MessageBoxes& GetMessageBoxes() { return messageBoxes_; }
  InstanceGuard& GetInstanceGuard() { return instanceGuard_; }

 private:
  Win32Clock clock_;
  Win32Locale locale_;
  Win32TextCodec codec_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Environment environment_;
  Win32MessageBoxes messageBoxes_;
  Win32InstanceGuard instanceGuard_;
};

}  // namespace vm

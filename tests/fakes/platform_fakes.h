#pragma once
// In-memory fakes of the platform services, shared by the portable tests.

#include <cstdio>
#include <cctype>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/date_time.h"
#include "platform/services.h"

namespace vm::fakes {

// Without a zone local time is UTC and runs evenly. With one (SetZone), the clock runs on UTC
// and local time follows the zone's rules, as a system with daylight saving does.
class FakeClock : public Clock {
 public:
  // Minutes local time is ahead of UTC at a UTC moment.
  using Zone = std::function<int(DateTime utc)>;

  explicit FakeClock(DateTime now = 46363.5) : now_(now) {}  // 2026-12-07 12:00
  DateTime Now() override { return zone_ ? now_ + zone_(now_) / 1440.0 : now_; }
  std::uint64_t FileTimeNow() override {
    // Days since 1601-01-01 to 1899-12-30 are 109205.
    return static_cast<std::uint64_t>((now_ + 109205.0) * 864000000000.0);
  }
  // Runs with the faked time.
  std::int64_t TickMs() override { return static_cast<std::int64_t>(now_ * 86400000.0); }
  std::optional<int> UtcOffsetMinutes(DateTime utc) override {
    if (!zone_) return std::nullopt;
    return zone_(utc);
  }
  // Sets the local time (with a zone: the earlier moment of a repeated local time).
  void Set(DateTime now) {
    if (!zone_) {
      now_ = now;
      return;
    }
    now_ = now - zone_(now - zone_(now) / 1440.0) / 1440.0;
  }
  void AdvanceSeconds(double seconds) { now_ += seconds / 86400.0; }
  void SetZone(Zone zone) { zone_ = std::move(zone); }
  void SetUtc(DateTime utc) { now_ = utc; }
  DateTime Utc() const { return now_; }

 private:
  DateTime now_;  // local time without a zone, UTC with one
  Zone zone_;
};

// Formats like an English (United States) system unless told otherwise: "12/7/2026" and
// "8:05:03 AM", or with `german` "7.12.2026" and "08:05:03".
class FakeLocale : public Locale {
 public:
  explicit FakeLocale(bool german = false) : german_(german) {}
  std::string ShortDate(DateTime when) override {
    auto p = SplitDateTime(when);
    if (!p) return "?";
    char buf[32];
    if (german_)
      std::snprintf(buf, sizeof buf, "%d.%d.%04d", p->date.day, p->date.month, p->date.year);
    else
      std::snprintf(buf, sizeof buf, "%d/%d/%04d", p->date.month, p->date.day, p->date.year);
    return buf;
  }
  std::string LongTime(DateTime when) override {
    auto p = SplitDateTime(when);
    if (!p) return "?";
    char buf[32];
    if (german_) {
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p->time.hour, p->time.minute, p->time.second);
    } else {
      int h12 = p->time.hour % 12 == 0 ? 12 : p->time.hour % 12;
      std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, p->time.minute, p->time.second,
                    p->time.hour < 12 ? "AM" : "PM");
    }
    return buf;
  }
  std::string TimeSeparator() override { return german_ ? "." : ":"; }

 private:
  bool german_;
};

// Latin-1 as the "ANSI code page": bytes 0x80..0xFF are U+0080..U+00FF; characters outside
// Latin-1 become '?'.
class Latin1Codec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override {
    std::string out;
    for (unsigned char c : ansi) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
      if (len == 2 && i + 1 < utf8.size()) {
        unsigned code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
        out += code < 0x100 ? static_cast<char>(code) : '?';
      } else {
        out += len == 1 ? static_cast<char>(c) : '?';
      }
      i += len;
    }
    return out;
  }
};

class FakeRegistry : public Registry {
 public:
  struct Key {
    std::map<std::string, RegValue> values;
  };

  bool KeyExists(RegRoot root, const std::string& key) override {
    return keys_.count({root, Lower(key)}) != 0;
  }
  bool CreateKey(RegRoot root, const std::string& key) override {
    if (Denied(root, key)) return false;
    keys_[{root, Lower(key)}];
    return true;
  }
  std::optional<RegValue> ReadValue(RegRoot root, const std::string& key,
                                    const std::string& name) override {
    auto k = keys_.find({root, Lower(key)});
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.values.find(Lower(name));
    if (v == k->second.values.end()) return std::nullopt;
    return v->second;
  }
  bool WriteString(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override {
    RegValue v;
    v.type = RegType::String;
    v.text = value;
    return Put(root, key, name, v);
  }
  bool WriteDword(RegRoot root, const std::string& key, const std::string& name,
                  std::uint32_t value) override {
    RegValue v;
    v.type = RegType::Dword;
    v.number = value;
    return Put(root, key, name, v);
  }
  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   std::span<const std::uint8_t> value) override {
    RegValue v;
    v.type = RegType::Binary;
    v.bytes.assign(value.begin(), value.end());
    return Put(root, key, name, v);
  }
  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
    if (Denied(root, key)) return false;
    auto k = keys_.find({root, Lower(key)});
    if (k == keys_.end()) return false;
    return k->second.values.erase(Lower(name)) != 0;
  }
  bool DeleteKeyTree(RegRoot root, const std::string& key) override {
    if (Denied(root, key)) return false;
    std::string prefix = Lower(key);
    bool any = false;
    for (auto it = keys_.begin(); it != keys_.end();) {
      if (it->first.first == root &&
          (it->first.second == prefix || it->first.second.rfind(prefix + "\\", 0) == 0)) {
        it = keys_.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
    return any;
  }

  // Stores a value of any type as it stands (REG_QWORD, REG_MULTI_SZ ... are RegType::Other).
  bool WriteValue(RegRoot root, const std::string& key, const std::string& name, const RegValue& value) {
    return Put(root, key, name, value);
  }
  // Makes every change under `root` fail, as for a user without rights to the local machine.
  void DenyWrites(RegRoot root) { denied_.insert(root); }
  std::size_t ValueCount(RegRoot root, const std::string& key) {
    auto k = keys_.find({root, Lower(key)});
    return k == keys_.end() ? 0 : k->second.values.size();
  }
  // Shortcuts for tests.
  std::optional<std::uint32_t> Dword(const std::string& key, const std::string& name) {
    auto v = ReadValue(RegRoot::CurrentUser, key, name);
    if (!v || v->type != RegType::Dword) return std::nullopt;
    return v->number;
  }
  std::optional<std::string> String(const std::string& key, const std::string& name) {
    auto v = ReadValue(RegRoot::CurrentUser, key, name);
    if (!v || v->type != RegType::String) return std::nullopt;
    return v->text;
  }

 private:
  static std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!s.empty() && s.back() == '\\') s.pop_back();
    while (!s.empty() && s.front() == '\\') s.erase(s.begin());
    return s;
  }
  bool Denied(RegRoot root, const std::string&) const { return denied_.count(root) != 0; }
  bool Put(RegRoot root, const std::string& key, const std::string& name, const RegValue& v) {
    if (Denied(root, key)) return false;
    auto k = keys_.find({root, Lower(key)});
    if (k == keys_.end()) return false;
    k->second.values[Lower(name)] = v;
    return true;
  }

  std::map<std::pair<RegRoot, std::string>, Key> keys_;
  std::set<RegRoot> denied_;
};

// Files kept in memory. Paths compare case-insensitively, like on Windows.
class MemoryFileSystem : public FileSystem {
 public:
  struct MemoryFile : WritableFile {
    MemoryFile(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const void* data, std::size_t size) override {
      if (fs_.failWrites_) return false;
      auto& bytes = fs_.files_[Lower(path_)];
      auto p = static_cast<const std::uint8_t*>(data);
      bytes.insert(bytes.end(), p, p + size);
      return true;
    }
    MemoryFileSystem& fs_;
    std::string path_;
  };

  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) override {
    auto it = files_.find(Lower(path));
    if (it == files_.end() || unreadable_.count(Lower(path))) return std::nullopt;
    return it->second;
  }
  bool FileExists(const std::string& path) override { return files_.count(Lower(path)) != 0; }
  bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    ++replaceCount_;
    if (ReadOnly(path)) return false;
    files_[Lower(path)].assign(bytes.begin(), bytes.end());
    return true;
  }
  bool MoveFile(const std::string& from, const std::string& to) override {
    auto it = files_.find(Lower(from));
    if (it == files_.end() || files_.count(Lower(to)) || ReadOnly(to)) return false;
    files_[Lower(to)] = std::move(it->second);
    files_.erase(Lower(from));
    return true;
  }
  bool DeleteFile(const std::string& path) override {
    if (ReadOnly(path)) return false;
    return files_.erase(Lower(path)) != 0;
  }
  // Names in lower case, as the files are kept.
  std::optional<std::vector<std::string>> FileNames(const std::string& folder) override {
    if (unlistable_) return std::nullopt;
    std::string prefix = Lower(folder);
    if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
    std::vector<std::string> names;
    for (auto& [p, b] : files_)
      if (p.rfind(prefix, 0) == 0 && p.find('\\', prefix.size()) == std::string::npos)
        names.push_back(p.substr(prefix.size()));
    return names;
  }
  std::unique_ptr<WritableFile> CreateForWriting(const std::string& path) override {
    if (ReadOnly(path)) return nullptr;
    files_[Lower(path)].clear();
    return std::make_unique<MemoryFile>(*this, path);
  }

  void Put(const std::string& path, std::vector<std::uint8_t> bytes) {
    files_[Lower(path)] = std::move(bytes);
  }
  void Put(const std::string& path, const std::string& text) {
    files_[Lower(path)].assign(text.begin(), text.end());
  }
  std::string Text(const std::string& path) {
    auto it = files_.find(Lower(path));
    return it == files_.end() ? std::string() : std::string(it->second.begin(), it->second.end());
  }
  // Every path that starts with `prefix`, in lower case.
  std::vector<std::string> PathsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (auto& [p, b] : files_)
      if (p.rfind(Lower(prefix), 0) == 0) out.push_back(p);
    return out;
  }
  // Files in folders that start with `folder` cannot be created, replaced, moved or deleted.
  void MakeReadOnlyFolder(const std::string& folder) { readOnlyFolders_.push_back(Lower(folder)); }
  void MakeUnreadable(const std::string& path) { unreadable_.insert(Lower(path)); }
  void FailWrites(bool fail) { failWrites_ = fail; }
  void MakeUnlistable() { unlistable_ = true; }
  int ReplaceCount() const { return replaceCount_; }

 private:
  static std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  bool ReadOnly(const std::string& path) const {
    std::string p = Lower(path);
    for (auto& f : readOnlyFolders_)
      if (p.rfind(f, 0) == 0) return true;
    return false;
  }

  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::vector<std::string> readOnlyFolders_;
  std::set<std::string> unreadable_;
  bool failWrites_ = false;
  bool unlistable_ = false;
  int replaceCount_ = 0;
};

class FakeEnvironment : public Environment {
 public:
  std::string exePath = "C:\\Program Files\\Vemtaro\\vemtaro.exe";
  std::optional<std::string> windowsDir = std::string("C:\\windows");
  std::optional<std::string> systemDir = std::string("C:\\windows\\system32");
  std::string tempDir = "C:\\users\\me\\Temp\\";
  std::string currentDir = "C:\\Program Files\\Vemtaro\\";
  int major = 10;
  int minor = 0;
  std::uint32_t processId = 4242;

  std::string ExecutablePath() override { return exePath; }
  std::optional<std::string> WindowsDirectory() override { return windowsDir; }
  std::optional<std::string> SystemDirectory() override { return systemDir; }
  std::string TempDirectory() override { return tempDir; }
  std::string CurrentDirectory() override { return currentDir; }
  std::uint32_t ProcessId() override { return processId; }
  int VersionMajor() override { return major; }
  int VersionMinor() override { return minor; }
};

// Answers message boxes from a script (Ok when the script is empty) and records each request.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  MsgResult Show(const MessageBoxRequest& request) override {
    shown.push_back(request);
    if (onShow) onShow(request);
    if (answers.empty()) return request.buttons == MsgButtons::YesNo ||
                                        request.buttons == MsgButtons::YesNoCancel
                                    ? MsgResult::Yes
                                    : MsgResult::Ok;
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
  }
  std::deque<MsgResult> answers;
  std::vector<MessageBoxRequest> shown;
  std::function<void(const MessageBoxRequest&)> onShow;  // runs while the box is "open"
};

class FakeInstanceGuard : public InstanceGuard {
 public:
  bool alreadyRunning = false;
  std::vector<std::string> calls;
  bool CreateMutexAlreadyExisted(const std::string& name) override {
    calls.push_back("mutex " + name);
    return alreadyRunning;
  }
  void BroadcastRegisteredMessage(const std::string& name) override {
    calls.push_back("broadcast " + name);
  }
};

}  // namespace vm::fakes

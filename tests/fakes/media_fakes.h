#pragma once
// Fakes of the sound and speech services: an MCI that records its commands and answers per
// command string, short paths from a table, a scripted speech server, and message boxes that may
// be shown from several threads.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/media_services.h"
#include "platform/services.h"

namespace vm::fakes {

// MCI error codes as the system gives them.
inline constexpr std::uint32_t kMciErrUnrecognizedKeyword = 259;
inline constexpr std::uint32_t kMciErrInvalidDeviceName = 263;
inline constexpr std::uint32_t kMciErrFileNotFound = 275;
inline constexpr std::uint32_t kMciErrDuplicateAlias = 289;

class RecordingMci : public Mci {
 public:
  struct Sent {
    std::string command;
    WindowId notifyWindow = 0;
  };

  // Every later `command` answers `code`.
  void Answer(const std::string& command, std::uint32_t code) { answers_[command] = code; }
  // The next `command` answers `code` (queued before the fixed answer).
  void AnswerOnce(const std::string& command, std::uint32_t code) {
    once_[command].push_back(code);
  }
  // The answer of commands without an entry.
  std::uint32_t defaultAnswer = 0;

  std::uint32_t SendCommand(const std::string& command, WindowId notifyWindow) override {
    sent.push_back({command, notifyWindow});
    return AnswerFor(command);
  }
  std::uint32_t QueryCommand(const std::string& command, std::string& reply) override {
    sent.push_back({command, 0});
    std::uint32_t code = AnswerFor(command);
    auto it = replies.find(command);
    reply = code == 0 && it != replies.end() ? it->second : std::string();
    return code;
  }
  std::string ErrorText(std::uint32_t error) override {
    errorTextRequests.push_back(error);
    return "error " + std::to_string(error);
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (auto& s : sent) out.push_back(s.command);
    return out;
  }

  std::vector<Sent> sent;
  std::vector<std::uint32_t> errorTextRequests;
  std::map<std::string, std::string> replies;

 private:
  std::uint32_t AnswerFor(const std::string& command) {
    auto q = once_.find(command);
    if (q != once_.end() && !q->second.empty()) {
      std::uint32_t code = q->second.front();
      q->second.pop_front();
      return code;
    }
    auto it = answers_.find(command);
    return it == answers_.end() ? defaultAnswer : it->second;
  }

  std::map<std::string, std::uint32_t> answers_;
  std::map<std::string, std::deque<std::uint32_t>> once_;
};

// The one device alias "song" as the system keeps it: "open FILE alias song" takes the name and
// fails while it is taken, "close song" frees it, commands on a closed alias fail. A play with
// "notify" leaves one notice pending; as documented for MCI, pausing and resuming keep it, a
// later play with notify supersedes it, stopping or closing aborts it. Every play notes the file
// open.
class SongDevice : public Mci {
 public:
  std::uint32_t SendCommand(const std::string& command, WindowId notifyWindow) override {
    commands.push_back(command);
    static const std::string kOpen = "open ", kAlias = " alias song";
    if (command.rfind(kOpen, 0) == 0 && command.size() > kOpen.size() + kAlias.size() &&
        command.compare(command.size() - kAlias.size(), kAlias.size(), kAlias) == 0) {
      if (openFile) return kMciErrDuplicateAlias;
      openFile = command.substr(kOpen.size(), command.size() - kOpen.size() - kAlias.size());
      return 0;
    }
    if (!openFile) return kMciErrInvalidDeviceName;
    if (command == "close song") {
      openFile.reset();
      pendingNotice.reset();
    } else if (command == "stop song") {
      pendingNotice.reset();
    } else if (command == "play song notify") {
      played.push_back(*openFile);
      pendingNotice = notifyWindow;
    }
    return 0;
  }
  std::uint32_t QueryCommand(const std::string& command, std::string& reply) override {
    reply.clear();
    return SendCommand(command, 0);
  }
  std::string ErrorText(std::uint32_t error) override { return "error " + std::to_string(error); }

  // The play reaches its end: the window that waits for the notice, if one does.
  std::optional<WindowId> PlayEnds() {
    std::optional<WindowId> window = pendingNotice;
    pendingNotice.reset();
    return window;
  }

  std::optional<std::string> openFile;
  std::optional<WindowId> pendingNotice;
  std::vector<std::string> played;  // the file open at each play
  std::vector<std::string> commands;
};

// Short forms of the paths that "exist"; every other path has none.
class TableShortPaths : public ShortPaths {
 public:
  std::optional<std::string> ShortPath(const std::string& path) override {
    asked.push_back(path);
    auto it = table.find(path);
    if (it == table.end()) return std::nullopt;
    return it->second;
  }
  std::map<std::string, std::string> table;
  std::vector<std::string> asked;
};

// Message boxes that record every request under a lock, for code that shows them from worker
// threads. Answers Ok.
class LockedMessageBoxes : public MessageBoxes {
 public:
  MsgResult Show(const MessageBoxRequest& request) override {
    std::function<void(const MessageBoxRequest&)> hook;
    {
      std::lock_guard lock(mutex_);
      shown_.push_back(request);
      hook = onShow;
    }
    if (hook) hook(request);  // runs while the box is "open"
    return MsgResult::Ok;
  }
  std::vector<MessageBoxRequest> Shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
  }
  // Set before the code under test runs.
  std::function<void(const MessageBoxRequest&)> onShow;

 private:
  mutable std::mutex mutex_;
  std::vector<MessageBoxRequest> shown_;
};

// A speech server that answers from a script and records every call, in order, as text
// ("InitCom", "Create", "Load default", "Load <file>", "GetCharacterEx 5", "SetLanguageID 1049",
// "SetSoundEffectsOn 0", "SetSize 100x100", "Show 1", "Speak <text>", "WaitUntilDone 100",
// "StopSpeaking", "Unload 5", "Release", "UninitCom"). Safe to use from several threads.
class ScriptedSpeechServer : public SpeechServer {
 public:
  // Results; every call not named here succeeds. Keys: "InitCom", "Create", "Load default",
  // "Load file", "GetCharacterEx", "SetLanguageID", "SetSoundEffectsOn", "SetSize", "Show",
  // "Speak".
  void Fail(const std::string& call, SpeechResult code = kSpeechFail) {
    std::lock_guard lock(mutex_);
    results_[call] = code;
  }
  SpeechEngine engine = SpeechEngine::Agent;
  // Whether connections report the end of speaking (as the SAPI engine does).
  bool canWaitUntilDone = false;
  // The id Load hands out for the default character and for a character file.
  std::int32_t defaultCharacterId = 5;
  std::int32_t fileCharacterId = 9;
  // Runs inside Speak, outside the lock (to hold a worker there).
  std::function<void(const std::string&)> onSpeak;
  // Answers WaitUntilDone (given its milliseconds), outside the lock; without it the text is
  // done at once.
  std::function<bool(std::uint32_t)> onWaitUntilDone;

  std::vector<std::string> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  int CountOf(const std::string& call) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (auto& c : calls_) n += c == call;
    return n;
  }

  SpeechResult InitCom() override { return Record("InitCom", "InitCom"); }
  void UninitCom() override { Record("UninitCom", "UninitCom"); }
  std::unique_ptr<SpeechConnection> Create(SpeechResult& code) override {
    code = Record("Create", "Create");
    if (!SpeechSucceeded(code)) return nullptr;
    return std::make_unique<Connection>(*this);
  }
  // With `fallbackWorks`, a second engine (SAPI) whose every step succeeds; its calls are
  // noted with the prefix "Sapi ".
  bool fallbackWorks = false;
  std::unique_ptr<SpeechConnection> CreateFallback(SpeechResult& code) override {
    if (!fallbackWorks) {
      code = kSpeechFail;
      return nullptr;
    }
    code = Record("Sapi Create", "Sapi Create");
    return std::make_unique<FallbackConnection>(*this);
  }

 private:
  class FallbackConnection : public SpeechConnection {
   public:
    explicit FallbackConnection(ScriptedSpeechServer& server) : server_(server) {}
    SpeechEngine Engine() const override { return SpeechEngine::Sapi; }
    SpeechResult Load(const std::optional<std::string>&, std::int32_t& id, std::int32_t&) override {
      id = 1;
      return kSpeechOk;
    }
    SpeechResult GetCharacterEx(std::int32_t) override { return kSpeechOk; }
    SpeechResult SetLanguageID(std::int32_t) override { return kSpeechOk; }
    SpeechResult SetSoundEffectsOn(bool) override { return kSpeechOk; }
    SpeechResult SetSize(std::int32_t, std::int32_t) override { return kSpeechOk; }
    SpeechResult Show(bool) override { return kSpeechOk; }
    SpeechResult Speak(const std::string& text) override {
      return server_.Record("Sapi Speak", "Sapi Speak " + text);
    }
    bool CanWaitUntilDone() const override { return true; }
    bool WaitUntilDone(std::uint32_t) override { return true; }
    void StopSpeaking() override {}
    SpeechResult Unload(std::int32_t) override { return kSpeechOk; }

   private:
    ScriptedSpeechServer& server_;
  };

  class Connection : public SpeechConnection {
   public:
    explicit Connection(ScriptedSpeechServer& server) : server_(server) {}
    ~Connection() override { server_.Record("Release", "Release"); }
    SpeechEngine Engine() const override { return server_.engine; }
    SpeechResult Load(const std::optional<std::string>& file, std::int32_t& characterId,
                      std::int32_t& requestId) override {
      SpeechResult r = file ? server_.Record("Load file", "Load " + *file)
                            : server_.Record("Load default", "Load default");
      if (SpeechSucceeded(r)) {
        characterId = file ? server_.fileCharacterId : server_.defaultCharacterId;
        requestId = 1;
      }
      return r;
    }
    SpeechResult GetCharacterEx(std::int32_t id) override {
      return server_.Record("GetCharacterEx", "GetCharacterEx " + std::to_string(id));
    }
    SpeechResult SetLanguageID(std::int32_t id) override {
      return server_.Record("SetLanguageID", "SetLanguageID " + std::to_string(id));
    }
    SpeechResult SetSoundEffectsOn(bool on) override {
      return server_.Record("SetSoundEffectsOn", on ? "SetSoundEffectsOn 1" : "SetSoundEffectsOn 0");
    }
    SpeechResult SetSize(std::int32_t w, std::int32_t h) override {
      return server_.Record("SetSize", "SetSize " + std::to_string(w) + "x" + std::to_string(h));
    }
    SpeechResult Show(bool fast) override {
      return server_.Record("Show", fast ? "Show 1" : "Show 0");
    }
    SpeechResult Speak(const std::string& text) override {
      SpeechResult r = server_.Record("Speak", "Speak " + text);
      std::function<void(const std::string&)> hook;
      {
        std::lock_guard lock(server_.mutex_);
        hook = server_.onSpeak;
      }
      if (hook) hook(text);
      return r;
    }
    bool CanWaitUntilDone() const override { return server_.canWaitUntilDone; }
    bool WaitUntilDone(std::uint32_t ms) override {
      server_.Record("WaitUntilDone", "WaitUntilDone " + std::to_string(ms));
      std::function<bool(std::uint32_t)> hook;
      {
        std::lock_guard lock(server_.mutex_);
        hook = server_.onWaitUntilDone;
      }
      return hook ? hook(ms) : true;
    }
    void StopSpeaking() override { server_.Record("StopSpeaking", "StopSpeaking"); }
    SpeechResult Unload(std::int32_t id) override {
      return server_.Record("Unload", "Unload " + std::to_string(id));
    }

   private:
    ScriptedSpeechServer& server_;
  };

  SpeechResult Record(const std::string& key, const std::string& call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
    auto it = results_.find(key);
    return it == results_.end() ? kSpeechOk : it->second;
  }

  mutable std::mutex mutex_;
  std::map<std::string, SpeechResult> results_;
  std::vector<std::string> calls_;
};

}  // namespace vm::fakes

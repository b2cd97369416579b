#pragma once
// Recording fakes of the action services (platform/action_services.h). Every fake writes what it
// is asked into one shared call log, so that a test can check the order of actions across
// services.

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/platform_fakes.h"
#include "platform/action_services.h"

namespace vm::fakes {

using CallLog = std::vector<std::string>;

struct Recorder {
  explicit Recorder(CallLog& log) : log_(log) {}
  void Note(std::string call) { log_.push_back(std::move(call)); }
  CallLog& log_;
};

struct FakeShell : Shell, Recorder {
  using Recorder::Recorder;
  bool Execute(WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory) override {
    Note("shell.execute verb=" + verb + " file=" + file + " parameters=" + parameters +
         " directory=" + directory + " owner=" + std::to_string(owner));
    if (onExecute) onExecute();  // the shell's own error box would be open while this runs
    return succeeds;
  }
  std::function<void()> onExecute;
  bool RunCommandLine(const std::string& commandLine) override {
    Note("shell.run " + commandLine);
    return succeeds;
  }
  bool succeeds = true;
};

struct FakeShellLinks : ShellLinks, Recorder {
  using Recorder::Recorder;
  std::optional<ShellLinkInfo> Resolve(WindowId, const std::string& linkPath) override {
    Note("link.resolve " + linkPath);
    auto it = links.find(linkPath);
    return it == links.end() ? std::nullopt : std::optional(it->second);
  }
  std::optional<std::string> ShortPath(const std::string& path) override {
    Note("link.short " + path);
    auto it = shortPaths.find(path);
    return it == shortPaths.end() ? std::nullopt : std::optional(it->second);
  }
  std::map<std::string, ShellLinkInfo> links;     // by the path Resolve is given
  std::map<std::string, std::string> shortPaths;  // long path -> short path
};

struct FakeKeyboard : Keyboard, Recorder {
  using Recorder::Recorder;
  void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) override {
    char text[32];
    std::snprintf(text, sizeof text, "key %02X %s", virtualKey, keyUp ? "up" : "down");
    Note(text);
  }
  bool LockWorkstation() override {
    Note(lockAccepted ? "lock" : "lock refused");
    return lockAccepted;
  }
  bool lockAccepted = true;
};

struct FakeProcesses : Processes, Recorder {
  using Recorder::Recorder;
  EndProcessesResult EndProcessesNamed(const std::string& exeFileName) override {
    Note("processes.end " + exeFileName);
    return result;
  }
  EndProcessesResult result{true, 1, {}};
};

struct FakePrivileges : Privileges, Recorder {
  using Recorder::Recorder;
  PrivilegeResult EnableShutdownPrivilege() override {
    Note("privilege");
    return result;
  }
  PrivilegeResult result;
};

struct FakePowerRequests : PowerRequests, Recorder {
  using Recorder::Recorder;
  bool RequestExit(ExitRequest request) override {
    return Request(request == ExitRequest::PowerOff   ? "power.poweroff"
                   : request == ExitRequest::Shutdown ? "power.shutdown"
                                                      : "power.reboot");
  }
  bool Hibernate() override { return Request("power.hibernate"); }
  bool Request(const char* name) {
    Note(name);
    if (onRequest) onRequest();
    return accepts;
  }
  bool accepts = true;
  std::function<void()> onRequest;  // runs when a request is made (to look at the file then)
};

struct FakeWakeTimerService : WakeTimerService, Recorder {
  using Recorder::Recorder;
  TimerHandle CreateTimer(const std::string& name) override {
    Note("timer.create " + name);
    if (createFails) return 0;
    open.push_back(nextHandle);
    return nextHandle++;
  }
  bool SetTimer(TimerHandle timer, std::uint64_t due, std::int32_t periodMs, bool resume) override {
    Note("timer.set " + std::to_string(timer) + " due=" + std::to_string(due) +
         " period=" + std::to_string(periodMs) + (resume ? " resume" : ""));
    return true;
  }
  void CancelTimer(TimerHandle timer) override { Note("timer.cancel " + std::to_string(timer)); }
  void CloseTimer(TimerHandle timer) override {
    Note("timer.close " + std::to_string(timer));
    std::erase(open, timer);
  }
  bool createFails = false;
  TimerHandle nextHandle = 101;
  std::vector<TimerHandle> open;  // created and not yet closed
};

struct FakeTempFileTime : TempFileTime, Recorder {
  using Recorder::Recorder;
  std::optional<std::uint64_t> CreationTimeOfNewFile(const std::string& name) override {
    Note("tempfile " + name);
    return fileTime;
  }
  std::optional<std::uint64_t> fileTime = 133'000'000'000'000'000ull;
};

struct FakeSessionNotifications : SessionNotifications, Recorder {
  using Recorder::Recorder;
  bool Register(WindowId window) override {
    Note("session.register " + std::to_string(window));
    return registers;
  }
  void Unregister(WindowId window) override { Note("session.unregister " + std::to_string(window)); }
  bool registers = true;
};

// Scripted message boxes that also note each box as "box <caption>: <text>".
struct LoggedMessageBoxes : ScriptedMessageBoxes, Recorder {
  using Recorder::Recorder;
  MsgResult Show(const MessageBoxRequest& request) override {
    Note("box " + request.caption + ": " + request.text);
    return ScriptedMessageBoxes::Show(request);
  }
};

// One of each action fake over one call log.
struct ActionFakes {
  explicit ActionFakes(CallLog& log)
      : shell(log), shellLinks(log), keyboard(log), processes(log), privileges(log), power(log),
        wakeTimers(log), tempFileTime(log), sessions(log) {}
  ActionServices Services() {
    return {&shell,      &shellLinks, &keyboard,     &processes, &privileges,
            &power,      &wakeTimers, &tempFileTime, &sessions};
  }
  FakeShell shell;
  FakeShellLinks shellLinks;
  FakeKeyboard keyboard;
  FakeProcesses processes;
  FakePrivileges privileges;
  FakePowerRequests power;
  FakeWakeTimerService wakeTimers;
  FakeTempFileTime tempFileTime;
  FakeSessionNotifications sessions;
};

}  // namespace vm::fakes

#pragma once
// The real action services on the W (Unicode) API: shell, shortcuts, keys, processes, the
// shutdown privilege, power requests, the wake timer and session notifications.
// `Win32ActionServices` owns one of each for the program entry.

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>
// The A/W macros of these names would rename the FileSystem members (platform/services.h) in
// every file that sees both headers.
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile

#include "platform/action_services.h"

namespace vm {

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

class Win32Shell : public Shell {
 public:
  bool Execute(WindowId owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory) override;
  // CreateProcess with the command line, shown normally; the handles are closed at once.
  bool RunCommandLine(const std::string& commandLine) override;
};

class Win32ShellLinks : public ShellLinks {
 public:
  std::optional<ShellLinkInfo> Resolve(WindowId owner, const std::string& linkPath) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
};

class Win32Keyboard : public Keyboard {
 public:
  void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) override;
  bool LockWorkstation() override;
};

class Win32Processes : public Processes {
 public:
  EndProcessesResult EndProcessesNamed(const std::string& exeFileName) override;
};

class Win32Privileges : public Privileges {
 public:
  PrivilegeResult EnableShutdownPrivilege() override;
};

class Win32PowerRequests : public PowerRequests {
 public:
  bool RequestExit(ExitRequest request) override;
  bool Hibernate() override;
};

class Win32WakeTimerService : public WakeTimerService {
 public:
  TimerHandle CreateTimer(const std::string& name) override;
  bool SetTimer(TimerHandle timer, std::uint64_t dueFileTime, std::int32_t periodMs,
                bool resume) override;
  void CancelTimer(TimerHandle timer) override;
  void CloseTimer(TimerHandle timer) override;
};

class Win32TempFileTime : public TempFileTime {
 public:
  std::optional<std::uint64_t> CreationTimeOfNewFile(const std::string& name) override;
};

// Holds wtsapi32.dll from the first Register until Unregister (or destruction).
class Win32SessionNotifications : public SessionNotifications {
 public:
  Win32SessionNotifications() = default;
  ~Win32SessionNotifications() override;
  Win32SessionNotifications(const Win32SessionNotifications&) = delete;
  Win32SessionNotifications& operator=(const Win32SessionNotifications&) = delete;

  bool Register(WindowId window) override;
  void Unregister(WindowId window) override;

  bool LibraryLoaded() const { return module_ != nullptr; }

 private:
  using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
  using UnregisterFn = BOOL(WINAPI*)(HWND);

  HMODULE module_ = nullptr;
  RegisterFn register_ = nullptr;
  UnregisterFn unregister_ = nullptr;
};

// One of each, alive as long as this object.
class Win32ActionServices {
 public:
  ActionServices Get() {
    ActionServices s;
    s.shell = &shell_;
    s.shellLinks = &shellLinks_;
    s.keyboard = &keyboard_;
    s.processes = &processes_;
    s.privileges = &privileges_;
    s.power = &power_;
    s.wakeTimers = &wakeTimers_;
    s.tempFileTime = &tempFileTime_;
    s.sessions = &sessions_;
    return s;
  }

 private:
  Win32Shell shell_;
  Win32ShellLinks shellLinks_;
  Win32Keyboard keyboard_;
  Win32Processes processes_;
  Win32Privileges privileges_;
  Win32PowerRequests power_;
  Win32WakeTimerService wakeTimers_;
  Win32TempFileTime tempFileTime_;
  Win32SessionNotifications sessions_;
};

}  // namespace vm

#pragma once
// The operating-system services that a firing task and the power and session handling use:
// starting programs, shortcuts, synthetic keys, ending processes, the shutdown privilege, power
// requests, the wake-up timer and session notifications. Small semantic interfaces without Win32
// types; the real implementations live in platform/*_win32.cpp, the tests bring recording fakes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace vm {

// Starting programs and documents.
class Shell {
 public:
  virtual ~Shell() = default;
  // Hands `file` to the shell with `verb` ("open"; empty for the default verb), `parameters`
  // and the working `directory` (both may be empty), shown normally. True when the shell
  // reports that it started something.
  virtual bool Execute(WindowId owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory) = 0;
  // Starts a command line ("program arguments") shown normally, the way the old 16-bit-era
  // starter does. True on success.
  virtual bool RunCommandLine(const std::string& commandLine) = 0;
};

// What a shortcut (.lnk) file points at.
struct ShellLinkInfo {
  std::string targetPath;        // in short (8.3) form where the system can give one
  std::string workingDirectory;  // may be empty
  std::string arguments;         // may be empty
};

// Shortcut files and path forms.
class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Loads and resolves the shortcut without user interface (`owner` for the system's use).
  // Nothing when the file cannot be loaded or the link cannot be resolved.
  virtual std::optional<ShellLinkInfo> Resolve(WindowId owner, const std::string& linkPath) = 0;
  // The short (8.3) form of an existing path; nothing when the system cannot give one.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
};

// Synthetic keyboard input.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // One key event for a virtual-key code (0x5B left Windows key, 0x4C key L ...).
  virtual void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) = 0;
  // Locks the workstation through the system; false when the system refused.
  virtual bool LockWorkstation() = 0;
};

// One process that matched but could not be ended.
struct ProcessEndFailure {
  std::uint32_t processId = 0;
  bool opened = false;  // false: it could not be opened for terminating; true: terminating failed
};

struct EndProcessesResult {
  bool snapshotTaken = false;
  int ended = 0;
  std::vector<ProcessEndFailure> failures;
};

// The running processes.
class Processes {
 public:
  virtual ~Processes() = default;
  // Ends (exit code 0) every process of a snapshot, the first snapshot entry excepted, whose
  // executable file name equals `exeFileName` (no path; compared without regard to case).
  virtual EndProcessesResult EndProcessesNamed(const std::string& exeFileName) = 0;
};

// Which step of enabling the shutdown privilege failed.
enum class PrivilegeStep { Granted, OpenToken, LookupValue, Adjust };

struct PrivilegeResult {
  PrivilegeStep failedStep = PrivilegeStep::Granted;
  std::uint32_t lastError = 0;  // the system's error code of the failed step
};

// The process token's privileges.
class Privileges {
 public:
  virtual ~Privileges() = default;
  // Opens the process token for adjusting, looks up "SeShutdownPrivilege" and enables it.
  virtual PrivilegeResult EnableShutdownPrivilege() = 0;
};

enum class ExitRequest { PowerOff, Shutdown, Reboot };

// Requests to end the session and turn the computer off. Nothing is forced: other programs may
// still refuse.
class PowerRequests {
 public:
  virtual ~PowerRequests() = default;
  // Asks the system to power off, shut down or reboot (planned, reason code 0xFFFFFFFF); true
  // when the request was accepted.
  virtual bool RequestExit(ExitRequest request) = 0;
  // Asks the system to hibernate (not suspend, not forced); true when the system accepted it.
  virtual bool Hibernate() = 0;
};

// An opaque handle of a waitable timer; 0 is none.
using TimerHandle = std::uintptr_t;

// Waitable timers that can resume the computer.
class WakeTimerService {
 public:
  virtual ~WakeTimerService() = default;
  // Creates (or opens) the auto-reset timer of that name; 0 when it cannot be created.
  virtual TimerHandle CreateTimer(const std::string& name) = 0;
  // Arms it: first expiry at the absolute file time `dueFileTime` (UTC, 100-ns units since
  // 1601), then every `periodMs` milliseconds; `resume` lets an expiry wake the computer.
  // True when the system accepted it (a system that cannot resume still arms the timer).
  virtual bool SetTimer(TimerHandle timer, std::uint64_t dueFileTime, std::int32_t periodMs,
                        bool resume) = 0;
  virtual void CancelTimer(TimerHandle timer) = 0;
  virtual void CloseTimer(TimerHandle timer) = 0;
};

// The current time read the way the wake timer wants it.
class TempFileTime {
 public:
  virtual ~TempFileTime() = default;
  // Creates the new file `name` in the current directory, reads its creation time (a UTC file
  // time), closes and deletes it. Nothing when the file cannot be created; a file of that name
  // that already exists is left alone.
  virtual std::optional<std::uint64_t> CreationTimeOfNewFile(const std::string& name) = 0;
};

// Session-change notifications (lock, unlock, logon, logoff) for a window.
class SessionNotifications {
 public:
  virtual ~SessionNotifications() = default;
  // Loads the terminal-services library from the system directory (once), finds both entry
  // points and subscribes `window` for all sessions. True when the subscription succeeded.
  virtual bool Register(WindowId window) = 0;
  // Unsubscribes `window` when it was subscribed and frees the library. Safe to call when
  // Register failed or was never called.
  virtual void Unregister(WindowId window) = 0;
};

// The services above, handed around together. Every pointer must be set before use.
struct ActionServices {
  Shell* shell = nullptr;
  ShellLinks* shellLinks = nullptr;
  Keyboard* keyboard = nullptr;
  Processes* processes = nullptr;
  Privileges* privileges = nullptr;
  PowerRequests* power = nullptr;
  WakeTimerService* wakeTimers = nullptr;
  TempFileTime* tempFileTime = nullptr;
  SessionNotifications* sessions = nullptr;
};

}  // namespace vm

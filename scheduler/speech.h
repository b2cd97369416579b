#pragma once
// Speaking a text through the speech server: `Say` loads a character, lets it speak and unloads
// it, blocking its caller for up to ten seconds; `Speak` runs `Say` on a `TSpeakT` worker thread.
// `Probe` only tests whether the server works. When the agent server fails at any step, SAPI 5
// takes over; a warning is shown at most once per run, when no way of speaking works.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "core/threads.h"
#include <string>

#include "platform/services.h"

namespace vm {

class SpeechServer;
class SpeechConnection;

// The probe text: Say loads a character and sets it up, but neither shows it nor speaks.
inline constexpr const char* kSpeechProbeText = "MSA test";
// The fallback character file, on the root of the current drive.
inline constexpr const char* kGenieCharacterFile =
    "\\program files\\microsoft agent\\characters\\genie.acs";
// Language of the character (Russian).
inline constexpr std::int32_t kSpeechLanguageId = 1049;
// How long Say lets the character speak before it unloads it.
inline constexpr std::chrono::milliseconds kSpeakTime{10000};
// An engine that reports the end of speaking is asked in steps of this length, so that the end
// of the program can cut a long text short.
inline constexpr std::chrono::milliseconds kSpeakWaitStep{100};

// Waits the given time; replaced in tests.
using Sleeper = std::function<void(std::chrono::milliseconds)>;

// The texts of the speech warnings, in the language in use (English until one is set).
struct SpeechWarnings {
  std::string comFailed = "There was an error initializing COM.";
  // "%x" stands for the failure code in hexadecimal; a text without it gets the code after it.
  std::string serverFailed = "There was an error initializing Microsoft Agent, code = 0x%x";
  // Shown when a text given to Speak could not be spoken.
  std::string speakFailed = "Cannot start the speech service! Reinstalling Microsoft Agent may help.";
};

// The server's warning with the failure code put in.
std::string ServerFailedText(const std::string& text, std::uint32_t code);

namespace detail {

// What Say and the workers share. Workers hold it by shared pointer, so it outlives the Speech
// object that created it; once that object is gone the workers no longer touch its flag and
// show no box.
class SpeechCore {
 public:
  SpeechCore(SpeechServer& server, MessageBoxes& messages, std::string applicationTitle,
             std::string executablePath, std::atomic<bool>& agentAvailable, Sleeper sleeper);

  // Speaks `text`, or with `probe` only loads and sets up a character.
  bool Say(const std::string& text, bool probe);
  // The end of a worker: stores the result in the flag and warns when speaking failed.
  void FinishWorker(bool spoke);
  // The owner goes away.
  void Detach();
  // Asks every worker to stop speaking now: a text being spoken is cut short, a wait for the
  // end of one ends, and no worker starts speaking any more.
  void RequestStop();
  bool StopRequested();

  void WorkerStarted();
  void WorkerEnded();
  bool WaitForWorkers(std::chrono::milliseconds timeout);

  void SetWarnings(SpeechWarnings warnings);

 private:
  void ShowError(const std::string& text, bool topMost);
  SpeechWarnings Warnings();
  // True the first time only: at most one speech warning per run.
  bool FirstWarning();
  // The steps after the server object exists; true when all asked for succeeded.
  bool RunSteps(SpeechConnection& server, const std::string& text, bool probe);
  // The speaking time of an engine that does not report its end: the test's sleeper, or a
  // wait that a stop request ends early.
  void WaitWhileSpeaking();

  SpeechServer& server_;
  MessageBoxes& messages_;
  const std::string title_;
  const std::string executablePath_;
  Sleeper sleeper_;

  Mutex mutex_;
  ConditionVariable idle_;
  ConditionVariable stop_;
  bool stopRequested_ = false;
  std::atomic<bool>* agentAvailable_;  // nullptr once the owner is gone
  int runningWorkers_ = 0;
  bool warned_ = false;
  SpeechWarnings warnings_;  // read by the workers, set by the user-interface thread
};

}  // namespace detail

// One spoken text on its own thread. It owns its text, frees itself when its body has run and is
// never waited for.
class TSpeakT {
 public:
  TSpeakT(std::shared_ptr<detail::SpeechCore> core, std::string text);
  TSpeakT(const TSpeakT&) = delete;
  TSpeakT& operator=(const TSpeakT&) = delete;

  // Starts the thread, which then owns this object and deletes it at its end. False when no
  // thread could be started; the caller still owns the object then.
  bool Start();

 private:
  void Execute();

  std::shared_ptr<detail::SpeechCore> core_;
  std::string text_;
};

// Waits until no speech worker of any Speech object runs in the process; false when some still
// run after `timeout`. The program's end uses it to let a spoken text finish briefly, then
// ends without waiting for the rest of it.
bool WaitForAllSpeechWorkers(std::chrono::milliseconds timeout);

class Speech {
 public:
  // The server and the message boxes must outlive every worker; in the program they live as long
  // as the process. `agentAvailable` belongs to the caller (the main window) and is written by
  // every worker while this object lives. `applicationTitle` captions the server's error boxes,
  // `executablePath` the worker's warning. Without a sleeper, waits really sleep (and end
  // early when this object goes away).
  Speech(SpeechServer& server, MessageBoxes& messages, std::string applicationTitle,
         std::string executablePath, std::atomic<bool>& agentAvailable, Sleeper sleeper = {});
  // Running workers stop speaking at once (a long text is cut short) and no longer touch
  // `agentAvailable`; they are given a short moment to end.
  ~Speech();
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Speaks the text (any text, "MSA test" too); true when the server did everything asked.
  // Blocks for up to ten seconds.
  bool Say(const std::string& text);
  // Loads and sets up a character without showing it or speaking: does speech work?
  bool Probe();
  // Returns at once; the text is spoken on a TSpeakT thread. An empty text does nothing.
  void Speak(const std::string& text);

  // Waits until no worker runs (for tests and for an orderly exit); false on timeout.
  bool WaitForWorkers(std::chrono::milliseconds timeout);

  // The warning texts from now on (a worker that shows one reads them when it does).
  void SetWarnings(SpeechWarnings warnings);

 private:
  std::shared_ptr<detail::SpeechCore> core_;
};

}  // namespace vm

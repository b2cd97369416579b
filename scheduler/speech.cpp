#include "scheduler/speech.h"

#include <exception>
#include <optional>
#include <utility>

#include "core/log.h"
#include "core/worker_threads.h"
#include "platform/media_services.h"
#include "core/text_format.h"

namespace vm {

namespace {

// Runs a clean-up step when the scope ends, on every return path.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

// How long a Speech object going away waits for its workers.
constexpr std::chrono::milliseconds kWorkerGrace{200};

// Every worker of the process. Never destroyed: a worker may still run while static objects
// are destroyed at the end of the process.
struct LiveWorkers {
  Mutex mutex;
  ConditionVariable idle;
  int count = 0;
};

LiveWorkers& AllWorkers() {
  static LiveWorkers* workers = new LiveWorkers;
  return *workers;
}

}  // namespace

std::string ServerFailedText(const std::string& text, std::uint32_t code) {
  const std::string hex = FormatText("%x", static_cast<unsigned>(code));
  // The code goes in by replacement, not by formatting: the text comes from a language file.
  const std::size_t at = text.find("%x");
  if (at == std::string::npos) return text + " 0x" + hex;
  return text.substr(0, at) + hex + text.substr(at + 2);
}

namespace detail {

SpeechCore::SpeechCore(SpeechServer& server, MessageBoxes& messages, std::string applicationTitle,
                       std::string executablePath, std::atomic<bool>& agentAvailable,
                       Sleeper sleeper)
    : server_(server),
      messages_(messages),
      title_(std::move(applicationTitle)),
      executablePath_(std::move(executablePath)),
      sleeper_(std::move(sleeper)),
      agentAvailable_(&agentAvailable) {}

bool SpeechCore::FirstWarning() {
  std::lock_guard lock(mutex_);
  if (warned_) return false;
  warned_ = true;
  return true;
}

void SpeechCore::ShowError(const std::string& text, bool topMost) {
  if (!FirstWarning()) return;
  MessageBoxRequest box;
  box.text = text;
  box.caption = title_;
  box.icon = MsgIcon::Error;
  box.topMost = topMost;
  messages_.Show(box);
}

bool SpeechCore::Say(const std::string& text, bool probe) {
  if (text.empty() || StopRequested()) return false;
  WriteLog(" %s:%d %s", "Say", 78, text.c_str());

  if (!SpeechSucceeded(server_.InitCom())) {
    ShowError(Warnings().comFailed, false);
    return false;
  }
  ScopeExit endCom([this] { server_.UninitCom(); });

  SpeechResult code = kSpeechOk;
  std::unique_ptr<SpeechConnection> server = server_.Create(code);
  if (!server || !SpeechSucceeded(code)) {
    if (SpeechSucceeded(code)) code = kSpeechFail;
    server.reset();
    ShowError(ServerFailedText(Warnings().serverFailed, static_cast<std::uint32_t>(code)), true);
    return false;
  }
  WriteLog(" Speech: %s",
           server->Engine() == SpeechEngine::Agent ? "Microsoft Agent" : "SAPI 5");
  if (RunSteps(*server, text, probe)) return true;
  if (server->Engine() != SpeechEngine::Agent) return false;
  // The agent server exists but does not work (no character, the language refused, showing or
  // speaking failed): the other engine takes over.
  server.reset();
  SpeechResult fallbackCode = kSpeechOk;
  std::unique_ptr<SpeechConnection> fallback = server_.CreateFallback(fallbackCode);
  if (!fallback || !SpeechSucceeded(fallbackCode)) return false;
  WriteLog(" Speech: Microsoft Agent failed, SAPI 5 takes over");
  return RunSteps(*fallback, text, probe);
}

bool SpeechCore::RunSteps(SpeechConnection& server, const std::string& text, bool probe) {
  std::int32_t characterId = 0;
  std::int32_t requestId = 0;
  SpeechResult result = server.Load(std::nullopt, characterId, requestId);
  if (!SpeechSucceeded(result))
    result = server.Load(std::string(kGenieCharacterFile), characterId, requestId);
  if (!SpeechSucceeded(result)) return false;
  ScopeExit unload([&] { server.Unload(characterId); });

  if (!SpeechSucceeded(server.GetCharacterEx(characterId))) return false;
  if (!SpeechSucceeded(server.SetLanguageID(kSpeechLanguageId))) return false;
  if (!SpeechSucceeded(server.SetSoundEffectsOn(false))) return false;
  result = server.SetSize(100, 100);

  if (!probe) {
    if (!SpeechSucceeded(server.Show(true))) return false;
    result = server.Speak(text);
    if (!SpeechSucceeded(result)) {
      WriteLog(" Speech: speaking failed, code = 0x%x", static_cast<unsigned>(result));
      return false;
    }
    // The character is unloaded after ten seconds, also in the middle of a longer text, and at
    // once when the program ends. An engine that reports the end of speaking lets a short text
    // end the wait early.
    if (server.CanWaitUntilDone()) {
      const auto step = static_cast<std::uint32_t>(kSpeakWaitStep.count());
      for (auto steps = kSpeakTime / kSpeakWaitStep; steps > 0; --steps)
        if (StopRequested() || server.WaitUntilDone(step)) break;
      server.StopSpeaking();
    } else {
      WaitWhileSpeaking();
    }
    if (StopRequested()) WriteLog(" Speech: cut short, the program ends");
  }
  return SpeechSucceeded(result);
}

void SpeechCore::WaitWhileSpeaking() {
  if (sleeper_) {
    sleeper_(kSpeakTime);
    return;
  }
  UniqueLock lock(mutex_);
  stop_.wait_for(lock, kSpeakTime, [this] { return stopRequested_; });
}

void SpeechCore::RequestStop() {
  std::lock_guard lock(mutex_);
  stopRequested_ = true;
  stop_.notify_all();
}

bool SpeechCore::StopRequested() {
  std::lock_guard lock(mutex_);
  return stopRequested_;
}

void SpeechCore::FinishWorker(bool spoke) {
  UniqueLock lock(mutex_);
  if (!agentAvailable_) return;
  // The flag is stored before the warning is shown, so that it is right while the box waits for
  // the user.
  agentAvailable_->store(spoke);
  lock.unlock();
  if (spoke || !FirstWarning()) return;
  MessageBoxRequest box;
  box.text = Warnings().speakFailed;
  box.caption = executablePath_;
  box.icon = MsgIcon::Warning;
  messages_.Show(box);
}

void SpeechCore::SetWarnings(SpeechWarnings warnings) {
  std::lock_guard lock(mutex_);
  warnings_ = std::move(warnings);
}

SpeechWarnings SpeechCore::Warnings() {
  std::lock_guard lock(mutex_);
  return warnings_;
}

void SpeechCore::Detach() {
  std::lock_guard lock(mutex_);
  agentAvailable_ = nullptr;
}

void SpeechCore::WorkerStarted() {
  {
    std::lock_guard lock(mutex_);
    ++runningWorkers_;
  }
  LiveWorkers& all = AllWorkers();
  std::lock_guard lock(all.mutex);
  ++all.count;
}

void SpeechCore::WorkerEnded() {
  {
    std::lock_guard lock(mutex_);
    --runningWorkers_;
    idle_.notify_all();
  }
  LiveWorkers& all = AllWorkers();
  std::lock_guard lock(all.mutex);
  --all.count;
  all.idle.notify_all();
}

bool SpeechCore::WaitForWorkers(std::chrono::milliseconds timeout) {
  UniqueLock lock(mutex_);
  return idle_.wait_for(lock, timeout, [this] { return runningWorkers_ == 0; });
}

}  // namespace detail

TSpeakT::TSpeakT(std::shared_ptr<detail::SpeechCore> core, std::string text)
    : core_(std::move(core)), text_(std::move(text)) {}

bool TSpeakT::Start() {
  return WorkerThreads::Process().Start([this] {
    std::unique_ptr<TSpeakT> self(this);
    self->Execute();
  });
}

void TSpeakT::Execute() {
  bool spoke = false;
  try {
    spoke = core_->Say(text_, false);
  } catch (...) {
    // Nothing may escape a thread; a failure inside counts as not spoken.
  }
  try {
    core_->FinishWorker(spoke);
  } catch (...) {
  }
  core_->WorkerEnded();
}

Speech::Speech(SpeechServer& server, MessageBoxes& messages, std::string applicationTitle,
               std::string executablePath, std::atomic<bool>& agentAvailable, Sleeper sleeper)
    : core_(std::make_shared<detail::SpeechCore>(server, messages, std::move(applicationTitle),
                                                 std::move(executablePath), agentAvailable,
                                                 std::move(sleeper))) {}

Speech::~Speech() {
  core_->Detach();
  core_->RequestStop();
  core_->WaitForWorkers(kWorkerGrace);
}

bool WaitForAllSpeechWorkers(std::chrono::milliseconds timeout) {
  LiveWorkers& all = AllWorkers();
  UniqueLock lock(all.mutex);
  return all.idle.wait_for(lock, timeout, [&] { return all.count == 0; });
}

bool Speech::Say(const std::string& text) { return core_->Say(text, false); }

bool Speech::Probe() { return core_->Say(kSpeechProbeText, true); }

void Speech::Speak(const std::string& text) {
  if (text.empty()) return;
  WriteLog(" %s:%d %s", "Speak", 226, text.c_str());
  core_->WorkerStarted();
  auto worker = std::make_unique<TSpeakT>(core_, text);
  if (worker->Start()) {
    (void)worker.release();  // the thread owns it now
    return;
  }
  core_->WorkerEnded();
  WriteLog(" Speak: no thread could be started");
}

bool Speech::WaitForWorkers(std::chrono::milliseconds timeout) {
  return core_->WaitForWorkers(timeout);
}

void Speech::SetWarnings(SpeechWarnings warnings) { core_->SetWarnings(std::move(warnings)); }

}  // namespace vm

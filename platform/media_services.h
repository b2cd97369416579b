#pragma once
// Sound and speech services: the multimedia control interface (MCI) driven by command strings,
// short path names, and the speech server. The real implementations are in mci_win32.cpp and
// speech_win32.cpp; the tests bring fakes. Texts are UTF-8.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/services.h"

namespace vm {

// MCI completion codes (the wParam of the notification message).
inline constexpr std::uint32_t kMciNotifySuccessful = 1;
inline constexpr std::uint32_t kMciNotifySuperseded = 2;
inline constexpr std::uint32_t kMciNotifyAborted = 4;
inline constexpr std::uint32_t kMciNotifyFailure = 8;

// The multimedia control interface.
class Mci {
 public:
  virtual ~Mci() = default;
  // Sends a command string with no return buffer. When the command asks for "notify", the
  // completion notice goes to `notifyWindow` (0: none). 0 on success, otherwise the MCI error
  // code.
  virtual std::uint32_t SendCommand(const std::string& command, WindowId notifyWindow) = 0;
  // Sends a command that answers with a text ("status song position"); the answer goes to
  // `reply` (emptied on failure). 0 on success, otherwise the MCI error code.
  virtual std::uint32_t QueryCommand(const std::string& command, std::string& reply) = 0;
  // The system's description of an MCI error code; empty when it has none.
  virtual std::string ErrorText(std::uint32_t error) = 0;
};

// Short (8.3) path names.
class ShortPaths {
 public:
  virtual ~ShortPaths() = default;
  // The short form of an existing path, at most 255 characters. Nothing when the file does not
  // exist or the short form would be longer. On volumes without short names the system may
  // hand back the long path unchanged.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
};

// Result codes of the speech calls, with the meaning of COM's HRESULT: negative is a failure.
using SpeechResult = std::int32_t;
inline constexpr SpeechResult kSpeechOk = 0;
inline constexpr SpeechResult kSpeechFail = static_cast<SpeechResult>(0x80004005u);  // E_FAIL
inline bool SpeechSucceeded(SpeechResult result) { return result >= 0; }

// Which engine serves a connection.
enum class SpeechEngine { Agent, Sapi };

// One speech server object with at most one loaded character, used by one thread. Destroying it
// releases the server object.
class SpeechConnection {
 public:
  virtual ~SpeechConnection() = default;
  virtual SpeechEngine Engine() const = 0;
  // Loads a character: the default one when `characterFile` is empty, else the file.
  virtual SpeechResult Load(const std::optional<std::string>& characterFile,
                            std::int32_t& characterId, std::int32_t& requestId) = 0;
  // Fetches the character object of a loaded character.
  virtual SpeechResult GetCharacterEx(std::int32_t characterId) = 0;
  // The calls on the character object (after GetCharacterEx).
  virtual SpeechResult SetLanguageID(std::int32_t languageId) = 0;
  virtual SpeechResult SetSoundEffectsOn(bool on) = 0;
  virtual SpeechResult SetSize(std::int32_t width, std::int32_t height) = 0;
  virtual SpeechResult Show(bool fast) = 0;
  // Queues the text; speaking goes on after the call returns.
  virtual SpeechResult Speak(const std::string& text) = 0;
  // True when the engine reports the end of speaking, so that WaitUntilDone can wait for it;
  // otherwise the caller can only wait a fixed time.
  virtual bool CanWaitUntilDone() const = 0;
  // Waits at most `milliseconds` for the queued speech to end; true when it ended.
  virtual bool WaitUntilDone(std::uint32_t milliseconds) = 0;
  // Drops whatever is still queued or being spoken.
  virtual void StopSpeaking() = 0;
  // Releases the character object and unloads the character from the server.
  virtual SpeechResult Unload(std::int32_t characterId) = 0;
};

// The speech server. Stateless apart from the COM use of the calling thread, so one instance
// serves every thread; each caller gets its own connection.
class SpeechServer {
 public:
  virtual ~SpeechServer() = default;
  // COM for the calling thread; every successful InitCom is balanced by one UninitCom.
  virtual SpeechResult InitCom() = 0;
  virtual void UninitCom() = 0;
  // Creates the server object. `code` receives the result; nullptr when creation failed.
  virtual std::unique_ptr<SpeechConnection> Create(SpeechResult& code) = 0;
  // A second engine to take over when a connection of the first fails at any step; nullptr
  // (the default) when there is none.
  virtual std::unique_ptr<SpeechConnection> CreateFallback(SpeechResult& code) {
    (void)code;
    return nullptr;
  }
};

}  // namespace vm

#pragma once
// The real sound and speech services: MCI command strings through mciSendStringW, short paths
// through GetShortPathNameW, and speech through the Microsoft Agent server where it is still
// installed, otherwise through SAPI 5.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/media_services.h"

namespace vm {

class Win32Mci : public Mci {
 public:
  std::uint32_t SendCommand(const std::string& command, WindowId notifyWindow) override;
  // Answers longer than 255 characters are cut there.
  std::uint32_t QueryCommand(const std::string& command, std::string& reply) override;
  std::string ErrorText(std::uint32_t error) override;
};

class Win32ShortPaths : public ShortPaths {
 public:
  std::optional<std::string> ShortPath(const std::string& path) override;
};

// Holds no state of its own (the COM use is per thread), so one instance serves every thread
// for the life of the process.
class Win32SpeechServer : public SpeechServer {
 public:
  SpeechResult InitCom() override;
  void UninitCom() override;
  // The Microsoft Agent server first; where its class is gone (Windows 8 and later, Wine) a
  // SAPI 5 voice serves the same calls. `code` is the SAPI failure when neither can be created.
  std::unique_ptr<SpeechConnection> Create(SpeechResult& code) override;
  // SAPI 5, when the agent server was created but failed later on.
  std::unique_ptr<SpeechConnection> CreateFallback(SpeechResult& code) override;
  // Each engine on its own, for tests: the Agent server or the SAPI voice, nothing else.
  std::unique_ptr<SpeechConnection> CreateAgent(SpeechResult& code);
  std::unique_ptr<SpeechConnection> CreateSapi(SpeechResult& code);
};

}  // namespace vm

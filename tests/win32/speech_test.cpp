// Speech against the real COM servers: the retired Agent server and the SAPI 5 voice that stands
// in for it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/log.h"
#include "fakes/media_fakes.h"
#include "platform/media_win32.h"
#include "scheduler/speech.h"

namespace vm {
namespace {

constexpr SpeechResult kClassNotRegistered = static_cast<SpeechResult>(0x80040154u);
constexpr SpeechResult kNotImplemented = static_cast<SpeechResult>(0x80004001u);

std::string Hex(SpeechResult code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(code));
  return text;
}

// COM for the test's thread, with the server's own calls.
class ComScope {
 public:
  explicit ComScope(Win32SpeechServer& server) : server_(server), code_(server.InitCom()) {}
  ~ComScope() {
    if (SpeechSucceeded(code_)) server_.UninitCom();
  }
  bool Ok() const { return SpeechSucceeded(code_); }

 private:
  Win32SpeechServer& server_;
  SpeechResult code_;
};

TEST(SpeechServerWin32Test, RetiredAgentGivesWayToSapi) {
  Win32SpeechServer server;
  ComScope com(server);
  ASSERT_TRUE(com.Ok());

  SpeechResult code = 0;
  if (server.CreateAgent(code)) GTEST_SKIP() << "the Microsoft Agent server is installed here";
  EXPECT_EQ(code, kClassNotRegistered) << Hex(code);

  auto connection = server.Create(code);
  if (!connection) GTEST_SKIP() << "SAPI 5 cannot be created here: " << Hex(code);
  EXPECT_EQ(connection->Engine(), SpeechEngine::Sapi);

  std::int32_t id = 0;
  std::int32_t request = 0;
  EXPECT_TRUE(SpeechSucceeded(connection->Load(std::nullopt, id, request)));
  EXPECT_TRUE(SpeechSucceeded(connection->GetCharacterEx(id)));
  // A language without an installed voice keeps the default voice.
  EXPECT_TRUE(SpeechSucceeded(connection->SetLanguageID(kSpeechLanguageId)));
  EXPECT_TRUE(SpeechSucceeded(connection->SetSize(100, 100)));
  EXPECT_TRUE(SpeechSucceeded(connection->Unload(id)));
}

TEST(SpeechServerWin32Test, ProbeSucceedsThroughSapi) {
  Win32SpeechServer server;
  bool agentInstalled = false;
  {
    ComScope com(server);
    ASSERT_TRUE(com.Ok());
    SpeechResult code = 0;
    agentInstalled = server.CreateAgent(code) != nullptr;
    if (!agentInstalled && !server.CreateSapi(code))
      GTEST_SKIP() << "SAPI 5 cannot be created here: " << Hex(code);
  }
  ScopedLogCapture log;
  fakes::LockedMessageBoxes boxes;
  std::atomic<bool> available{false};
  Speech speech(server, boxes, "Vemtaro", "vemtaro.exe", available);

  EXPECT_TRUE(speech.Probe());
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_TRUE(log.Contains(agentInstalled ? " Speech: Microsoft Agent" : " Speech: SAPI 5"));
}

TEST(SpeechServerWin32Test, SapiSpeaksAndStops) {
  Win32SpeechServer server;
  ComScope com(server);
  ASSERT_TRUE(com.Ok());
  SpeechResult code = 0;
  auto connection = server.CreateSapi(code);
  if (!connection) GTEST_SKIP() << "SAPI 5 cannot be created here: " << Hex(code);

  SpeechResult spoken = connection->Speak("Vemtaro");
  if (spoken == kNotImplemented)
    GTEST_SKIP() << "ISpVoice::Speak returns E_NOTIMPL under Wine: speech cannot be heard here";
  ASSERT_TRUE(SpeechSucceeded(spoken)) << Hex(spoken);
  EXPECT_TRUE(connection->WaitUntilDone(10000));
  connection->StopSpeaking();
}

}  // namespace
}  // namespace vm

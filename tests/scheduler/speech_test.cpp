#include "scheduler/speech.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/log.h"
#include "fakes/media_fakes.h"

namespace vm {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::chrono_literals;

constexpr const char* kExePath = "C:\\Program Files\\Vemtaro\\vemtaro.exe";
constexpr const char* kWarning = "Cannot start the speech service! Reinstalling Microsoft Agent may help.";
constexpr SpeechResult kClassNotRegistered = static_cast<SpeechResult>(0x80040154u);

class SpeechTest : public ::testing::Test {
 protected:
  std::vector<std::chrono::milliseconds> Sleeps() {
    std::lock_guard lock(sleepMutex);
    return sleeps;
  }

  ScopedLogCapture log;
  fakes::ScriptedSpeechServer server;
  fakes::LockedMessageBoxes boxes;
  std::atomic<bool> available{false};
  std::mutex sleepMutex;
  std::vector<std::chrono::milliseconds> sleeps;
  Speech speech{server, boxes, "Vemtaro", kExePath, available,
                [this](std::chrono::milliseconds t) {
                  std::lock_guard lock(sleepMutex);
                  sleeps.push_back(t);
                }};
};

// --- Say -------------------------------------------------------------------------------------

TEST_F(SpeechTest, SaySpeaksThroughTheAgentAndWaitsTenSeconds) {
  EXPECT_TRUE(speech.Say("Time to go"));
  EXPECT_THAT(server.Calls(),
              ElementsAre("InitCom", "Create", "Load default", "GetCharacterEx 5",
                          "SetLanguageID 1049", "SetSoundEffectsOn 0", "SetSize 100x100", "Show 1",
                          "Speak Time to go", "Unload 5", "Release", "UninitCom"));
  EXPECT_THAT(Sleeps(), ElementsAre(10000ms));
  EXPECT_THAT(log.Messages(), ElementsAre(" Say:78 Time to go", " Speech: Microsoft Agent"));
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

TEST_F(SpeechTest, EngineThatReportsTheEndWaitsForItAndStops) {
  server.engine = SpeechEngine::Sapi;
  server.canWaitUntilDone = true;
  EXPECT_TRUE(speech.Say("Time to go"));
  EXPECT_THAT(server.Calls(),
              ElementsAre("InitCom", "Create", "Load default", "GetCharacterEx 5",
                          "SetLanguageID 1049", "SetSoundEffectsOn 0", "SetSize 100x100", "Show 1",
                          "Speak Time to go", "WaitUntilDone 100", "StopSpeaking", "Unload 5",
                          "Release", "UninitCom"));
  EXPECT_THAT(Sleeps(), IsEmpty());
  EXPECT_TRUE(log.Contains(" Speech: SAPI 5"));
}

TEST_F(SpeechTest, ProbeNeitherShowsNorSpeaksNorWaits) {
  server.canWaitUntilDone = true;
  EXPECT_TRUE(speech.Probe());
  EXPECT_THAT(server.Calls(),
              ElementsAre("InitCom", "Create", "Load default", "GetCharacterEx 5",
                          "SetLanguageID 1049", "SetSoundEffectsOn 0", "SetSize 100x100",
                          "Unload 5", "Release", "UninitCom"));
  EXPECT_THAT(Sleeps(), IsEmpty());
}

TEST_F(SpeechTest, SizeResultDecidesTheProbeButNotASpokenText) {
  server.Fail("SetSize");
  EXPECT_FALSE(speech.Probe());
  EXPECT_EQ(server.CountOf("Unload 5"), 1);

  // A spoken text overwrites the size result with the speak result.
  EXPECT_TRUE(speech.Say("Hello"));
  EXPECT_EQ(server.CountOf("Speak Hello"), 1);
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

TEST_F(SpeechTest, MissingDefaultCharacterFallsBackToGenie) {
  server.Fail("Load default");
  EXPECT_TRUE(speech.Probe());
  EXPECT_THAT(server.Calls(),
              ElementsAre("InitCom", "Create", "Load default",
                          "Load \\program files\\microsoft agent\\characters\\genie.acs",
                          "GetCharacterEx 9", "SetLanguageID 1049", "SetSoundEffectsOn 0",
                          "SetSize 100x100", "Unload 9", "Release", "UninitCom"));
}

TEST_F(SpeechTest, NoCharacterAtAllFailsAndReleasesTheServer) {
  server.Fail("Load default");
  server.Fail("Load file");
  EXPECT_FALSE(speech.Say("Hello"));
  EXPECT_THAT(server.Calls(),
              ElementsAre("InitCom", "Create", "Load default",
                          "Load \\program files\\microsoft agent\\characters\\genie.acs",
                          "Release", "UninitCom"));
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

// Each later step failing: false, no box, nothing after the failing call but the clean-up.
class SpeechStepFailure : public SpeechTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SpeechStepFailure, ReturnsFalseAndCleansUp) {
  const std::string step = GetParam();
  server.Fail(step);
  EXPECT_FALSE(speech.Say("Hello"));

  std::vector<std::string> calls = server.Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[calls.size() - 4].rfind(step, 0), 0u) << calls[calls.size() - 4];
  EXPECT_THAT(std::vector<std::string>(calls.end() - 3, calls.end()),
              ElementsAre("Unload 5", "Release", "UninitCom"));
  EXPECT_THAT(Sleeps(), IsEmpty());
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, SpeechStepFailure,
                         ::testing::Values("GetCharacterEx", "SetLanguageID", "SetSoundEffectsOn",
                                           "Show", "Speak"));

TEST_F(SpeechTest, ComFailureShowsItsBox) {
  server.Fail("InitCom", static_cast<SpeechResult>(0x8007000Eu));
  EXPECT_FALSE(speech.Probe());
  EXPECT_THAT(server.Calls(), ElementsAre("InitCom"));  // nothing to end
  auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "There was an error initializing COM.");
  EXPECT_EQ(shown[0].caption, "Vemtaro");
  EXPECT_EQ(shown[0].icon, MsgIcon::Error);
  EXPECT_EQ(shown[0].owner, 0u);
  EXPECT_FALSE(shown[0].topMost);
}

TEST_F(SpeechTest, MissingServerShowsTheCodeInHexOnTop) {
  server.Fail("Create", kClassNotRegistered);
  EXPECT_FALSE(speech.Probe());
  EXPECT_THAT(server.Calls(), ElementsAre("InitCom", "Create", "UninitCom"));
  auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "There was an error initializing Microsoft Agent, code = 0x80040154");
  EXPECT_EQ(shown[0].caption, "Vemtaro");
  EXPECT_EQ(shown[0].icon, MsgIcon::Error);
  EXPECT_EQ(shown[0].owner, 0u);
  EXPECT_TRUE(shown[0].topMost);
}

TEST_F(SpeechTest, EmptyTextDoesNothing) {
  EXPECT_FALSE(speech.Say(""));
  speech.Speak("");
  EXPECT_TRUE(speech.WaitForWorkers(0ms));  // no worker was started
  EXPECT_THAT(server.Calls(), IsEmpty());
  EXPECT_THAT(log.Messages(), IsEmpty());
}

// --- Speak and its worker ----------------------------------------------------------------------

TEST_F(SpeechTest, SpeakRunsSayOnAWorkerAndSetsTheFlag) {
  const auto caller = std::this_thread::get_id();
  std::thread::id speaker;
  server.onSpeak = [&](const std::string&) { speaker = std::this_thread::get_id(); };

  speech.Speak("Lunch");
  ASSERT_TRUE(speech.WaitForWorkers(5s));
  EXPECT_NE(speaker, caller);
  EXPECT_TRUE(available.load());
  EXPECT_THAT(log.Messages(),
              ElementsAre(" Speak:226 Lunch", " Say:78 Lunch", " Speech: Microsoft Agent"));
  EXPECT_THAT(Sleeps(), ElementsAre(10000ms));
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

TEST_F(SpeechTest, FailedWorkerClearsTheFlagThenWarns) {
  available = true;
  server.Fail("Speak");
  bool flagWhileBoxOpen = true;
  boxes.onShow = [&](const MessageBoxRequest&) { flagWhileBoxOpen = available.load(); };

  speech.Speak("Lunch");
  ASSERT_TRUE(speech.WaitForWorkers(5s));
  EXPECT_FALSE(available.load());
  EXPECT_FALSE(flagWhileBoxOpen);
  auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, kWarning);
  EXPECT_EQ(shown[0].caption, kExePath);
  EXPECT_EQ(shown[0].icon, MsgIcon::Warning);
  EXPECT_EQ(shown[0].owner, 0u);
}

// The worker's warning is in the language in use: the texts set last, read when the box is shown.
TEST_F(SpeechTest, TheWorkersWarningIsInTheTextsSetLast) {
  SpeechWarnings russian;
  russian.speakFailed = "\xD0\xA1\xD0\xBB\xD1\x83\xD0\xB6\xD0\xB1\xD0\xB0";  // Служба
  speech.SetWarnings(russian);
  server.Fail("Speak");
  speech.Speak("Lunch");
  ASSERT_TRUE(speech.WaitForWorkers(5s));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, russian.speakFailed);
}

TEST(SpeechWarningText, TheCodeGoesInByReplacementOnly) {
  EXPECT_EQ(ServerFailedText("code = 0x%x!", 0x80040154u), "code = 0x80040154!");
  EXPECT_EQ(ServerFailedText("no place for it", 0x1Fu), "no place for it 0x1f");
  // A language file's text is never a format: other conversions stay as they are.
  EXPECT_EQ(ServerFailedText("%s %n %x %x", 7u), "%s %n 7 %x");
  EXPECT_EQ(ServerFailedText("", 0u), " 0x0");
}

TEST_F(SpeechTest, TwoWorkersSpeakAtTheSameTime) {
  std::mutex m;
  std::condition_variable cv;
  int inside = 0;
  bool bothInside = true;
  // Each worker waits inside Speak until the other arrives: serialized workers would time out.
  server.onSpeak = [&](const std::string&) {
    std::unique_lock lock(m);
    ++inside;
    cv.notify_all();
    if (!cv.wait_for(lock, 5s, [&] { return inside == 2; })) bothInside = false;
  };

  speech.Speak("Hourly time");
  speech.Speak("Task message");
  ASSERT_TRUE(speech.WaitForWorkers(10s));
  EXPECT_TRUE(bothInside);
  EXPECT_TRUE(available.load());
  EXPECT_EQ(server.CountOf("Create"), 2);
  EXPECT_EQ(server.CountOf("Release"), 2);
  EXPECT_EQ(server.CountOf("UninitCom"), 2);
  EXPECT_THAT(server.Calls(), Contains("Speak Hourly time"));
  EXPECT_THAT(server.Calls(), Contains("Speak Task message"));
  EXPECT_EQ(Sleeps().size(), 2u);
}

TEST(SpeechWorkerTest, WorkerOutlivingItsOwnerTouchesNothingOfIt) {
  fakes::ScriptedSpeechServer server;
  fakes::LockedMessageBoxes boxes;
  std::atomic<bool> available{true};
  server.Fail("Speak");
  std::mutex m;
  std::condition_variable cv;
  bool inSpeak = false;
  bool ownerGone = false;
  server.onSpeak = [&](const std::string&) {
    std::unique_lock lock(m);
    inSpeak = true;
    cv.notify_all();
    cv.wait_for(lock, 5s, [&] { return ownerGone; });
  };

  auto core = std::make_shared<detail::SpeechCore>(server, boxes, "Vemtaro", kExePath, available,
                                                   [](std::chrono::milliseconds) {});
  core->WorkerStarted();
  auto worker = std::make_unique<TSpeakT>(core, "Lunch");
  ASSERT_TRUE(worker->Start());
  (void)worker.release();
  {
    std::unique_lock lock(m);
    ASSERT_TRUE(cv.wait_for(lock, 5s, [&] { return inSpeak; }));
    core->Detach();  // what the owner's destructor does
    ownerGone = true;
    cv.notify_all();
  }
  ASSERT_TRUE(core->WaitForWorkers(5s));
  EXPECT_TRUE(available.load());  // the failure was not stored
  EXPECT_THAT(boxes.Shown(), IsEmpty());
  EXPECT_EQ(server.CountOf("Speak Lunch"), 1);
  EXPECT_EQ(server.CountOf("UninitCom"), 1);
}

// --- the other engine and the one warning -----------------------------------------------------

// The agent server exists but fails later on: SAPI speaks instead, whatever step failed.
TEST_F(SpeechTest, FallbackEngineTakesOverWhenTheAgentFailsAtAnyStep) {
  for (const char* step : {"Load default", "SetLanguageID", "Show", "Speak"}) {
    SCOPED_TRACE(step);
    fakes::ScriptedSpeechServer agent;
    agent.fallbackWorks = true;
    agent.Fail(step);
    if (std::string(step) == "Load default") agent.Fail("Load file");
    std::atomic<bool> flag{false};
    Speech own(agent, boxes, "Vemtaro", "C:\\Vemtaro\\vemtaro.exe", flag,
               [](std::chrono::milliseconds) {});
    EXPECT_TRUE(own.Say("Lunch"));
    EXPECT_EQ(agent.CountOf("Sapi Speak Lunch"), 1);
    EXPECT_TRUE(own.Probe());
  }
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

// A message that happens to be the probe's text is spoken like any other.
TEST_F(SpeechTest, TaskMessageThatReadsLikeTheProbeIsSpoken) {
  EXPECT_TRUE(speech.Say("MSA test"));
  EXPECT_EQ(server.CountOf("Speak MSA test"), 1);
  EXPECT_EQ(server.CountOf("Show 1"), 1);
  speech.Speak("MSA test");
  ASSERT_TRUE(speech.WaitForWorkers(5s));
  EXPECT_EQ(server.CountOf("Speak MSA test"), 2);
}

// No way of speaking works: one warning in the whole run, not one per hourly announcement.
TEST_F(SpeechTest, OneWarningPerRunWhenNothingSpeaks) {
  server.Fail("Speak");
  speech.Probe();  // the probe does not speak, so it succeeds and warns of nothing
  for (int hour = 0; hour < 3; ++hour) {
    speech.Speak("It is " + std::to_string(hour) + " o'clock");
    ASSERT_TRUE(speech.WaitForWorkers(5s));
  }
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_FALSE(available.load());

  fakes::ScriptedSpeechServer missing;
  missing.Fail("Create", kClassNotRegistered);
  fakes::LockedMessageBoxes otherBoxes;
  std::atomic<bool> flag{true};
  Speech none(missing, otherBoxes, "Vemtaro", "C:\\Vemtaro\\vemtaro.exe", flag,
              [](std::chrono::milliseconds) {});
  EXPECT_FALSE(none.Probe());
  for (int hour = 0; hour < 3; ++hour) {
    none.Speak("tick");
    ASSERT_TRUE(none.WaitForWorkers(5s));
  }
  EXPECT_EQ(otherBoxes.Shown().size(), 1u);
  EXPECT_FALSE(flag.load());
}

// --- the end of the program with a text being spoken ------------------------------------------

// A text longer than ten seconds: the engine is asked in steps, and after ten seconds in all it
// is stopped as before.
TEST_F(SpeechTest, LongTextIsWaitedForInStepsForTenSecondsAtMost) {
  server.engine = SpeechEngine::Sapi;
  server.canWaitUntilDone = true;
  server.onWaitUntilDone = [](std::uint32_t) { return false; };  // still speaking
  EXPECT_TRUE(speech.Say("A long story"));
  EXPECT_EQ(server.CountOf("WaitUntilDone 100"), 100);
  auto calls = server.Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(calls.end() - 4, calls.end()),
              ElementsAre("StopSpeaking", "Unload 5", "Release", "UninitCom"));
}

// Runs one spoken text on a worker of its own Speech object (real waits, no sleeper), destroys
// that object once the worker is speaking, and returns how long the worker then took to end.
std::chrono::milliseconds EndWhileSpeaking(fakes::ScriptedSpeechServer& server,
                                           fakes::LockedMessageBoxes& boxes,
                                           std::atomic<bool>& available) {
  std::mutex m;
  std::condition_variable cv;
  bool speaking = false;
  server.onSpeak = [&](const std::string&) {
    std::lock_guard lock(m);
    speaking = true;
    cv.notify_all();
  };
  auto speech = std::make_unique<Speech>(server, boxes, "Vemtaro", kExePath, available);
  speech->Speak("A story much longer than ten seconds");
  {
    std::unique_lock lock(m);
    EXPECT_TRUE(cv.wait_for(lock, 5s, [&] { return speaking; }));
  }
  std::this_thread::sleep_for(150ms);  // well inside the text
  const auto closed = std::chrono::steady_clock::now();
  speech.reset();
  EXPECT_TRUE(WaitForAllSpeechWorkers(5s));
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               closed);
}

TEST(SpeechEndTest, TheEndOfTheProgramCutsALongSapiTextShort) {
  ScopedLogCapture log;
  fakes::ScriptedSpeechServer server;
  fakes::LockedMessageBoxes boxes;
  std::atomic<bool> available{false};
  server.engine = SpeechEngine::Sapi;
  server.canWaitUntilDone = true;
  server.onWaitUntilDone = [](std::uint32_t ms) {  // speaks on for the whole step
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return false;
  };
  auto took = EndWhileSpeaking(server, boxes, available);
  EXPECT_LT(took, 500ms);
  EXPECT_LE(server.CountOf("WaitUntilDone 100"), 10);  // not the whole ten seconds
  auto calls = server.Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(calls.end() - 4, calls.end()),
              ElementsAre("StopSpeaking", "Unload 5", "Release", "UninitCom"));
  EXPECT_TRUE(log.Contains(" Speech: cut short, the program ends"));
  EXPECT_THAT(boxes.Shown(), IsEmpty());
}

TEST(SpeechEndTest, TheEndOfTheProgramEndsTheAgentsTenSecondWait) {
  fakes::ScriptedSpeechServer server;
  fakes::LockedMessageBoxes boxes;
  std::atomic<bool> available{false};
  auto took = EndWhileSpeaking(server, boxes, available);
  EXPECT_LT(took, 500ms);
  auto calls = server.Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_THAT(std::vector<std::string>(calls.end() - 3, calls.end()),
              ElementsAre("Unload 5", "Release", "UninitCom"));
  EXPECT_THAT(boxes.Shown(), IsEmpty());
  EXPECT_FALSE(available.load());  // the owner was gone: nothing stored
}

TEST_F(SpeechTest, FailedSpeakingIsLoggedWithItsCode) {
  server.Fail("Speak", static_cast<SpeechResult>(0x80004001u));
  EXPECT_FALSE(speech.Say("Hello"));
  EXPECT_TRUE(log.Contains(" Speech: speaking failed, code = 0x80004001"));
}

}  // namespace
}  // namespace vm

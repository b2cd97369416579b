// Sound playback against the real multimedia control interface.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/platform_fakes.h"
#include "notify_window_win32.h"
#include "platform/media_win32.h"
#include "scheduler/sound.h"
#include "services_test_support_win32.h"

namespace vm {
namespace {

// A mono 8-bit PCM WAV file of `milliseconds` of a square tone at 8 kHz.
std::vector<std::uint8_t> ToneWav(int milliseconds) {
  const std::uint32_t rate = 8000;
  const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
  std::vector<std::uint8_t> bytes;
  auto text = [&](const char* s) { bytes.insert(bytes.end(), s, s + 4); };
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  text("RIFF");
  u32(36 + samples);
  text("WAVE");
  text("fmt ");
  u32(16);
  u16(1);     // PCM
  u16(1);     // mono
  u32(rate);  // samples per second
  u32(rate);  // bytes per second
  u16(1);     // block align
  u16(8);     // bits per sample
  text("data");
  u32(samples);
  for (std::uint32_t i = 0; i < samples; ++i) bytes.push_back((i / 10) % 2 ? 0xC0 : 0x40);
  return bytes;
}

// True when Wine's sound output goes to the ALSA null device (the home folder holds an
// .asoundrc saying so): only then does playing end with the success notice. Wine names the Unix
// home folder in WINEHOMEDIR, as \??\Z:\home\user; Windows itself has no such variable.
bool NullSoundDevice() {
  const char* home = std::getenv("WINEHOMEDIR");
  if (home == nullptr) return false;
  std::string path = home;
  if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
  auto bytes = Win32FileSystem().ReadFile(path + "\\.asoundrc");
  return bytes && std::string(bytes->begin(), bytes->end()).find("type null") != std::string::npos;
}

class MciTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Created());
    player.SetNotifyWindow(window.Id());
  }
  void TearDown() override { player.CloseSong(); }  // the folder cannot go while the file is open

  std::string WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    EXPECT_TRUE(Win32FileSystem().ReplaceFile(path, bytes)) << path;
    return path;
  }
  std::string Position() {
    std::string reply;
    std::uint32_t error = mci.QueryCommand("status song position", reply);
    return error == 0 ? reply : "error " + std::to_string(error);
  }

  win32test::ScratchFolder folder;
  win32test::NotifyWindow window;
  Win32Mci mci;
  Win32ShortPaths shortPaths;
  fakes::ScriptedMessageBoxes boxes;
  SoundPlayer player{mci, shortPaths, boxes};
};

TEST_F(MciTest, PlaysToTheEndNotifiesAndRewinds) {
  const std::string path = WriteFile(folder.File("tone.wav"), ToneWav(300));
  ASSERT_FALSE(player.OpenSong(path));
  EXPECT_EQ(Position(), "0");

  player.PlaySong();
  std::optional<std::uint32_t> code = window.WaitForNotice(10000);
  ASSERT_TRUE(code.has_value()) << "no MM_MCINOTIFY within 10 s";
  if (NullSoundDevice()) {
    EXPECT_EQ(*code, kMciNotifySuccessful);
    EXPECT_NE(Position(), "0");  // it stands at the end now
  } else {
    // Without a sound device Wine ends the play with a failure notice.
    EXPECT_TRUE(*code == kMciNotifySuccessful || *code == kMciNotifyFailure) << *code;
  }
  player.OnMciNotify(*code);
  EXPECT_EQ(Position(), "0");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MciTest, PauseAndResumeKeepThePlaysOneCompletionNotice) {
  if (!NullSoundDevice()) GTEST_SKIP() << "without a sound device Wine ends every play with a failure notice";
  const std::string path = WriteFile(folder.File("long tone.wav"), ToneWav(4000));
  ASSERT_FALSE(player.OpenSong(path));
  player.PlaySong();
  player.PauseSong();
  const std::string paused = Position();
  // The null device plays faster than real time; a machine that stalls for a second here lets
  // the play end before the pause reaches it.
  if (paused == "4000") GTEST_SKIP() << "the play had ended before the pause";
  EXPECT_FALSE(window.WaitForNotice(500).has_value()) << "a notice while paused";
  // Wine's position runs on by what the device had taken before the pause, not to the end.
  EXPECT_NE(Position(), "4000");
  player.ResumeSong();
  std::optional<std::uint32_t> code = window.WaitForNotice(20000);
  ASSERT_TRUE(code.has_value()) << "the resumed play ended without its notice";
  EXPECT_EQ(*code, kMciNotifySuccessful);
  EXPECT_EQ(Position(), "4000");  // at the end: the notice came when the play ended
}

TEST_F(MciTest, PathWithBlankOpensThroughItsShortForm) {
  const std::string sub = folder.File("sound dir");
  ASSERT_TRUE(win32test::MakeFolder(sub));
  const std::string path = WriteFile(sub + "\\ring tone.wav", ToneWav(200));

  std::optional<std::string> shortForm = shortPaths.ShortPath(path);
  ASSERT_TRUE(shortForm.has_value());
  EXPECT_EQ(shortForm->find(' '), std::string::npos) << *shortForm;

  EXPECT_FALSE(player.OpenSong(path));
  EXPECT_EQ(Position(), "0");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MciTest, MissingFileFailsWithoutMessage) {
  for (const std::string& path : {folder.File("gone.wav"), std::string("System Beep"),
                                 std::string()}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(player.OpenSong(path));
    EXPECT_NE(Position(), "0");  // the alias is not open
    EXPECT_FALSE(shortPaths.ShortPath(path).has_value());
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MciTest, OpeningAgainRewindsTheOpenSound) {
  const std::string path = WriteFile(folder.File("tone.wav"), ToneWav(300));
  ASSERT_FALSE(player.OpenSong(path));
  ASSERT_EQ(mci.SendCommand("seek song to end", 0), 0u);
  EXPECT_NE(Position(), "0");

  EXPECT_FALSE(player.OpenSong(path));  // the alias is taken: only the rewind succeeds
  EXPECT_EQ(Position(), "0");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MciTest, UnplayableFileShowsItsShortPath) {
  const std::string text = "not a sound";
  const std::string path =
      WriteFile(folder.File("read me.txt"), std::vector<std::uint8_t>(text.begin(), text.end()));

  EXPECT_TRUE(player.OpenSong(path));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, shortPaths.ShortPath(path).value_or("?"));
  EXPECT_EQ(boxes.shown[0].caption, "Error open file!");
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Warning);
  EXPECT_EQ(boxes.shown[0].owner, 0u);
}

}  // namespace
}  // namespace vm

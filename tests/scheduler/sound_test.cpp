#include "scheduler/sound.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "fakes/media_fakes.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr WindowId kMainWindow = 0x1234;

class SoundTest : public ::testing::Test {
 protected:
  fakes::RecordingMci mci;
  fakes::TableShortPaths shortPaths;
  fakes::ScriptedMessageBoxes boxes;
  SoundPlayer player{mci, shortPaths, boxes, kMainWindow};
};

TEST_F(SoundTest, OpensAPlainPathAndRewindsIt) {
  EXPECT_FALSE(player.OpenSong("C:\\snd\\ring.wav"));
  EXPECT_THAT(mci.Commands(),
              ElementsAre("open C:\\snd\\ring.wav alias song", "seek song to start"));
  EXPECT_EQ(mci.sent[0].notifyWindow, 0u);
  EXPECT_THAT(shortPaths.asked, IsEmpty());
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, PathWithBlankOpensThroughItsShortFormWithoutMessage) {
  const std::string longPath = "C:\\My Sounds\\ring.wav";
  mci.Answer("open " + longPath + " alias song", fakes::kMciErrUnrecognizedKeyword);
  shortPaths.table[longPath] = "C:\\MYSOUN~1\\ring.wav";

  EXPECT_FALSE(player.OpenSong(longPath));
  // The failed first open skips the first rewind: one seek, after the short open.
  EXPECT_THAT(mci.Commands(), ElementsAre("open C:\\My Sounds\\ring.wav alias song",
                                          "open C:\\MYSOUN~1\\ring.wav alias song",
                                          "seek song to start"));
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, FailedRewindAfterGoodOpenAlsoRetriesTheShortForm) {
  const std::string path = "C:\\snd\\ring.wav";
  mci.AnswerOnce("seek song to start", fakes::kMciErrInvalidDeviceName);
  shortPaths.table[path] = "C:\\snd\\ring.wav";

  EXPECT_FALSE(player.OpenSong(path));
  EXPECT_THAT(mci.Commands(), ElementsAre("open C:\\snd\\ring.wav alias song", "seek song to start",
                                          "open C:\\snd\\ring.wav alias song", "seek song to start"));
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, MissingFileFailsSilently) {
  // The editor's no-file text, an empty path and a deleted file: none has a short form.
  for (std::string path : {"System Beep", "", "C:\\gone\\ring.wav"}) {
    SCOPED_TRACE(path);
    mci.sent.clear();
    mci.Answer("open " + path + " alias song", fakes::kMciErrFileNotFound);
    EXPECT_TRUE(player.OpenSong(path));
    EXPECT_THAT(mci.Commands(), ElementsAre("open " + path + " alias song"));
  }
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, RepetitionOnAnOpenAliasJustRewinds) {
  const std::string path = "C:\\snd\\ring.wav";
  mci.Answer("open " + path + " alias song", fakes::kMciErrDuplicateAlias);
  shortPaths.table[path] = path;

  EXPECT_FALSE(player.OpenSong(path));
  EXPECT_THAT(mci.Commands(), ElementsAre("open C:\\snd\\ring.wav alias song",
                                          "open C:\\snd\\ring.wav alias song",
                                          "seek song to start"));
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, ExistingFileThatCannotBeOpenedShowsTheShortPath) {
  const std::string path = "C:\\My Docs\\readme.txt";
  mci.defaultAnswer = fakes::kMciErrInvalidDeviceName;  // no device plays it; nothing to seek
  shortPaths.table[path] = "C:\\MYDOCS~1\\readme.txt";

  EXPECT_TRUE(player.OpenSong(path));
  ASSERT_EQ(boxes.shown.size(), 1u);
  const MessageBoxRequest& box = boxes.shown[0];
  EXPECT_EQ(box.text, "C:\\MYDOCS~1\\readme.txt");
  EXPECT_EQ(box.caption, "Error open file!");
  EXPECT_EQ(box.icon, MsgIcon::Warning);
  EXPECT_EQ(box.owner, 0u);
  EXPECT_EQ(box.buttons, MsgButtons::Ok);
}

TEST_F(SoundTest, ShortFormWithBlankIsOpenedQuoted) {
  // Short names turned off on the volume: the "short" form is the long path itself.
  const std::string path = "D:\\My Music\\a b.wav";
  mci.Answer("open " + path + " alias song", fakes::kMciErrUnrecognizedKeyword);
  shortPaths.table[path] = path;

  EXPECT_FALSE(player.OpenSong(path));
  EXPECT_THAT(mci.Commands(), ElementsAre("open D:\\My Music\\a b.wav alias song",
                                          "open \"D:\\My Music\\a b.wav\" alias song",
                                          "seek song to start"));
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, PlayNotifiesTheMainWindowAndFetchesTheErrorText) {
  player.PlaySong();
  ASSERT_EQ(mci.sent.size(), 1u);
  EXPECT_EQ(mci.sent[0].command, "play song notify");
  EXPECT_EQ(mci.sent[0].notifyWindow, kMainWindow);
  EXPECT_THAT(mci.errorTextRequests, IsEmpty());

  player.SetNotifyWindow(0x99);
  mci.Answer("play song notify", fakes::kMciErrInvalidDeviceName);
  player.PlaySong();
  EXPECT_EQ(mci.sent[1].notifyWindow, 0x99u);
  EXPECT_THAT(mci.errorTextRequests, ElementsAre(fakes::kMciErrInvalidDeviceName));
  EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SoundTest, PauseResumeCloseAndRewindOnNotice) {
  mci.defaultAnswer = fakes::kMciErrInvalidDeviceName;  // results are ignored
  player.PauseSong();
  player.ResumeSong();
  player.OnMciNotify(kMciNotifySuccessful);
  player.OnMciNotify(kMciNotifyFailure);
  player.CloseSong();
  EXPECT_THAT(mci.Commands(), ElementsAre("pause song", "resume song", "seek song to start",
                                          "seek song to start", "close song"));
  for (auto& s : mci.sent) EXPECT_EQ(s.notifyWindow, 0u) << s.command;
  EXPECT_THAT(mci.errorTextRequests, IsEmpty());
}

}  // namespace
}  // namespace vm

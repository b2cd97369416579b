#include "app/program_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/language.h"
#include "core/log.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

using fakes::FakeClock;
using fakes::FakeEnvironment;
using fakes::FakeInstanceGuard;
using fakes::FakeLocale;
using fakes::FakeRegistry;
using fakes::Latin1Codec;
using fakes::MemoryFileSystem;
using fakes::ScriptedMessageBoxes;
using ::testing::ElementsAre;

class RecordingHost : public ProgramHost {
 public:
  void SetApplicationTitle(const std::string& title) override { calls.push_back("title " + title); }
  void RunMainWindow(const StartupState& s) override {
    calls.push_back("run");
    state = s;
    if (fail) throw std::runtime_error("Cannot create file console.log");
  }
  void ShowStartupError(const std::string& message) override { calls.push_back("error " + message); }

  std::vector<std::string> calls;
  StartupState state;
  bool fail = false;
};

class ProgramEntryTest : public ::testing::Test {
 protected:
  ProgramEntryTest() { env.currentDir = "C:\\Users\\me\\"; }
  ~ProgramEntryTest() override { SetLogSink(nullptr); }

  int Run() { return ProgramEntry(services, language, host); }

  FakeInstanceGuard instance;
  FakeRegistry registry;
  MemoryFileSystem files;
  FakeEnvironment env;
  FakeClock clock;
  FakeLocale locale;
  Latin1Codec codec;
  ScriptedMessageBoxes boxes;
  ProgramServices services{instance, registry, files, env, clock, locale, codec, boxes};
  Language language{files, boxes, codec};
  RecordingHost host;
  const std::string dir = "C:\\Program Files\\Vemtaro\\";
};

TEST_F(ProgramEntryTest, SecondInstanceOnlyBroadcastsTheShowMessage) {
  instance.alreadyRunning = true;
  EXPECT_EQ(Run(), 0);
  EXPECT_THAT(instance.calls, ElementsAre("mutex VemtaroMitex", "broadcast VMR_SHOW"));
  EXPECT_THAT(host.calls, ElementsAre("title Vemtaro"));
  EXPECT_FALSE(files.FileExists("C:\\Users\\me\\console.log"));
  EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, "Software\\Vemtaro"));
}

TEST_F(ProgramEntryTest, FirstStartRecordsTheFolderAndLanguageAndRunsTheWindow) {
  files.Put(dir + "english.vml", "C.1Achtung\r\n");
  registry.CreateKey(RegRoot::LocalMachine, "Software\\Vemtaro");
  EXPECT_EQ(Run(), 0);
  EXPECT_THAT(host.calls, ElementsAre("title Vemtaro", "title Vemtaro", "title Vemtaro", "run"));
  EXPECT_EQ(host.state.programDirectory, dir);
  EXPECT_TRUE(host.state.showMainWindow);
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Vemtaro Path"), dir);
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), dir + "english.vml");
  EXPECT_EQ(language.LookUpText("C.1"), "Achtung");
  EXPECT_FALSE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Vemtaro"));
  EXPECT_EQ(host.state.logPath, "C:\\Users\\me\\console.log");
}

TEST_F(ProgramEntryTest, LanguageIsAlwaysTakenFromTheProgramFolder) {
  registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
  registry.WriteString(RegRoot::CurrentUser, "Software\\Vemtaro", "Language", "D:\\elsewhere\\german.vml");
  files.Put(dir + "german.vml", "C.1Achtung\r\n");
  Run();
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), dir + "german.vml");
  EXPECT_EQ(language.LookUpText("C.1"), "Achtung");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProgramEntryTest, MissingLanguageFileWarnsAndStillWritesThePath) {
  Run();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Can't open language resource");
  EXPECT_EQ(boxes.shown[0].text, dir + "english.vml");
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), dir + "english.vml");
  EXPECT_EQ(language.Msg("C.1"), "Warning!");
  EXPECT_EQ(host.calls.back(), "run");
}

TEST_F(ProgramEntryTest, BackgroundStartsWithoutShowingTheWindow) {
  registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "Background", 1);
  Run();
  EXPECT_FALSE(host.state.showMainWindow);
}

TEST_F(ProgramEntryTest, WrongTypedValuesAreIgnored) {
  registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "Language", 7);
  registry.WriteString(RegRoot::CurrentUser, "Software\\Vemtaro", "Background", "1");
  Run();
  EXPECT_TRUE(host.state.showMainWindow);
  EXPECT_EQ(registry.String("Software\\Vemtaro", "Language"), dir + "english.vml");
}

TEST_F(ProgramEntryTest, UnopenableUserKeyLeavesEnglishAndAVisibleWindow) {
  registry.DenyWrites(RegRoot::CurrentUser);
  Run();
  EXPECT_TRUE(boxes.shown.empty());  // no language file was even tried
  EXPECT_TRUE(host.state.showMainWindow);
  EXPECT_EQ(language.Msg("C.8"), "Monday");
  EXPECT_EQ(host.calls.back(), "run");
}

TEST_F(ProgramEntryTest, UnwritableWorkingFolderFallsBackToTheProgramFolderForTheLog) {
  files.MakeReadOnlyFolder("C:\\Users\\me\\");
  Run();
  EXPECT_EQ(host.state.logPath, dir + "console.log");
  EXPECT_EQ(host.calls.back(), "run");
}

TEST_F(ProgramEntryTest, NothingWritableStillStartsTheClockWithoutALog) {
  files.MakeReadOnlyFolder("C:\\");
  Run();
  EXPECT_EQ(host.state.logPath, "");
  EXPECT_EQ(host.calls.back(), "run");
}

TEST_F(ProgramEntryTest, FailureInTheWindowIsShownAndTheExitCodeStaysZero) {
  host.fail = true;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host.calls.back(), "error Cannot create file console.log");
}

TEST(LanguageFileFor, UsesOnlyTheFileNameOfTheStoredPath) {
  const std::string dir = "C:\\V\\";
  std::string withFolder = "E:\\lang\\russian.vml", bare = "russian.vml", empty, folderOnly = "E:\\lang\\";
  EXPECT_EQ(LanguageFileFor(dir, nullptr), "C:\\V\\english.vml");
  EXPECT_EQ(LanguageFileFor(dir, &withFolder), "C:\\V\\russian.vml");
  EXPECT_EQ(LanguageFileFor(dir, &bare), "C:\\V\\russian.vml");
  EXPECT_EQ(LanguageFileFor(dir, &empty), "C:\\V\\english.vml");
  EXPECT_EQ(LanguageFileFor(dir, &folderOnly), "C:\\V\\english.vml");
  EXPECT_EQ(ProgramDirectoryOf("C:\\Program Files\\Vemtaro\\vemtaro.exe"), "C:\\Program Files\\Vemtaro\\");
}

}  // namespace
}  // namespace vm

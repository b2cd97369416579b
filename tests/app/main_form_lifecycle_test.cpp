#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/version_code.h"
#include "fakes/process_fakes.h"
#include "main_form_fixture.h"

namespace vm::testing {
namespace {

using ::testing::HasSubstr;

std::vector<std::string> Matching(const std::vector<std::string>& lines, const std::string& part) {
  std::vector<std::string> out;
  for (auto& l : lines)
    if (l.find(part) != std::string::npos) out.push_back(l);
  return out;
}

TEST_F(MainFormTest, ConstructionComesBeforeFormCreateAndLoadsTheTasks) {
  Create();
  auto lines = log.Messages();
  ASSERT_FALSE(lines.empty());
  EXPECT_THAT(lines.front(), HasSubstr("TForm1::TForm1"));
  auto ctor = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.find("TForm1::TForm1") != std::string::npos; });
  auto create = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.find("TForm1::FormCreate") != std::string::npos; });
  auto load = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.find("TForm1::LoadList") != std::string::npos; });
  ASSERT_NE(create, lines.end());
  EXPECT_LT(ctor, create);
  EXPECT_LT(create, load);
  EXPECT_EQ(TaskFile().size(), 824u);
  EXPECT_EQ(TaskFile().substr(0, 8), "Vemtaro2");
}

TEST_F(MainFormTest, TheStartRemovesStrayTemporaryTaskFilesBeforeItLoadsTheTasks) {
  fakes::FakeProcessTable processes;
  processes.Start(env.processId, "vemtaro.exe");
  processes.Start(777, "other.exe");
  services.processTable = &processes;
  const std::string own = std::string(kDir) + "tasks.sft.tmp-" + std::to_string(env.processId);
  files.Put(own, std::string("Vemtaro2 from a run that crashed"));
  files.Put(std::string(kDir) + "tasks.sft.tmp-777", std::string("Vemtaro2 being written"));
  files.Put(std::string(kDir) + "tasks.sft.tmp-31337", std::string("Vemtaro2 from a crash"));
  Create();
  EXPECT_FALSE(files.FileExists(own));
  EXPECT_FALSE(files.FileExists(std::string(kDir) + "tasks.sft.tmp-31337"));
  EXPECT_TRUE(files.FileExists(std::string(kDir) + "tasks.sft.tmp-777"));
  auto lines = log.Messages();
  auto removed = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.find("tasks.sft.tmp-31337 removed") != std::string::npos; });
  auto load = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.find("TForm1::LoadList") != std::string::npos; });
  EXPECT_LT(removed, load);
  EXPECT_EQ(TaskFile().size(), 824u);  // the start went on as usual
}

TEST_F(MainFormTest, FirstStartWritesDisplayTimeAndAutostartAndUsesTheDesignPlace) {
  auto& f = Create();
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "DisplayTime"), 1u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "AutoStart"), 0u);
  EXPECT_EQ(f.Left(), 346);
  EXPECT_EQ(f.Top(), 300);
  f.Show();
  backend.AdvanceMs(1000);  // the fade-in's end
  EXPECT_EQ(f.AlphaBlendValue(), 250);
  EXPECT_FALSE(f.AutostartM.Checked());
}

TEST_F(MainFormTest, StoredPositionAndOpacityAreApplied) {
  registry.CreateKey(RegRoot::CurrentUser, "Software\\Vemtaro");
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "Left", 10);
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "Top", 20);
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "Transparency", 200);
  registry.WriteDword(RegRoot::CurrentUser, "Software\\Vemtaro", "StayOnTop", 1);
  auto& f = Create();
  EXPECT_EQ(f.Left(), 10);
  EXPECT_EQ(f.Top(), 20);
  f.Show();
  backend.AdvanceMs(1000);  // the fade-in's end
  EXPECT_EQ(f.AlphaBlendValue(), 200);
  EXPECT_TRUE(f.OntopM.Checked());
}

TEST_F(MainFormTest, MissingSystemFolderIsReportedAndLeftEmpty) {
  env.systemDir.reset();
  auto& f = Create();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Can't get Windows directory");
  EXPECT_EQ(boxes.shown[0].caption, "Warning!");
  EXPECT_EQ(f.SystemDirectory, "");
  EXPECT_EQ(f.WindowsDirectory, "C:\\windows");
}

TEST_F(MainFormTest, ClosingSavesTheTasksAndThePosition) {
  auto& f = Create();
  f.Show();
  f.SetBounds(500, 123, f.Width(), f.Height());
  f.Close();
  app.ProcessMessages();
  EXPECT_EQ(Matching(log.Messages(), "TForm1::FormClose").size(), 1u);
  EXPECT_GE(Matching(log.Messages(), "TForm1::SaveList").size(), 1u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Left"), 500u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Top"), 123u);
  EXPECT_EQ(TaskFile().size(), 824u);
}

TEST_F(MainFormTest, DestructionLogsItsStepsInOrder) {
  Create();
  app.Shutdown();
  auto lines = log.Messages();
  auto first = std::find(lines.begin(), lines.end(), " =========Destroing========");
  ASSERT_NE(first, lines.end());
  std::vector<std::string> tail(first, lines.end());
  std::vector<std::string> fixed = Matching(tail, " TForm1::FormDestroy ");
  EXPECT_EQ(fixed, (std::vector<std::string>{" TForm1::FormDestroy 5", " TForm1::FormDestroy 6",
                                              " TForm1::FormDestroy 7", " TForm1::FormDestroy Finished"}));
}

TEST_F(MainFormTest, TheShowMessageBringsAHiddenClockBack) {
  auto& f = Create();
  f.Show();
  f.Hide();
  backend.SendRegisteredMessage(f, "VMR_SHOW");
  EXPECT_TRUE(f.Visible());
}

TEST_F(MainFormTest, ShowingFadesInUpToTheTransparencyOnNewerSystems) {
  auto& f = Create();
  EXPECT_EQ(f.AlphaBlendValue(), 0);  // its window is made at the fade's start
  f.Show();
  EXPECT_EQ(f.AlphaBlendValue(), 0);
  backend.AdvanceMs(1000);
  EXPECT_EQ(f.AlphaBlendValue(), 250);
}

TEST_F(MainFormTest, LanguageTextsReachTheMenusAndTheMessageTable) {
  UseLanguage("L1.4=On top\r\nM1Optionen\r\nM12Beenden\r\nC.8Montag\r\nC.34hilfe.htm\r\nL2.1Neue Aufgabe\r\n");
  auto& f = Create();
  EXPECT_EQ(f.OntopM.Caption(), "=On top");
  EXPECT_EQ(f.Options1.Caption(), "Optionen");
  EXPECT_EQ(f.Shutdown1.Caption(), "Beenden");
  EXPECT_EQ(f.mTaskAdd.Caption(), "Neue Aufgabe");
  EXPECT_EQ(f.HelpFile, std::string(kDir) + "hilfe.htm");
  EXPECT_EQ(language.Msg("C.8"), "Montag");
  EXPECT_EQ(f.HideM.Caption(), "Start in Icon");  // no key: the default stays
}

TEST(VersionCode, ClassifiesWindowsGenerations) {
  EXPECT_EQ(VersionCode(4, 0), 15);
  EXPECT_EQ(VersionCode(4, 10), 18);
  EXPECT_EQ(VersionCode(5, 0), 20);
  EXPECT_EQ(VersionCode(5, 1), 21);
  EXPECT_EQ(VersionCode(6, 0), 60);
  EXPECT_EQ(VersionCode(6, 3), 61);
  EXPECT_EQ(VersionCode(10, 0), 61);  // Windows 10 and 11 take the newest paths
  EXPECT_EQ(VersionCode(3, 51), 0);
}

}  // namespace
}  // namespace vm::testing

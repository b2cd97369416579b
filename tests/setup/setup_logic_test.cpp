// The setup program's decisions: who it is, which script it reads, where the files and the
// shortcuts go, what the buttons do.

#include <gtest/gtest.h>

#include <map>

#include "setup/setup_logic.h"

namespace setup {
namespace {

// Answers the system calls from tables; counts the shortcut resolutions.
class FakeSystem : public SystemCalls {
 public:
  std::wstring title;
  std::wstring module = L"C:\\Fallback\\setup.exe";
  std::map<std::wstring, std::wstring> links;  // shortcut -> target
  std::wstring currentFolder = L"C:\\Work\\";
  bool fullPathFails = false;
  int resolved = 0;

  std::wstring StartupTitle() override { return title; }
  std::wstring ModuleFileName() override { return module; }
  std::optional<std::wstring> ResolveShortcut(const std::wstring& link) override {
    ++resolved;
    auto it = links.find(link);
    if (it == links.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::wstring> FullPath(const std::wstring& path) override {
    if (fullPathFails) return std::nullopt;
    std::wstring full = path.size() > 1 && path[1] == L':' ? path : currentFolder + path;
    if (full.size() > 260) return std::nullopt;
    return full;
  }
};

TEST(SetupIdentity, ModeAndScriptComeFromTheFileNameInAnyLetterCase) {
  struct Case {
    const wchar_t* title;
    Mode mode;
    const wchar_t* inf;
  } cases[] = {
      {L"D:\\Dist\\SETUP.EXE", Mode::Install, L"D:\\Dist\\setup.inf"},
      {L"D:\\Dist\\UNINSTALL.EXE", Mode::Uninstall, L"D:\\Dist\\uninstall.inf"},
      {L"D:\\Dist\\Uninstall.exe", Mode::Uninstall, L"D:\\Dist\\uninstall.inf"},
      {L"D:\\Dist\\my-UnInS.exe", Mode::Uninstall, L"D:\\Dist\\my-unins.inf"},
      {L"D:\\Dist\\vemtaro-setup.exe", Mode::Install, L"D:\\Dist\\vemtaro-setup.inf"},
      // "unins" in a folder name does not count, only in the program's own name.
      {L"D:\\uninstallers\\setup.exe", Mode::Install, L"D:\\uninstallers\\setup.inf"},
      // A relative start-up path is made absolute first.
      {L"setup.exe", Mode::Install, L"C:\\Work\\setup.inf"},
  };
  for (const auto& c : cases) {
    FakeSystem system;
    system.title = c.title;
    auto id = Identify(system);
    ASSERT_TRUE(id) << c.title;
    EXPECT_EQ(id->mode, c.mode) << c.title;
    EXPECT_EQ(id->infPath, c.inf) << c.title;
    EXPECT_EQ(id->sourceFolder.back(), L'\\') << c.title;
  }
}

TEST(SetupIdentity, AShortcutIsFollowedToTheProgram) {
  FakeSystem system;
  system.title = L"C:\\Users\\u\\Desktop\\Remove Vemtaro.lnk";
  system.links[system.title] = L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro\\UNINST~1.EXE";
  auto id = Identify(system);
  ASSERT_TRUE(id);
  EXPECT_EQ(system.resolved, 1);
  EXPECT_EQ(id->mode, Mode::Uninstall);
  EXPECT_EQ(id->sourceFolder, L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro\\");
  EXPECT_EQ(id->infPath, L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro\\uninst~1.inf");

  // The shortcut's own name does not decide: its target does.
  FakeSystem named;
  named.title = L"C:\\Links\\uninstall.lnk";
  named.links[named.title] = L"C:\\Dist\\setup.exe";
  auto target = Identify(named);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->mode, Mode::Install);
  EXPECT_EQ(target->infPath, L"C:\\Dist\\setup.inf");
}

TEST(SetupIdentity, WhatCannotBeIdentifiedEndsTheProgram) {
  FakeSystem broken;
  broken.title = L"C:\\Links\\setup.lnk";  // no such shortcut target
  EXPECT_FALSE(Identify(broken));

  FakeSystem emptyTarget;
  emptyTarget.title = L"C:\\Links\\setup.lnk";
  emptyTarget.links[emptyTarget.title] = L"";
  EXPECT_FALSE(Identify(emptyTarget));

  FakeSystem noPath;
  noPath.title = L"D:\\setup.exe";
  noPath.fullPathFails = true;
  EXPECT_FALSE(Identify(noPath));

  FakeSystem tooLong;
  tooLong.title = L"D:\\" + std::wstring(300, L'a') + L"\\setup.exe";
  EXPECT_FALSE(Identify(tooLong));

  FakeSystem shortName;  // nothing left of the name without its extension
  shortName.title = L"D:\\Dist\\.exe";
  EXPECT_FALSE(Identify(shortName));

  FakeSystem nothing;
  nothing.module.clear();
  EXPECT_FALSE(Identify(nothing));
}

TEST(SetupIdentity, WithoutAStartupTitleTheExecutablesOwnPathServes) {
  FakeSystem system;
  system.module = L"E:\\Kit\\Setup.exe";
  auto id = Identify(system);
  ASSERT_TRUE(id);
  EXPECT_EQ(id->infPath, L"E:\\Kit\\setup.inf");
  EXPECT_EQ(system.resolved, 0);
}

TEST(SetupNames, LowerCaseAndBaseName) {
  EXPECT_EQ(LowerCase(L"SETUP.EXE"), L"setup.exe");
  EXPECT_EQ(LowerCase(L"УСТАНОВКА.exe"), L"установка.exe");
  EXPECT_EQ(BaseName(L"Setup.EXE"), L"setup");
  EXPECT_EQ(BaseName(L"a.exe"), L"a");
  EXPECT_EQ(BaseName(L".exe"), L"");
  EXPECT_EQ(BaseName(L"x"), L"");
  EXPECT_TRUE(EndsInLnk(L"C:\\a\\b.lnk"));
  EXPECT_FALSE(EndsInLnk(L"C:\\a\\b.exe"));
  EXPECT_FALSE(EndsInLnk(L"ln"));
}

TEST(SetupSteps, NextAndCancelByState) {
  EXPECT_EQ(NextAction(State::Start, Mode::Install), Action::ChooseFolder);
  EXPECT_EQ(NextAction(State::Start, Mode::Uninstall), Action::Perform);
  EXPECT_EQ(NextAction(State::FolderChosen, Mode::Install), Action::Perform);
  EXPECT_EQ(NextAction(State::Done, Mode::Install), Action::Finish);
  EXPECT_EQ(NextAction(State::Done, Mode::Uninstall), Action::Finish);
  EXPECT_EQ(CancelAction(State::Start), Action::Close);
  EXPECT_EQ(CancelAction(State::FolderChosen), Action::Close);
  EXPECT_EQ(CancelAction(State::Done), Action::Finish);
}

TEST(SetupFolders, TheInstalledProgramIsNamedAfterTheProduct) {
  EXPECT_EQ(InstalledProgram(L"C:\\P\\Vemtaro", L"Vemtaro"), L"C:\\P\\Vemtaro\\Vemtaro.exe");
  EXPECT_EQ(InstalledProgram(L"C:\\P\\Vemtaro\\", L"Vemtaro"), L"C:\\P\\Vemtaro\\Vemtaro.exe");
  EXPECT_EQ(InstalledProgram(L"D:\\", L"Clock"), L"D:\\Clock.exe");
}

TEST(SetupFolders, TheFilesGoToAFolderNamedAfterTheProduct) {
  EXPECT_EQ(TargetFolderFor(L"C:\\Users\\u\\AppData\\Local\\Programs", L"Vemtaro"),
            L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro");
  EXPECT_EQ(TargetFolderFor(L"C:\\Users\\u\\AppData\\Local\\Programs\\", L"Vemtaro"),
            L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro");
  // Chosen folders already named after the product are taken as they are, in any letter case.
  EXPECT_EQ(TargetFolderFor(L"D:\\Apps\\vemtaro\\", L"Vemtaro"), L"D:\\Apps\\vemtaro");
  EXPECT_EQ(TargetFolderFor(L"D:\\Apps\\VEMTARO", L"Vemtaro"), L"D:\\Apps\\VEMTARO");
  EXPECT_EQ(TargetFolderFor(L"D:\\", L"Vemtaro"), L"D:\\Vemtaro");
  EXPECT_EQ(TargetFolderFor(L"", L"Vemtaro"), L"");

  EXPECT_EQ(DefaultProgramsFolder(L"C:\\Users\\u\\AppData\\Local"), L"C:\\Users\\u\\AppData\\Local\\Programs");
  EXPECT_EQ(DefaultProgramsFolder(L"C:\\Users\\u\\AppData\\Local\\"), L"C:\\Users\\u\\AppData\\Local\\Programs");
  EXPECT_EQ(DefaultProgramsFolder(L""), L"");
}

TEST(SetupFolders, AFolderTheUserCannotWriteIsRefusedWithTheReason) {
  EXPECT_EQ(JudgeTargetFolder(L"C:\\Program Files\\Vemtaro", false), FolderVerdict::NotWritable);
  EXPECT_EQ(JudgeTargetFolder(L"C:\\Users\\u\\AppData\\Local\\Programs\\Vemtaro", true), FolderVerdict::Ok);
  EXPECT_EQ(JudgeTargetFolder(L"", true), FolderVerdict::Empty);
  EXPECT_EQ(JudgeTargetFolder(L"C:\\" + std::wstring(240, L'x'), true), FolderVerdict::TooLong);

  for (Language language : {Language::English, Language::Russian}) {
    const Texts& texts = TextsFor(language);
    std::wstring message = FolderVerdictMessage(texts, FolderVerdict::NotWritable, L"C:\\Program Files\\Vemtaro");
    EXPECT_NE(message.find(L"C:\\Program Files\\Vemtaro"), std::wstring::npos);
    EXPECT_NE(message.find(L"%LOCALAPPDATA%\\Programs"), std::wstring::npos);
    EXPECT_TRUE(FolderVerdictMessage(texts, FolderVerdict::Ok, L"C:\\x").empty());
    EXPECT_NE(FolderVerdictMessage(texts, FolderVerdict::TooLong, L"C:\\x").find(L"C:\\x"), std::wstring::npos);
    EXPECT_FALSE(FolderVerdictMessage(texts, FolderVerdict::Empty, L"").empty());
  }
}

TEST(SetupShortcuts, PathsInTheUsersStartMenu) {
  const std::wstring programs = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  EXPECT_EQ(ShortcutFolder(programs, L"Vemtaro"), programs + L"\\Vemtaro");
  EXPECT_EQ(ShortcutPath(programs, L"Vemtaro", L"Uninstall Vemtaro"), programs + L"\\Vemtaro\\Uninstall Vemtaro.lnk");
  EXPECT_EQ(ShortcutPath(programs + L"\\", L"Vemtaro", L"Vemtaro"), programs + L"\\Vemtaro\\Vemtaro.lnk");

  // Names from the script cannot reach outside the folder.
  EXPECT_TRUE(IsPlainFileName(L"Uninstall Vemtaro"));
  EXPECT_TRUE(IsPlainFileName(L"vemtaro.exe"));
  for (const wchar_t* bad : {L"", L".", L"..", L"..\\..\\evil", L"a/b", L"C:x", L"a*", L"name.", L"name "})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST(SetupTexts, MainTextByStateModeAndLanguage) {
  const Texts& ru = TextsFor(Language::Russian);
  EXPECT_EQ(MainText(ru, State::Start, Mode::Install, L"Vemtaro"), L"Программа установки Vemtaro");
  EXPECT_EQ(MainText(ru, State::FolderChosen, Mode::Install, L"Vemtaro"), L"Программа установки Vemtaro");
  EXPECT_EQ(MainText(ru, State::Start, Mode::Uninstall, L"Vemtaro"), L"Это программа удаления,продолжить?");
  EXPECT_EQ(MainText(ru, State::Done, Mode::Install, L"Vemtaro"), L"Установка успешно завершена");
  EXPECT_EQ(MainText(ru, State::Done, Mode::Uninstall, L"Vemtaro"), L"Программа успешно удалена");

  const Texts& en = TextsFor(Language::English);
  EXPECT_EQ(MainText(en, State::Start, Mode::Install, L"Vemtaro"), L"Vemtaro Setup");
  EXPECT_EQ(MainText(en, State::FolderChosen, Mode::Install, L"Clock"), L"Clock Setup");
  EXPECT_EQ(MainText(en, State::Done, Mode::Install, L"Vemtaro"), en.installed);
  EXPECT_EQ(MainText(en, State::Done, Mode::Uninstall, L"Vemtaro"), en.removed);
  EXPECT_EQ(MainText(en, State::Start, Mode::Uninstall, L"Vemtaro"), en.uninstallTitle);
}

TEST(SetupTexts, MessagesNameTheFileInEitherLanguage) {
  for (Language language : {Language::English, Language::Russian}) {
    const Texts& texts = TextsFor(language);
    EXPECT_NE(MissingSourceMessage(texts, L"D:\\kit\\russian.vml").find(L"D:\\kit\\russian.vml"), std::wstring::npos);
    const std::wstring copy = CopyErrorMessage(texts, L"D:\\kit\\bell.htm", L"Access is denied.");
    EXPECT_NE(copy.find(L"D:\\kit\\bell.htm\nAccess is denied."), std::wstring::npos) << copy;
    EXPECT_NE(NotRemovedMessage(texts, L"C:\\V\\a\n").find(L"C:\\V\\a\n"), std::wstring::npos);
  }
}

}  // namespace
}  // namespace setup

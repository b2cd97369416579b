// Shortcut recognition, resolution limits and how the target is started; ending a program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/action_fakes.h"
#include "scheduler/close_program.h"
#include "scheduler/shortcut.h"

namespace vm {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ShortcutPathTest, LastThreeCharactersWithoutRegardToCase) {
  EXPECT_TRUE(IsShortcutPath("C:\\a\\b.lnk"));
  EXPECT_TRUE(IsShortcutPath("C:\\a\\b.LNK"));
  EXPECT_TRUE(IsShortcutPath("x.LnK"));
  EXPECT_TRUE(IsShortcutPath("lnk"));
  EXPECT_FALSE(IsShortcutPath("nk"));
  EXPECT_FALSE(IsShortcutPath(""));
  EXPECT_FALSE(IsShortcutPath("C:\\b.lnk.txt"));
  EXPECT_FALSE(IsShortcutPath("C:\\b.ink"));
  EXPECT_FALSE(IsShortcutPath("C:\\\xC3\xA9l\xC3\xB1k"));  // non-ASCII never matches
}

class ShortcutTest : public ::testing::Test {
 protected:
  void Link(const std::string& target, const std::string& arguments,
            const std::string& directory = "C:\\work") {
    links.links["C:\\s.lnk"] = {target, directory, arguments};
  }

  fakes::CallLog calls;
  fakes::FakeShellLinks links{calls};
  fakes::FakeShell shell{calls};
};

// The joined text "target;arguments" may hold 259 characters; a longer one is refused instead
// of being cut. Characters, not bytes, count.
TEST_F(ShortcutTest, TargetLongerThan259CharactersIsRefused) {
  const std::string target = "C:\\" + std::string(200, 'T');
  Link(target, std::string(259 - 1 - target.size(), 'a'));
  auto fits = ResolveShortcut(links, 1, "C:\\s.lnk");
  ASSERT_TRUE(fits.has_value());
  EXPECT_EQ(fits->file, target);
  EXPECT_EQ(fits->workingDirectory, "C:\\work");

  Link(target, std::string(259 - target.size(), 'a'));
  EXPECT_FALSE(ResolveShortcut(links, 1, "C:\\s.lnk").has_value());

  Link(std::string(259, 'x'), "");
  EXPECT_TRUE(ResolveShortcut(links, 1, "C:\\s.lnk").has_value());
  Link(std::string(260, 'x'), "");
  EXPECT_FALSE(ResolveShortcut(links, 1, "C:\\s.lnk").has_value());

  std::string twoByte;
  for (int i = 0; i < 259; ++i) twoByte += "\xC3\xA9";  // 259 characters, 518 bytes
  Link(twoByte, "");
  EXPECT_TRUE(ResolveShortcut(links, 1, "C:\\s.lnk").has_value());

  Link("C:\\t.exe", "", "D:\\" + std::string(257, 'd'));
  EXPECT_FALSE(ResolveShortcut(links, 1, "C:\\s.lnk").has_value());
}

TEST_F(ShortcutTest, UnresolvableOrEmptyTargetStartsNothing) {
  EXPECT_FALSE(RunShortcut(links, shell, 1, 60, "C:\\missing.lnk"));
  Link("", "-x");
  EXPECT_FALSE(RunShortcut(links, shell, 1, 60, "C:\\s.lnk"));
  for (const std::string& call : calls) EXPECT_EQ(call.rfind("shell.", 0), std::string::npos);
}

// The arguments are kept as the link holds them, a ";" inside included.
TEST_F(ShortcutTest, NtStartsThroughTheShellWithArgumentsAndDirectory) {
  Link("C:\\PROGRA~1\\tool.exe", "-a;b c");
  EXPECT_TRUE(RunShortcut(links, shell, 7, 20, "C:\\s.lnk"));
  EXPECT_EQ(calls.back(),
            "shell.execute verb= file=C:\\PROGRA~1\\tool.exe parameters=-a;b c directory=C:\\work "
            "owner=7");
}

TEST_F(ShortcutTest, NinexStartsACommandLine) {
  Link("C:\\PROGRA~1\\tool.exe", "-a");
  RunShortcut(links, shell, 7, 19, "C:\\s.lnk");
  EXPECT_EQ(calls.back(), "shell.run C:\\PROGRA~1\\tool.exe -a");
  Link("C:\\tool.exe", "");
  RunShortcut(links, shell, 7, 15, "C:\\s.lnk");
  EXPECT_EQ(calls.back(), "shell.run C:\\tool.exe ");
}

TEST_F(ShortcutTest, ShortFormOfTheLinkIsResolvedWhenThereIsOne) {
  links.shortPaths["C:\\My Links\\s.lnk"] = "C:\\s.lnk";
  Link("C:\\t.exe", "");
  RunShortcut(links, shell, 1, 60, "C:\\My Links\\s.lnk");
  EXPECT_EQ(calls[1], "link.resolve C:\\s.lnk");
  calls.clear();
  links.links["C:\\No Short\\s.lnk"] = {"C:\\t.exe", "", ""};
  EXPECT_TRUE(RunShortcut(links, shell, 1, 60, "C:\\No Short\\s.lnk"));
  EXPECT_EQ(calls[1], "link.resolve C:\\No Short\\s.lnk");
}

TEST(CloseProgramTest, EndsByFileNameAndReportsEveryProcessLeftRunning) {
  fakes::CallLog calls;
  fakes::FakeProcesses processes{calls};
  fakes::LoggedMessageBoxes boxes{calls};
  processes.result = {true, 2, {{40, false}, {41, true}}};
  EXPECT_EQ(CloseProgram(processes, boxes, 9, "D:\\Apps/Sub\\Editor.exe"), 2);
  EXPECT_THAT(calls, ElementsAre("processes.end Editor.exe",
                                 "box Can't close program: D:\\Apps/Sub\\Editor.exe",
                                 "box Can't close program: D:\\Apps/Sub\\Editor.exe"));
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.shown[0].owner, 9u);
}

TEST(CloseProgramTest, PathWithoutFileNameEndsNothing) {
  fakes::CallLog calls;
  fakes::FakeProcesses processes{calls};
  fakes::LoggedMessageBoxes boxes{calls};
  EXPECT_EQ(CloseProgram(processes, boxes, 9, ""), 0);
  EXPECT_EQ(CloseProgram(processes, boxes, 9, "C:\\Apps\\"), 0);
  EXPECT_THAT(calls, IsEmpty());
  EXPECT_EQ(FileNameOf("plain.exe"), "plain.exe");
  EXPECT_EQ(FileNameOf("C:/a/b.exe"), "b.exe");
}

}  // namespace
}  // namespace vm

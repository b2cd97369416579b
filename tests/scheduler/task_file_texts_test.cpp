// The task file's warnings as the shipped language files word them: english.vml says what the
// built-in texts say, line breaks included, and the path goes in as it stands.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "scheduler_fixture.h"

namespace vm::schedtest {
namespace {

// A folder whose name holds "\n" and "\t" as a path does: C:\new\tasks.sft.
constexpr char kFolder[] = "C:\\new\\";
constexpr char kPath[] = "C:\\new\\tasks.sft";

std::string ReadShipped(const std::string& name) {
  std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Warnings {
  std::string unreadable, saveFailed, unsavedAtExit;
};

class TaskFileTextsTest : public ::testing::Test {
 protected:
  // The three warnings, with `languageFile` (nothing: the built-in texts) in force.
  Warnings Collect(const std::string& languageFile) {
    Warnings out;
    fakes::MemoryFileSystem files;
    Language language{files, boxes, codec};
    if (!languageFile.empty()) {
      files.Put("C:\\lang.vml", languageFile);
      EXPECT_TRUE(language.LoadLanguageFile("C:\\lang.vml"));
    }
    {
      files.Put(kPath, std::string("Vemtaro2"));
      files.MakeUnreadable(kPath);
      FakeSchedulerHost host;
      Scheduler scheduler{{files, clock, codec, language, host}, kFolder};
      scheduler.LoadList();
      EXPECT_EQ(host.warnings.size(), 1u);
      if (!host.warnings.empty()) out.unreadable = host.warnings[0];
    }
    {
      fakes::MemoryFileSystem readOnly;
      readOnly.MakeReadOnlyFolder(kFolder);
      FakeSchedulerHost host;
      Scheduler scheduler{{readOnly, clock, codec, language, host}, kFolder};
      scheduler.LoadList();
      scheduler.TaskList.front().Message = "changed";
      EXPECT_FALSE(scheduler.SaveList());
      EXPECT_EQ(host.warnings.size(), 1u);
      if (!host.warnings.empty()) out.saveFailed = host.warnings[0];
      out.unsavedAtExit = scheduler.UnsavedChangesMessage();
    }
    return out;
  }

  ScopedLogCapture log;
  fakes::FakeClock clock;
  fakes::Latin1Codec codec;
  fakes::ScriptedMessageBoxes boxes;
};

TEST_F(TaskFileTextsTest, ShippedFilesWordTheWarningsWithLineBreaksAndTheWholePath) {
  const Warnings builtIn = Collect("");
  const std::string english = ReadShipped("english.vml");
  const std::string russian = ReadShipped("russian.vml");
  ASSERT_FALSE(english.empty());
  ASSERT_FALSE(russian.empty());
  for (const char* key : {"\r\nTF.1", "\r\nTF.2", "\r\nTF.3"}) {
    EXPECT_NE(english.find(key), std::string::npos) << key + 2 << " is missing from english.vml";
    EXPECT_NE(russian.find(key), std::string::npos) << key + 2 << " is missing from russian.vml";
  }

  const Warnings en = Collect(english);
  EXPECT_EQ(en.unreadable, builtIn.unreadable);
  EXPECT_EQ(en.saveFailed, builtIn.saveFailed);
  EXPECT_EQ(en.unsavedAtExit, builtIn.unsavedAtExit);

  const Warnings ru = Collect(russian);
  for (const std::string* text : {&ru.unreadable, &ru.saveFailed, &ru.unsavedAtExit}) {
    EXPECT_NE(text->find(std::string("\n") + kPath + "\n"), std::string::npos) << *text;
    std::string withoutPath = *text;
    withoutPath.erase(withoutPath.find(kPath), sizeof kPath - 1);
    EXPECT_EQ(withoutPath.find("\\n"), std::string::npos) << *text;
  }
  EXPECT_NE(ru.unreadable, en.unreadable);
  EXPECT_NE(ru.saveFailed, en.saveFailed);
  EXPECT_NE(ru.unsavedAtExit, en.unsavedAtExit);

  for (const std::string* text : {&en.unreadable, &en.saveFailed, &en.unsavedAtExit})
    EXPECT_NE(text->find(std::string("\n") + kPath + "\n"), std::string::npos) << *text;
}

}  // namespace
}  // namespace vm::schedtest

// Checks the shipped english.vml: every key a window reads is there, on its own line, and is
// found there first (a key that is the start of another key, or part of a text, would not be).

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/language.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

// The keys the windows look up besides the message-text table.
std::vector<std::string> WindowKeys() {
  std::vector<std::string> keys;
  auto range = [&keys](const std::string& prefix, int first, int last) {
    for (int i = first; i <= last; ++i) keys.push_back(prefix + std::to_string(i));
  };
  range("L1.", 1, 7);    // main window
  range("M", 1, 24);     // main window menus, process manager, task list menu
  range("M", 26, 28);    // options, process manager, main window
  range("M", 30, 34);    // main window menus, process manager caption
  range("L2.", 1, 16);   // task editor and task defaults
  range("C2.", 1, 11);   // task editor action boxes
  range("H.", 10, 27);   // task editor hints
  range("C.", 34, 34);   // help file
  range("", 20017, 20027);
  range("", 42001, 42001);
  range("L3.", 1, 3);    // alarm window
  range("L3.", 70, 74);  // alarm window: snooze
  range("L4.", 1, 10);   // task list
  range("L5.", 1, 11);   // options
  range("TF.", 1, 3);    // task file warnings
  range("L2.", 50, 50);  // task editor: the sound test label
  range("L4.", 50, 50);  // task list: the view button
  range("L7.", 50, 56);  // process manager: column headers, the "System" priority
  range("M.", 50, 52);   // speech warnings
  range("", 20050, 20051);  // task editor: the two "off" event boxes
  range("L1.", 80, 81);  // names of the clock's caption buttons for screen readers
  range("L3.", 80, 82);  // names of the alarm's sound buttons
  range("L4.", 80, 86);  // names of the task list's pictures and day list
  return keys;
}

class EnglishVml : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
    ASSERT_TRUE(in) << "lang/english.vml is missing";
    content_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    files_.Put("C:\\Vemtaro\\english.vml", content_);
    ASSERT_TRUE(language_.LoadLanguageFile("C:\\Vemtaro\\english.vml"));
    keys_ = Language::TableKeys();
    auto window = WindowKeys();
    keys_.insert(keys_.end(), window.begin(), window.end());
  }

  std::string content_;
  std::vector<std::string> keys_;
  fakes::MemoryFileSystem files_;
  fakes::ScriptedMessageBoxes boxes_;
  fakes::Latin1Codec codec_;
  Language language_{files_, boxes_, codec_};
};

TEST_F(EnglishVml, EveryKeyOwnsOneLineAndIsFoundThere) {
  ASSERT_GE(content_.size(), 2u);
  ASSERT_EQ(content_.substr(content_.size() - 2), "\r\n") << "the last line must end in CR LF";

  // Split into lines; each must end in CR LF and hold no other line break.
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content_.size()) {
    std::size_t end = content_.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    std::string line = content_.substr(start, end - start);
    ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in: " << line;
    lines.push_back(line);
    start = end + 2;
  }

  // The owner of a line is the longest key it starts with.
  std::map<std::string, std::string> textOfKey;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string owner;
    for (const auto& key : keys_)
      if (lines[i].rfind(key, 0) == 0 && key.size() > owner.size()) owner = key;
    if (owner.empty()) {
      EXPECT_EQ(i, 0u) << "only the first line may be a comment: " << lines[i];
      continue;
    }
    EXPECT_TRUE(textOfKey.emplace(owner, lines[i].substr(owner.size())).second)
        << "key listed twice: " << owner;
  }

  for (const auto& key : keys_) {
    auto own = textOfKey.find(key);
    if (own == textOfKey.end()) {
      ADD_FAILURE() << "key missing: " << key;
      continue;
    }
    EXPECT_EQ(language_.LookUpText(key), own->second)
        << key << " is found before its own line (a longer key or a text holds it)";
  }
}

TEST_F(EnglishVml, TableTextsAreTheDefaults) {
  fakes::MemoryFileSystem noFiles;
  Language defaults(noFiles, boxes_, codec_);
  for (const auto& key : Language::TableKeys())
    EXPECT_EQ(language_.LookUpText(key), defaults.Msg(key)) << key;
}

TEST_F(EnglishVml, WeekMonthYearTextsBeginWithBlank) {
  // Shown as the digit 1 directly followed by the text ("1 Week"); the snooze marker follows
  // the message the same way.
  for (const char* key : {"L2.7", "L2.8", "L2.9", "L3.72"})
    EXPECT_EQ(language_.LookUpText(key).value_or("").substr(0, 1), " ") << key;
}

}  // namespace
}  // namespace vm

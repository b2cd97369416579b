// Checks the shipped language files against each other: every file holds the keys of
// english.vml, each on its own line and found there first; english.vml is plain ASCII and
// russian.vml UTF-8 with the byte-order mark, so both read right whatever the system's code page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/language.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

std::string ReadShipped(const std::string& name) {
  std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The key a line starts with: a letter prefix (L<digit>., M, M., C., H., C2.) and a number, or a
// five-digit number. A text may itself begin with digits (C.6 "00000409"), so the number is the
// shortest one (up to two digits) after which the text does not go on with a digit.
std::string KeyOfLine(const std::string& line) {
  if (line.size() >= 5 && std::all_of(line.begin(), line.begin() + 5, IsDigit)) return line.substr(0, 5);
  std::size_t prefix = 0;
  if (line.size() >= 3 && line[0] == 'L' && IsDigit(line[1]) && line[2] == '.') prefix = 3;
  else if (line.rfind("C2.", 0) == 0 || line.rfind("TF.", 0) == 0) prefix = 3;
  else if (line.rfind("M.", 0) == 0 || line.rfind("C.", 0) == 0 || line.rfind("H.", 0) == 0) prefix = 2;
  else if (line.rfind("M", 0) == 0 && line.size() > 1 && IsDigit(line[1])) prefix = 1;
  else return {};
  std::size_t digits = 0;
  while (prefix + digits < line.size() && IsDigit(line[prefix + digits])) ++digits;
  if (digits == 0) return {};
  for (std::size_t n = 1; n <= std::min<std::size_t>(digits, 2); ++n)
    if (prefix + n == line.size() || !IsDigit(line[prefix + n])) return line.substr(0, prefix + n);
  return line.substr(0, prefix + 1);
}

struct ParsedFile {
  std::vector<std::string> keys;             // in file order
  std::map<std::string, std::string> texts;  // raw bytes
  std::vector<std::string> problems;
};

ParsedFile Parse(const std::string& content) {
  ParsedFile parsed;
  std::size_t start = 0;
  bool first = true;
  while (start < content.size()) {
    std::size_t end = content.find("\r\n", start);
    if (end == std::string::npos) {
      parsed.problems.push_back("the last line does not end in CR LF");
      end = content.size();
    }
    std::string line = content.substr(start, end - start);
    start = end + 2;
    if (line.find_first_of("\r\n") != std::string::npos) parsed.problems.push_back("stray line break: " + line);
    std::string key = KeyOfLine(line);
    if (key.empty()) {
      if (!first) parsed.problems.push_back("a line without a key after the first: " + line);
    } else if (!parsed.texts.emplace(key, line.substr(key.size())).second) {
      parsed.problems.push_back("key listed twice: " + key);
    } else {
      parsed.keys.push_back(key);
    }
    first = false;
  }
  return parsed;
}

std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

class ShippedLanguages : public ::testing::Test {
 protected:
  // Every key must be found by the program's own lookup at the start of its own line.
  // Texts of a UTF-8 file come back as they stand (a malformed byte would not), those of an ANSI
  // file through the test's Latin-1 code page.
  void ExpectFoundOnOwnLine(const std::string& name, const std::string& content, const ParsedFile& parsed,
                            bool utf8) {
    fakes::MemoryFileSystem files;
    fakes::ScriptedMessageBoxes boxes;
    fakes::Latin1Codec codec;
    Language language(files, boxes, codec);
    files.Put("C:\\Vemtaro\\" + name, content);
    ASSERT_TRUE(language.LoadLanguageFile("C:\\Vemtaro\\" + name));
    for (const auto& key : parsed.keys)
      EXPECT_EQ(language.LookUpText(key), utf8 ? parsed.texts.at(key) : Latin1ToUtf8(parsed.texts.at(key)))
          << name << ": " << key << " is found before its own line (a longer key or a text holds it)";
  }

  std::string english_ = ReadShipped("english.vml");
  std::string russian_ = ReadShipped("russian.vml");
};

TEST_F(ShippedLanguages, KeyOfLineTellsKeysFromTextsThatBeginWithDigits) {
  EXPECT_EQ(KeyOfLine("L2.10Sounds Repeat :"), "L2.10");
  EXPECT_EQ(KeyOfLine("L2.11"), "L2.11");
  EXPECT_EQ(KeyOfLine("L2.1New Task"), "L2.1");
  EXPECT_EQ(KeyOfLine("C.600000409"), "C.6");
  EXPECT_EQ(KeyOfLine("C.34vemtaro-help.htm"), "C.34");
  EXPECT_EQ(KeyOfLine("M10Show"), "M10");
  EXPECT_EQ(KeyOfLine("20017Session Lock"), "20017");
  EXPECT_EQ(KeyOfLine("C2.5Hibernate"), "C2.5");
  EXPECT_EQ(KeyOfLine("TF.2The tasks could not be saved"), "TF.2");
  EXPECT_EQ(KeyOfLine("Vemtaro language file"), "");
}

TEST_F(ShippedLanguages, RussianHoldsExactlyTheEnglishKeysInASafeOrder) {
  ASSERT_FALSE(english_.empty()) << "lang/english.vml is missing";
  ASSERT_FALSE(russian_.empty()) << "lang/russian.vml is missing";
  ParsedFile english = Parse(english_);
  ParsedFile russian = Parse(russian_);
  EXPECT_TRUE(english.problems.empty()) << english.problems.front();
  EXPECT_TRUE(russian.problems.empty()) << russian.problems.front();
  ASSERT_GT(english.keys.size(), 150u);

  std::set<std::string> englishKeys(english.keys.begin(), english.keys.end());
  std::set<std::string> russianKeys(russian.keys.begin(), russian.keys.end());
  for (const auto& key : englishKeys) EXPECT_TRUE(russianKeys.count(key)) << "russian.vml lacks " << key;
  for (const auto& key : russianKeys) EXPECT_TRUE(englishKeys.count(key)) << "russian.vml has an unknown key " << key;

  ExpectFoundOnOwnLine("english.vml", english_, english, false);
  ExpectFoundOnOwnLine("russian.vml", russian_, russian, true);
}

TEST_F(ShippedLanguages, EnglishIsAsciiAndRussianIsMarkedUtf8AndTranslated) {
  ParsedFile russian = Parse(russian_);
  ParsedFile english = Parse(english_);
  ASSERT_FALSE(russian.keys.empty());
  EXPECT_TRUE(std::all_of(english_.begin(), english_.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      << "english.vml holds a byte that reads differently in another code page";
  ASSERT_EQ(russian_.substr(0, 3), "\xEF\xBB\xBF") << "russian.vml lacks the UTF-8 byte-order mark";
  // Cyrillic А..я in UTF-8: lead byte 0xD0 or 0xD1 and one continuation byte.
  int cyrillic = 0;
  for (std::size_t i = 0; i + 1 < russian_.size(); ++i) {
    auto c = static_cast<unsigned char>(russian_[i]);
    if ((c == 0xD0 || c == 0xD1) && (static_cast<unsigned char>(russian_[i + 1]) & 0xC0) == 0x80) ++cyrillic;
  }
  EXPECT_GT(cyrillic, 1000);

  // Texts that are words are translated; those that are names, numbers or file names may stay.
  int translated = 0, words = 0;
  for (const auto& key : english.keys) {
    const std::string& en = english.texts[key];
    bool hasLetters = std::any_of(en.begin(), en.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
    if (!hasLetters || en == "Vemtaro" || en.find(".htm") != std::string::npos) continue;
    ++words;
    const std::string& ru = russian.texts[key];
    if (std::any_of(ru.begin(), ru.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xC0; }))
      ++translated;
    else
      ADD_FAILURE() << key << " is not translated: " << ru;
  }
  EXPECT_GT(words, 150);
  EXPECT_EQ(translated, words);
}

TEST_F(ShippedLanguages, TextsThatFollowANumberKeepTheirLeadingBlank) {
  // Shown right after a count ("1 Week"): without the blank the digit and the word run together.
  // The snooze marker follows the message the same way.
  ParsedFile russian = Parse(russian_);
  for (const char* key : {"L2.7", "L2.8", "L2.9", "L3.72"})
    EXPECT_EQ(russian.texts[key].substr(0, 1), " ") << key;
}

}  // namespace
}  // namespace vm

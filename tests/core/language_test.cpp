#include "core/language.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/platform_fakes.h"

namespace vm {
namespace {

class LanguageTest : public ::testing::Test {
 protected:
  // Loads `content` as the file `path` and expects that to work.
  void Load(const std::string& content, const std::string& path = "C:\\Prog\\test.vml") {
    files_.Put(path, content);
    ASSERT_TRUE(language_.LoadLanguageFile(path));
  }

  fakes::MemoryFileSystem files_;
  fakes::ScriptedMessageBoxes boxes_;
  fakes::Latin1Codec codec_;
  Language language_{files_, boxes_, codec_};
};

// The first occurrence of a key's bytes wins, wherever it stands.
TEST_F(LanguageTest, FirstOccurrenceRules) {
  Load(std::string("English\r\n"
                   "M10Show\r\n"
                   "M1Options\r\n"
                   "L1.4=Always on top\r\n"
                   "L2.5Hours, see H.2\r\n"
                   "H.2Program at \r\n"
                   "L2.11\r\n"
                   "C.8Montag\r\n") +
       std::string("\0\0M.3Nul before\r\n", 17) + "C.22Jan");

  EXPECT_EQ(language_.LookUpText("M1"), "0Show");  // M1 listed after M10
  EXPECT_EQ(language_.LookUpText("M10"), "Show");
  EXPECT_EQ(language_.LookUpText("L1.4"), "=Always on top");
  EXPECT_EQ(language_.LookUpText("H.2"), "");  // inside the text of L2.5, up to its line end
  EXPECT_EQ(language_.LookUpText("L2.11"), "");
  EXPECT_EQ(language_.LookUpText("L2.1"), "1");  // the start of the longer key L2.11
  EXPECT_EQ(language_.LookUpText("M.3"), "Nul before");
  EXPECT_EQ(language_.LookUpText("C.22"), "Jan");  // last line without CR LF
  EXPECT_EQ(language_.LookUpText("C.2"), "2Jan");
  EXPECT_EQ(language_.LookUpText("m10"), std::nullopt);  // keys are case-sensitive
  EXPECT_EQ(language_.LookUpText("C.9"), std::nullopt);
  EXPECT_EQ(language_.LookUpText(""), std::nullopt);
}

TEST_F(LanguageTest, TextBoundsAndConversion) {
  Load("C.8Montag\nC.9Dienstag\rC.10Mittwoch\xFC\r\nC.11");

  EXPECT_EQ(language_.LookUpText("C.8"), "Montag");  // a bare LF ends the text too
  EXPECT_EQ(language_.LookUpText("C.9"), "Dienstag");
  EXPECT_EQ(language_.LookUpText("C.10"), "Mittwoch\xC3\xBC");  // Latin-1 ü as UTF-8
  EXPECT_EQ(language_.LookUpText("C.11"), "");  // the key is the last byte of the file
  EXPECT_EQ(language_.TextOr("C.11", "Thursday"), "");
  EXPECT_EQ(language_.TextOr("C.12", "Friday"), "Friday");
}

// A file that starts with the UTF-8 mark is UTF-8 whatever the system's code page; any other
// file is read in the ANSI code page (here the test codec's Latin-1), also when its bytes happen
// to be UTF-8.
TEST_F(LanguageTest, TheByteOrderMarkChoosesUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  Load(mark + "M30\xD0\x9F\xD1\x80\xD0\xBE\xD1\x86\xD0\xB5\xD1\x81\xD1\x81\xD1\x8B\r\nL4.50View\r\n");
  EXPECT_EQ(language_.LookUpText("M30"), "\xD0\x9F\xD1\x80\xD0\xBE\xD1\x86\xD0\xB5\xD1\x81\xD1\x81\xD1\x8B");  // Процессы
  EXPECT_EQ(language_.LookUpText("L4.50"), "View");

  Load(mark + "M1Options\r\n");  // the mark is not part of the first key
  EXPECT_EQ(language_.LookUpText("M1"), "Options");
  EXPECT_EQ(language_.LookUpText(mark + "M1"), std::nullopt);

  Load("M30\xD0\x9F\r\nC.8" + mark + "x\r\n");  // no mark at the start: ANSI bytes
  EXPECT_EQ(language_.LookUpText("M30"), "\xC3\x90\xC2\x9F");
  EXPECT_EQ(language_.LookUpText("C.8"), "\xC3\xAF\xC2\xBB\xC2\xBFx");

  Load(mark);
  EXPECT_EQ(language_.LookUpText("M1"), std::nullopt);
}

TEST_F(LanguageTest, MalformedUtf8BecomesReplacementCharacters) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string bad = "\xEF\xBF\xBD";
  Load(mark +
       "C.8Mont\xE4g\r\n"                 // a Latin-1 byte in a UTF-8 file
       "C.9\xC0\xAF|\xED\xA0\x80\r\n"      // an overlong slash, a surrogate
       "C.10\xF4\x90\x80\x80\r\n"          // beyond U+10FFFF
       "C.11\xF0\x9F\x95\x90 \xE2\x82\xAC\r\n"  // four- and three-byte sequences are kept
       "C.12\xD0");                         // cut short by the end of the file
  EXPECT_EQ(language_.LookUpText("C.8"), "Mont" + bad + "g");
  EXPECT_EQ(language_.LookUpText("C.9"), bad + bad + "|" + bad + bad + bad);
  EXPECT_EQ(language_.LookUpText("C.10"), bad + bad + bad + bad);
  EXPECT_EQ(language_.LookUpText("C.11"), "\xF0\x9F\x95\x90 \xE2\x82\xAC");
  EXPECT_EQ(language_.LookUpText("C.12"), bad);
}

TEST_F(LanguageTest, EachLoadDecidesItsOwnEncoding) {
  Load("\xEF\xBB\xBF" "C.8\xD0\x9F\r\n", "C:\\Prog\\utf8.vml");
  files_.MakeUnreadable("C:\\Prog\\utf8.vml");
  EXPECT_FALSE(language_.LoadLanguageFile("C:\\Prog\\utf8.vml"));
  EXPECT_EQ(language_.LookUpText("C.8"), "\xD0\x9F") << "a failed load keeps the file in force";

  Load("C.8M\xFC\r\n", "C:\\Prog\\latin.vml");
  EXPECT_EQ(language_.LookUpText("C.8"), "M\xC3\xBC");
}

TEST_F(LanguageTest, EmptyAndMissingFiles) {
  EXPECT_EQ(language_.LookUpText("M1"), std::nullopt);  // nothing loaded yet
  EXPECT_FALSE(language_.LoadLanguageFile(""));
  EXPECT_TRUE(boxes_.shown.empty());

  Load("", "C:\\Prog\\empty.vml");
  EXPECT_EQ(language_.Path(), "C:\\Prog\\empty.vml");
  EXPECT_EQ(language_.LookUpText("M1"), std::nullopt);
  EXPECT_EQ(language_.LookUpText("C.1"), std::nullopt);
}

TEST_F(LanguageTest, UnreadableFileWarnsAndKeepsOldTexts) {
  Load("M3Language\r\n", "C:\\Prog\\english.vml");
  files_.Put("C:\\Prog\\locked.vml", "M3Sprache\r\n");
  files_.MakeUnreadable("C:\\Prog\\locked.vml");

  EXPECT_FALSE(language_.LoadLanguageFile("C:\\Prog\\locked.vml"));
  EXPECT_FALSE(language_.LoadLanguageFile("C:\\Prog\\missing.vml"));

  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[0].text, "C:\\Prog\\locked.vml");
  EXPECT_EQ(boxes_.shown[1].text, "C:\\Prog\\missing.vml");
  for (const auto& box : boxes_.shown) {
    EXPECT_EQ(box.caption, "Can't open language resource");
    EXPECT_EQ(box.icon, MsgIcon::Warning);
    EXPECT_EQ(box.owner, 0u);
  }
  EXPECT_EQ(language_.Path(), "C:\\Prog\\english.vml");
  EXPECT_EQ(language_.LookUpText("M3"), "Language");
}

TEST_F(LanguageTest, MessageTableDefaultsAndChanges) {
  auto keys = Language::TableKeys();
  ASSERT_EQ(keys.size(), 68u);
  EXPECT_EQ(keys.front(), "M.1");
  EXPECT_EQ(keys.back(), "C.33");
  // Blanks and spellings that are easy to lose.
  EXPECT_EQ(language_.Msg("M.5"), "Can't reboot ");
  EXPECT_EQ(language_.Msg("M.17"), std::string(15, ' ') + "Save setting?");
  EXPECT_EQ(language_.Msg("L6.6"), std::string(8, ' ') + "Monitor OFF");
  EXPECT_EQ(language_.Msg("C.18"), "Fi");
  EXPECT_EQ(language_.Msg("C.31"), "Okt");
  EXPECT_EQ(language_.Msg("M1"), "");  // not a table key

  Load("C.8Montag\r\nC.9Dienstag\r\nM.3Kann nicht ausschalten\r\n", "C:\\Prog\\deutsch.vml");
  language_.ApplyTableKeys("C.", 1, 14);
  EXPECT_EQ(language_.Msg("M.3"), "Can't power off") << "only the keys asked for change";
  Load("C.8Lundi\r\n", "C:\\Prog\\francais.vml");
  language_.ApplyTableKeys("C.", 1, 14);
  language_.ApplyTableKeys("M", 1, 12);  // no table keys: nothing happens

  EXPECT_EQ(language_.Msg("C.8"), "Lundi");
  EXPECT_EQ(language_.Msg("C.9"), "Dienstag");  // kept from the file before, not the default
  EXPECT_EQ(language_.Msg("C.10"), "Wednesday");
}

}  // namespace
}  // namespace vm

// The setup program's two languages: which one a user gets, and that each is complete.

#include <gtest/gtest.h>

#include <algorithm>

#include "setup/setup_texts.h"

namespace setup {
namespace {

TEST(SetupLanguage, RussianOnlyForARussianUserInterface) {
  EXPECT_EQ(LanguageFor(0x0419), Language::Russian);  // Russian (Russia)
  EXPECT_EQ(LanguageFor(0x0819), Language::Russian);  // Russian (Moldova): the same primary language
  EXPECT_EQ(LanguageFor(0x0019), Language::Russian);  // the neutral Russian
  // English, Ukrainian, Belarusian, German, none: English.
  for (std::uint16_t other : {0x0409, 0x0809, 0x0422, 0x0423, 0x0407, 0x0000, 0x0400})
    EXPECT_EQ(LanguageFor(other), Language::English) << std::hex << other;
}

// Every text of the window and its messages, as the members the program reads.
constexpr std::wstring_view Texts::* kAll[] = {
    &Texts::next, &Texts::cancel, &Texts::browse, &Texts::folderField, &Texts::runAfter, &Texts::close,
    &Texts::installTitleBefore, &Texts::installTitleAfter, &Texts::uninstallTitle, &Texts::installed,
    &Texts::removed, &Texts::continueHint, &Texts::browseTitle, &Texts::confirmRemoval,
    &Texts::closeClockFirst, &Texts::folderEmpty, &Texts::folderTooLongBefore, &Texts::folderTooLongAfter,
    &Texts::folderNotWritableBefore, &Texts::folderNotWritableAfter, &Texts::missingSourceBefore,
    &Texts::missingSourceAfter, &Texts::copyErrorBefore, &Texts::copyErrorAfter, &Texts::notRemovedBefore,
    &Texts::notRemovedAfter, &Texts::shortcutsFailed, &Texts::noStartMenu};

bool HasCyrillic(std::wstring_view text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x0400 && c <= 0x04FF; });
}

TEST(SetupLanguage, EachLanguageWordsEveryTextInItsOwnScript) {
  const Texts& en = TextsFor(Language::English);
  const Texts& ru = TextsFor(Language::Russian);
  int index = 0;
  for (auto member : kAll) {
    const std::wstring_view english = en.*member, russian = ru.*member;
    // Only the installation title's halves may be empty, on different sides in each language.
    if (member != &Texts::installTitleBefore && member != &Texts::installTitleAfter) {
      EXPECT_FALSE(english.empty()) << "English text " << index;
      EXPECT_TRUE(HasCyrillic(russian)) << "Russian text " << index;
    }
    EXPECT_FALSE(HasCyrillic(english)) << "English text " << index << " is not English";
    ++index;
  }
  EXPECT_EQ(ru.installTitleAfter, L"");
  EXPECT_EQ(en.installTitleBefore, L"");
}

}  // namespace
}  // namespace setup

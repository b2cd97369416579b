#pragma once
// The texts of the setup program in its two languages: Russian for a user whose interface
// language is Russian, English for everyone else. The language is chosen once, at start.

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

enum class Language { English, Russian };

// The language for a user interface language identifier (a Windows LANGID): Russian for every
// Russian locale (primary language 0x19), English for any other.
Language LanguageFor(std::uint16_t uiLanguageId);

struct Texts {
  // Buttons, the folder field and the check box.
  std::wstring_view next, cancel, browse, folderField, runAfter, close;
  // The page text: the installation's title is before + product name + after.
  std::wstring_view installTitleBefore, installTitleAfter, uninstallTitle, installed, removed;
  std::wstring_view continueHint;  // below the page text on the start page
  std::wstring_view browseTitle;   // the folder browser's title
  std::wstring_view confirmRemoval, closeClockFirst;
  // Messages; a file or folder goes between a message's two halves.
  std::wstring_view folderEmpty, folderTooLongBefore, folderTooLongAfter, folderNotWritableBefore,
      folderNotWritableAfter, missingSourceBefore, missingSourceAfter, copyErrorBefore, copyErrorAfter,
      notRemovedBefore, notRemovedAfter, shortcutsFailed, noStartMenu;
};

const Texts& TextsFor(Language language);

}  // namespace setup

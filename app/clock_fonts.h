#pragma once
// The clock's fonts between their three forms: the toolkit's font that the labels use, the font
// choice that the font dialog works on, and the two 60-byte records that the settings store.

#include <cstdint>

#include "app/font_records.h"
#include "ui/toolkit/dialogs.h"
#include "ui/toolkit/font.h"

namespace vm {

class TextCodec;

// The font dialog gives the clock nothing smaller than this character height (8 points and
// below, and positive cell heights, become this).
inline constexpr int kSmallestChosenClockHeight = -13;
// Heights beyond this (either sign) come only from a damaged record; they are cut to it so that
// the layout arithmetic stays far from overflow and the window stays on a screen.
inline constexpr int kLargestClockHeight = 1000;
// Flags of the clock's font dialog: screen fonts, start from the given font, effects.
inline constexpr std::uint32_t kClockFontDialogFlags = 321;
// Weights from this on are shown bold (semibold looks closer to bold than to regular).
inline constexpr int kBoldWeight = 600;

// The height a stored or chosen logical font is shown with: 0 (the system's "any size", which
// would draw nothing here) becomes the dialog's smallest size, absurd sizes are cut.
int ShownFontHeight(int height);

// The toolkit font of a logical-font record, in `color`.
ui::Font FontFromLogFont(const LogFontRecord& logFont, ui::Color color, TextCodec& codec);

// The font dialog's starting point from a label's font: height, character set 1, pitch and face
// as the dialog needs them, and also weight and style so that the dialog shows the clock's
// font as it is. `rgb` is the colour as an RGB value; the flags are the clock's.
ui::FontChoice ChoiceFromFont(const ui::Font& font, ui::Color rgb);

// The records of a choice as they are stored: the logical font (face cut to whole characters
// that fit its 32 bytes) and the font-choice record pointing at nothing, with the owner
// window's number, the flags, the colour and the size in tenths of a point.
LogFontRecord LogFontFromChoice(const ui::FontChoice& choice, TextCodec& codec);
ChooseFontRecord DialogRecordFromChoice(const ui::FontChoice& choice, std::uint32_t owner);

}  // namespace vm

#pragma once
// The system's common dialogs as an interface: open file, font, colour, folder browser. The
// Win32 backend shows the real dialogs; the headless backend answers from a script. Message
// boxes are the platform's MessageBoxes (platform/services.h).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/services.h"
#include "ui/toolkit/color.h"

namespace vm::ui {

struct OpenFileRequest {
  std::string title;
  // Pairs of description and pattern separated by '|': "Sounds (*.wav)|*.wav|All files|*.*".
  std::string filter;
  int filterIndex = 1;  // 1-based, as the system counts
  std::string initialDir;
  std::string defaultExt;  // without the dot; appended when the user types a name without one
  std::string fileName;    // proposed name
  WindowId owner = 0;
};

// The font choice the font dialog works on: the fields of the system's logical-font record plus
// the chosen colour and the dialog flags. Heights are design pixels (96 DPI), as everywhere.
struct FontChoice {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 1;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;  // at most 31 characters reach the system; longer names are cut
  Color color = clBlack;
  // The system's font dialog flags (1 screen fonts, 64 start from this choice, 256 effects).
  std::uint32_t flags = 0;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

inline constexpr std::uint32_t kFontDialogScreenFonts = 0x01;
inline constexpr std::uint32_t kFontDialogInitFromChoice = 0x40;
inline constexpr std::uint32_t kFontDialogEffects = 0x100;

struct ColorChoice {
  Color color = clBlack;                // in: initial colour; out: the chosen one (RGB)
  std::array<Color, 16> customColors{};  // kept by the caller between calls (RGB)
  // The system's colour dialog flags (1 start from `color`, 2 fully open).
  std::uint32_t flags = 0;
};

inline constexpr std::uint32_t kColorDialogRgbInit = 0x01;
inline constexpr std::uint32_t kColorDialogFullOpen = 0x02;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen file's full path, or nothing when cancelled.
  virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
  // True when the user chose a font; `choice` then holds it.
  virtual bool ChooseFont(FontChoice& choice, WindowId owner) = 0;
  // True when the user chose a colour; the custom colours are updated either way.
  virtual bool ChooseColor(ColorChoice& choice, WindowId owner) = 0;
  // The chosen folder, or nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(const std::string& title, WindowId owner) = 0;
};

}  // namespace vm::ui

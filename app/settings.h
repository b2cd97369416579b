#pragma once
// The clock's settings in memory and their store in the current user's registry key
// Software\Vemtaro. The main window owns one `Settings`; it reads them all once while it is
// constructed (`GetRegistryInfo`) and writes one group of values, chosen by a data-type number,
// whenever a setting changes (`SetRegistryInfo`). Applying what was read to the window (fonts,
// colours, opacity, position, check marks) is the main window's job; the read report says what
// was found.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/font_records.h"

namespace vm {

class Registry;

// The data-type numbers of `SetRegistryInfo`: each names the value or values one call writes.
// 4 and 8 are not used.
enum SettingsDataType : int {
  kDataTypeLanguage = 0,         // Language
  kDataTypeFormColor = 1,        // FormColor
  kDataTypeFontLog = 2,          // FontLog, FontLog2 (the shared font records)
  kDataTypeTransparency = 3,     // Transparency
  kDataTypePosition = 5,         // Left, Top
  kDataTypeBackground = 6,       // Background
  kDataTypeStayOnTop = 7,        // StayOnTop
  kDataTypeDisplayTime = 9,      // DisplayTime
  kDataTypeDisplayFont = 10,     // DisplayFont, DisplayFont2 (the same shared records)
  kDataTypeAsPanel = 11,         // AsPanel
  kDataTypeUseMonitor = 12,      // UseMonitor
  kDataTypeFontColor = 13,       // FontColor
  kDataTypeDisplayPosition = 14, // DispLeft, DispTop
  kDataTypeZoom = 15,            // Zoom
  kDataTypeTransColor = 16,      // TransColor
  kDataTypeMemWidth = 17,        // MemWidth
  kDataTypeMemHeight = 18,       // MemHeight
  kDataTypeMemView = 19,         // MemView
  kDataTypeMemPanelW = 20,       // MemPanelW
  kDataTypeSnoozeMinutes = 21,   // SnoozeMinutes
};

// The settings, named like their registry values, with the defaults that hold when a value is
// missing. Colours are the program's colour numbers: 0x00BBGGRR, or a system colour 0x800000nn.
struct Settings {
  static constexpr std::uint32_t kClWindow = 0x80000005;
  static constexpr std::uint32_t kClActiveCaption = 0x80000002;

  std::uint32_t FormColor = kClWindow;
  std::uint32_t FontColor = kClActiveCaption;  // the design colour of the clock texts
  bool TransColor = false;
  std::int32_t Transparency = 250;  // as stored; see AppliedOpacity
  std::int32_t Left = 346;          // design position of the window
  std::int32_t Top = 300;
  bool Background = false;
  bool StayOnTop = false;
  bool DisplayTime = true;
  bool AsPanel = false;
  bool UseMonitor = true;
  std::int32_t DispLeft = 346;
  std::int32_t DispTop = 300;
  std::int32_t Zoom = 15;
  std::int32_t MemWidth = 543;
  std::int32_t MemHeight = 411;
  bool MemView = false;
  std::int32_t MemPanelW = 177;
  bool AutoStart = false;
  // How long the alarm window's Snooze waits before the alarm rings again, in minutes. The
  // window offers 5, 10, 15, 30 and 60; any other length from 1 to 1440 stored in the registry
  // is honoured too (a short one for a quick try). Anything else reads as the default.
  std::int32_t SnoozeMinutes = 5;
  // Full path of the language file; the program entry fills it (english.vml in the program
  // directory when nothing else was chosen).
  std::string LanguagePath;
  // Full path of the running program, the command of the autostart entry.
  std::string ExecutablePath;

  // The clock font's records (FontLog, FontLog2). Until something is read or chosen they
  // describe the clock's design font, so that a zoom change before any font choice keeps the
  // clock's face.
  ChooseFontRecord FontDialog = DesignFontDialog();
  LogFontRecord LogFont = DesignLogFont();
  // The desktop-time font's records (DisplayFont, DisplayFont2), a pair of their own: a zoom
  // change after the desktop font was read or chosen must not give the clock that face.
  ChooseFontRecord DisplayFontDialog = DesignDisplayFontDialog();
  LogFontRecord DisplayLogFont = DesignDisplayLogFont();

  // The least opacity the window gets: below it the clock could not be seen to be found again.
  static constexpr std::uint8_t kLeastOpacity = 8;
  // The opacity the window gets: the low byte of Transparency, at least kLeastOpacity.
  std::uint8_t AppliedOpacity() const {
    const auto low = static_cast<std::uint8_t>(Transparency & 0xFF);
    return low < kLeastOpacity ? kLeastOpacity : low;
  }

  // The clock's design font: Georgia, 25 pixels, bold, the system's default character set.
  static LogFontRecord DesignLogFont();
  // A font-choice record for it: size 60, screen fonts + initialise from the logical font +
  // effects, colour = the design font colour.
  static ChooseFontRecord DesignFontDialog();
  // The desktop time's design font: Times, 23 pixels, bold, lime.
  static LogFontRecord DesignDisplayLogFont();
  static ChooseFontRecord DesignDisplayFontDialog();

  bool operator==(const Settings&) const = default;
};

// What `GetRegistryInfo` found, so that the main window can apply it.
struct SettingsReadReport {
  bool keyOpened = false;         // Software\Vemtaro exists
  bool fontLogRead = false;       // FontLog was read into the shared font-choice record
  bool fontLog2Read = false;      // ... and FontLog2 into the shared logical-font record
  bool displayFontRead = false;   // DisplayFont was read into the shared font-choice record
  bool displayFont2Read = false;  // ... and DisplayFont2 into the shared logical-font record
  bool transparencyRead = false;
  bool positionRead = false;      // Left or Top

  // The clock font when FontLog and FontLog2 were both read, its colour field set to FontColor:
  // to be applied to the clock (the shared records may since hold the desktop-time font).
  std::optional<FontRecords> clockFont;
  // The desktop-time font when DisplayFont and DisplayFont2 were both read; its colour field is
  // the colour of the desktop time.
  std::optional<FontRecords> displayFont;

  // Names of the values read, in reading order, and of those ignored for their type or size.
  std::vector<std::string> read;
  std::vector<std::string> ignored;

  bool WasRead(std::string_view name) const;
};

class SettingsStore {
 public:
  explicit SettingsStore(Registry& registry) : registry_(registry) {}

  // Reads every value that exists into `settings`; missing values leave the field as it is (the
  // caller starts from the defaults). A value of the wrong type or size is skipped and logged;
  // reading goes on with the next value.
  SettingsReadReport GetRegistryInfo(Settings& settings);

  // Writes the values of one data type. True when they were all written; false when the key
  // cannot be opened or created, a write fails, the number names no values (4, 8, negative,
  // above 21) or the language path to write is empty; in the last two cases the registry is not
  // touched.
  bool SetRegistryInfo(const Settings& settings, int dataType);

  // Brings the autostart state into the registry: removes the machine-wide Run value (ignoring
  // failures), writes AutoStart, and adds or removes the current user's Run value "Vemtaro".
  // True when AutoStart was written and the current user's Run entry matches it.
  bool SetAutostart(const Settings& settings);

  // The storage half of the menu toggles: invert the setting, write it, give the new state.
  bool ToggleAutostart(Settings& settings);
  bool ToggleBackground(Settings& settings);
  bool ToggleStayOnTop(Settings& settings);

 private:
  Registry& registry_;
};

}  // namespace vm

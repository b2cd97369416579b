#pragma once
// The program entry: one instance per logon, the log, the program directory, the language, then
// the main window and its message loop. Portable; WinMain hands it the real services.

#include <string>

#include "platform/services.h"
#include "platform/system_message.h"

namespace vm {

class Language;

struct ProgramServices {
  InstanceGuard& instance;
  Registry& registry;
  FileSystem& files;
  Environment& environment;
  Clock& clock;
  Locale& locale;
  TextCodec& codec;
  MessageBoxes& messages;
};

// What the entry has found out by the time the main window is created.
struct StartupState {
  std::string programDirectory;  // with trailing backslash
  std::string logPath;           // empty when no log could be created
  bool showMainWindow = true;    // false when "Background" is set
};

// The window layer, as far as the entry needs it.
class ProgramHost {
 public:
  virtual ~ProgramHost() = default;
  virtual void SetApplicationTitle(const std::string& title) = 0;
  // Creates the main window (construction, then FormCreate) and runs the message loop until the
  // main window has closed.
  virtual void RunMainWindow(const StartupState& state) = 0;
  // The standard error display for a failure that ends the start.
  virtual void ShowStartupError(const std::string& message) = 0;
};

inline constexpr const char* kProgramName = "Vemtaro";
inline constexpr const char* kMutexName = "VemtaroMitex";
inline constexpr const char* kSettingsKey = "Software\\Vemtaro";
inline constexpr const char* kDefaultLanguageFile = "english.vml";

// The directory part of an executable path, with its trailing backslash.
std::string ProgramDirectoryOf(const std::string& executablePath);

// The language file to load: always in the program directory, named like the file that the
// stored "Language" value names (english.vml when there is none).
std::string LanguageFileFor(const std::string& programDirectory, const std::string* storedValue);

// Runs the entry; returns the process exit code (always 0).
int ProgramEntry(ProgramServices& services, Language& language, ProgramHost& host);

}  // namespace vm

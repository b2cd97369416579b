#include "app/program_entry.h"

#include <exception>

#include "core/language.h"
#include "core/log.h"

namespace vm {

std::string ProgramDirectoryOf(const std::string& executablePath) {
  auto slash = executablePath.find_last_of("\\/");
  if (slash == std::string::npos) return std::string();
  return executablePath.substr(0, slash + 1);
}

std::string LanguageFileFor(const std::string& programDirectory, const std::string* storedValue) {
  // Only the file name of the stored path counts: a language chosen from another folder is looked
  // for in the program folder at the next start. A value without any folder is a file name as it
  // stands; an empty one falls back to English.
  std::string name = kDefaultLanguageFile;
  if (storedValue) {
    auto slash = storedValue->find_last_of('\\');
    std::string file = slash == std::string::npos ? *storedValue : storedValue->substr(slash + 1);
    if (!file.empty()) name = file;
  }
  return programDirectory + name;
}

namespace {

// Steps 4 to 10 of the entry, run under one guard.
void StartAndRun(ProgramServices& s, Language& language, ProgramHost& host) {
  StartupState state;
  state.programDirectory = ProgramDirectoryOf(s.environment.ExecutablePath());
  state.logPath = OpenLog(s.files, s.environment, s.clock, s.locale, s.codec, state.programDirectory);

  // Settings of an old machine-wide installation are removed; without the rights this fails,
  // which is fine.
  s.registry.DeleteKeyTree(RegRoot::LocalMachine, kSettingsKey);

  if (s.registry.CreateKey(RegRoot::CurrentUser, kSettingsKey)) {
    s.registry.WriteString(RegRoot::CurrentUser, kSettingsKey, "Vemtaro Path", state.programDirectory);
    auto stored = s.registry.ReadValue(RegRoot::CurrentUser, kSettingsKey, "Language");
    const std::string* storedPath =
        stored && stored->type == RegType::String ? &stored->text : nullptr;
    std::string languageFile = LanguageFileFor(state.programDirectory, storedPath);
    language.SetPath(languageFile);
    language.LoadLanguageFile(languageFile);
    s.registry.WriteString(RegRoot::CurrentUser, kSettingsKey, "Language", languageFile);
    auto background = s.registry.ReadValue(RegRoot::CurrentUser, kSettingsKey, "Background");
    if (background && background->type == RegType::Dword && background->number != 0)
      state.showMainWindow = false;
  }

  host.SetApplicationTitle(kProgramName);
  host.RunMainWindow(state);
}

}  // namespace

int ProgramEntry(ProgramServices& s, Language& language, ProgramHost& host) {
  host.SetApplicationTitle(kProgramName);
  if (s.instance.CreateMutexAlreadyExisted(kMutexName)) {
    // Another instance runs: bring its window up and leave without a trace.
    s.instance.BroadcastRegisteredMessage(kShowMessageName);
    return 0;
  }
  host.SetApplicationTitle(kProgramName);
  try {
    StartAndRun(s, language, host);
  } catch (const std::exception& e) {
    host.ShowStartupError(e.what());
  }
  return 0;
}

}  // namespace vm

#pragma once
// The decisions of the setup program that need no window: who it is (install or uninstall, the
// installation script beside it), the steps by state, the target folder and the shortcut paths.
// The system calls it needs come through SystemCalls, so tests can give their own answers.

#include <optional>
#include <string>
#include <string_view>

#include "setup/setup_texts.h"

namespace setup {

enum class Mode { Uninstall = 0, Install = 1 };

// 1 start page, 2 target folder chosen, 3 work done.
enum class State { Start = 1, FolderChosen = 2, Done = 3 };

class SystemCalls {
 public:
  virtual ~SystemCalls() = default;
  // The title of the process start-up information: the path the program was started under,
  // or of the shortcut it was started through. Empty when there is none.
  virtual std::wstring StartupTitle() = 0;
  // The path of the running executable (used when the start-up information names nothing).
  virtual std::wstring ModuleFileName() = 0;
  // The target path of a shortcut file; nothing when it cannot be read. Its arguments are left
  // out: the program reads none, and they would spoil the file name it takes its mode from.
  virtual std::optional<std::wstring> ResolveShortcut(const std::wstring& link) = 0;
  // The absolute form of a path; nothing when it cannot be made (or is longer than 260).
  virtual std::optional<std::wstring> FullPath(const std::wstring& path) = 0;
};

struct Identity {
  std::wstring programPath;   // absolute path of the program (or of its shortcut's target)
  std::wstring sourceFolder;  // with a trailing backslash
  std::wstring fileName;      // file-name part of programPath
  Mode mode = Mode::Install;
  std::wstring baseName;      // lower-cased file name without its extension
  std::wstring infPath;       // sourceFolder + baseName + ".inf"
};

// Start-up steps 1 to 6 up to opening the script. Nothing means: end with exit code 1.
std::optional<Identity> Identify(SystemCalls& system);

bool EndsInLnk(std::wstring_view title);
std::wstring LowerCase(std::wstring_view text);
Mode ModeFromFileName(std::wstring_view fileName);
std::wstring BaseName(std::wstring_view fileName);
// The folder part of a path with its trailing separator, and the file-name part.
std::wstring FolderOf(std::wstring_view path);
std::wstring FileNameOf(std::wstring_view path);

// What the Next and Cancel buttons do.
enum class Action { None, ChooseFolder, Perform, Finish, Close };
Action NextAction(State state, Mode mode);
Action CancelAction(State state);

// The installed clock: target folder + "\" + product name + ".exe".
std::wstring InstalledProgram(std::wstring_view targetFolder, std::wstring_view productName);

// The folder the files go to when the user picked `chosen`: the picked folder itself when it is
// already named after the product, otherwise a folder of that name inside it, so that choosing
// "Programs" does not scatter the files among other programs. No trailing backslash.
std::wstring TargetFolderFor(std::wstring_view chosen, std::wstring_view productName);

// Where the folder browser starts: the per-user programs folder.
std::wstring DefaultProgramsFolder(std::wstring_view localAppData);

// The verdict on a chosen folder. `writable` says whether a file can be created in the folder or,
// when it does not exist yet, in its nearest existing parent.
enum class FolderVerdict { Ok, Empty, TooLong, NotWritable };
FolderVerdict JudgeTargetFolder(std::wstring_view target, bool writable);
// The message shown for a verdict other than Ok.
std::wstring FolderVerdictMessage(const Texts& texts, FolderVerdict verdict, std::wstring_view target);

// A start-menu shortcut: "<programs>\<product>\<name>.lnk".
std::wstring ShortcutFolder(std::wstring_view programsFolder, std::wstring_view productName);
std::wstring ShortcutPath(std::wstring_view programsFolder, std::wstring_view productName,
                          std::wstring_view linkName);

// A link name from the script must be a plain file name: no folders, no reserved characters.
bool IsPlainFileName(std::wstring_view name);

// Messages of a failed copy or delete.
std::wstring MissingSourceMessage(const Texts& texts, std::wstring_view file);
std::wstring CopyErrorMessage(const Texts& texts, std::wstring_view file, std::wstring_view reason);
std::wstring NotRemovedMessage(const Texts& texts, std::wstring_view files);

// The main text of the window by state and mode.
std::wstring MainText(const Texts& texts, State state, Mode mode, std::wstring_view productName);

}  // namespace setup

#pragma once
// Starting what a shortcut (.lnk) file points at.

#include <optional>
#include <string>

#include "platform/action_services.h"

namespace vm {

// The longest target text ("file;arguments") and working directory a shortcut may give, in
// characters: the old 260-byte buffers with their terminator.
inline constexpr std::size_t kMaxShortcutText = 259;

struct ResolvedShortcut {
  std::string file;              // the target in short form
  std::string arguments;         // empty when the link has none
  std::string workingDirectory;  // may be empty
};

// True when the last three characters of `program`, compared without regard to case, are
// "lnk". A text shorter than three characters is not a shortcut.
bool IsShortcutPath(const std::string& program);

// Loads and resolves the shortcut. Nothing when it cannot be resolved, and nothing when the
// target with ";" and the arguments, or the working directory, is longer than
// kMaxShortcutText: such a link is refused rather than started cut short.
std::optional<ResolvedShortcut> ResolveShortcut(ShellLinks& links, WindowId owner,
                                                const std::string& linkPath);

// Starts the shortcut's target with its arguments in its working directory, through the shell
// (default verb) on the NT family, as a command line below `ntVersionCode`. Nothing is started
// when the shortcut cannot be resolved or its target is empty. True when something started.
bool RunShortcut(ShellLinks& links, Shell& shell, WindowId owner, int versionCode,
                 const std::string& linkPath);

// Number of characters of a UTF-8 text (continuation bytes not counted).
std::size_t CharacterCount(const std::string& utf8);

}  // namespace vm

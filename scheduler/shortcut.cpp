#include "scheduler/shortcut.h"

#include <cctype>

#include "scheduler/power.h"

namespace vm {

bool IsShortcutPath(const std::string& program) {
  if (program.size() < 3) return false;
  static constexpr char kEnding[] = "lnk";
  for (std::size_t i = 0; i < 3; ++i) {
    unsigned char c = static_cast<unsigned char>(program[program.size() - 3 + i]);
    if (std::tolower(c) != kEnding[i]) return false;
  }
  return true;
}

std::size_t CharacterCount(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

std::optional<ResolvedShortcut> ResolveShortcut(ShellLinks& links, WindowId owner,
                                                const std::string& linkPath) {
  std::optional<ShellLinkInfo> info = links.Resolve(owner, linkPath);
  if (!info) return std::nullopt;
  // The target and its arguments are kept apart as the link holds them instead of being joined
  // with ";" and split again, so a ";" inside the arguments stays part of them. The length
  // limit still counts them as the joined text "file;arguments".
  std::size_t targetLength = CharacterCount(info->targetPath);
  if (!info->arguments.empty()) targetLength += 1 + CharacterCount(info->arguments);
  if (targetLength > kMaxShortcutText || CharacterCount(info->workingDirectory) > kMaxShortcutText)
    return std::nullopt;
  return ResolvedShortcut{info->targetPath, info->arguments, info->workingDirectory};
}

bool RunShortcut(ShellLinks& links, Shell& shell, WindowId owner, int versionCode,
                 const std::string& linkPath) {
  // The short form keeps blanks out of the old command-line path; where the system has none
  // (short names switched off) the path is used as it is.
  std::string path = links.ShortPath(linkPath).value_or(linkPath);
  std::optional<ResolvedShortcut> target = ResolveShortcut(links, owner, path);
  if (!target || target->file.empty()) return false;
  if (versionCode >= kNtVersionCode)
    return shell.Execute(owner, "", target->file, target->arguments, target->workingDirectory);
  return shell.RunCommandLine(target->file + " " + target->arguments);
}

}  // namespace vm

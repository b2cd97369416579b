#pragma once
// The system side of the setup program: start-up information, shortcuts, folders.

#include <windows.h>

#include <string>

#include "setup/setup_logic.h"

namespace setup {

class Win32SystemCalls : public SystemCalls {
 public:
  std::wstring StartupTitle() override;
  std::wstring ModuleFileName() override;
  std::optional<std::wstring> ResolveShortcut(const std::wstring& link) override;
  std::optional<std::wstring> FullPath(const std::wstring& path) override;
};

// Whether a file can be created in `folder`, or in its nearest existing parent when the folder
// does not exist yet (setup creates it while copying).
bool CanWriteFolder(const std::wstring& folder);

// A known shell folder ("Programs" of the current user's Start menu, local application data).
std::wstring ShellFolder(int csidl);

// Creates a shortcut at `linkPath` to `target`, starting in `workingFolder`. COM must be started.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder);

// The system's text for an error code, without the trailing line break.
std::wstring ErrorText(DWORD code);

}  // namespace setup

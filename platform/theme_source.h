#pragma once
// What the system gives for reading the active visual style: a visual-style file opened as a
// plain resource file (none of its code runs), its scheme-name resource, its bitmaps as 32-bit
// pixels, and the expansion of environment variables in a path.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/bitmap.h"

namespace vm {

// A file loaded as a data file; 0 means none.
using ThemeModule = std::uintptr_t;

// Where the user's visual style is named, under the current user's key.
inline constexpr const char* kThemeManagerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
inline constexpr const char* kThemeDllNameValue = "DllName";
inline constexpr const char* kThemeColorNameValue = "ColorName";

class ThemeSource {
 public:
  // Longest path a visual style may have after its variables were expanded.
  static constexpr std::size_t kMaxPathChars = 256;
  // How much of the scheme-name resource is read.
  static constexpr std::size_t kMaxSchemeNamesBytes = 256;
  // Bitmaps with a side longer than this are taken as damaged and not loaded.
  static constexpr int kMaxBitmapSide = 8192;

  virtual ~ThemeSource() = default;

  // Loads the file as a data file; nothing when it is missing or not a resource file.
  virtual std::optional<ThemeModule> LoadDataFile(const std::string& path) = 0;
  // Releases a module that LoadDataFile returned; 0 is ignored.
  virtual void Release(ThemeModule module) = 0;
  // The first kMaxSchemeNamesBytes bytes (fewer when it is smaller) of the first resource of
  // type "FILERESNAMES"; nothing when the file has none.
  virtual std::optional<std::vector<std::uint8_t>> SchemeNamesResource(ThemeModule module) = 0;
  // The bitmap resource `name` with 32-bit pixels (opaque unless the bitmap carries its own
  // alpha); nothing when the file has no such bitmap or it cannot be read.
  virtual std::optional<ui::Bitmap> LoadBitmapResource(ThemeModule module, const std::string& name) = 0;
  // `path` with its %VARIABLES% expanded; nothing when the result would be longer than
  // kMaxPathChars characters or the system refuses.
  virtual std::optional<std::string> ExpandEnvironment(const std::string& path) = 0;
};

// The system's implementation (Windows builds only).
std::unique_ptr<ThemeSource> MakeWin32ThemeSource();

}  // namespace vm

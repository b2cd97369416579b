#pragma once
// The active Windows visual style as a source of bitmaps: which file and colour scheme the user
// has selected, the file opened as a plain resource file, and the bitmaps cut from it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/theme_source.h"
#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/image_list.h"

namespace vm::theme {

// The visual-style record: the scheme name that prefixes every bitmap name and the opened file.
// It keeps the services it reads through; they must outlive it. The file is released with it.
class VisualStyle {
 public:
  VisualStyle(Registry& registry, ThemeSource& source) : registry_(registry), source_(source) {}
  ~VisualStyle();
  VisualStyle(const VisualStyle&) = delete;
  VisualStyle& operator=(const VisualStyle&) = delete;

  // Upper case; empty at first.
  const std::string& SchemeName() const { return schemeName_; }
  // 0 while no file is open.
  ThemeModule Module() const { return module_; }

 private:
  friend bool OpenVisualStyle(VisualStyle& style);
  friend std::optional<ui::Bitmap> BitmapOfOpenStyle(const VisualStyle& style, const std::string& bitmapName);

  Registry& registry_;
  ThemeSource& source_;
  std::string schemeName_;
  ThemeModule module_ = 0;
};

// (Re)reads the registry and (re)opens the visual-style file into `style`; false when no file
// could be opened (the record then holds none).
bool OpenVisualStyle(VisualStyle& style);

// The bitmap named scheme + "_" + `bitmapName` + "_BMP" from the file the record holds open, as
// it was opened: nothing when no file is open or the file has no such bitmap.
std::optional<ui::Bitmap> BitmapOfOpenStyle(const VisualStyle& style, const std::string& bitmapName);

// LoadThemeStrip from the file the record holds open, without opening it again.
bool StripOfOpenStyle(const VisualStyle& style, ui::ImageList& list, const std::string& bitmapName,
                      int frameCount);

// OpenVisualStyle, then the bitmap named scheme + "_" + `bitmapName` + "_BMP"; nothing when no
// file opens or the file has no such bitmap.
std::optional<ui::Bitmap> LoadThemeBitmap(VisualStyle& style, const std::string& bitmapName);

// Replaces the frames of `list` with the strip `bitmapName` cut into `frameCount` frames stacked
// vertically (frame height = strip height / count, integer division), added without a mask.
// When no file opens or the file has no such strip, the list keeps what it has: a visual style
// without these bitmaps (every system since Vista names one) must not leave the buttons blank.
// Returns whether the list was replaced.
bool LoadThemeStrip(VisualStyle& style, ui::ImageList& list, const std::string& bitmapName,
                    int frameCount);

// The resource name of a theme bitmap: scheme + "_" + name + "_BMP".
std::string ThemeBitmapResourceName(const std::string& schemeName, const std::string& bitmapName);

// The scheme that a "NORMALCOLOR" style names in its scheme-names resource: the resource's
// non-zero bytes up to the first "_" (its wide text read as plain text), from the 7th character
// on, in upper case. Nothing when the collected text has 6 characters or fewer.
std::optional<std::string> SchemeFromNames(const std::vector<std::uint8_t>& resource);

// ASCII upper case; other bytes (UTF-8 sequences) are kept.
std::string UpperAscii(std::string text);

}  // namespace vm::theme

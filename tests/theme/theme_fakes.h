#pragma once
// A visual-style world in memory for the theme tests: files with bitmaps and a scheme-names
// resource, environment variables, and a count of what is open.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/platform_fakes.h"
#include "platform/theme_source.h"

namespace vm::fakes {

class FakeThemeSource : public ThemeSource {
 public:
  struct File {
    std::optional<std::vector<std::uint8_t>> schemeNames;
    std::map<std::string, ui::Bitmap> bitmaps;
  };
  std::map<std::string, File> files;        // by full path
  std::map<std::string, std::string> env;   // "%NAME%" -> value
  std::vector<std::string> bitmapRequests;  // every bitmap name asked for
  int openCount = 0;   // files open now
  int loadCount = 0;   // files opened in all
  int badReleases = 0;

  std::optional<ThemeModule> LoadDataFile(const std::string& path) override {
    if (!files.count(path)) return std::nullopt;
    ++openCount;
    ++loadCount;
    open_[++lastModule_] = path;
    return lastModule_;
  }
  void Release(ThemeModule module) override {
    if (open_.erase(module)) --openCount;
    else ++badReleases;
  }
  std::optional<std::vector<std::uint8_t>> SchemeNamesResource(ThemeModule module) override {
    const File* file = FileOf(module);
    if (!file || !file->schemeNames) return std::nullopt;
    auto bytes = *file->schemeNames;
    bytes.resize(std::min(bytes.size(), kMaxSchemeNamesBytes));
    return bytes;
  }
  std::optional<ui::Bitmap> LoadBitmapResource(ThemeModule module, const std::string& name) override {
    bitmapRequests.push_back(name);
    const File* file = FileOf(module);
    if (!file || !file->bitmaps.count(name)) return std::nullopt;
    return file->bitmaps.at(name);
  }
  std::optional<std::string> ExpandEnvironment(const std::string& path) override {
    std::string out = path;
    for (const auto& [name, value] : env)
      for (std::size_t at; (at = out.find(name)) != std::string::npos;) out.replace(at, name.size(), value);
    if (out.size() > kMaxPathChars) return std::nullopt;
    return out;
  }

 private:
  const File* FileOf(ThemeModule module) const {
    auto o = open_.find(module);
    return o == open_.end() || !files.count(o->second) ? nullptr : &files.at(o->second);
  }
  ThemeModule lastModule_ = 0x10000;
  std::map<ThemeModule, std::string> open_;
};

// The wide-character (UTF-16LE) bytes of an ASCII text, as a scheme-names resource holds it.
inline std::vector<std::uint8_t> WideBytes(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  for (char c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
  return bytes;
}

// The ThemeManager values as the system writes them.
inline void SetThemeManager(FakeRegistry& registry, const std::optional<std::string>& dllName,
                            const std::optional<std::string>& colorName) {
  registry.CreateKey(RegRoot::CurrentUser, kThemeManagerKey);
  if (dllName) registry.WriteString(RegRoot::CurrentUser, kThemeManagerKey, kThemeDllNameValue, *dllName);
  if (colorName) registry.WriteString(RegRoot::CurrentUser, kThemeManagerKey, kThemeColorNameValue, *colorName);
}

// A picture whose every pixel tells where it came from: red = x, green = y, blue = `tint`.
inline ui::Bitmap CodedBitmap(int width, int height, int tint = 0) {
  ui::Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixelAt(x, y, 0xFF000000u | static_cast<ui::Pixel>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (tint & 0xFF)));
  return b;
}

}  // namespace vm::fakes

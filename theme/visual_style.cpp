#include "theme/visual_style.h"

#include <algorithm>

namespace vm::theme {

namespace {

constexpr const char* kNormalColor = "NORMALCOLOR";
// "NORMAL" in front of the real scheme name in the scheme-names resource.
constexpr std::size_t kSchemePrefixLength = 6;

// The text of a string value; a value of another type counts as missing.
std::optional<std::string> ReadText(Registry& registry, const char* name) {
  std::optional<RegValue> value = registry.ReadValue(RegRoot::CurrentUser, kThemeManagerKey, name);
  if (!value || value->type != RegType::String) return std::nullopt;
  return value->text;
}

}  // namespace

VisualStyle::~VisualStyle() {
  if (module_ != 0) source_.Release(module_);
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string ThemeBitmapResourceName(const std::string& schemeName, const std::string& bitmapName) {
  return schemeName + "_" + bitmapName + "_BMP";
}

std::optional<std::string> SchemeFromNames(const std::vector<std::uint8_t>& resource) {
  std::string collected;
  const std::size_t limit = std::min(resource.size(), ThemeSource::kMaxSchemeNamesBytes);
  for (std::size_t i = 0; i < limit; ++i) {
    const std::uint8_t b = resource[i];
    if (b == '_') break;
    if (b != 0) collected += static_cast<char>(b);
  }
  if (collected.size() <= kSchemePrefixLength) return std::nullopt;
  return UpperAscii(collected.substr(kSchemePrefixLength));
}

bool OpenVisualStyle(VisualStyle& style) {
  // A missing key reads as missing values; nothing is created.
  const std::string path = ReadText(style.registry_, kThemeDllNameValue).value_or(std::string());
  if (std::optional<std::string> color = ReadText(style.registry_, kThemeColorNameValue))
    style.schemeName_ = UpperAscii(*color);

  std::optional<ThemeModule> loaded;
  if (!path.empty()) {
    // A path that does not fit after expansion names no file we could open.
    if (std::optional<std::string> expanded = style.source_.ExpandEnvironment(path))
      loaded = style.source_.LoadDataFile(*expanded);
  }
  if (style.module_ != 0) style.source_.Release(style.module_);
  style.module_ = loaded.value_or(0);
  if (style.module_ == 0) return false;

  if (style.schemeName_ == kNormalColor) {
    if (auto names = style.source_.SchemeNamesResource(style.module_))
      if (std::optional<std::string> scheme = SchemeFromNames(*names)) style.schemeName_ = *scheme;
  }
  return true;
}

std::optional<ui::Bitmap> BitmapOfOpenStyle(const VisualStyle& style, const std::string& bitmapName) {
  if (style.module_ == 0) return std::nullopt;
  return style.source_.LoadBitmapResource(style.module_,
                                          ThemeBitmapResourceName(style.schemeName_, bitmapName));
}

bool StripOfOpenStyle(const VisualStyle& style, ui::ImageList& list, const std::string& bitmapName,
                      int frameCount) {
  if (frameCount <= 0) return false;
  std::optional<ui::Bitmap> whole = BitmapOfOpenStyle(style, bitmapName);
  if (!whole) return false;  // keep the frames the list has (see the header)

  const int frameHeight = whole->Height() / frameCount;
  const int frameWidth = whole->Width();
  list.Clear();
  list.SetMasked(false);
  list.SetSize(frameWidth, frameHeight);
  // A strip of size 0 leaves frames of size 0: the buttons then draw their captions only.
  if (frameWidth > 0 && frameHeight > 0) {
    for (int i = 0; i < frameCount; ++i) {
      const ui::Bitmap frame =
          whole->Crop({0, i * frameHeight, frameWidth, (i + 1) * frameHeight});
      list.Add(frame);
    }
  }
  return true;
}

std::optional<ui::Bitmap> LoadThemeBitmap(VisualStyle& style, const std::string& bitmapName) {
  if (!OpenVisualStyle(style)) return std::nullopt;
  return BitmapOfOpenStyle(style, bitmapName);
}

bool LoadThemeStrip(VisualStyle& style, ui::ImageList& list, const std::string& bitmapName,
                    int frameCount) {
  if (frameCount <= 0) return false;
  if (!OpenVisualStyle(style)) return false;
  return StripOfOpenStyle(style, list, bitmapName, frameCount);
}

}  // namespace vm::theme

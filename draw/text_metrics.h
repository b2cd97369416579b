#pragma once
// Measuring and drawing text outside a window: the text renderer that bitmaps use, the fixed
// metrics of headless runs, UTF-8 utilities and the word wrapping of labels.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/color.h"
#include "draw/font.h"
#include "draw/geometry.h"

namespace vm::ui {

class Bitmap;

// Measures text and draws it into bitmaps. The Win32 backend renders with the system's fonts;
// the fixed renderer below makes layout arithmetic deterministic in tests.
class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Extent of one line of `text` in design pixels.
  virtual Size Measure(const Font& font, std::string_view text) = 0;
  // Draws one line with its top-left at `at`; `background` fills the text's cell first unless
  // it is empty (transparent text). Nothing is drawn outside `clip`.
  virtual void DrawText(Bitmap& target, Point at, std::string_view text, const Font& font,
                        Color textColor, std::optional<Color> background, const Rect& clip) = 0;
};

// Fixed metrics: a line of n characters is round(0.6 x |height| x n) wide and |height| high.
// Drawing fills each non-blank character's cell with the text colour, so tests can see where
// text went.
class FixedTextRenderer : public TextRenderer {
 public:
  Size Measure(const Font& font, std::string_view text) override;
  void DrawText(Bitmap& target, Point at, std::string_view text, const Font& font,
                Color textColor, std::optional<Color> background, const Rect& clip) override;
};

// Colour resolver with the default system colours (DefaultSystemColor).
class DefaultColorResolver : public ColorResolver {
 public:
  Color ToRgb(Color c) const override;
  bool HighContrast() const override { return highContrast; }
  bool highContrast = false;  // what a test sets
};

// What drawing in memory uses: the text renderer and colour resolver of the running backend,
// or the fixed/default ones when none is installed. An Application installs its backend's for
// its lifetime.
TextRenderer& CurrentTextRenderer();
const ColorResolver& CurrentColorResolver();

class ScopedRenderContext {
 public:
  ScopedRenderContext(TextRenderer* text, const ColorResolver* colors);
  ~ScopedRenderContext();
  ScopedRenderContext(const ScopedRenderContext&) = delete;
  ScopedRenderContext& operator=(const ScopedRenderContext&) = delete;

 private:
  TextRenderer* previousText_;
  const ColorResolver* previousColors_;
};

// Number of characters (code points) of UTF-8 text; a stray byte counts as one character.
std::size_t Utf8Length(std::string_view text);
// The first `maxChars` characters, never cutting a multi-byte sequence.
std::string Utf8Truncate(std::string_view text, std::size_t maxChars);
// Decodes UTF-8 into code points; a malformed byte becomes U+FFFD.
std::u32string Utf8ToCodePoints(std::string_view text);

// Breaks `text` into lines: at line breaks ("\r\n", "\n\r", "\n" or "\r"), and, when `maxWidth` > 0, between
// words so that a line fits `maxWidth`. A single word wider than `maxWidth` keeps its own line
// (it is not split).
std::vector<std::string> WrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& measureWidth);

}  // namespace vm::ui

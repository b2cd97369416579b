#include "draw/text_metrics.h"

#include <cstdlib>

#include "draw/bitmap.h"

namespace vm::ui {

namespace {

TextRenderer* gText = nullptr;
const ColorResolver* gColors = nullptr;

int FixedCharWidthTimes10(const Font& font) { return std::abs(font.height) * 6; }

// Length in bytes of the UTF-8 sequence starting with `lead`, 1 for a stray byte.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// The length of a valid sequence at `i`, or 0 when it is truncated or malformed.
std::size_t ValidSequenceAt(std::string_view text, std::size_t i) {
  const std::size_t n = SequenceLength(static_cast<unsigned char>(text[i]));
  if (n == 1) return static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 0;
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

Size FixedTextRenderer::Measure(const Font& font, std::string_view text) {
  const long long chars = static_cast<long long>(Utf8Length(text));
  const long long width10 = chars * FixedCharWidthTimes10(font);
  return {static_cast<int>((width10 + 5) / 10), std::abs(font.height)};
}

void FixedTextRenderer::DrawText(Bitmap& target, Point at, std::string_view text,
                                 const Font& font, Color textColor,
                                 std::optional<Color> background, const Rect& clip) {
  const Size extent = Measure(font, text);
  const Rect bounds = Rect::FromXYWH(at.x, at.y, extent.width, extent.height).Intersect(clip);
  if (background) target.Fill(bounds, ColorToPixel(*background));
  const std::u32string cps = Utf8ToCodePoints(text);
  const int h = std::abs(font.height);
  for (std::size_t i = 0; i < cps.size(); ++i) {
    if (cps[i] == U' ') continue;
    const int x0 = at.x + static_cast<int>((static_cast<long long>(i) * FixedCharWidthTimes10(font) + 5) / 10);
    const int x1 = at.x + static_cast<int>((static_cast<long long>(i + 1) * FixedCharWidthTimes10(font) + 5) / 10);
    target.Fill(Rect{x0, at.y, x1, at.y + h}.Intersect(clip), ColorToPixel(textColor));
  }
}

Color DefaultColorResolver::ToRgb(Color c) const {
  return IsSystemColor(c) ? DefaultSystemColor(SystemColorIndex(c)) : (c & 0x00FFFFFFu);
}

TextRenderer& CurrentTextRenderer() {
  static FixedTextRenderer fallback;
  return gText ? *gText : fallback;
}

const ColorResolver& CurrentColorResolver() {
  static DefaultColorResolver fallback;
  return gColors ? *gColors : fallback;
}

ScopedRenderContext::ScopedRenderContext(TextRenderer* text, const ColorResolver* colors)
    : previousText_(gText), previousColors_(gColors) {
  gText = text;
  gColors = colors;
}

ScopedRenderContext::~ScopedRenderContext() {
  gText = previousText_;
  gColors = previousColors_;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = ValidSequenceAt(text, i);
    i += n == 0 ? 1 : n;
    ++count;
  }
  return count;
}

std::string Utf8Truncate(std::string_view text, std::size_t maxChars) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < maxChars; ++count) {
    const std::size_t n = ValidSequenceAt(text, i);
    i += n == 0 ? 1 : n;
  }
  return std::string(text.substr(0, i));
}

std::u32string Utf8ToCodePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = ValidSequenceAt(text, i);
    if (n == 0) {
      out += U'\uFFFD';
      ++i;
      continue;
    }
    const auto b = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(text[i + k])); };
    char32_t cp = 0;
    if (n == 1) cp = b(0);
    else if (n == 2) cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    else if (n == 3) cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    else cp = ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    out += cp;
    i += n;
  }
  return out;
}

std::vector<std::string> WrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& measureWidth) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    // One break is "\r\n", "\n\r" (as older texts write it), "\n" or a lone "\r".
    std::size_t end = text.find_first_of("\r\n", start);
    std::size_t next = end;
    if (end != std::string_view::npos) {
      next = end + 1;
      if (next < text.size() && text[next] != text[end] && (text[next] == '\r' || text[next] == '\n')) ++next;
    }
    std::string_view para = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (maxWidth <= 0 || measureWidth(para) <= maxWidth) {
      lines.emplace_back(para);
    } else {
      // Greedy fill: add words while the line fits; a line always takes at least one word.
      std::string line;
      std::size_t pos = 0;
      while (pos < para.size()) {
        std::size_t wordEnd = para.find(' ', pos);
        if (wordEnd == std::string_view::npos) wordEnd = para.size();
        const std::string_view word = para.substr(pos, wordEnd - pos);
        std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && measureWidth(candidate) > maxWidth) {
          lines.push_back(line);
          line = std::string(word);
        } else {
          line = std::move(candidate);
        }
        pos = wordEnd + 1;
      }
      lines.push_back(line);
    }
    if (end == std::string_view::npos) break;
    start = next;
  }
  return lines;
}

}  // namespace vm::ui

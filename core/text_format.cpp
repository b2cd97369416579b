#include "core/text_format.h"

#include <cstdio>

namespace vm {

namespace {

// The length of the expanded text, negative when the C library cannot expand the format.
int ExpandedLength(const char* format, va_list args) {
#ifdef _WIN32
  return _vscprintf(format, args);
#else
  return std::vsnprintf(nullptr, 0, format, args);
#endif
}

void Expand(char* out, std::size_t size, const char* format, va_list args) {
#ifdef _WIN32
  _vsnprintf(out, size, format, args);
#else
  std::vsnprintf(out, size, format, args);
#endif
}

}  // namespace

std::string FormatTextV(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = ExpandedLength(format, measure);
  va_end(measure);
  if (length < 0) return format;  // keep the raw format rather than lose the text
  std::string text(static_cast<std::size_t>(length), '\0');
  Expand(text.data(), text.size() + 1, format, args);
  return text;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatTextV(format, args);
  va_end(args);
  return text;
}

}  // namespace vm

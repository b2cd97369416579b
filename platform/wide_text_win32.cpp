#include "platform/wide_text_win32.h"

#include <windows.h>

#include <climits>

namespace vm {

namespace {

constexpr unsigned kUtf7 = 65000;
constexpr unsigned kUtf8 = 65001;

// The W API counts in int; texts beyond that are not the program's texts (every file it reads
// is bounded far below), so they convert to nothing rather than to a cut-off text.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

std::wstring ToWide(std::string_view text, UINT codePage) {
  if (text.empty() || !FitsInt(text.size())) return {};
  int size = static_cast<int>(text.size());
  int needed = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  int written = MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), needed);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

std::string FromWide(std::wstring_view wide, UINT codePage, DWORD flags, const char* defaultChar) {
  if (wide.empty() || !FitsInt(wide.size())) return {};
  int size = static_cast<int>(wide.size());
  int needed =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, defaultChar, nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  int written = WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), needed,
                                    defaultChar, nullptr);
  text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return text;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(utf8, CP_UTF8); }

std::string WideToUtf8(std::wstring_view wide) { return FromWide(wide, CP_UTF8, 0, nullptr); }

std::wstring CodePageToWide(std::string_view text, unsigned codePage) {
  return ToWide(text, codePage);
}

std::string WideToCodePage(std::wstring_view wide, unsigned codePage) {
  unsigned effective = codePage == CP_ACP ? GetACP() : codePage;
  // The UTF code pages refuse both the flag and a default character (and can hold everything).
  if (effective == kUtf8 || effective == kUtf7) return FromWide(wide, effective, 0, nullptr);
  std::string text = FromWide(wide, effective, WC_NO_BEST_FIT_CHARS, "?");
  if (text.empty() && !wide.empty() && GetLastError() == ERROR_INVALID_FLAGS) {
    // A few code pages (the ISO-2022 family, symbol) take no flags at all.
    text = FromWide(wide, effective, 0, "?");
  }
  return text;
}

std::wstring WideFromBuffer(const wchar_t* buffer, std::size_t length) {
  if (buffer == nullptr) return {};
  std::size_t end = 0;
  while (end < length && buffer[end] != L'\0') ++end;
  return std::wstring(buffer, end);
}

}  // namespace vm

#pragma once
// Conversions between the program's UTF-8 texts and the UTF-16 texts of the W API, and between
// UTF-16 and the 8-bit code pages. Embedded NUL characters are kept; malformed input becomes
// U+FFFD (or the code page's replacement) instead of failing.

#include <string>
#include <string_view>

namespace vm {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// `codePage` is a Windows code page identifier (CP_ACP, 1252, ...).
std::wstring CodePageToWide(std::string_view text, unsigned codePage);
// Characters the code page cannot hold become '?' (no best-fit look-alikes).
std::string WideToCodePage(std::wstring_view wide, unsigned codePage);

// A W-API result copied out of a buffer that may or may not hold a terminating NUL: the text up
// to the first NUL within `length` characters.
std::wstring WideFromBuffer(const wchar_t* buffer, std::size_t length);

}  // namespace vm

#include "platform/win32_services_win32.h"

#include "platform/wide_text_win32.h"

namespace vm {

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
  return WideToUtf8(CodePageToWide(ansi, CP_ACP));
}

std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
  return WideToCodePage(Utf8ToWide(utf8), CP_ACP);
}

}  // namespace vm

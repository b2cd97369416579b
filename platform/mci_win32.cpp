#include "platform/media_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// MCI answers and error texts fit in this; short paths are limited to one character less.
constexpr DWORD kBufferSize = 256;

}  // namespace

std::uint32_t Win32Mci::SendCommand(const std::string& command, WindowId notifyWindow) {
  return mciSendStringW(Utf8ToWide(command).c_str(), nullptr, 0,
                        reinterpret_cast<HWND>(notifyWindow));
}

std::uint32_t Win32Mci::QueryCommand(const std::string& command, std::string& reply) {
  wchar_t buffer[kBufferSize] = {};
  MCIERROR error = mciSendStringW(Utf8ToWide(command).c_str(), buffer, kBufferSize, nullptr);
  reply = error == 0 ? WideToUtf8(WideFromBuffer(buffer, kBufferSize)) : std::string();
  return error;
}

std::string Win32Mci::ErrorText(std::uint32_t error) {
  wchar_t buffer[kBufferSize] = {};
  if (!mciGetErrorStringW(error, buffer, kBufferSize)) return {};
  return WideToUtf8(WideFromBuffer(buffer, kBufferSize));
}

std::optional<std::string> Win32ShortPaths::ShortPath(const std::string& path) {
  if (path.empty()) return std::nullopt;
  wchar_t buffer[kBufferSize] = {};
  DWORD length = GetShortPathNameW(Utf8ToWide(path).c_str(), buffer, kBufferSize);
  // 0: no such file; kBufferSize or more: the size the short form would need.
  if (length == 0 || length >= kBufferSize) return std::nullopt;
  return WideToUtf8(std::wstring_view(buffer, length));
}

}  // namespace vm

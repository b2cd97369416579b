#include "setup/setup_system_win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace setup {

std::wstring Win32SystemCalls::StartupTitle() {
  STARTUPINFOW info{};
  info.cb = sizeof(info);
  GetStartupInfoW(&info);
  return info.lpTitle ? std::wstring(info.lpTitle) : std::wstring();
}

std::wstring Win32SystemCalls::ModuleFileName() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::wstring> Win32SystemCalls::ResolveShortcut(const std::wstring& link) {
  // COM must start here and now: an already started COM counts as a failure too.
  if (CoInitialize(nullptr) != S_OK) {
    CoUninitialize();  // balances an S_FALSE; harmless after a failure
    return std::nullopt;
  }
  std::optional<std::wstring> result = std::wstring();
  IShellLinkW* shellLink = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shellLink)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      std::wstring path = link.substr(0, MAX_PATH);
      if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
          SUCCEEDED(shellLink->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI))) {
        wchar_t target[MAX_PATH] = {};
        if (shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH) == S_OK) {
          result = std::wstring(target);
        } else {
          result = std::nullopt;
        }
      }
      file->Release();
    }
    shellLink->Release();
  }
  CoUninitialize();
  return result;
}

std::optional<std::wstring> Win32SystemCalls::FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH) return std::nullopt;
  return std::wstring(buffer, n);
}

bool CanWriteFolder(const std::wstring& folder) {
  std::wstring existing = folder;
  while (!existing.empty()) {
    DWORD attributes = GetFileAttributesW(existing.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
      break;
    }
    auto cut = existing.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return false;
    existing.resize(cut);
    if (existing.size() == 2 && existing[1] == L':') existing += L'\\';
  }
  if (existing.empty()) return false;
  if (existing.back() != L'\\') existing += L'\\';
  std::wstring probe = existing + L"~vemtaro-setup-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::wstring ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer)))
    return {};
  return buffer;
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder) {
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink))))
    return false;
  bool saved = false;
  shellLink->SetPath(target.c_str());
  shellLink->SetWorkingDirectory(workingFolder.c_str());
  shellLink->SetIconLocation(target.c_str(), 0);
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
    file->Release();
  }
  shellLink->Release();
  return saved;
}

std::wstring ErrorText(DWORD code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(code);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
    result.pop_back();
  return result;
}

}  // namespace setup

#include <vector>

#include "platform/action_services_win32.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

// COM for the calling thread for as long as the object lives. A thread already in the other
// apartment model can still use the shell link object, so that is not a failure.
class ComScope {
 public:
  ComScope() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    usable_ = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
    balance_ = SUCCEEDED(hr);
  }
  ~ComScope() {
    if (balance_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Usable() const { return usable_; }

 private:
  bool usable_ = false;
  bool balance_ = false;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// Room for link texts. Anything near this size is refused by the caller anyway.
constexpr int kLinkTextRoom = 1024;

}  // namespace

std::optional<ShellLinkInfo> Win32ShellLinks::Resolve(WindowId owner,
                                                      const std::string& linkPath) {
  ComScope com;
  if (!com.Usable()) return std::nullopt;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Out()))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))))
    return std::nullopt;
  std::wstring widePath = Utf8ToWide(linkPath);
  if (widePath.empty() || FAILED(file->Load(widePath.c_str(), STGM_READ))) return std::nullopt;
  if (FAILED(link->Resolve(ToHwnd(owner), SLR_NO_UI))) return std::nullopt;

  // Each text the link cannot give stays empty; an empty target starts nothing.
  ShellLinkInfo info;
  std::vector<wchar_t> buffer(kLinkTextRoom + 1, L'\0');
  if (SUCCEEDED(link->GetWorkingDirectory(buffer.data(), kLinkTextRoom)))
    info.workingDirectory = WideToUtf8(WideFromBuffer(buffer.data(), kLinkTextRoom));
  buffer.assign(buffer.size(), L'\0');
  if (SUCCEEDED(link->GetPath(buffer.data(), kLinkTextRoom, nullptr, SLGP_SHORTPATH)))
    info.targetPath = WideToUtf8(WideFromBuffer(buffer.data(), kLinkTextRoom));
  buffer.assign(buffer.size(), L'\0');
  if (SUCCEEDED(link->GetArguments(buffer.data(), kLinkTextRoom)))
    info.arguments = WideToUtf8(WideFromBuffer(buffer.data(), kLinkTextRoom));
  return info;
}

std::optional<std::string> Win32ShellLinks::ShortPath(const std::string& path) {
  std::wstring wide = Utf8ToWide(path);
  if (wide.empty()) return std::nullopt;
  DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  DWORD written = GetShortPathNameW(wide.c_str(), buffer.data(), needed + 1);
  if (written == 0 || written > needed) return std::nullopt;
  return WideToUtf8(WideFromBuffer(buffer.data(), written));
}

}  // namespace vm

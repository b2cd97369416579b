// The browser area's native side: the system's web-browser control ("Shell.Explorer") in the
// control host window of atl.dll, which is loaded when the first page is shown.

#include <ole2.h>
#include <exdisp.h>

#include <string>

#include "ui/toolkit/win32/control_windows_win32.h"
#include "ui/toolkit/win32_util_win32.h"

namespace vm::ui::win32 {

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

struct ControlHost {
  AtlAxGetControlFn getControl = nullptr;
  bool ready = false;
};

// atl.dll stays loaded for the rest of the process: windows of its class may exist until the
// very end, and its code must outlive them.
const ControlHost& Host() {
  static const ControlHost host = [] {
    ControlHost h;
    // The browser is an in-place OLE object; its thread needs OLE (a second initialisation of
    // the same apartment only counts up).
    if (FAILED(OleInitialize(nullptr))) return h;
    HMODULE atl = LoadLibraryW(L"atl.dll");
    if (!atl) return h;
    auto init = reinterpret_cast<AtlAxWinInitFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    h.getControl = reinterpret_cast<AtlAxGetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    h.ready = init && h.getControl && init();
    return h;
  }();
  return host;
}

HWND BrowserWindow(HWND host) {
  if (HWND child = GetWindow(host, GW_CHILD)) return child;
  const ControlHost& atl = Host();
  if (!atl.ready) return nullptr;
  RECT client{};
  GetClientRect(host, &client);
  return CreateWindowExW(0, L"AtlAxWin", L"Shell.Explorer", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                         0, 0, client.right, client.bottom, host, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

bool NavigateBrowser(HWND host, const std::string& url, int flags) {
  HWND window = BrowserWindow(host);
  if (!window) return false;
  IUnknown* unknown = nullptr;
  if (FAILED(Host().getControl(window, &unknown)) || !unknown) {
    DestroyWindow(window);  // the host made no control: leave the area empty
    return false;
  }
  IWebBrowser2* browser = nullptr;
  HRESULT hr = unknown->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
  unknown->Release();
  if (FAILED(hr) || !browser) {
    DestroyWindow(window);
    return false;
  }
  VARIANT navFlags;
  VariantInit(&navFlags);
  navFlags.vt = VT_I4;
  navFlags.lVal = flags;
  VARIANT none;  // no target frame, no post data, no headers
  VariantInit(&none);
  BSTR address = SysAllocString(Widen(url).c_str());
  hr = address ? browser->Navigate(address, &navFlags, &none, &none, &none) : E_OUTOFMEMORY;
  SysFreeString(address);
  browser->Release();
  return SUCCEEDED(hr);
}

}  // namespace vm::ui::win32

#include "ui/toolkit/win32/control_windows_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <unordered_map>

#include "ui/toolkit/application.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x564D;  // "VM"

std::unordered_map<HWND, WindowRecord*>& ControlMap() {
  static std::unordered_map<HWND, WindowRecord*> map;
  return map;
}

// ---- native controls: a subclass for focus, keys and what the kind's peer takes ----

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);

LRESULT SubclassMessage(WindowRecord* r, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MessageDepth depth(r);
  LRESULT result = 0;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &SubclassProc, kSubclassId);
    ForgetControl(*r);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  if (HandleFocusAndKeys(*r, msg, wp, result)) return result;
  if (r->control && r->peer)
    if (auto handled = r->peer->OwnMessage(msg, wp, lp)) return *handled;
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// What a handler throws ends here: the system's code between us and the message loop cannot
// unwind it. The message then counts as handled.
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* r = reinterpret_cast<WindowRecord*>(ref);
  Application* app = AppOf(*r);  // the record may be gone when the message is done
  LRESULT result = 0;
  GuardedDelivery(app, [&] { result = SubclassMessage(r, hwnd, msg, wp, lp); });
  return result;
}

// One brush per colour, kept for the life of the program (a window uses a handful of colours).
HBRUSH SolidBrush(COLORREF colour) {
  static std::unordered_map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (!brush) brush = CreateSolidBrush(colour);
  return brush;
}

}  // namespace

void RememberControl(HWND hwnd, WindowRecord& record) {
  record.hwnd = hwnd;
  ControlMap()[hwnd] = &record;
}

void ForgetControl(WindowRecord& r) {
  ControlMap().erase(r.hwnd);
  r.dead = true;
  r.control = nullptr;
}

MessageDepth::~MessageDepth() {
  if (--r_->depth == 0 && r_->dead && !r_->creating) delete r_;
}

Application* AppOf(const WindowRecord& r) { return r.backend ? r.backend->App() : nullptr; }

bool HandleFocusAndKeys(WindowRecord& r, UINT msg, WPARAM wp, LRESULT& result) {
  WindowedControl* c = r.control;
  if (!c) return false;
  switch (msg) {
    case WM_SETFOCUS:
      c->PeerFocusChanged(true);
      return false;
    case WM_KILLFOCUS:
      if (r.control) r.control->PeerFocusChanged(false);
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      r.swallowSysChar = false;
      if (c->PeerKeyDown(static_cast<KeyCode>(wp), CurrentShiftState()) == 0) {
        r.swallowSysChar = msg == WM_SYSKEYDOWN;
        result = 0;
        return true;
      }
      return false;
    case WM_SYSCHAR:
      if (!r.swallowSysChar) return false;
      r.swallowSysChar = false;
      result = 0;
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (c->PeerKeyUp(static_cast<KeyCode>(wp), CurrentShiftState()) == 0) {
        result = 0;
        return true;
      }
      return false;
    case WM_CHAR:
      // Tab moved the focus already (see PeerKeyDown); its character goes nowhere.
      if (wp == '\t' || c->PeerChar(static_cast<char32_t>(wp)) == 0) {
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

std::optional<LRESULT> ControlColors(WindowRecord& r, HDC dc, bool edit) {
  WindowedControl* c = r.control;
  if (!c) return std::nullopt;
  if (edit && c->ParentColor() && c->GetFont().color == clWindowText) return std::nullopt;
  const ColorResolver& colors = r.backend->Colors();
  const Color back = edit && c->ParentColor() ? clWindow : c->GetColor();
  const COLORREF backRef = static_cast<COLORREF>(colors.ToRgb(back));
  if (c->Enabled()) SetTextColor(dc, static_cast<COLORREF>(colors.ToRgb(c->GetFont().color)));
  SetBkColor(dc, backRef);
  return reinterpret_cast<LRESULT>(SolidBrush(backRef));
}

void EnsureCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
}

bool CreateControlWindow(WindowRecord& record, HWND parent) {
  const NativeClass native = record.peer->Class();
  const bool own = std::wcscmp(native.name, kControlClassName) == 0;
  if (own && !RegisterControlClass()) {
    delete &record;
    return false;
  }
  if (!own) EnsureCommonControls();  // also for the system's buttons and edits: subclassed below
  WindowedControl& control = *record.control;
  record.creating = true;
  const RECT r = ToDeviceRect(control.Bounds(), record.dpi);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style | (control.Visible() ? WS_VISIBLE : 0);
  HWND hwnd = CreateWindowExW(native.exStyle, native.name, L"", style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top + record.peer->ExtraHeight(), parent, nullptr,
                              GetModuleHandleW(nullptr), own ? &record : nullptr);
  record.creating = false;
  if (!hwnd || record.dead) {
    if (hwnd) ControlMap().erase(hwnd);
    delete &record;
    return false;
  }
  if (!own) {
    RememberControl(hwnd, record);
    SetWindowSubclass(hwnd, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&record));
  }
  if (!control.Enabled()) EnableWindow(hwnd, FALSE);
  record.peer->ShowAll();
  return true;
}

WindowRecord* ControlRecordOf(HWND hwnd) {
  auto& map = ControlMap();
  auto it = map.find(hwnd);
  return it == map.end() ? nullptr : it->second;
}

std::optional<LRESULT> ReflectToControl(UINT msg, WPARAM wp, LPARAM lp) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<const NMHDR*>(lp)->hwndFrom; break;
    case WM_HSCROLL:
    case WM_VSCROLL: child = reinterpret_cast<HWND>(lp); break;
    case WM_DRAWITEM: child = reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: child = reinterpret_cast<HWND>(lp); break;
    default: return std::nullopt;
  }
  WindowRecord* r = child ? ControlRecordOf(child) : nullptr;
  if (!r || !r->control || !r->peer) return std::nullopt;
  MessageDepth depth(r);
  if (auto handled = r->peer->ParentMessage(msg, wp, lp)) return handled;
  // Scroll reports and item drawing of our controls go no further than here.
  if (msg == WM_HSCROLL || msg == WM_VSCROLL) return 0;
  if (msg == WM_DRAWITEM) return FALSE;
  return std::nullopt;
}

}  // namespace vm::ui::win32

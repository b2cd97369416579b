// The edit and the memo: the system's EDIT, single- or multi-line. The user's typing comes back
// as PeerTextChanged; read-only, border and maximum length follow the control.
#include "ui/toolkit/win32/control_peer_win32.h"

#include <string>

#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class EditPeerWin32 : public Peer<EditPeer, Edit> {
 public:
  using Peer::Peer;
  NativeClass Class() const override {
    return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, control_.Border() ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0u};
  }
  void StyleChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, EM_SETREADONLY, control_.ReadOnly() ? TRUE : FALSE, 0);
    SendMessageW(w, EM_SETLIMITTEXT, static_cast<WPARAM>(control_.MaxLength()), 0);
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    const LONG_PTR wanted = control_.Border() ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    if (wanted != ex) {
      SetWindowLongPtrW(w, GWL_EXSTYLE, wanted);
      SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  void ShowAll() override {
    FontChanged();
    StyleChanged();
    TextChanged();
  }
  std::optional<LRESULT> OwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_LBUTTONDBLCLK) return std::nullopt;
    const LRESULT def = Default(msg, wp, lp);  // the system selects the word first
    if (Live()) control_.PeerDoubleClick();
    return def;
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE) control_.PeerTextChanged(WindowText());
        return 0;
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        return ControlColors(record_, reinterpret_cast<HDC>(wp), true);
      default:
        return std::nullopt;
    }
  }

 private:
  std::string WindowText() const {
    const int length = GetWindowTextLengthW(record_.hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(record_.hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Narrow(text);
  }
};

// Scroll bars and word wrap are fixed when the window is made.
class MemoPeerWin32 final : public EditPeerWin32 {
 public:
  MemoPeerWin32(WindowRecord& record, WindowedControl& control)
      : EditPeerWin32(record, control), memo_(PeerKind<Memo>(control)) {}
  NativeClass Class() const override {
    DWORD style = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!memo_.WordWrap()) style |= ES_AUTOHSCROLL;
    const ScrollStyle bars = memo_.ScrollBars();
    if (bars == ScrollStyle::Vertical || bars == ScrollStyle::Both) style |= WS_VSCROLL;
    if (bars == ScrollStyle::Horizontal || bars == ScrollStyle::Both) style |= WS_HSCROLL;
    return {L"EDIT", style, WS_EX_CLIENTEDGE};
  }

 private:
  Memo& memo_;
};

}  // namespace

std::unique_ptr<NativePeer> MakeEditPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<EditPeerWin32>(record, control);
}

std::unique_ptr<NativePeer> MakeMemoPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<MemoPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

#include "platform/win32_services_win32.h"

#include "platform/wide_text_win32.h"

namespace vm {

namespace {

UINT IconFlag(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return MB_ICONINFORMATION;
    case MsgIcon::Warning: return MB_ICONWARNING;
    case MsgIcon::Error: return MB_ICONERROR;
    case MsgIcon::Question: return MB_ICONQUESTION;
    case MsgIcon::None: break;
  }
  return 0;
}

UINT ButtonFlag(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel: return MB_OKCANCEL;
    case MsgButtons::YesNo: return MB_YESNO;
    case MsgButtons::YesNoCancel: return MB_YESNOCANCEL;
    case MsgButtons::Ok: break;
  }
  return MB_OK;
}

// The answer when the box was cancelled, could not be shown or was ended some other way: the
// one that changes nothing, so that a failure never counts as the user's consent.
MsgResult CautiousAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgResult::Cancel;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::Ok: break;
  }
  return MsgResult::Ok;
}

}  // namespace

MsgResult Win32MessageBoxes::Show(const MessageBoxRequest& request) {
  UINT flags = IconFlag(request.icon) | ButtonFlag(request.buttons);
  if (request.topMost) flags |= MB_TOPMOST;
  if (request.foreground) flags |= MB_SETFOREGROUND;
  // A window that no longer exists must not make the box fail: show it without owner instead.
  HWND owner = reinterpret_cast<HWND>(request.owner);
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  int answer = MessageBoxW(owner, Utf8ToWide(request.text).c_str(),
                           Utf8ToWide(request.caption).c_str(), flags);
  switch (answer) {
    case IDOK: return MsgResult::Ok;
    case IDYES: return MsgResult::Yes;
    case IDNO: return MsgResult::No;
    default: return CautiousAnswer(request.buttons);  // IDCANCEL (Esc, close box) or failure
  }
}

}  // namespace vm

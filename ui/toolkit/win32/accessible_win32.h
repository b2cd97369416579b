#pragma once
// Screen readers through Microsoft Active Accessibility: our windows answer WM_GETOBJECT for
// their client area with an IAccessible object made from the portable tree (accessible.h).
// The form window answers for the form, a blank control window for its control, and a focus
// proxy's window for the proxy's control (so the focus event the system sends when a proxy
// takes the focus names the control). Standard controls keep the system's own objects: they
// appear among our children as the system's object of their window.
//
// oleacc.dll is loaded at the first question (the program delay-loads it): a program that no
// screen reader asks never loads it.

#include <windows.h>

#include <optional>

#include "ui/toolkit/accessible.h"

namespace vm::ui {
class Control;
}

namespace vm::ui::win32 {

// The answer to WM_GETOBJECT for a window that stands for `control` (a form, a blank control
// window, a focus proxy); nullopt leaves the message to the default processing.
std::optional<LRESULT> AnswerGetObject(Control& control, WPARAM wp, LPARAM lp);

// Tells screen readers about a change of `item`, `sub` (-1: the window's own object) in `hwnd`.
void NotifyAccessibleEvent(HWND hwnd, AccessEvent event, int item, int sub);

// The child id that stands for an item of a control's object (a grid's row or cell), and back.
LONG ItemChildId(int item, int sub);
bool ItemOfChildId(LONG id, int& item, int& sub);

// The message a screen reader's default action is carried in: actions run from the message
// queue, not inside the reader's call (a click may open a modal window).
UINT AccessActionMessage();
// Runs the default actions that wait (the handler of AccessActionMessage).
void RunPendingAccessActions();

}  // namespace vm::ui::win32

#pragma once
// The window class of the toolkit's windows and its window procedure: one small handler per
// message, the HWND-to-record map (an entry lives from WM_NCCREATE to WM_NCDESTROY).

#include "ui/toolkit/win32_util_win32.h"

#include "ui/toolkit/backend_win32.h"

namespace vm::ui::win32 {

inline constexpr wchar_t kFormClassName[] = L"VemtaroForm";

// Registers the class once per process; false if the system refused.
bool RegisterFormClass();
// The record of a window of ours, or nullptr (not ours, or already gone).
WindowRecord* RecordOf(HWND hwnd);
// Creates a window of our class for `record`, which then lives until WM_NCDESTROY; on failure
// the record is deleted and nullptr returned.
HWND CreateFormWindow(WindowRecord* record, DWORD exStyle, DWORD style, const RECT& bounds,
                      HWND owner, const wchar_t* title);
// The system's cursor for a portable one.
HCURSOR CursorHandle(Cursor cursor);
// The shift state as the system reports it now.
ShiftState CurrentShiftState();

}  // namespace vm::ui::win32

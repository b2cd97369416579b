#pragma once
// The window class of the toolkit's windows and its window procedure: one small handler per
// message, the HWND-to-record map (an entry lives from WM_NCCREATE to WM_NCDESTROY).

#include "ui/toolkit/win32_util_win32.h"

#include <functional>

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
// The modifier keys and mouse buttons down now, as the system reports them.
ShiftState CurrentShiftState();
// Answers WM_PAINT for a form or control window: `draw` composes the picture in memory (with
// the dirty area in design pixels), which is then copied to the window at once.
void PaintBuffered(WindowRecord& r, const std::function<void(Canvas&, const Rect& dirty)>& draw);

}  // namespace vm::ui::win32

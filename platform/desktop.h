#pragma once
// The desktop's icon view, on which the clock draws the time while it sits in the notification
// area. Windows are named by `WindowId`; 0 means none.

#include <functional>
#include <string>

#include "platform/services.h"
#include "draw/bitmap.h"
#include "draw/canvas.h"
#include "draw/geometry.h"

namespace vm {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The top-level window of class "Progman" titled "Program Manager", or 0.
  virtual WindowId FindDesktopWindow() = 0;
  // Its child of class "SHELLDLL_DefView", or 0.
  virtual WindowId FindDesktopView(WindowId desktop) = 0;
  // The icon view where the system keeps it while a wallpaper slideshow runs: the child
  // "SHELLDLL_DefView" of a top-level window of class "WorkerW"; 0 if there is none.
  virtual WindowId FindWorkerView() = 0;
  // Copies the picture that `window` shows in `source` (its window coordinates, design
  // pixels), scaled to the size of `into`. False when there is no picture to be had (no window,
  // an empty target); `into` is then left as it was.
  virtual bool CopyPicture(WindowId window, const ui::Rect& source, ui::Bitmap& into) = 0;
  // Has the window repaint everything (with its children), erasing what was drawn on it.
  virtual void Redraw(WindowId window) = 0;
  // Has the window repaint one rectangle (client coordinates) at once.
  virtual void RepaintRect(WindowId window, const ui::Rect& rect) = 0;
  // Runs `draw` with a canvas on the whole-window device context of `window`; the context is
  // released afterwards, also when `draw` throws. False when no context could be had.
  virtual bool DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) = 0;
};

}  // namespace vm

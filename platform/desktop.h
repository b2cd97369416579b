#pragma once
// The desktop's icon view, on which the clock draws the time while it sits in the notification
// area. Windows are named by `WindowId`; 0 means none.

#include <functional>
#include <string>

#include "platform/services.h"
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
  // Has the window repaint everything (with its children), erasing what was drawn on it.
  virtual void Redraw(WindowId window) = 0;
  // Has the window repaint one rectangle (client coordinates) at once.
  virtual void RepaintRect(WindowId window, const ui::Rect& rect) = 0;
  // Runs `draw` with a canvas on the whole-window device context of `window`; the context is
  // released afterwards, also when `draw` throws. False when no context could be had.
  virtual bool DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) = 0;
};

}  // namespace vm

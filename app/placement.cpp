#include "app/placement.h"

namespace vm {

WindowBox PlaceNearClock(WindowBox w, const WindowBox& c, int screenWidth, int screenHeight) {
  if (w.height < c.top)
    w.top = c.top - w.height;
  else if (c.top + c.height + w.height < screenHeight)
    w.top = c.top + c.height;
  w.left = c.left + w.width > screenWidth ? screenWidth - w.width : c.left;
  return w;
}

int SlidePanelTop(int top, int height, bool show, bool stayOnTop, bool asPanel) {
  if (stayOnTop || !asPanel) return top;
  if (show && top < 0) return 5;
  if (!show && top > 0) return 5 - height;
  return top;
}

}  // namespace vm

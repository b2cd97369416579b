#pragma once
// Where secondary windows open and where the clock hangs in panel mode.

namespace vm {

struct WindowBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The placement rule for a window opened from the clock: just above the clock when there is
// room, else just below it when that fits on the screen, else where it is; left-aligned with the
// clock, but flush with the right screen edge when it would stick out there.
WindowBox PlaceNearClock(WindowBox window, const WindowBox& clock, int screenWidth, int screenHeight);

// Panel mode: the clock's new top when the mouse touches it (show) or the program loses the
// focus (hide); nothing changes unless panel mode is on and the clock is not top-most. Hidden,
// the clock hangs above the screen with its lowest 5 pixels visible.
int SlidePanelTop(int top, int height, bool show, bool stayOnTop, bool asPanel);

}  // namespace vm

#pragma once
// Scaling between design pixels (96 DPI) and device pixels. Kept portable so the arithmetic is
// tested on every build; the Win32 backend applies it.

namespace vm::ui {

inline constexpr int kDesignDpi = 96;

// Device pixels for a design length, rounded half away from zero (96 -> 144 DPI is 1.5 x).
// A DPI of 0 or less counts as 96.
int ToDevice(int design, int dpi);
// Design pixels for a device length, rounded half away from zero.
int ToDesign(int device, int dpi);
// For sizes that must not shrink (a measured text): rounded up, away from zero.
int ToDesignCeil(int device, int dpi);

}  // namespace vm::ui

#pragma once
// Colours as the program stores them: 0x00BBGGRR for an RGB colour, or 0x800000nn for the
// system colour with index nn, which a backend resolves to the user's current colour. The same
// 32-bit value is what the settings and the font records persist.

#include <cstdint>

namespace vm::ui {

using Color = std::uint32_t;

constexpr Color MakeRgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr int SystemColorIndex(Color c) { return static_cast<int>(c & 0xFF); }

// System colours (the system's colour indices with the top bit set).
inline constexpr Color clScrollBar = 0x80000000;
inline constexpr Color clBackground = 0x80000001;
inline constexpr Color clActiveCaption = 0x80000002;
inline constexpr Color clInactiveCaption = 0x80000003;
inline constexpr Color clMenu = 0x80000004;
inline constexpr Color clWindow = 0x80000005;
inline constexpr Color clWindowFrame = 0x80000006;
inline constexpr Color clMenuText = 0x80000007;
inline constexpr Color clWindowText = 0x80000008;
inline constexpr Color clCaptionText = 0x80000009;
inline constexpr Color clActiveBorder = 0x8000000A;
inline constexpr Color clInactiveBorder = 0x8000000B;
inline constexpr Color clAppWorkSpace = 0x8000000C;
inline constexpr Color clHighlight = 0x8000000D;
inline constexpr Color clHighlightText = 0x8000000E;
inline constexpr Color clBtnFace = 0x8000000F;
inline constexpr Color clBtnShadow = 0x80000010;
inline constexpr Color clGrayText = 0x80000011;
inline constexpr Color clBtnText = 0x80000012;
inline constexpr Color clInactiveCaptionText = 0x80000013;
inline constexpr Color clBtnHighlight = 0x80000014;
inline constexpr Color cl3DDkShadow = 0x80000015;
inline constexpr Color cl3DLight = 0x80000016;
inline constexpr Color clInfoText = 0x80000017;
inline constexpr Color clInfoBk = 0x80000018;
inline constexpr Color clHotLight = 0x8000001A;
inline constexpr Color clGradientActiveCaption = 0x8000001B;
inline constexpr Color clGradientInactiveCaption = 0x8000001C;
inline constexpr Color clMenuHighlight = 0x8000001D;
inline constexpr Color clMenuBar = 0x8000001E;

// Fixed colours.
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clPurple = 0x800080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clGray = 0x808080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clFuchsia = 0xFF00FF;
inline constexpr Color clAqua = 0xFFFF00;
inline constexpr Color clWhite = 0xFFFFFF;

// "No colour" (a shape or bevel that draws no outline) and "the control's default".
inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

// Resolves system colours to RGB; a backend knows the user's current colours.
class ColorResolver {
 public:
  virtual ~ColorResolver() = default;
  // The RGB value of `c`: system colours looked up, RGB colours returned unchanged.
  virtual Color ToRgb(Color c) const = 0;
  // The user chose a high-contrast scheme: what the program draws from pictures of its own (the
  // themed buttons, the menus) is drawn in the system colours instead, so that it stays readable.
  virtual bool HighContrast() const { return false; }
};

// The classic default values of the system colours (the "Windows Standard" scheme), used where
// no system is asked: headless runs and bitmaps drawn in memory.
Color DefaultSystemColor(int index);

// Bitmap pixels are 0xAARRGGBB (the byte order of a 32-bit device-independent bitmap).
using Pixel = std::uint32_t;

constexpr Pixel ColorToPixel(Color rgb, int alpha = 255) {
  return (static_cast<Pixel>(alpha & 0xFF) << 24) | (static_cast<Pixel>(RedOf(rgb)) << 16) |
         (static_cast<Pixel>(GreenOf(rgb)) << 8) | static_cast<Pixel>(BlueOf(rgb));
}
constexpr Color PixelToColor(Pixel p) {
  return MakeRgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                 static_cast<int>(p & 0xFF));
}
constexpr int AlphaOf(Pixel p) { return static_cast<int>(p >> 24); }

}  // namespace vm::ui

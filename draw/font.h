#pragma once
// A font as the windows describe it. Heights are in design pixels (96 DPI): negative = the
// character height (the usual way, "height -25"), positive = the cell height including the
// internal leading. Size in points is derived at 96 pixels per inch.

#include <cstdint>
#include <string>

#include "draw/color.h"

namespace vm::ui {

enum class FontPitch : std::uint8_t { Default, Fixed, Variable };

struct Font {
  std::string name = "MS Sans Serif";
  int height = -11;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Color color = clWindowText;
  std::uint8_t charset = 1;  // the system's default character set
  FontPitch pitch = FontPitch::Default;

  // Points at 96 DPI, rounded as the system rounds (8 pt is height -11); a positive height
  // reads as a negative size and a negative size sets a positive height.
  int SizePoints() const;
  void SetSizePoints(int points);

  friend bool operator==(const Font&, const Font&) = default;
};

// Rounded a * b / c, half away from zero; 0 for c == 0 and -1 when the result does not fit,
// as the system's MulDiv.
int MulDiv(int a, int b, int c);

}  // namespace vm::ui

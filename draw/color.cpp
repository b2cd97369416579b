#include "draw/color.h"

#include <array>

namespace vm::ui {

Color DefaultSystemColor(int index) {
  // The values a current system reports for its default colour scheme, as r, g, b.
  static constexpr std::array<std::array<int, 3>, 31> kDefaults{{
      {200, 200, 200}, {0, 0, 0},       {153, 180, 209}, {191, 205, 219}, {240, 240, 240},
      {255, 255, 255}, {100, 100, 100}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
      {180, 180, 180}, {244, 247, 252}, {171, 171, 171}, {0, 120, 215},   {255, 255, 255},
      {240, 240, 240}, {160, 160, 160}, {109, 109, 109}, {0, 0, 0},       {0, 0, 0},
      {255, 255, 255}, {105, 105, 105}, {227, 227, 227}, {0, 0, 0},       {255, 255, 225},
      {0, 0, 0},       {0, 102, 204},   {185, 209, 234}, {215, 228, 242}, {51, 153, 255},
      {240, 240, 240},
  }};
  if (index < 0 || index >= static_cast<int>(kDefaults.size())) return clBlack;
  const auto& c = kDefaults[static_cast<std::size_t>(index)];
  return MakeRgb(c[0], c[1], c[2]);
}

}  // namespace vm::ui

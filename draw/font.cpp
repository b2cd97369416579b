#include "draw/font.h"

#include <cstdint>
#include <cstdlib>

namespace vm::ui {

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  const std::int64_t den = c;
  const bool negative = (num < 0) != (den < 0);
  const std::int64_t q = (std::llabs(num) + std::llabs(den) / 2) / std::llabs(den);
  const std::int64_t result = negative ? -q : q;
  if (result > INT32_MAX || result < INT32_MIN) return -1;  // as the system's MulDiv
  return static_cast<int>(result);
}

int Font::SizePoints() const {
  // As the classic font objects do: a positive (cell) height gives a negative size, so that
  // halving a size and setting it back keeps the kind of height.
  return -MulDiv(height, 72, 96);
}

void Font::SetSizePoints(int points) { height = -MulDiv(points, 96, 72); }

}  // namespace vm::ui

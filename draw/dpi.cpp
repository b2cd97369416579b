#include "draw/dpi.h"

#include "draw/font.h"

namespace vm::ui {

namespace {
int Sane(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }
}  // namespace

int ToDevice(int design, int dpi) { return MulDiv(design, Sane(dpi), kDesignDpi); }

int ToDesign(int device, int dpi) { return MulDiv(device, kDesignDpi, Sane(dpi)); }

int ToDesignCeil(int device, int dpi) {
  const long long d = Sane(dpi);
  const long long n = static_cast<long long>(device) * kDesignDpi;
  const long long q = n >= 0 ? (n + d - 1) / d : -((-n + d - 1) / d);
  return static_cast<int>(q);
}

}  // namespace vm::ui

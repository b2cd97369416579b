#include "app/version_code.h"

namespace vm {

std::uint16_t VersionCode(int major, int minor) {
  switch (major) {
    case 4: return minor == 0 ? 15 : 18;
    case 5: return minor == 0 ? 20 : 21;
    case 6: return minor == 0 ? 60 : 61;
    default: return major > 6 ? 61 : 0;
  }
}

}  // namespace vm

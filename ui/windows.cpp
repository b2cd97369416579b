#include "ui/windows.h"

namespace vm {

WindowKinds AllWindowKinds() {
  WindowKinds kinds{};
  return kinds;
}

}  // namespace vm

#pragma once
// The secondary windows of the program, by window number, for the clock to create on demand.

#include "app/main_services.h"

namespace vm {

WindowKinds AllWindowKinds();

}  // namespace vm

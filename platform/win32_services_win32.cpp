#include "platform/win32_services_win32.h"

namespace vm {

Win32Services::Win32Services() = default;
Win32Services::~Win32Services() = default;

}  // namespace vm

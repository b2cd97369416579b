#include "platform/action_services_win32.h"

namespace vm {

void Win32Keyboard::SendKeyEvent(std::uint8_t virtualKey, bool keyUp) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

bool Win32Keyboard::LockWorkstation() { return ::LockWorkStation() != FALSE; }

}  // namespace vm

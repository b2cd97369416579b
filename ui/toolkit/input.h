#pragma once
// Mouse buttons, modifier state, key codes and mouse cursors, independent of the system's
// message layout. Key codes are the system's virtual-key numbers, so that a key code stored or
// compared by the windows means the same everywhere.

#include <cstdint>

namespace vm::ui {

enum class MouseButton : std::uint8_t { Left, Right, Middle };

// Modifier keys and mouse buttons held during an input event.
struct ShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool left = false;
  bool right = false;
  bool middle = false;
  bool doubleClick = false;
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

using KeyCode = std::uint16_t;

inline constexpr KeyCode kKeyBack = 0x08;
inline constexpr KeyCode kKeyTab = 0x09;
inline constexpr KeyCode kKeyEnter = 0x0D;
inline constexpr KeyCode kKeyShift = 0x10;
inline constexpr KeyCode kKeyControl = 0x11;
inline constexpr KeyCode kKeyMenu = 0x12;  // Alt
inline constexpr KeyCode kKeyEscape = 0x1B;
inline constexpr KeyCode kKeySpace = 0x20;
inline constexpr KeyCode kKeyPageUp = 0x21;
inline constexpr KeyCode kKeyPageDown = 0x22;
inline constexpr KeyCode kKeyEnd = 0x23;
inline constexpr KeyCode kKeyHome = 0x24;
inline constexpr KeyCode kKeyLeft = 0x25;
inline constexpr KeyCode kKeyUp = 0x26;
inline constexpr KeyCode kKeyRight = 0x27;
inline constexpr KeyCode kKeyDown = 0x28;
inline constexpr KeyCode kKeyInsert = 0x2D;
inline constexpr KeyCode kKeyDelete = 0x2E;
inline constexpr KeyCode kKeyApps = 0x5D;  // the Menu key
inline constexpr KeyCode kKeyF1 = 0x70;
inline constexpr KeyCode kKeyF2 = 0x71;
inline constexpr KeyCode kKeyF3 = 0x72;
inline constexpr KeyCode kKeyF4 = 0x73;
inline constexpr KeyCode kKeyF5 = 0x74;
inline constexpr KeyCode kKeyF10 = 0x79;
inline constexpr KeyCode kKeyF12 = 0x7B;

// The keys that open a context menu: the Menu key, and Shift+F10.
constexpr bool IsContextMenuKey(KeyCode key, ShiftState shift) {
  if (shift.ctrl || shift.alt) return false;
  return (key == kKeyApps && !shift.shift) || (key == kKeyF10 && shift.shift);
}

// The key code of a letter ('a'..'z' or 'A'..'Z') or a digit; 0 for anything else.
constexpr KeyCode KeyOf(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<KeyCode>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<KeyCode>(c);
  return 0;
}

enum class Cursor : std::uint8_t {
  Default,  // the parent's cursor (the arrow for a window)
  Arrow,
  Hand,
  IBeam,
  Wait,
  Cross,
  SizeAll,
  SizeWE,
  SizeNS,
  No,
};

}  // namespace vm::ui

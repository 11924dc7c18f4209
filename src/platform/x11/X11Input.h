#pragma once
// X input in the window system's terms: keysyms as virtual keys and typed characters, pointer
// buttons as mouse buttons, the modifier and button state as MK_* flags.

#include <cstdint>
#include <optional>

#include "platform/Backend.h"

namespace platform::x11 {

// The virtual key of a keysym; 0 for a key the framework has no number for.
uint16_t VirtualKey(uint32_t keysym);
// The character a keysym types (printable ASCII, and the control keys that type one); 0 for
// none.
char TypedChar(uint32_t keysym);
// The MK_* flags of a pointer or key event's state (buttons and modifiers held before it).
uint32_t MouseKeys(uint16_t state);
// Pointer buttons 1 to 3 (left, middle, right); none for other buttons (the wheel's).
std::optional<MouseButton> PointerButton(uint8_t button);
// The virtual key of pointer buttons 1 to 3; 0 for other buttons.
uint16_t ButtonKey(uint8_t button);

}  // namespace platform::x11

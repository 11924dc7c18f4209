#pragma once
// X input as the framework's messages: keysyms as virtual keys and typed characters, pointer
// buttons as button messages, the modifier and button state as mouse message flags.

#include <cstdint>

namespace platform::x11 {

// The virtual key of a keysym; 0 for a key the framework has no number for.
uint16_t VirtualKey(uint32_t keysym);
// The character a keysym types (printable ASCII, and the control keys that type one); 0 for
// none.
char TypedChar(uint32_t keysym);
// The MK_* flags of a pointer or key event's state (buttons and modifiers held before it).
uintptr_t MouseKeys(uint16_t state);
// The button message of pointer buttons 1 to 3 (left, middle, right); 0 for other buttons.
uint32_t ButtonMessage(uint8_t button, bool down);
// The virtual key of pointer buttons 1 to 3; 0 for other buttons.
uint16_t ButtonKey(uint8_t button);

}  // namespace platform::x11

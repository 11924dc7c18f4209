#include "platform/x11/X11Input.h"

#include <xcb/xcb.h>

#include "platform/WindowMessages.h"

namespace platform::x11 {

using namespace messages;

namespace {

struct KeyName {
  uint32_t keysym;
  uint16_t key;
};

constexpr KeyName kKeys[] = {
    {0xFF08, VK_BACK},    {0xFF09, VK_TAB},     {0xFF0D, VK_RETURN}, {0xFF8D, VK_RETURN},
    {0xFF1B, VK_ESCAPE},  {0xFFFF, VK_DELETE},  {0xFF50, VK_HOME},   {0xFF51, VK_LEFT},
    {0xFF52, VK_UP},      {0xFF53, VK_RIGHT},   {0xFF54, VK_DOWN},   {0xFF55, VK_PRIOR},
    {0xFF56, VK_NEXT},    {0xFF57, VK_END},     {0xFFE1, VK_SHIFT},  {0xFFE2, VK_SHIFT},
    {0xFFE3, VK_CONTROL}, {0xFFE4, VK_CONTROL}, {0xFFE9, VK_MENU},   {0xFFEA, VK_MENU},
    {0xFF69, VK_CANCEL},  {0xFF62, VK_EXECUTE}, {0x0020, VK_SPACE},
};

}  // namespace

uint16_t VirtualKey(uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return static_cast<uint16_t>(keysym - 'a' + 'A');
  if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9')) {
    return static_cast<uint16_t>(keysym);
  }
  for (const KeyName& name : kKeys) {
    if (name.keysym == keysym) return name.key;
  }
  return 0;
}

char TypedChar(uint32_t keysym) {
  if (keysym >= 0x20 && keysym <= 0x7E) return static_cast<char>(keysym);
  switch (keysym) {
    case 0xFF08:
      return '\b';
    case 0xFF09:
      return '\t';
    case 0xFF0D:
    case 0xFF8D:
      return '\r';
    case 0xFF1B:
      return '\x1B';
    default:
      return 0;
  }
}

uint32_t MouseKeys(uint16_t state) {
  uint32_t keys = 0;
  if (state & XCB_KEY_BUT_MASK_BUTTON_1) keys |= MK_LBUTTON;
  if (state & XCB_KEY_BUT_MASK_BUTTON_2) keys |= MK_MBUTTON;
  if (state & XCB_KEY_BUT_MASK_BUTTON_3) keys |= MK_RBUTTON;
  if (state & XCB_KEY_BUT_MASK_SHIFT) keys |= MK_SHIFT;
  if (state & XCB_KEY_BUT_MASK_CONTROL) keys |= MK_CONTROL;
  return keys;
}

std::optional<MouseButton> PointerButton(uint8_t button) {
  switch (button) {
    case 1:
      return MouseButton::Left;
    case 2:
      return MouseButton::Middle;
    case 3:
      return MouseButton::Right;
    default:
      return std::nullopt;
  }
}

uint16_t ButtonKey(uint8_t button) {
  return button == 1 ? VK_LBUTTON : button == 2 ? VK_MBUTTON : button == 3 ? VK_RBUTTON : 0;
}

}  // namespace platform::x11

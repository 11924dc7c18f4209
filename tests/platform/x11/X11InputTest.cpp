// X keysyms and pointer state as virtual keys, characters, mouse buttons and MK_* flags.

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include "platform/WindowMessages.h"
#include "platform/x11/X11Input.h"

namespace {

using namespace platform::messages;
using namespace platform::x11;

TEST(X11Input, KeysymsBecomeVirtualKeysAndTypedCharacters) {
  EXPECT_EQ(VirtualKey('a'), 'A');
  EXPECT_EQ(VirtualKey('Z'), 'Z');
  EXPECT_EQ(VirtualKey('7'), '7');
  EXPECT_EQ(VirtualKey(0xFF0D), VK_RETURN);
  EXPECT_EQ(VirtualKey(0xFF8D), VK_RETURN);  // keypad Enter
  EXPECT_EQ(VirtualKey(0xFF51), VK_LEFT);
  EXPECT_EQ(VirtualKey(0xFFE2), VK_SHIFT);
  EXPECT_EQ(VirtualKey(0xFFEA), VK_MENU);
  EXPECT_EQ(VirtualKey(0xFFBE), 0);  // F1: no number in the framework
  EXPECT_EQ(TypedChar('!'), '!');
  EXPECT_EQ(TypedChar(0xFF08), '\b');
  EXPECT_EQ(TypedChar(0xFF1B), '\x1B');
  EXPECT_EQ(TypedChar(0xFF51), 0);
  EXPECT_EQ(TypedChar(0xE9), 0);  // beyond ASCII
}

TEST(X11Input, ButtonsAndModifiers) {
  EXPECT_EQ(PointerButton(1), platform::MouseButton::Left);
  EXPECT_EQ(PointerButton(2), platform::MouseButton::Middle);
  EXPECT_EQ(PointerButton(3), platform::MouseButton::Right);
  EXPECT_EQ(PointerButton(4), std::nullopt);  // the wheel
  EXPECT_EQ(ButtonKey(3), VK_RBUTTON);
  EXPECT_EQ(MouseKeys(XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_3 |
                      XCB_KEY_BUT_MASK_CONTROL | XCB_KEY_BUT_MASK_MOD_1),
            MK_LBUTTON | MK_RBUTTON | MK_CONTROL);
  EXPECT_EQ(MouseKeys(XCB_KEY_BUT_MASK_BUTTON_2 | XCB_KEY_BUT_MASK_SHIFT), MK_MBUTTON | MK_SHIFT);
}

}  // namespace

#pragma once
// The window system's message, key and code numbers, as Windows numbers them: the framework's
// controls take the messages a Windows control takes, and the backends speak of virtual keys
// and MK_* flags. Native files that include <windows.h> use its own names instead of this
// header (the two would collide as macros).

#include <cstdint>

#include "platform/Geometry.h"

namespace platform::messages {

inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_SYSCHAR = 0x0106;
inline constexpr uint32_t WM_VSCROLL = 0x0115;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;  // lParam in screen coordinates
inline constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr uint32_t WM_QUERYNEWPALETTE = 0x030F;  // about to take the focus: realise
inline constexpr uint32_t WM_PALETTECHANGED = 0x0311;   // wParam: the window that changed it

inline constexpr uint16_t VK_LBUTTON = 0x01;
inline constexpr uint16_t VK_RBUTTON = 0x02;
inline constexpr uint16_t VK_CANCEL = 0x03;
inline constexpr uint16_t VK_MBUTTON = 0x04;
inline constexpr uint16_t VK_BACK = 0x08;
inline constexpr uint16_t VK_TAB = 0x09;
inline constexpr uint16_t VK_RETURN = 0x0D;
inline constexpr uint16_t VK_SHIFT = 0x10;
inline constexpr uint16_t VK_CONTROL = 0x11;
inline constexpr uint16_t VK_MENU = 0x12;  // Alt
inline constexpr uint16_t VK_ESCAPE = 0x1B;
inline constexpr uint16_t VK_SPACE = 0x20;
inline constexpr uint16_t VK_PRIOR = 0x21;
inline constexpr uint16_t VK_NEXT = 0x22;
inline constexpr uint16_t VK_END = 0x23;
inline constexpr uint16_t VK_HOME = 0x24;
inline constexpr uint16_t VK_LEFT = 0x25;
inline constexpr uint16_t VK_UP = 0x26;
inline constexpr uint16_t VK_RIGHT = 0x27;
inline constexpr uint16_t VK_DOWN = 0x28;
inline constexpr uint16_t VK_EXECUTE = 0x2B;
inline constexpr uint16_t VK_DELETE = 0x2E;

// Mouse message wParam: buttons and modifier keys held.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;
inline constexpr uint32_t MK_MBUTTON = 0x0010;

// Key message lParam: Alt held (the context code), the key down before, the key going up.
inline constexpr uint32_t KF_ALTDOWN_BIT = 0x20000000;
inline constexpr uint32_t KF_REPEAT_BIT = 0x40000000;
inline constexpr uint32_t KF_UP_BIT = 0x80000000;

// WM_GETDLGCODE answers.
inline constexpr intptr_t DLGC_WANTARROWS = 0x0001;
inline constexpr intptr_t DLGC_WANTTAB = 0x0002;
inline constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
inline constexpr intptr_t DLGC_WANTCHARS = 0x0080;

// WM_SETCURSOR lParam low word.
inline constexpr uint16_t HTCLIENT = 1;

// WM_VSCROLL wParam low word.
inline constexpr uint16_t SB_LINEUP = 0;
inline constexpr uint16_t SB_LINEDOWN = 1;
inline constexpr uint16_t SB_PAGEUP = 2;
inline constexpr uint16_t SB_PAGEDOWN = 3;
inline constexpr uint16_t SB_THUMBTRACK = 5;
inline constexpr uint16_t SB_TOP = 6;
inline constexpr uint16_t SB_BOTTOM = 7;

inline constexpr int16_t WHEEL_DELTA = 120;

// Cursor shapes a window can ask for (the framework's cursor numbers).
inline constexpr int16_t crDefault = 0;
inline constexpr int16_t crArrow = -2;
inline constexpr int16_t crCross = -3;
inline constexpr int16_t crIBeam = -4;
inline constexpr int16_t crSizeNS = -7;
inline constexpr int16_t crSizeWE = -9;
inline constexpr int16_t crHandPoint = -21;

// A point as mouse messages carry it: x in the low, y in the high 16 bits, both signed.
inline intptr_t PointToLParam(int32_t x, int32_t y) {
  return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                               static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}
inline intptr_t PointToLParam(Point p) {
  return PointToLParam(p.X, p.Y);
}
inline Point LParamToPoint(intptr_t lParam) {
  const auto bits = static_cast<uint32_t>(lParam);
  return {static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}

}  // namespace platform::messages

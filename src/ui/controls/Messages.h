#pragma once
// Window messages: the window system's own (WM_*, with its numbers) and the framework's (CM_*
// between controls, CN_* for key messages reflected to the focused control before it gets
// them). Parameters pack as the window system packs them.

#include <cstdint>

#include "platform/WindowMessages.h"
#include "ui/graphics/Geometry.h"

namespace ui {

using namespace platform::messages;

struct Message {
  uint32_t msg = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  intptr_t result = 0;
};

inline constexpr uint32_t CM_BASE = 0xB000;
inline constexpr uint32_t CM_MOUSEENTER = CM_BASE + 1;  // the mouse came over the control
inline constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 2;  // the mouse left it
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 3;
inline constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 4;  // wParam: 1 when now visible
inline constexpr uint32_t CM_COLORCHANGED = CM_BASE + 5;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 6;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 7;
// To the form: wParam key, lParam key data; non-zero when it moved the focus.
inline constexpr uint32_t CM_DIALOGKEY = CM_BASE + 8;
// Broadcast from the form: wParam character, lParam key data; non-zero stops it.
inline constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 9;
// Broadcast from the form: lParam the control that now has the focus.
inline constexpr uint32_t CM_FOCUSCHANGED = CM_BASE + 10;
inline constexpr uint32_t CM_ENTER = CM_BASE + 11;
inline constexpr uint32_t CM_EXIT = CM_BASE + 12;
// wParam key, lParam the control it came to; passed up the parents, non-zero takes the key.
inline constexpr uint32_t CM_CHILDKEY = CM_BASE + 13;
// lParam a point in the control's coordinates; non-zero when the control is there.
inline constexpr uint32_t CM_HITTEST = CM_BASE + 14;
// To the application: wParam key, lParam key data; non-zero when a shortcut took it.
inline constexpr uint32_t CM_APPKEYDOWN = CM_BASE + 15;

inline constexpr uint32_t CN_BASE = 0xBC00;
inline constexpr uint32_t CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr uint32_t CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr uint32_t CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr uint32_t CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr uint32_t CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP;
inline constexpr uint32_t CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Pointers passed in message parameters (device contexts, controls).
template <class T>
uintptr_t PointerToWParam(T* pointer) {
  return reinterpret_cast<uintptr_t>(pointer);
}
template <class T>
intptr_t PointerToLParam(T* pointer) {
  return reinterpret_cast<intptr_t>(pointer);
}
template <class T>
T* WParamToPointer(uintptr_t wParam) {
  return reinterpret_cast<T*>(wParam);
}
template <class T>
T* LParamToPointer(intptr_t lParam) {
  return reinterpret_cast<T*>(lParam);
}

// The WM_GETDLGCODE bit a control answers with when it wants a dialog key itself (Tab, the
// arrows, Return, Escape, ...); 0 for any other key.
inline intptr_t DialogCodeFor(uintptr_t key) {
  switch (key) {
    case VK_TAB:
      return DLGC_WANTTAB;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
      return DLGC_WANTALLKEYS;
    default:
      return 0;
  }
}

inline bool IsMouseMessage(uint32_t msg) {
  return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

}  // namespace ui

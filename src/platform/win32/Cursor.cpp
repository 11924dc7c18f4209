#include "platform/win32/Cursor.h"

// Before <windows.h>: it makes macros of the message names this header declares.
#include "platform/WindowMessages.h"

#include <windows.h>

namespace platform::win32 {

void* CursorHandle(int16_t cursor) {
  static const struct {
    int16_t cursor;
    const char* shape;  // a standard cursor's resource number, as IDC_* makes it
  } kShapes[] = {{messages::crCross, IDC_CROSS},
                 {messages::crIBeam, IDC_IBEAM},
                 {messages::crSizeNS, IDC_SIZENS},
                 {messages::crSizeWE, IDC_SIZEWE},
                 {messages::crHandPoint, IDC_HAND}};
  const char* shape = IDC_ARROW;
  for (const auto& known : kShapes) {
    if (known.cursor == cursor) shape = known.shape;
  }
  return LoadCursorA(nullptr, shape);
}

}  // namespace platform::win32

#pragma once
// The system cursor that shows a framework cursor number (platform/WindowMessages.h).

#include <cstdint>

namespace platform::win32 {

// An HCURSOR, shared by the system: never destroyed. The arrow for numbers it does not know.
void* CursorHandle(int16_t cursor);

}  // namespace platform::win32

#pragma once
// The backend of the window system the build targets (X11 on Linux, Win32 on Windows). Only
// a build that has one links a definition; it is made on first use and lives as long as the
// library, and it connects to the window system only when it makes its first window.

#include "platform/Backend.h"

namespace platform {

Backend& NativeBackend();

}  // namespace platform

#include "platform/NativeBackend.h"

#include "platform/x11/X11Backend.h"

namespace platform {

Backend& NativeBackend() {
  static x11::X11Backend backend;  // goes with the library when the host unloads it
  return backend;
}

}  // namespace platform

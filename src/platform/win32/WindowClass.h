#pragma once
// The window class of this module's windows. A host may load the library, unload it and load it
// again, or load two copies under different names: each loaded module has a class of its own,
// named after the module's address, registered with its first window and unregistered with its
// last, so that no class outlives the code of its window procedure.

#include <windows.h>

namespace platform::win32 {

class WindowClass {
 public:
  // The module this code was loaded from (not the process's program).
  static HINSTANCE Module();
  // Registers the class when no window holds it and counts one more window; the class's name,
  // or null when the window system refuses (nothing is counted then).
  static const wchar_t* Acquire(WNDPROC procedure);
  // A window of the class is gone: the last one unregisters the class.
  static void Release();
};

}  // namespace platform::win32

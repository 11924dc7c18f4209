#pragma once
// The few operating-system services the host needs, one implementation file per
// system in native/. Nothing here includes a system header.

#include <string>

namespace fluxhost::platform {

// A loaded dynamic library; null handle on failure with the system's reason.
struct LibraryHandle {
  void* handle = nullptr;
  std::string error;
};

LibraryHandle openLibrary(const std::string& path);
void* findSymbol(void* library, const char* name);  // null when absent
void closeLibrary(void* library);

const char* libraryExtension();  // ".so" or ".dll"
std::string executablePath();    // empty when the system cannot tell
bool stderrIsTerminal();

// From here on a crash (a fault inside a plug-in, most likely) prints one line
// naming the plug-in and what the host was doing, and exits with code 1.
void installCrashReport();
// Both strings must stay alive until the next call: the crash handler reads them.
// An empty path means no plug-in is involved.
void setCrashContext(const char* activity, const char* pluginPath);

}  // namespace fluxhost::platform

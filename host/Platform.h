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

LibraryHandle OpenLibrary(const std::string& path);
void* FindSymbol(void* library, const char* name);  // null when absent
void CloseLibrary(void* library);

const char* LibraryExtension();  // ".so" or ".dll"
std::string ExecutablePath();    // empty when the system cannot tell
bool StderrIsTerminal();

// From here on a crash (a fault inside a plug-in, most likely) prints one line
// naming the plug-in and what the host was doing, and exits with code 1.
void InstallCrashReport();
// Both strings must stay alive until the next call: the crash handler reads them.
// An empty path means no plug-in is involved.
void SetCrashContext(const char* activity, const char* pluginPath);

}  // namespace fluxhost::platform

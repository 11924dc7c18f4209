#pragma once
// The built plug-in library, loaded the way a host loads it.

#include <string>

#include "vst/VstRecords.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class LoadedPlugin {
 public:
  LoadedPlugin() {
#if defined(_WIN32)
    handle = LoadLibraryA(FLUX_PLUGIN_FILE);
#else
    handle = dlopen(FLUX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~LoadedPlugin() {
#if defined(_WIN32)
    if (handle) FreeLibrary(handle);
#else
    if (handle) dlclose(handle);
#endif
  }
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  bool loaded() const {
    return handle != nullptr;
  }

  PluginEntry entry(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
#else
    return reinterpret_cast<PluginEntry>(dlsym(handle, name));
#endif
  }

 private:
#if defined(_WIN32)
  HMODULE handle;
#else
  void* handle;
#endif
};

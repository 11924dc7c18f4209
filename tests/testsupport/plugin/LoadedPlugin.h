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
    m_Handle = LoadLibraryA(FLUX_PLUGIN_FILE);
#else
    m_Handle = dlopen(FLUX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~LoadedPlugin() {
#if defined(_WIN32)
    if (m_Handle) FreeLibrary(m_Handle);
#else
    if (m_Handle) dlclose(m_Handle);
#endif
  }
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  bool Loaded() const {
    return m_Handle != nullptr;
  }

  PluginEntry Entry(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(GetProcAddress(m_Handle, name)));
#else
    return reinterpret_cast<PluginEntry>(dlsym(m_Handle, name));
#endif
  }

 private:
#if defined(_WIN32)
  HMODULE m_Handle;
#else
  void* m_Handle;
#endif
};

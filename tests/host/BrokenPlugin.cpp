// Libraries that are not usable plug-ins, one kind per build: an entry point
// that returns null, one that crashes, one that never returns, one that returns
// something other than a descriptor, and a library without an entry point.
#include <chrono>
#include <thread>

#include "vst/VstRecords.h"

#if defined(_WIN32)
#define BROKEN_EXPORT extern "C" __declspec(dllexport)
#else
#define BROKEN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(BROKEN_NO_ENTRY)
BROKEN_EXPORT int notAnEntryPoint() {
  return 0;
}
#else
BROKEN_EXPORT AEffect* VSTPluginMain(audioMasterCallback) {
#if defined(BROKEN_NULL_ENTRY)
  return nullptr;
#elif defined(BROKEN_CRASH)
  int* volatile nowhere = nullptr;
  *nowhere = 1;
  return nullptr;
#elif defined(BROKEN_HANG)
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
#elif defined(BROKEN_BAD_MAGIC)
  static AEffect notADescriptor{};
  return &notADescriptor;
#endif
}
#endif

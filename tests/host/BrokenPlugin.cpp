// Libraries that are not usable plug-ins, one kind per build: an entry point
// that returns null, one that crashes, one that never returns, one that returns
// something other than a descriptor, and a library without an entry point.
#include <chrono>
#include <thread>

#include "vst/VstRecords.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#define BROKEN_EXPORT extern "C" __declspec(dllexport)
#else
#include <csignal>
#define BROKEN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(BROKEN_NO_ENTRY)
BROKEN_EXPORT int NotAnEntryPoint() {
  return 0;
}
#else
BROKEN_EXPORT AEffect* VSTPluginMain(audioMasterCallback) {
#if defined(BROKEN_NULL_ENTRY)
  return nullptr;
#elif defined(BROKEN_CRASH)
  // Raised, not provoked: an optimiser may delete a write through a null pointer.
#if defined(_WIN32)
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
  std::raise(SIGSEGV);
#endif
  return nullptr;
#elif defined(BROKEN_HANG)
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
#elif defined(BROKEN_BAD_MAGIC)
  static AEffect notADescriptor{};
  return &notADescriptor;
#endif
}
#endif

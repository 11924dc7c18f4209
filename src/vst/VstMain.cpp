// The exported entry point and the library-load step.

#include "vst/VstMain.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

AEffect* CreateInstance(audioMasterCallback audioMaster) {
  if (!audioMaster) return nullptr;
  try {
    // A host that does not answer the version query gets no instance.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = CreateEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

// The host looks for "main" (and, on Linux and 64-bit Windows, "VSTPluginMain"). A C++
// function cannot be called main, so the export gets that name from the linker: a .def
// file on Windows (fluxomatic.def, fluxomatic64.def), an assembler alias on ELF.
extern "C" VST_HOST_ENTRY AEffect* VSTCALLBACK FluxPluginMain(audioMasterCallback audioMaster) {
  return CreateInstance(audioMaster);
}

#if !defined(_WIN32)
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(
    audioMasterCallback audioMaster) {
  return FluxPluginMain(audioMaster);
}
extern "C" __attribute__((visibility("default"), alias("VSTPluginMain"))) AEffect* MainEntry(
    audioMasterCallback audioMaster) __asm__("main");
#endif

#if defined(_WIN32) && defined(__i386__)
// The loading thread gets the x87 control word the framework expects:
// 64-bit precision, round to nearest even, all six exceptions masked.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    const unsigned short controlWord = 0x133F;
    __asm__ volatile("fldcw %0" : : "m"(controlWord));
  }
  return TRUE;
}
#endif

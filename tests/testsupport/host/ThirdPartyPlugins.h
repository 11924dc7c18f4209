#pragma once
// Plug-ins written by others, from Debian's packages: an instrument, an effect and an
// audio-to-MIDI trigger. Tests that use one are skipped where its package is missing.

#include <gtest/gtest.h>

#include <filesystem>

namespace fluxhost::test {

constexpr const char* kInstrument = "/usr/lib/vst/amsynth_vst.so";
constexpr const char* kEffect = "/usr/lib/lxvst/DragonflyRoomReverb-vst.so";
constexpr const char* kTrigger = "/usr/lib/vst/lsp-plugins/trigger-midi-stereo.so";

// Debian's Linux libraries: a Windows build under Wine would see the files
// through its drive mapping but cannot load them.
inline bool installed(const char* path) {
#if defined(_WIN32)
  static_cast<void>(path);
  return false;
#else
  return std::filesystem::exists(path);
#endif
}

}  // namespace fluxhost::test

#define REQUIRE_PLUGIN(path)  \
  if (!test::installed(path)) \
  GTEST_SKIP() << (path) << " is not installed (scripts/setup installs it on Linux)"

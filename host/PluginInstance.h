#pragma once
// One plug-in instance, loaded from its library and driven as a host drives it.

#include <chrono>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostContext.h"
#include "vst/VstRecords.h"

namespace fluxhost {

// Anything that keeps a library from being hosted: the message names the file
// and the problem.
class PluginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LoadOptions {
  VstInt32 shellId = 0;                       // the sub-plug-in to create, for a shell library
  std::chrono::milliseconds timeout{30'000};  // for the entry point and effOpen
};

class PluginInstance {
 public:
  // Loads the library, creates an instance through its entry point and opens it.
  explicit PluginInstance(const std::string& path, const LoadOptions& options = {});
  ~PluginInstance();  // suspends if needed, closes the instance, unloads the library
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  const std::string& path() const { return m_path; }
  const AEffect& effect() const { return *m_effect; }
  HostContext& host() { return m_host; }
  const HostContext& host() const { return m_host; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  // A text request such as effGetParamName; non-printable bytes become '?'.
  std::string text(VstInt32 opcode, VstInt32 index = 0) const;
  float parameter(VstInt32 index) const;
  void setParameter(VstInt32 index, float value) const;
  bool canReplace() const { return (m_effect->flags & effFlagsCanReplacing) != 0; }

  // Sample rate, block size, then resume: ready to process.
  void start(double sampleRate, int32_t blockSize);
  void stop();  // suspend
  bool running() const { return m_running; }

  // Hands the block's events to the plug-in (when there are any), then its audio.
  // The arrays hold numInputs and numOutputs channels of `frames` samples.
  void processBlock(std::span<VstMidiEvent> events, float** inputs, float** outputs,
                    int32_t frames);

 private:
  std::string m_path;
  void* m_library = nullptr;
  AEffect* m_effect = nullptr;
  HostContext m_host;
  bool m_running = false;
  std::vector<VstIntPtr> m_eventList;  // a VstEvents block with room for any count
};

}  // namespace fluxhost

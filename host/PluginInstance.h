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

  const std::string& Path() const { return m_Path; }
  const AEffect& Effect() const { return *m_Effect; }
  HostContext& Host() { return m_Host; }
  const HostContext& Host() const { return m_Host; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  // A text request such as effGetParamName; non-printable bytes become '?'.
  std::string Text(VstInt32 opcode, VstInt32 index = 0) const;
  float Parameter(VstInt32 index) const;
  void SetParameter(VstInt32 index, float value) const;
  bool CanReplace() const { return (m_Effect->flags & effFlagsCanReplacing) != 0; }

  // Sample rate, block size, then resume: ready to process.
  void Start(double sampleRate, int32_t blockSize);
  void Stop();  // suspend
  bool Running() const { return m_Running; }

  // Hands the block's events to the plug-in (when there are any), then its audio.
  // The arrays hold numInputs and numOutputs channels of `frames` samples.
  void ProcessBlock(std::span<VstMidiEvent> events, float** inputs, float** outputs,
                    int32_t frames);

 private:
  std::string m_Path;
  void* m_Library = nullptr;
  AEffect* m_Effect = nullptr;
  HostContext m_Host;
  bool m_Running = false;
  std::vector<VstIntPtr> m_EventList;  // a VstEvents block with room for any count
};

}  // namespace fluxhost

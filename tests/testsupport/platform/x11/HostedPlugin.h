#pragma once
// One instance of the built plug-in library, loaded with dlopen and driven through its
// descriptor as a Linux host drives it; the automation calls it makes are kept per instance,
// and a test may react to them as a host would (closing the editor or the plug-in).

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "testsupport/editor/DescriptorCalls.h"
#include "testsupport/plugin/LoadedPlugin.h"

namespace x11test {

struct Automation {
  VstInt32 index;
  float value;
};

class HostedPlugin : public editortest::DescriptorCalls {
 public:
  explicit HostedPlugin(const LoadedPlugin& library) {
    if (PluginEntry entry = library.Entry("VSTPluginMain")) effect = entry(&Callback);
    if (effect) Dispatch(effOpen);
    if (effect) Hosted()[effect] = this;
    m_Key = effect;
  }
  ~HostedPlugin() {
    Recorded().erase(m_Key);
    Sent().erase(m_Key);
    Hosted().erase(m_Key);
    if (effect) Dispatch(effClose);
  }
  HostedPlugin(const HostedPlugin&) = delete;
  HostedPlugin& operator=(const HostedPlugin&) = delete;

  VstIntPtr Open(uint32_t window) {
    return Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window)));
  }
  std::pair<int, int> EditorSize() {
    ERect* rect = nullptr;
    Dispatch(effEditGetRect, 0, 0, &rect);
    return rect ? std::pair{rect->right - rect->left, rect->bottom - rect->top} : std::pair{0, 0};
  }
  const std::vector<Automation>& Automations() { return Recorded()[effect]; }
  // The values of every Control Change the instance sent, in order.
  const std::vector<int>& SentValues() { return Sent()[effect]; }

  // What the host does when told of an automation, before it answers.
  std::function<void(HostedPlugin&)> onAutomate;

 private:
  AEffect* m_Key = nullptr;  // the instance's record, also once closed by the test

  static std::map<AEffect*, std::vector<Automation>>& Recorded() {
    static std::map<AEffect*, std::vector<Automation>> recorded;
    return recorded;
  }
  static std::map<AEffect*, std::vector<int>>& Sent() {
    static std::map<AEffect*, std::vector<int>> sent;
    return sent;
  }
  static std::map<AEffect*, HostedPlugin*>& Hosted() {
    static std::map<AEffect*, HostedPlugin*> hosted;
    return hosted;
  }
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                        void* ptr, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterProcessEvents && effect && ptr) {
      const auto* list = static_cast<const VstEvents*>(ptr);
      for (VstInt32 i = 0; i < list->numEvents; ++i) {
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
        if ((midi->midiData[0] & 0xF0) == 0xB0) Sent()[effect].push_back(midi->midiData[2]);
      }
      return 1;
    }
    if (opcode != audioMasterAutomate || !effect) return 0;
    Recorded()[effect].push_back({index, opt});
    const auto hosted = Hosted().find(effect);
    if (hosted != Hosted().end() && hosted->second->onAutomate) {
      hosted->second->onAutomate(*hosted->second);
    }
    return 0;
  }
};

}  // namespace x11test

#include "PluginInstance.h"

#include <algorithm>

#include "Platform.h"
#include "TextFormat.h"
#include "Watchdog.h"

namespace fluxhost {

namespace {

using EntryPoint = AEffect*(VSTCALLBACK*)(audioMasterCallback);

// Counts beyond these come from a descriptor that is not one.
constexpr VstInt32 kMaxChannels = 256;
constexpr VstInt32 kMaxParamsOrPrograms = 1 << 20;

// Text requests may write past the sizes the interface gives them; this is room
// for the careless plug-in.
constexpr size_t kTextBufferSize = 512;

bool inRange(VstInt32 value, VstInt32 limit) {
  return value >= 0 && value <= limit;
}

static_assert(offsetof(VstEvents, events) == 2 * sizeof(VstIntPtr));

}  // namespace

PluginInstance::PluginInstance(const std::string& path, const LoadOptions& options) : m_path(path) {
  platform::setCrashContext("loading the library", m_path.c_str());
  const Watchdog watchdog(
      options.timeout,
      formatText("the plug-in did not finish loading within %.1f s: %s",
                 std::chrono::duration<double>(options.timeout).count(), path.c_str()));
  const platform::LibraryHandle library = platform::openLibrary(path);
  if (library.handle == nullptr) throw PluginError("cannot load '" + path + "': " + library.error);
  m_library = library.handle;
  try {
    void* symbol = platform::findSymbol(m_library, "VSTPluginMain");
    if (symbol == nullptr) symbol = platform::findSymbol(m_library, "main");
    if (symbol == nullptr) {
      throw PluginError("'" + path +
                        "' is not a VST 2 plug-in: it exports neither VSTPluginMain nor main");
    }
    m_host.setShellId(options.shellId);
    platform::setCrashContext("creating the instance (entry point)", m_path.c_str());
    {
      const CreationScope creating(&m_host);
      m_effect = reinterpret_cast<EntryPoint>(symbol)(hostCallback);
    }
    if (m_effect == nullptr) {
      throw PluginError("'" + path +
                        "': the entry point returned no instance (the plug-in refused to start)");
    }
    if (m_effect->magic != kEffectMagic || m_effect->dispatcher == nullptr) {
      m_effect = nullptr;  // no descriptor, so nothing to close
      throw PluginError("'" + path +
                        "': the entry point returned something that is not a VST 2 descriptor");
    }
    registerContext(m_effect, &m_host);
    if (!inRange(m_effect->numInputs, kMaxChannels) ||
        !inRange(m_effect->numOutputs, kMaxChannels) ||
        !inRange(m_effect->numParams, kMaxParamsOrPrograms) ||
        !inRange(m_effect->numPrograms, kMaxParamsOrPrograms) ||
        (m_effect->process == nullptr && m_effect->processReplacing == nullptr)) {
      throw PluginError("'" + path + "': the descriptor's counts or functions are not plausible");
    }
    platform::setCrashContext("opening the instance", m_path.c_str());
    dispatch(effOpen);
  } catch (...) {
    if (m_effect != nullptr) {
      dispatch(effClose);
      unregisterContext(m_effect);
    }
    platform::closeLibrary(m_library);
    platform::setCrashContext("", "");
    throw;
  }
  platform::setCrashContext("talking to the plug-in", m_path.c_str());
}

PluginInstance::~PluginInstance() {
  platform::setCrashContext("closing the instance", m_path.c_str());
  if (m_running) stop();
  dispatch(effClose);
  unregisterContext(m_effect);
  platform::setCrashContext("unloading the library", m_path.c_str());
  platform::closeLibrary(m_library);
  platform::setCrashContext("", "");
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) const {
  return m_effect->dispatcher(m_effect, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index) const {
  char buffer[kTextBufferSize] = {};
  dispatch(opcode, index, 0, buffer);
  buffer[kTextBufferSize - 1] = '\0';
  std::string result(buffer);
  for (char& c : result) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return result;
}

float PluginInstance::parameter(VstInt32 index) const {
  return m_effect->getParameter != nullptr ? m_effect->getParameter(m_effect, index) : 0.0f;
}

void PluginInstance::setParameter(VstInt32 index, float value) const {
  if (m_effect->setParameter != nullptr) m_effect->setParameter(m_effect, index, value);
}

void PluginInstance::start(double sampleRate, int32_t blockSize) {
  dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  dispatch(effSetBlockSize, 0, blockSize);
  dispatch(effMainsChanged, 0, 1);
  dispatch(effStartProcess);
  m_running = true;
  platform::setCrashContext("processing", m_path.c_str());
}

void PluginInstance::stop() {
  platform::setCrashContext("stopping", m_path.c_str());
  dispatch(effStopProcess);
  dispatch(effMainsChanged, 0, 0);
  m_running = false;
}

void PluginInstance::processBlock(std::span<VstMidiEvent> events, float** inputs, float** outputs,
                                  int32_t frames) {
  if (!events.empty()) {
    // numEvents and reserved take the first two words, the entries follow.
    m_eventList.assign(2 + std::max<size_t>(events.size(), 2), 0);
    auto* list = reinterpret_cast<VstEvents*>(m_eventList.data());
    list->numEvents = static_cast<VstInt32>(events.size());
    VstEvent** entries = list->events;
    for (size_t i = 0; i < events.size(); ++i) {
      entries[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    dispatch(effProcessEvents, 0, 0, list);
  }
  const bool replacing =
      m_effect->processReplacing != nullptr && (canReplace() || m_effect->process == nullptr);
  if (replacing) {
    m_effect->processReplacing(m_effect, inputs, outputs, frames);
  } else {
    for (VstInt32 c = 0; c < m_effect->numOutputs; ++c) std::fill_n(outputs[c], frames, 0.0f);
    m_effect->process(m_effect, inputs, outputs, frames);
  }
}

}  // namespace fluxhost

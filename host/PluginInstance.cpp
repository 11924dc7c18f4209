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

bool InRange(VstInt32 value, VstInt32 limit) {
  return value >= 0 && value <= limit;
}

static_assert(offsetof(VstEvents, events) == 2 * sizeof(VstIntPtr));

}  // namespace

PluginInstance::PluginInstance(const std::string& path, const LoadOptions& options) : m_Path(path) {
  platform::SetCrashContext("loading the library", m_Path.c_str());
  const Watchdog watchdog(
      options.timeout,
      FormatText("the plug-in did not finish loading within %.1f s: %s",
                 std::chrono::duration<double>(options.timeout).count(), path.c_str()));
  const platform::LibraryHandle library = platform::OpenLibrary(path);
  if (library.handle == nullptr) throw PluginError("cannot load '" + path + "': " + library.error);
  m_Library = library.handle;
  try {
    void* symbol = platform::FindSymbol(m_Library, "VSTPluginMain");
    if (symbol == nullptr) symbol = platform::FindSymbol(m_Library, "main");
    if (symbol == nullptr) {
      throw PluginError("'" + path +
                        "' is not a VST 2 plug-in: it exports neither VSTPluginMain nor main");
    }
    m_Host.SetShellId(options.shellId);
    platform::SetCrashContext("creating the instance (entry point)", m_Path.c_str());
    {
      const CreationScope creating(&m_Host);
      m_Effect = reinterpret_cast<EntryPoint>(symbol)(HostCallback);
    }
    if (m_Effect == nullptr) {
      throw PluginError("'" + path +
                        "': the entry point returned no instance (the plug-in refused to start)");
    }
    if (m_Effect->magic != kEffectMagic || m_Effect->dispatcher == nullptr) {
      m_Effect = nullptr;  // no descriptor, so nothing to close
      throw PluginError("'" + path +
                        "': the entry point returned something that is not a VST 2 descriptor");
    }
    RegisterContext(m_Effect, &m_Host);
    if (!InRange(m_Effect->numInputs, kMaxChannels) ||
        !InRange(m_Effect->numOutputs, kMaxChannels) ||
        !InRange(m_Effect->numParams, kMaxParamsOrPrograms) ||
        !InRange(m_Effect->numPrograms, kMaxParamsOrPrograms) ||
        (m_Effect->process == nullptr && m_Effect->processReplacing == nullptr)) {
      throw PluginError("'" + path + "': the descriptor's counts or functions are not plausible");
    }
    platform::SetCrashContext("opening the instance", m_Path.c_str());
    Dispatch(effOpen);
  } catch (...) {
    if (m_Effect != nullptr) {
      Dispatch(effClose);
      UnregisterContext(m_Effect);
    }
    platform::CloseLibrary(m_Library);
    platform::SetCrashContext("", "");
    throw;
  }
  platform::SetCrashContext("talking to the plug-in", m_Path.c_str());
}

PluginInstance::~PluginInstance() {
  platform::SetCrashContext("closing the instance", m_Path.c_str());
  if (m_Running) Stop();
  Dispatch(effClose);
  UnregisterContext(m_Effect);
  platform::SetCrashContext("unloading the library", m_Path.c_str());
  platform::CloseLibrary(m_Library);
  platform::SetCrashContext("", "");
}

VstIntPtr PluginInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) const {
  return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, opt);
}

std::string PluginInstance::Text(VstInt32 opcode, VstInt32 index) const {
  char buffer[kTextBufferSize] = {};
  Dispatch(opcode, index, 0, buffer);
  buffer[kTextBufferSize - 1] = '\0';
  std::string result(buffer);
  for (char& c : result) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return result;
}

float PluginInstance::Parameter(VstInt32 index) const {
  return m_Effect->getParameter != nullptr ? m_Effect->getParameter(m_Effect, index) : 0.0f;
}

void PluginInstance::SetParameter(VstInt32 index, float value) const {
  if (m_Effect->setParameter != nullptr) m_Effect->setParameter(m_Effect, index, value);
}

void PluginInstance::Start(double sampleRate, int32_t blockSize) {
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  m_Running = true;
  platform::SetCrashContext("processing", m_Path.c_str());
}

void PluginInstance::Stop() {
  platform::SetCrashContext("stopping", m_Path.c_str());
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
  m_Running = false;
}

void PluginInstance::ProcessBlock(std::span<VstMidiEvent> events, float** inputs, float** outputs,
                                  int32_t frames) {
  if (!events.empty()) {
    // numEvents and reserved take the first two words, the entries follow.
    m_EventList.assign(2 + std::max<size_t>(events.size(), 2), 0);
    auto* list = reinterpret_cast<VstEvents*>(m_EventList.data());
    list->numEvents = static_cast<VstInt32>(events.size());
    VstEvent** entries = list->events;
    for (size_t i = 0; i < events.size(); ++i) {
      entries[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    Dispatch(effProcessEvents, 0, 0, list);
  }
  const bool replacing =
      m_Effect->processReplacing != nullptr && (CanReplace() || m_Effect->process == nullptr);
  if (replacing) {
    m_Effect->processReplacing(m_Effect, inputs, outputs, frames);
  } else {
    for (VstInt32 c = 0; c < m_Effect->numOutputs; ++c) std::fill_n(outputs[c], frames, 0.0f);
    m_Effect->process(m_Effect, inputs, outputs, frames);
  }
}

}  // namespace fluxhost

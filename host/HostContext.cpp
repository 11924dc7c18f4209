#include "HostContext.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace fluxhost {

namespace {

// Host strings are copied into buffers of at least 64 bytes, the size the
// interface gives them.
constexpr size_t kHostStringSize = 64;

void CopyHostString(void* buffer, const char* text) {
  if (buffer == nullptr) return;
  std::strncpy(static_cast<char*>(buffer), text, kHostStringSize - 1);
  static_cast<char*>(buffer)[kHostStringSize - 1] = '\0';
}

VstIntPtr CanHostDo(const void* text) {
  if (text == nullptr) return 0;
  static constexpr std::string_view kAbilities[] = {"sendVstEvents",       "sendVstMidiEvent",
                                                    "sendVstTimeInfo",     "receiveVstEvents",
                                                    "receiveVstMidiEvent", "supplyIdle"};
  const std::string_view asked(static_cast<const char*>(text),
                               strnlen(static_cast<const char*>(text), 256));
  for (std::string_view ability : kAbilities) {
    if (asked == ability) return 1;
  }
  return -1;
}

// A plug-in sending a list longer than this is treated as sending garbage.
constexpr VstInt32 kMaxEventsPerList = 1 << 16;

std::mutex g_registryMutex;
std::unordered_map<const AEffect*, HostContext*> g_registry;
thread_local HostContext* t_creating = nullptr;

HostContext* ContextOf(const AEffect* effect) {
  if (effect != nullptr) {
    std::lock_guard lock(g_registryMutex);
    const auto found = g_registry.find(effect);
    if (found != g_registry.end()) return found->second;
  }
  return t_creating;
}

}  // namespace

HostContext::HostContext() : m_Tempo(TempoMap::Constant(MidiDivision{}, TempoMap::kDefaultBpm)) {}

void HostContext::SetTransport(double sampleRate, int32_t blockSize, const TempoMap& tempo) {
  m_SampleRate = sampleRate;
  m_BlockSize = blockSize;
  m_Tempo = tempo;
}

void HostContext::BeginBlock(int64_t index, int64_t startFrame) {
  std::lock_guard lock(m_RecordMutex);
  m_Block = index;
  m_BlockStart = startFrame;
}

VstIntPtr HostContext::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
  switch (opcode) {
    case audioMasterAutomate: {
      std::lock_guard lock(m_RecordMutex);
      if (m_Automation.size() < kKeptAutomation) m_Automation.push_back({m_Block, index, opt});
      ++m_AutomationCount;
      if (m_AutomationListener) TellListener([&] { m_AutomationListener(index, opt); });
      return 0;
    }
    case audioMasterVersion:
      return kVersion;
    case audioMasterCurrentId:
      return m_ShellId;
    case audioMasterWantMidi:
      m_WantsMidi = true;
      return 1;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(TimeInfo());
    case audioMasterProcessEvents:
      return ReceiveEvents(static_cast<const VstEvents*>(ptr));
    case audioMasterTempoAt:
      return static_cast<VstIntPtr>(
          std::lround(m_Tempo.BpmAtSeconds(static_cast<double>(value) / m_SampleRate) * 10000.0));
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(m_SampleRate);
    case audioMasterGetBlockSize:
      return m_BlockSize;
    case audioMasterGetVendorString:
      CopyHostString(ptr, kVendor);
      return 1;
    case audioMasterGetProductString:
      CopyHostString(ptr, kProduct);
      return 1;
    case audioMasterGetVendorVersion:
      return kVendorVersion;
    case audioMasterCanDo:
      return CanHostDo(ptr);
    default:
      return 0;
  }
}

VstIntPtr HostContext::ReceiveEvents(const VstEvents* events) {
  if (events == nullptr || events->numEvents <= 0 || events->numEvents > kMaxEventsPerList)
    return 0;
  // The list runs past the two entries its declaration shows.
  VstEvent* const* entries = events->events;
  std::lock_guard lock(m_RecordMutex);
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = entries[i];
    if (event == nullptr) continue;
    SentEvent sent;
    sent.block = m_Block;
    sent.blockStart = m_BlockStart;
    sent.deltaFrames = event->deltaFrames;
    sent.type = event->type;
    if (event->type == kVstMidiType) {
      std::memcpy(sent.midi, reinterpret_cast<const VstMidiEvent*>(event)->midiData, 3);
    }
    if (m_Listener) TellListener([&] { m_Listener(sent); });
  }
  return 1;
}

void HostContext::TellListener(const std::function<void()>& tell) {
  if (m_ListenerFailure) return;
  // Nothing may unwind through the plug-in's code: the failure waits for the host.
  try {
    tell();
  } catch (...) {
    m_ListenerFailure = std::current_exception();
  }
}

VstTimeInfo* HostContext::TimeInfo() {
  const double seconds = static_cast<double>(m_BlockStart) / m_SampleRate;
  VstTimeInfo& info = m_TimeInfo;
  info = VstTimeInfo{};
  info.samplePos = static_cast<double>(m_BlockStart);
  info.sampleRate = m_SampleRate;
  info.nanoSeconds = seconds * 1e9;
  info.ppqPos = m_Tempo.QuarterNotesAt(seconds);
  info.tempo = m_Tempo.BpmAtSeconds(seconds);
  info.barStartPos = std::floor(info.ppqPos / 4.0) * 4.0;
  info.timeSigNumerator = 4;
  info.timeSigDenominator = 4;
  info.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid |
               kVstBarsValid | kVstTimeSigValid | (m_Block <= 0 ? kVstTransportChanged : 0);
  return &info;
}

void HostContext::Listen(SentEventListener listener) {
  std::lock_guard lock(m_RecordMutex);
  m_Listener = std::move(listener);
  m_ListenerFailure = nullptr;
}

void HostContext::ListenAutomation(AutomationListener listener) {
  std::lock_guard lock(m_RecordMutex);
  m_AutomationListener = std::move(listener);
  m_ListenerFailure = nullptr;
}

void HostContext::RethrowListenerFailure() const {
  std::lock_guard lock(m_RecordMutex);
  if (m_ListenerFailure) std::rethrow_exception(m_ListenerFailure);
}

std::vector<AutomationRequest> HostContext::Automation() const {
  std::lock_guard lock(m_RecordMutex);
  return m_Automation;
}

int64_t HostContext::AutomationCount() const {
  std::lock_guard lock(m_RecordMutex);
  return m_AutomationCount;
}

VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
  if (HostContext* context = ContextOf(effect))
    return context->Answer(opcode, index, value, ptr, opt);
  // A call from an unknown instance still learns who the host is.
  static HostContext anonymous;
  switch (opcode) {
    case audioMasterVersion:
    case audioMasterGetVendorString:
    case audioMasterGetProductString:
    case audioMasterGetVendorVersion:
    case audioMasterCanDo:
      return anonymous.Answer(opcode, index, value, ptr, opt);
    default:
      return 0;
  }
}

void RegisterContext(const AEffect* effect, HostContext* context) {
  std::lock_guard lock(g_registryMutex);
  g_registry[effect] = context;
}

void UnregisterContext(const AEffect* effect) {
  std::lock_guard lock(g_registryMutex);
  g_registry.erase(effect);
}

CreationScope::CreationScope(HostContext* context) {
  t_creating = context;
}
CreationScope::~CreationScope() {
  t_creating = nullptr;
}

}  // namespace fluxhost

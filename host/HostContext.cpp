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

void copyHostString(void* buffer, const char* text) {
  if (buffer == nullptr) return;
  std::strncpy(static_cast<char*>(buffer), text, kHostStringSize - 1);
  static_cast<char*>(buffer)[kHostStringSize - 1] = '\0';
}

VstIntPtr canHostDo(const void* text) {
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

HostContext* contextOf(const AEffect* effect) {
  if (effect != nullptr) {
    std::lock_guard lock(g_registryMutex);
    const auto found = g_registry.find(effect);
    if (found != g_registry.end()) return found->second;
  }
  return t_creating;
}

}  // namespace

HostContext::HostContext() : m_tempo(TempoMap::constant(MidiDivision{}, TempoMap::kDefaultBpm)) {}

void HostContext::setTransport(double sampleRate, int32_t blockSize, const TempoMap& tempo) {
  m_sampleRate = sampleRate;
  m_blockSize = blockSize;
  m_tempo = tempo;
}

void HostContext::beginBlock(int64_t index, int64_t startFrame) {
  std::lock_guard lock(m_recordMutex);
  m_block = index;
  m_blockStart = startFrame;
}

VstIntPtr HostContext::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
  switch (opcode) {
    case audioMasterAutomate: {
      std::lock_guard lock(m_recordMutex);
      if (m_automation.size() < kKeptAutomation) m_automation.push_back({m_block, index, opt});
      ++m_automationCount;
      if (m_automationListener) tellListener([&] { m_automationListener(index, opt); });
      return 0;
    }
    case audioMasterVersion:
      return kVersion;
    case audioMasterCurrentId:
      return m_shellId;
    case audioMasterWantMidi:
      m_wantsMidi = true;
      return 1;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(timeInfo());
    case audioMasterProcessEvents:
      return receiveEvents(static_cast<const VstEvents*>(ptr));
    case audioMasterTempoAt:
      return static_cast<VstIntPtr>(
          std::lround(m_tempo.bpmAtSeconds(static_cast<double>(value) / m_sampleRate) * 10000.0));
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(m_sampleRate);
    case audioMasterGetBlockSize:
      return m_blockSize;
    case audioMasterGetVendorString:
      copyHostString(ptr, kVendor);
      return 1;
    case audioMasterGetProductString:
      copyHostString(ptr, kProduct);
      return 1;
    case audioMasterGetVendorVersion:
      return kVendorVersion;
    case audioMasterCanDo:
      return canHostDo(ptr);
    default:
      return 0;
  }
}

VstIntPtr HostContext::receiveEvents(const VstEvents* events) {
  if (events == nullptr || events->numEvents <= 0 || events->numEvents > kMaxEventsPerList)
    return 0;
  // The list runs past the two entries its declaration shows.
  VstEvent* const* entries = events->events;
  std::lock_guard lock(m_recordMutex);
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = entries[i];
    if (event == nullptr) continue;
    SentEvent sent;
    sent.block = m_block;
    sent.blockStart = m_blockStart;
    sent.deltaFrames = event->deltaFrames;
    sent.type = event->type;
    if (event->type == kVstMidiType) {
      std::memcpy(sent.midi, reinterpret_cast<const VstMidiEvent*>(event)->midiData, 3);
    }
    if (m_listener) tellListener([&] { m_listener(sent); });
  }
  return 1;
}

void HostContext::tellListener(const std::function<void()>& tell) {
  if (m_listenerFailure) return;
  // Nothing may unwind through the plug-in's code: the failure waits for the host.
  try {
    tell();
  } catch (...) {
    m_listenerFailure = std::current_exception();
  }
}

VstTimeInfo* HostContext::timeInfo() {
  const double seconds = static_cast<double>(m_blockStart) / m_sampleRate;
  VstTimeInfo& info = m_timeInfo;
  info = VstTimeInfo{};
  info.samplePos = static_cast<double>(m_blockStart);
  info.sampleRate = m_sampleRate;
  info.nanoSeconds = seconds * 1e9;
  info.ppqPos = m_tempo.quarterNotesAt(seconds);
  info.tempo = m_tempo.bpmAtSeconds(seconds);
  info.barStartPos = std::floor(info.ppqPos / 4.0) * 4.0;
  info.timeSigNumerator = 4;
  info.timeSigDenominator = 4;
  info.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid |
               kVstBarsValid | kVstTimeSigValid | (m_block <= 0 ? kVstTransportChanged : 0);
  return &info;
}

void HostContext::listen(SentEventListener listener) {
  std::lock_guard lock(m_recordMutex);
  m_listener = std::move(listener);
  m_listenerFailure = nullptr;
}

void HostContext::listenAutomation(AutomationListener listener) {
  std::lock_guard lock(m_recordMutex);
  m_automationListener = std::move(listener);
  m_listenerFailure = nullptr;
}

void HostContext::rethrowListenerFailure() const {
  std::lock_guard lock(m_recordMutex);
  if (m_listenerFailure) std::rethrow_exception(m_listenerFailure);
}

std::vector<AutomationRequest> HostContext::automation() const {
  std::lock_guard lock(m_recordMutex);
  return m_automation;
}

int64_t HostContext::automationCount() const {
  std::lock_guard lock(m_recordMutex);
  return m_automationCount;
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
  if (HostContext* context = contextOf(effect))
    return context->answer(opcode, index, value, ptr, opt);
  // A call from an unknown instance still learns who the host is.
  static HostContext anonymous;
  switch (opcode) {
    case audioMasterVersion:
    case audioMasterGetVendorString:
    case audioMasterGetProductString:
    case audioMasterGetVendorVersion:
    case audioMasterCanDo:
      return anonymous.answer(opcode, index, value, ptr, opt);
    default:
      return 0;
  }
}

void registerContext(const AEffect* effect, HostContext* context) {
  std::lock_guard lock(g_registryMutex);
  g_registry[effect] = context;
}

void unregisterContext(const AEffect* effect) {
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

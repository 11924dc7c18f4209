#pragma once
// The host's side of one plug-in instance: what the host answers when the
// plug-in calls back, and what it passes on or records of those calls.

#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

#include "TempoMap.h"
#include "TimeInfo.h"
#include "vst/VstRecords.h"

namespace fluxhost {

// An event that the plug-in sent to the host.
struct SentEvent {
  int64_t block = -1;      // the block being processed when it came; -1 before the first
  int64_t blockStart = 0;  // that block's first frame
  int32_t deltaFrames = 0;
  int32_t type = kVstMidiType;
  uint8_t midi[3] = {};  // for MIDI events

  // Frames from the start of the run; an offset before the block counts as its start.
  int64_t frame() const { return blockStart + (deltaFrames > 0 ? deltaFrames : 0); }
};

struct AutomationRequest {
  int64_t block = -1;
  int32_t index = 0;
  float value = 0.0f;
};

using SentEventListener = std::function<void(const SentEvent&)>;
using AutomationListener = std::function<void(int32_t index, float value)>;

class HostContext {
 public:
  static constexpr size_t kKeptAutomation = 10;  // a plug-in may automate in every block
  static constexpr VstInt32 kVersion = 2400;
  static constexpr const char* kVendor = "Quelbrook";
  static constexpr const char* kProduct = "fluxhost";
  static constexpr VstInt32 kVendorVersion = 1;

  HostContext();

  // Identifies a sub-plug-in of a shell library while its entry point runs.
  void setShellId(VstInt32 id) { m_shellId = id; }
  void setTransport(double sampleRate, int32_t blockSize, const TempoMap& tempo);
  void beginBlock(int64_t index, int64_t startFrame);

  // Every request of the plug-in arrives here.
  VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  bool wantsMidi() const { return m_wantsMidi; }
  // Each event the plug-in sends goes to `listener` as it comes, under the
  // record lock, so never from two threads at once; nothing keeps them.
  void listen(SentEventListener listener);
  // Each automation request goes to `listener` as it comes, under the same lock.
  void listenAutomation(AutomationListener listener);
  // What a listener threw: it hears nothing more after that.
  void rethrowListenerFailure() const;
  // The first kKeptAutomation requests, and the count of all.
  std::vector<AutomationRequest> automation() const;
  int64_t automationCount() const;

 private:
  VstIntPtr receiveEvents(const VstEvents* events);
  void tellListener(const std::function<void()>& tell);  // under the record lock
  VstTimeInfo* timeInfo();

  VstInt32 m_shellId = 0;
  double m_sampleRate = 44100.0;
  int32_t m_blockSize = 512;
  TempoMap m_tempo;
  int64_t m_block = -1;
  int64_t m_blockStart = 0;
  bool m_wantsMidi = false;
  VstTimeInfo m_timeInfo{};
  mutable std::mutex m_recordMutex;  // a plug-in may send from a thread of its own
  SentEventListener m_listener;
  AutomationListener m_automationListener;
  std::exception_ptr m_listenerFailure;
  std::vector<AutomationRequest> m_automation;
  int64_t m_automationCount = 0;
};

// Hands what the plug-in sends to a listener for as long as it lives.
class ListeningScope {
 public:
  ListeningScope(HostContext& host, SentEventListener listener) : m_host(host) {
    m_host.listen(std::move(listener));
  }
  ~ListeningScope() { m_host.listen(nullptr); }
  ListeningScope(const ListeningScope&) = delete;
  ListeningScope& operator=(const ListeningScope&) = delete;

 private:
  HostContext& m_host;
};

// The callback handed to every plug-in's entry point. It gets no pointer of the
// host's, so it finds the context through the effect that makes the call.
VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

void registerContext(const AEffect* effect, HostContext* context);
void unregisterContext(const AEffect* effect);

// While an entry point runs, its effect is null or not registered yet: calls
// from this thread with an unknown effect go to the context being created.
class CreationScope {
 public:
  explicit CreationScope(HostContext* context);
  ~CreationScope();
  CreationScope(const CreationScope&) = delete;
  CreationScope& operator=(const CreationScope&) = delete;
};

}  // namespace fluxhost

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
  int64_t Frame() const { return blockStart + (deltaFrames > 0 ? deltaFrames : 0); }
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
  void SetShellId(VstInt32 id) { m_ShellId = id; }
  void SetTransport(double sampleRate, int32_t blockSize, const TempoMap& tempo);
  void BeginBlock(int64_t index, int64_t startFrame);

  // Every request of the plug-in arrives here.
  VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  bool WantsMidi() const { return m_WantsMidi; }
  // Each event the plug-in sends goes to `listener` as it comes, under the
  // record lock, so never from two threads at once; nothing keeps them.
  void Listen(SentEventListener listener);
  // Each automation request goes to `listener` as it comes, under the same lock.
  void ListenAutomation(AutomationListener listener);
  // What a listener threw: it hears nothing more after that.
  void RethrowListenerFailure() const;
  // The first kKeptAutomation requests, and the count of all.
  std::vector<AutomationRequest> Automation() const;
  int64_t AutomationCount() const;

 private:
  VstIntPtr ReceiveEvents(const VstEvents* events);
  void TellListener(const std::function<void()>& tell);  // under the record lock
  VstTimeInfo* TimeInfo();

  VstInt32 m_ShellId = 0;
  double m_SampleRate = 44100.0;
  int32_t m_BlockSize = 512;
  TempoMap m_Tempo;
  int64_t m_Block = -1;
  int64_t m_BlockStart = 0;
  bool m_WantsMidi = false;
  VstTimeInfo m_TimeInfo{};
  mutable std::mutex m_RecordMutex;  // a plug-in may send from a thread of its own
  SentEventListener m_Listener;
  AutomationListener m_AutomationListener;
  std::exception_ptr m_ListenerFailure;
  std::vector<AutomationRequest> m_Automation;
  int64_t m_AutomationCount = 0;
};

// Hands what the plug-in sends to a listener for as long as it lives.
class ListeningScope {
 public:
  ListeningScope(HostContext& host, SentEventListener listener) : m_Host(host) {
    m_Host.Listen(std::move(listener));
  }
  ~ListeningScope() { m_Host.Listen(nullptr); }
  ListeningScope(const ListeningScope&) = delete;
  ListeningScope& operator=(const ListeningScope&) = delete;

 private:
  HostContext& m_Host;
};

// The callback handed to every plug-in's entry point. It gets no pointer of the
// host's, so it finds the context through the effect that makes the call.
VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt);

void RegisterContext(const AEffect* effect, HostContext* context);
void UnregisterContext(const AEffect* effect);

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

#pragma once
// The plug-in object: two Control Change units with three parameters each,
// a bank of sixteen programs, the event queue and the sender.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "vst/DAudioEffectX.h"

constexpr VstInt32 kNumPrograms = 16;
constexpr VstInt32 kNumParams = 6;
constexpr int kEventSlots = 251;  // slot 0 sends, slots 1..250 queue
constexpr int kQueueSlots = 250;
constexpr VstInt32 FREE_SLOT = -99;

// Parameters may change from the audio and the user-interface thread at once;
// every shared value is one lock-free 32-bit word.
using SharedFloat = std::atomic<float>;
static_assert(SharedFloat::is_always_lock_free);
static_assert(std::atomic<int32_t>::is_always_lock_free);

class APluginProgram {
 public:
  APluginProgram();

  std::array<SharedFloat, kNumParams> params;
  char name[52];
};

class APlugin : public AudioEffectX {
 public:
  explicit APlugin(audioMasterCallback master);
  ~APlugin() override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  float getVu() override;
  void suspend() override;
  void resume() override;
  VstInt32 processEvents(VstEvents* events) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  bool getInputProperties(VstInt32 index, VstPinProperties* properties) override;
  bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 canDo(char* text) override;

  // One pass over the queue: counts every waiting event down by one frame
  // and handles those that fall due.
  void fireDueEvents();
  // Sends one Control Change through slot 0 and the event list.
  void sendControlChange(int channel, int controller, int value);
  static void randomize();
  static double nextRandom();

  // What the editor reads.
  float Param(int index) const { return params[static_cast<size_t>(index)].load(relaxed); }
  int32_t LastValue(int unit) const { return (unit == 1 ? lastValue1 : lastValue2).load(relaxed); }
  bool IsEditorClosed() const { return editorClosed.load(relaxed); }
  void SetEditorClosed(bool closed) { editorClosed.store(closed, relaxed); }

  // The queue as it stands, for tests.
  const VstMidiEvent& EventSlot(int slot) const { return *eventSlots[static_cast<size_t>(slot)]; }
  int32_t QueuedCount() const { return queueCount; }
  float HostTempo() const { return tempo; }
  const std::string& HostVendorName() const { return hostVendor; }
  const std::string& HostProductName() const { return hostProduct; }

 private:
  static constexpr auto relaxed = std::memory_order_relaxed;
  void UpdateEditorUnlessClosed();
  void RunUnit(const SharedFloat& centre, const SharedFloat& spread, const SharedFloat& ccOut,
               std::atomic<int32_t>& lastValue);
  // Runs the queue over frames [0, frames), calling copyAudio for each span
  // of frames in order, between the passes that fire events.
  template <typename CopyAudio>
  void RunQueue(VstInt32 frames, CopyAudio copyAudio);
  int FramesUntilNextPass() const;
  void CountDown(int passes);
  void MarkFree(int slot);

  std::unique_ptr<VstEvents> eventList;
  std::unique_ptr<VstMidiEvent[]> m_EventRecords;  // the 251 records, in one block
  std::array<VstMidiEvent*, kEventSlots> eventSlots{};
  int32_t queueCount = 0;
  std::string hostVendor;
  std::string hostProduct;
  std::array<SharedFloat, kNumParams> params;
  float tempo = 0.0f;
  std::atomic<bool> editorClosed{false};
  std::atomic<int32_t> lastValue1{0};
  std::atomic<int32_t> lastValue2{0};
  std::array<std::unique_ptr<APluginProgram>, kNumPrograms> programs;
  float vu = 0.0f;
  // Which queue slots hold an event (bit n for slot n): the queue is walked
  // through these bits, so that free slots cost nothing.
  std::array<uint64_t, 4> m_Occupied{};
};

// A small plug-in written against the bare records, so that the host can be
// tested without the real one. It passes audio through with a gain, sends one
// Control Change for each Note On (same channel and frame, controller from its
// first parameter, value = the note's key), and reports through
// effVendorSpecific what the host told it. The counting variant plays instead
// the number of each frame since the start, modulo 2^16 over 2^16 (plus the
// channel's index), so that any sample of a render tells where it belongs.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "vst/VstRecords.h"

#if defined(_WIN32)
#define TEST_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// effVendorSpecific indices that answer what the host reported.
constexpr VstInt32 kAskTempo = 1;         // audioMasterTempoAt(0) at the last process call
constexpr VstInt32 kAskQuarterNotes = 2;  // time info ppqPos x 1000 at the last process call
constexpr VstInt32 kAskProcessCalls = 3;  // calls of process (not processReplacing)
constexpr VstInt32 kAskShellId = 4;       // audioMasterCurrentId, asked with no effect yet

constexpr VstInt32 kMaxPending = 256;

struct TestPlugin {
  AEffect effect{};
  audioMasterCallback host = nullptr;
  float params[2] = {14.0f / 127.0f, 1.0f};  // CC Out, Gain
  VstInt32 program = 0;
  VstMidiEvent pending[kMaxPending]{};
  VstInt32 pendingCount = 0;
  VstIntPtr lastTempo = 0;
  VstIntPtr lastQuarterNotesMilli = -1;
  VstIntPtr processCalls = 0;
  VstIntPtr shellId = 0;
  int64_t framesPlayed = 0;
};

TestPlugin* Self(AEffect* effect) {
  return static_cast<TestPlugin*>(effect->object);
}

void CopyText(void* ptr, const char* text) {
  std::strcpy(static_cast<char*>(ptr), text);
}

// The time info's quarter-note position: offset 24 on every target.
double QuarterNotes(const void* timeInfo) {
  double ppq = 0.0;
  std::memcpy(&ppq, static_cast<const char*>(timeInfo) + 24, sizeof ppq);
  return ppq;
}

void SendControlChanges(TestPlugin& p) {
  const auto controller = static_cast<char>(std::lround(p.params[0] * 127.0f));
  for (VstInt32 i = 0; i < p.pendingCount; ++i) {
    const VstMidiEvent& in = p.pending[i];
    const auto status = static_cast<unsigned char>(in.midiData[0]);
    if ((status & 0xF0) != 0x90 || in.midiData[2] == 0) continue;
    VstMidiEvent out{};
    out.type = kVstMidiType;
    out.byteSize = sizeof(VstMidiEvent);
    out.deltaFrames = in.deltaFrames;
    out.midiData[0] = static_cast<char>(0xB0 | (status & 0x0F));
    out.midiData[1] = controller;
    out.midiData[2] = in.midiData[1];
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&out);
    p.host(&p.effect, audioMasterProcessEvents, 0, 0, &list, 0.0f);
  }
  p.pendingCount = 0;
}

void AskHost(TestPlugin& p) {
  p.lastTempo = p.host(&p.effect, audioMasterTempoAt, 0, 0, nullptr, 0.0f);
  const VstIntPtr info = p.host(&p.effect, audioMasterGetTime, 0, 0, nullptr, 0.0f);
  p.lastQuarterNotesMilli =
      info == 0 ? -1 : std::lround(QuarterNotes(reinterpret_cast<const void*>(info)) * 1000.0);
}

void VSTCALLBACK ProcessReplacing(AEffect* effect, [[maybe_unused]] float** inputs, float** outputs,
                                  VstInt32 frames) {
  TestPlugin& p = *Self(effect);
  AskHost(p);
  for (int c = 0; c < 2; ++c) {
    for (VstInt32 i = 0; i < frames; ++i) {
#if defined(TEST_PLUGIN_COUNTING)
      outputs[c][i] =
          static_cast<float>((p.framesPlayed + i) & 0xFFFF) / 65536.0f + static_cast<float>(c);
#else
      outputs[c][i] = inputs[c][i] * p.params[1];
#endif
    }
  }
  p.framesPlayed += frames;
  SendControlChanges(p);
}

void VSTCALLBACK Process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  TestPlugin& p = *Self(effect);
  ++p.processCalls;
  AskHost(p);
  for (int c = 0; c < 2; ++c) {
    for (VstInt32 i = 0; i < frames; ++i) outputs[c][i] += inputs[c][i] * p.params[1];
  }
  SendControlChanges(p);
}

void VSTCALLBACK SetParameter(AEffect* effect, VstInt32 index, float value) {
  if (index >= 0 && index < 2) Self(effect)->params[index] = std::clamp(value, 0.0f, 1.0f);
}

float VSTCALLBACK GetParameter(AEffect* effect, VstInt32 index) {
  return index >= 0 && index < 2 ? Self(effect)->params[index] : 0.0f;
}

VstIntPtr QueueEvents(TestPlugin& p, const VstEvents* events) {
  VstEvent* const* entries = events->events;
  for (VstInt32 i = 0; i < events->numEvents && p.pendingCount < kMaxPending; ++i) {
    if (entries[i]->type == kVstMidiType) {
      p.pending[p.pendingCount++] = *reinterpret_cast<const VstMidiEvent*>(entries[i]);
    }
  }
  return 1;
}

VstIntPtr PinProperties(void* ptr, VstInt32 index, const char* label) {
  if (index < 0 || index > 1) return 0;
  auto* pin = static_cast<VstPinProperties*>(ptr);
  std::snprintf(pin->label, sizeof pin->label, "%s%d", label, index + 1);
  pin->flags = kVstPinIsActive | kVstPinIsStereo;
  return 1;
}

VstIntPtr VSTCALLBACK Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float) {
  TestPlugin& p = *Self(effect);
  static const char* const kParamNames[] = {"CC Out", "Gain"};
  static const char* const kProgramNames[] = {"First", "Second"};
  switch (opcode) {
    case effClose:
      delete &p;
      return 1;
    case effSetProgram:
      if (value >= 0 && value < 2) p.program = static_cast<VstInt32>(value);
      return 0;
    case effGetProgram:
      return p.program;
    case effGetProgramName:
      CopyText(ptr, kProgramNames[p.program]);
      return 0;
    case effGetProgramNameIndexed:
      if (index < 0 || index > 1) return 0;
      CopyText(ptr, kProgramNames[index]);
      return 1;
    case effGetParamName:
      CopyText(ptr, index >= 0 && index < 2 ? kParamNames[index] : "?");
      return 0;
    case effGetParamLabel:
      CopyText(ptr, index == 1 ? "x" : "");
      return 0;
    case effGetParamDisplay:
      if (index == 0) {
        std::snprintf(static_cast<char*>(ptr), 8, "%d",
                      static_cast<int>(std::lround(p.params[0] * 127.0f)));
      } else {
        std::snprintf(static_cast<char*>(ptr), 8, "%.2f", static_cast<double>(p.params[1]));
      }
      return 0;
    case effMainsChanged:
      if (value != 0) {
        p.host(effect, audioMasterWantMidi, 0, 1, nullptr, 0.0f);
        p.host(effect, audioMasterAutomate, 1, 0, nullptr, p.params[1]);
      }
      return 0;
    case effProcessEvents:
      return QueueEvents(p, static_cast<const VstEvents*>(ptr));
    case effGetInputProperties:
      return PinProperties(ptr, index, "In ");
    case effGetOutputProperties:
      return PinProperties(ptr, index, "Out ");
    case effGetEffectName:
      CopyText(ptr, "Fluxhost Test");
      return 1;
    case effGetVendorString:
      CopyText(ptr, "Quelbrook");
      return 1;
    case effGetProductString:
      CopyText(ptr, "Test Plug-in");
      return 1;
    case effGetVendorVersion:
      return 7;
    case effGetVstVersion:
      return 2400;
    case effCanDo:
      return std::strcmp(static_cast<const char*>(ptr), "receiveVstEvents") == 0 ||
                     std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0
                 ? 1
                 : -1;
    case effVendorSpecific:
      return index == kAskTempo          ? p.lastTempo
             : index == kAskQuarterNotes ? p.lastQuarterNotesMilli
             : index == kAskProcessCalls ? p.processCalls
             : index == kAskShellId      ? p.shellId
                                         : 0;
    default:
      return 0;
  }
}

}  // namespace

TEST_PLUGIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
    return nullptr;
  auto* p = new TestPlugin;
  p->host = host;
  p->shellId = host(nullptr, audioMasterCurrentId, 0, 0, nullptr, 0.0f);
  AEffect& e = p->effect;
  e.magic = kEffectMagic;
  e.dispatcher = Dispatcher;
  e.process = Process;
  e.processReplacing = ProcessReplacing;
  e.setParameter = SetParameter;
  e.getParameter = GetParameter;
  e.numPrograms = 2;
  e.numParams = 2;
  e.numInputs = 2;
  e.numOutputs = 2;
#if defined(TEST_PLUGIN_ACCUMULATING)
  e.flags = effFlagsCanMono;
#else
  e.flags = effFlagsCanMono | effFlagsCanReplacing;
#endif
  e.ioRatio = 1.0f;
  e.object = p;
  e.uniqueID = FourCharCode('F', 'h', 'T', 'p');
  e.version = 3;
  return &e;
}

#pragma once
// The records, opcodes and flags exchanged with a VST 2 host.
// On 32-bit targets every record has the exact host layout (checked below);
// on 64-bit the same declarations give the natural layout 64-bit hosts use:
// pointers and pointer-sized integers grow, everything else stays.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

// A host may call in with the stack aligned to 4 bytes only; functions that
// the host calls realign it so that SSE code below them is safe.
#if defined(__i386__)
#define VST_HOST_ENTRY __attribute__((force_align_arg_pointer))
#else
#define VST_HOST_ENTRY
#endif

using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index,
                                                   float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

// Four characters packed first-character-most-significant, each as an unsigned byte.
constexpr VstInt32 FourCharCode(char c1, char c2, char c3, char c4) {
  return static_cast<VstInt32>((static_cast<uint32_t>(static_cast<uint8_t>(c1)) << 24) |
                               (static_cast<uint32_t>(static_cast<uint8_t>(c2)) << 16) |
                               (static_cast<uint32_t>(static_cast<uint8_t>(c3)) << 8) |
                               static_cast<uint32_t>(static_cast<uint8_t>(c4)));
}

constexpr VstInt32 kEffectMagic = FourCharCode('V', 's', 't', 'P');

// The descriptor the host holds.
struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  char future[60];
};

enum : VstInt32 {
  effFlagsHasEditor = 1,
  effFlagsHasClip = 2,
  effFlagsHasVu = 4,
  effFlagsCanMono = 8,
  effFlagsCanReplacing = 16,
  effFlagsProgramChunks = 32,
  effFlagsIsSynth = 256,
  effFlagsNoSoundInStop = 512,
  effFlagsExtIsAsync = 1024,
  effFlagsExtHasBuffer = 2048,
};

// Requests from the host to the plug-in (the dispatcher's opcode).
enum : VstInt32 {
  effOpen = 0,
  effClose,
  effSetProgram,
  effGetProgram,
  effSetProgramName,
  effGetProgramName,
  effGetParamLabel,
  effGetParamDisplay,
  effGetParamName,
  effGetVu,
  effSetSampleRate,
  effSetBlockSize,
  effMainsChanged,
  effEditGetRect,
  effEditOpen,
  effEditClose,
  effEditDraw,
  effEditMouse,
  effEditKey,
  effEditIdle,
  effEditTop,
  effEditSleep,
  effIdentify,
  effGetChunk,
  effSetChunk,
  effProcessEvents,  // 25
  effCanBeAutomated,
  effString2Parameter,
  effGetNumProgramCategories,
  effGetProgramNameIndexed,
  effCopyProgram,
  effConnectInput,
  effConnectOutput,
  effGetInputProperties,
  effGetOutputProperties,
  effGetPlugCategory,
  effGetCurrentPosition,
  effGetDestinationBuffer,
  effOfflineNotify,
  effOfflinePrepare,
  effOfflineRun,
  effProcessVarIo,
  effSetSpeakerArrangement,
  effSetBlockSizeAndSampleRate,
  effSetBypass,
  effGetEffectName,
  effGetErrorText,
  effGetVendorString,
  effGetProductString,
  effGetVendorVersion,
  effVendorSpecific,
  effCanDo,
  effGetTailSize,
  effIdle,
  effGetIcon,
  effSetViewPosition,
  effGetParameterProperties,
  effKeysRequired,
  effGetVstVersion,
  effEditKeyDown,
  effEditKeyUp,
  effSetEditKnobMode,
  effGetMidiProgramName,
  effGetCurrentMidiProgram,
  effGetMidiProgramCategory,
  effHasMidiProgramsChanged,
  effGetMidiKeyName,
  effBeginSetProgram,
  effEndSetProgram,
  effGetSpeakerArrangement,
  effShellGetNextPlugin,
  effStartProcess,
  effStopProcess,
  effSetTotalSampleToProcess,
  effSetPanLaw,
  effBeginLoadBank,
  effBeginLoadProgram,  // 76
};

// Requests from the plug-in to the host (the host callback's opcode).
enum : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterPinConnected = 4,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterSetTime = 9,
  audioMasterTempoAt = 10,
  audioMasterGetNumAutomatableParameters = 11,
  audioMasterGetParameterQuantization = 12,
  audioMasterIOChanged = 13,
  audioMasterNeedIdle = 14,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetInputLatency = 18,
  audioMasterGetOutputLatency = 19,
  audioMasterGetPreviousPlug = 20,
  audioMasterGetNextPlug = 21,
  audioMasterWillReplaceOrAccumulate = 22,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterOfflineStart = 25,
  audioMasterOfflineRead = 26,
  audioMasterOfflineWrite = 27,
  audioMasterOfflineGetCurrentPass = 28,
  audioMasterOfflineGetCurrentMetaPass = 29,
  audioMasterSetOutputSampleRate = 30,
  audioMasterGetOutputSpeakerArrangement = 31,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterOpenWindow = 39,
  audioMasterCloseWindow = 40,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
  audioMasterOpenFileSelector = 45,
  audioMasterGetInputSpeakerArrangement = 49,
};

enum : VstInt32 { kPlugCategUnknown = 0, kPlugCategSynth = 2 };

// Every event record starts with these four fields.
struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;  // size after the first two fields
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};

enum : VstInt32 { kVstMidiType = 1 };

struct VstMidiEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];  // status, data 1, data 2, 0
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// An event list: the fixed part declares two entries; a host may pass more.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

// The numEvents entries of a list, reached through a pointer to the first: indexing the
// declared two-entry array beyond its end is out of bounds in the language's eyes.
inline VstEvent** EventEntries(VstEvents& list) {
  return list.events;
}
inline VstEvent* const* EventEntries(const VstEvents& list) {
  return list.events;
}

enum : VstInt32 { kVstPinIsActive = 1, kVstPinIsStereo = 2 };

struct VstPinProperties {
  char label[64];
  VstInt32 flags;
  VstInt32 arrangementType;
  char shortLabel[8];
  char future[48];
};

struct VstKeyCode {
  VstInt32 character;
  unsigned char virt;
  unsigned char modifier;
};

struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};

// A speaker arrangement: numChannels speaker records follow the header.
// Allocations hold 8 + 112 * numChannels bytes, so index through speakerAt.
struct VstSpeakerArrangement {
  VstInt32 type;
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

inline VstSpeakerProperties* SpeakerAt(VstSpeakerArrangement* arrangement, VstInt32 channel) {
  return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) +
                                                 offsetof(VstSpeakerArrangement, speakers)) +
         channel;
}

// The editor rectangle, relative to the editor window's own origin.
struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

struct VstTimeInfo;    // received from the host as a pointer and handed on unread
struct VstVariableIo;  // likewise
struct VstFileSelect;  // likewise
struct VstAudioFile;
struct VstOfflineTask;
struct VstParameterProperties;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
struct VstPatchChunkInfo;

static_assert(sizeof(VstMidiEvent) == 32);
static_assert(sizeof(VstPinProperties) == 128);
static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(sizeof(ERect) == 8);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, noteOffset) == 20);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29);
static_assert(offsetof(VstMidiEvent, reserved1) == 30);
static_assert(offsetof(VstMidiEvent, reserved2) == 31);
static_assert(offsetof(VstPinProperties, flags) == 64);
static_assert(offsetof(VstPinProperties, arrangementType) == 68);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(offsetof(VstPinProperties, future) == 80);
static_assert(offsetof(VstKeyCode, virt) == 4);
static_assert(offsetof(VstKeyCode, modifier) == 5);
static_assert(offsetof(VstSpeakerProperties, name) == 16);
static_assert(offsetof(VstSpeakerProperties, type) == 80);
static_assert(offsetof(VstSpeakerProperties, future) == 84);
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);
static_assert(offsetof(ERect, left) == 2);
static_assert(offsetof(ERect, bottom) == 4);
static_assert(offsetof(ERect, right) == 6);

#if INTPTR_MAX == INT32_MAX
// The host's 32-bit layout, byte for byte.
static_assert(sizeof(AEffect) == 144);
static_assert(offsetof(AEffect, dispatcher) == 4);
static_assert(offsetof(AEffect, process) == 8);
static_assert(offsetof(AEffect, setParameter) == 12);
static_assert(offsetof(AEffect, getParameter) == 16);
static_assert(offsetof(AEffect, numPrograms) == 20);
static_assert(offsetof(AEffect, numParams) == 24);
static_assert(offsetof(AEffect, numInputs) == 28);
static_assert(offsetof(AEffect, numOutputs) == 32);
static_assert(offsetof(AEffect, flags) == 36);
static_assert(offsetof(AEffect, resvd1) == 40);
static_assert(offsetof(AEffect, resvd2) == 44);
static_assert(offsetof(AEffect, initialDelay) == 48);
static_assert(offsetof(AEffect, realQualities) == 52);
static_assert(offsetof(AEffect, offQualities) == 56);
static_assert(offsetof(AEffect, ioRatio) == 60);
static_assert(offsetof(AEffect, object) == 64);
static_assert(offsetof(AEffect, user) == 68);
static_assert(offsetof(AEffect, uniqueID) == 72);
static_assert(offsetof(AEffect, version) == 76);
static_assert(offsetof(AEffect, processReplacing) == 80);
static_assert(offsetof(AEffect, future) == 84);
static_assert(sizeof(VstEvents) == 16);
static_assert(offsetof(VstEvents, events) == 8);
static_assert(sizeof(VstSpeakerArrangement) == 8 + 8 * 112);
#elif INTPTR_MAX == INT64_MAX
// The natural 64-bit layout that 64-bit hosts use (Windows x64 and Linux x86-64 alike): the
// descriptor's five functions, resvd1, resvd2, object and user take 8 bytes and 8-byte
// alignment, which puts 4 bytes of padding after magic and after flags, and 4 at the end.
static_assert(sizeof(void*) == 8 && sizeof(VstIntPtr) == 8 && alignof(VstIntPtr) == 8);
static_assert(sizeof(AEffectDispatcherProc) == 8);
static_assert(sizeof(AEffect) == 192);
static_assert(alignof(AEffect) == 8);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, future) == 128);
// The event list: reserved is pointer-sized, and so is each entry.
static_assert(sizeof(VstEvents) == 32);
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);
// Records without pointers keep their 32-bit layout (checked above): 4-byte alignment, so a
// speaker arrangement is still 8 + 8 * 112 bytes and an event list's entries point at events
// laid out as on 32-bit.
static_assert(sizeof(VstSpeakerArrangement) == 8 + 8 * 112);
static_assert(alignof(VstSpeakerArrangement) == 4);
static_assert(sizeof(VstEvent) == 32 && sizeof(VstKeyCode) == 8);
#else
#error "VST 2 records are laid out for 32-bit and 64-bit targets only"
#endif

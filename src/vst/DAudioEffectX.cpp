#include "vst/DAudioEffectX.h"

#include <cstdlib>
#include <cstring>

#include "common/Rounding.h"

namespace {

// Opcodes whose ptr is a text or record the plug-in reads or fills: a host
// that passes null gets 0 and the request goes no further.
bool NeedsBuffer(VstInt32 opcode) {
  switch (opcode) {
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
      return true;
    default:
      return false;
  }
}

VstKeyCode KeyCodeOf(VstInt32 index, VstIntPtr value, float opt) {
  VstKeyCode key{};
  key.character = index;
  key.virt = static_cast<unsigned char>(value);
  key.modifier = static_cast<unsigned char>(flux::RoundHalfEven(static_cast<double>(opt)));
  return key;
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback master, VstInt32 programCount, VstInt32 paramCount)
    : AudioEffect(master, programCount, paramCount) {}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  if (opcode < effProcessEvents || opcode > effBeginLoadProgram)
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  if (NeedsBuffer(opcode) && !ptr) return 0;
  auto text = static_cast<char*>(ptr);
  const bool state = value != 0;
  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return canParameterBeAutomated(index);
    case effString2Parameter:
      return string2parameter(index, text);
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(static_cast<VstInt32>(value), index, text);
    case effCopyProgram:
      return copyProgram(index);
    case effConnectInput:
      inputConnected(index, state);
      return 1;
    case effConnectOutput:
      outputConnected(index, state);
      return 1;
    case effGetInputProperties:
      return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetCurrentPosition:
      return reportCurrentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
      return offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value),
                           index != 0);
    case effOfflinePrepare:
      return offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value));
    case effOfflineRun:
      return offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value));
    case effProcessVarIo:
      return processVariableIo(static_cast<VstVariableIo*>(ptr));
    case effSetSpeakerArrangement:
      return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                   static_cast<VstSpeakerArrangement*>(ptr));
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(static_cast<VstInt32>(value), opt);
      return 1;
    case effSetBypass:
      return setBypass(state);
    case effGetEffectName:
      return getEffectName(text);
    case effGetErrorText:
      return getErrorText(text);
    case effGetVendorString:
      return getVendorString(text);
    case effGetProductString:
      return getProductString(text);
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return canDo(text);
    case effGetTailSize:
      return getGetTailSize();
    case effIdle:
      return fxIdle();
    case effGetIcon:
      return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
      return setViewPosition(index, static_cast<VstInt32>(value));
    case effGetParameterProperties:
      return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
    case effKeysRequired:
      return keysRequired() ? 0 : 1;
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (!editor) return 0;
      VstKeyCode key = KeyCodeOf(index, value, opt);
      return opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
    }
    case effSetEditKnobMode:
      return editor ? editor->setKnobMode(static_cast<VstInt32>(value)) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return hasMidiProgramsChanged(index);
    case effGetMidiKeyName:
      return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
    case effBeginSetProgram:
      return beginSetProgram();
    case effEndSetProgram:
      return endSetProgram();
    case effGetSpeakerArrangement: {
      // Works on copies: nothing is written back to the host's variables.
      auto input = reinterpret_cast<VstSpeakerArrangement*>(value);
      auto output = static_cast<VstSpeakerArrangement*>(ptr);
      return getSpeakerArrangement(&input, &output);
    }
    case effShellGetNextPlugin:
      return getNextShellPlugin(text);
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(static_cast<VstInt32>(value));
    case effSetPanLaw:
      return setPanLaw(static_cast<VstInt32>(value), opt);
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    default:
      return 0;
  }
}

void AudioEffectX::wantEvents(VstInt32 filter) {
  CallHost(audioMasterWantMidi, 0, filter);
}

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
  return CallHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

void AudioEffectX::setTime(VstInt32 filter, VstTimeInfo* timeInfo) {
  CallHost(audioMasterSetTime, 0, filter, timeInfo);
}

VstInt32 AudioEffectX::tempoAt(VstInt32 pos) {
  return static_cast<VstInt32>(CallHost(audioMasterTempoAt, 0, pos));
}

VstInt32 AudioEffectX::processEvents(VstEvents*) {
  return 0;
}

VstInt32 AudioEffectX::getNumAutomatableParameters() {
  return static_cast<VstInt32>(CallHost(audioMasterGetNumAutomatableParameters));
}

VstInt32 AudioEffectX::getParameterQuantization() {
  return static_cast<VstInt32>(CallHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::canParameterBeAutomated(VstInt32) {
  return true;
}
bool AudioEffectX::string2parameter(VstInt32, char*) {
  return false;
}
float AudioEffectX::getChannelParameter(VstInt32, VstInt32) {
  return 0.0f;
}
VstInt32 AudioEffectX::getNumCategories() {
  return 1;
}
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char*) {
  return false;
}
bool AudioEffectX::copyProgram(VstInt32) {
  return false;
}
bool AudioEffectX::ioChanged() {
  return CallHost(audioMasterIOChanged) != 0;
}
bool AudioEffectX::needIdle() {
  return CallHost(audioMasterNeedIdle) != 0;
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return CallHost(audioMasterSizeWindow, width, height) != 0;
}

double AudioEffectX::updateSampleRate() {
  const VstIntPtr rate = CallHost(audioMasterGetSampleRate);
  if (rate > 0) setSampleRate(static_cast<float>(rate));
  return static_cast<double>(sampleRate);
}

VstInt32 AudioEffectX::updateBlockSize() {
  const VstIntPtr size = CallHost(audioMasterGetBlockSize);
  if (size > 0) setBlockSize(static_cast<VstInt32>(size));
  return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() {
  return static_cast<VstInt32>(CallHost(audioMasterGetInputLatency));
}

VstInt32 AudioEffectX::getOutputLatency() {
  return static_cast<VstInt32>(CallHost(audioMasterGetOutputLatency));
}

AEffect* AudioEffectX::getPreviousPlug(VstInt32) {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(VstInt32) {
  return reinterpret_cast<AEffect*>(CallHost(audioMasterGetNextPlug));
}

void AudioEffectX::inputConnected(VstInt32, bool) {}
void AudioEffectX::outputConnected(VstInt32, bool) {}
bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties*) {
  return false;
}
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties*) {
  return false;
}

VstInt32 AudioEffectX::getPlugCategory() {
  return (cEffect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

VstInt32 AudioEffectX::willProcessReplacing() {
  return static_cast<VstInt32>(CallHost(audioMasterWillReplaceOrAccumulate));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return static_cast<VstInt32>(CallHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() {
  return static_cast<VstInt32>(CallHost(audioMasterGetAutomationState));
}

void AudioEffectX::wantAsyncOperation(bool state) {
  SetFlag(effFlagsExtIsAsync, state);
}
void AudioEffectX::hasExternalBuffer(bool state) {
  SetFlag(effFlagsExtHasBuffer, state);
}
VstInt32 AudioEffectX::reportCurrentPosition() {
  return 0;
}
float* AudioEffectX::reportDestinationBuffer() {
  return nullptr;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) {
  return CallHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) {
  return CallHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineStart(VstAudioFile* audioFiles, VstInt32 numAudioFiles,
                                VstInt32 numNewAudioFiles) {
  return CallHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, audioFiles) != 0;
}

VstInt32 AudioEffectX::offlineGetCurrentPass() {
  return CallHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

VstInt32 AudioEffectX::offlineGetCurrentMetaPass() {
  return CallHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

bool AudioEffectX::offlineNotify(VstAudioFile*, VstInt32, bool) {
  return false;
}
bool AudioEffectX::offlinePrepare(VstOfflineTask*, VstInt32) {
  return false;
}
bool AudioEffectX::offlineRun(VstOfflineTask*, VstInt32) {
  return false;
}
VstInt32 AudioEffectX::offlineGetNumPasses() {
  return 0;
}
VstInt32 AudioEffectX::offlineGetNumMetaPasses() {
  return 0;
}

void AudioEffectX::setOutputSamplerate(float samplerate) {
  CallHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(CallHost(audioMasterGetOutputSpeakerArrangement));
}

bool AudioEffectX::getHostVendorString(char* text) {
  return CallHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text) {
  return CallHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::getHostVendorVersion() {
  return static_cast<VstInt32>(CallHost(audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                           float floatArg) {
  return CallHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(char* text) {
  return static_cast<VstInt32>(CallHost(audioMasterCanDo, 0, 0, text));
}

void AudioEffectX::isSynth(bool state) {
  SetFlag(effFlagsIsSynth, state);
}
void AudioEffectX::noTail(bool state) {
  SetFlag(effFlagsNoSoundInStop, state);
}

VstInt32 AudioEffectX::getHostLanguage() {
  return static_cast<VstInt32>(CallHost(audioMasterGetLanguage));
}

void* AudioEffectX::openWindow(void* window) {
  return reinterpret_cast<void*>(CallHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(void* window) {
  return CallHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* AudioEffectX::getDirectory() {
  return reinterpret_cast<void*>(CallHost(audioMasterGetDirectory));
}

bool AudioEffectX::updateDisplay() {
  return CallHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::processVariableIo(VstVariableIo*) {
  return false;
}

bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
  return false;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  *pluginInput = nullptr;
  *pluginOutput = nullptr;
  return false;
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 size, float rate) {
  blockSize = size;
  sampleRate = rate;
}

bool AudioEffectX::setBypass(bool) {
  return false;
}
bool AudioEffectX::getEffectName(char*) {
  return false;
}
bool AudioEffectX::getErrorText(char*) {
  return false;
}
bool AudioEffectX::getVendorString(char*) {
  return false;
}
bool AudioEffectX::getProductString(char*) {
  return false;
}
VstInt32 AudioEffectX::getVendorVersion() {
  return 0;
}
VstIntPtr AudioEffectX::vendorSpecific(VstInt32, VstIntPtr, void*, float) {
  return 0;
}
VstInt32 AudioEffectX::canDo(char*) {
  return 0;
}
void* AudioEffectX::getIcon() {
  return nullptr;
}
bool AudioEffectX::setViewPosition(VstInt32, VstInt32) {
  return false;
}
VstInt32 AudioEffectX::getGetTailSize() {
  return 0;
}
VstInt32 AudioEffectX::fxIdle() {
  return 0;
}
bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties*) {
  return false;
}
bool AudioEffectX::keysRequired() {
  return false;
}
VstInt32 AudioEffectX::getVstVersion() {
  return 2300;
}
VstInt32 AudioEffectX::getMidiProgramName(VstInt32, MidiProgramName*) {
  return 0;
}
VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32, MidiProgramName*) {
  return -1;
}
VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32, MidiProgramCategory*) {
  return 0;
}
bool AudioEffectX::hasMidiProgramsChanged(VstInt32) {
  return false;
}
bool AudioEffectX::getMidiKeyName(VstInt32, MidiKeyName*) {
  return false;
}
bool AudioEffectX::beginSetProgram() {
  return false;
}
bool AudioEffectX::endSetProgram() {
  return false;
}

bool AudioEffectX::beginEdit(VstInt32 index) {
  return CallHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) {
  return CallHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* ptr) {
  return ptr && CallHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}

VstInt32 AudioEffectX::setTotalSampleToProcess(VstInt32 value) {
  return value;
}
VstInt32 AudioEffectX::getNextShellPlugin(char*) {
  return 0;
}
VstInt32 AudioEffectX::startProcess() {
  return 0;
}
VstInt32 AudioEffectX::stopProcess() {
  return 0;
}
bool AudioEffectX::setPanLaw(VstInt32, float) {
  return false;
}
VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo*) {
  return 0;
}
VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) {
  return 0;
}

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
  deallocateArrangement(arrangement);
  if (nbChannels < 0) return false;
  const size_t bytes = offsetof(VstSpeakerArrangement, speakers) +
                       sizeof(VstSpeakerProperties) * static_cast<size_t>(nbChannels);
  auto* made = static_cast<VstSpeakerArrangement*>(std::calloc(1, bytes));
  if (!made) return false;
  made->numChannels = nbChannels;
  *arrangement = made;
  return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
  std::free(*arrangement);
  *arrangement = nullptr;
  return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (!to || !from) return false;
  *to = *from;
  return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
  if (!from) return false;
  if (!allocateArrangement(to, from->numChannels)) return false;
  (*to)->type = from->type;
  for (VstInt32 channel = 0; channel < from->numChannels; ++channel) {
    if (!copySpeaker(SpeakerAt(*to, channel), SpeakerAt(from, channel))) return false;
  }
  return true;
}

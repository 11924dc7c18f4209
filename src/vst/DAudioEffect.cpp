#include "vst/DAudioEffect.h"

#include "common/EntryScope.h"
#include "common/Rounding.h"

namespace {

// The instance behind the host's record; none once the host has closed it (its calls that
// arrive while an outer call unwinds get the closed instance's answer).
AudioEffect* InstanceOf(AEffect* effect) {
  auto* instance = effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
  return instance && !instance->IsClosedByHost() ? instance : nullptr;
}

// The five functions the host calls. Each is an entry into the instance: a host may call again
// from inside the callbacks we make, even effClose, and the instance then outlives the closing
// call until the outermost one returns. Nothing may unwind into the host: every exception ends
// here with the request's default answer.

VST_HOST_ENTRY VstIntPtr VSTCALLBACK DispatchEffect(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt) {
  AudioEffect* instance = InstanceOf(effect);
  if (!instance) return 0;
  const flux::EntryScope entry;
  if (opcode == effClose) {
    try {
      instance->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
    }
    instance->CloseByHost();
    return 1;
  }
  try {
    return instance->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VST_HOST_ENTRY void VSTCALLBACK ProcessEffect(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames) {
  AudioEffect* instance = InstanceOf(effect);
  if (!instance) return;
  const flux::EntryScope entry;
  try {
    instance->process(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

VST_HOST_ENTRY void VSTCALLBACK ProcessReplacingEffect(AEffect* effect, float** inputs,
                                                       float** outputs, VstInt32 sampleFrames) {
  AudioEffect* instance = InstanceOf(effect);
  if (!instance) return;
  const flux::EntryScope entry;
  try {
    instance->processReplacing(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

VST_HOST_ENTRY void VSTCALLBACK SetParameterEffect(AEffect* effect, VstInt32 index, float value) {
  AudioEffect* instance = InstanceOf(effect);
  if (!instance) return;
  const flux::EntryScope entry;
  try {
    instance->setParameter(index, value);
  } catch (...) {
  }
}

VST_HOST_ENTRY float VSTCALLBACK GetParameterEffect(AEffect* effect, VstInt32 index) {
  AudioEffect* instance = InstanceOf(effect);
  if (!instance) return 0.0f;
  const flux::EntryScope entry;
  try {
    return instance->getParameter(index);
  } catch (...) {
    return 0.0f;
  }
}

// Opcodes whose ptr is a text, record or buffer that the plug-in reads or
// fills: a host that passes null gets 0 and the request goes no further.
bool NeedsBuffer(VstInt32 opcode) {
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback master, VstInt32 programCount, VstInt32 paramCount)
    : cEffect{}, numPrograms(programCount), numParams(paramCount), audioMaster(master) {
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = DispatchEffect;
  cEffect.process = ProcessEffect;
  cEffect.setParameter = SetParameterEffect;
  cEffect.getParameter = GetParameterEffect;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = FourCharCode('N', 'o', 'E', 'f');
  cEffect.version = 1;
  cEffect.processReplacing = ProcessReplacingEffect;
}

AudioEffect::~AudioEffect() = default;

VstIntPtr AudioEffect::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::SetFlag(VstInt32 flag, bool state) {
  if (state)
    cEffect.flags |= flag;
  else
    cEffect.flags &= ~flag;
}

void AudioEffect::CloseByHost() {
  m_ClosedByHost.store(true, std::memory_order_relaxed);
  // The editor's handlers may be on the stack (the host closed from inside one of them): it
  // leaves the screen now, and goes with the instance.
  if (editor) editor->HostClosing();
  flux::EntryScope::DestroyOnReturn(std::unique_ptr<AudioEffect>(this));
}

void AudioEffect::setEditor(std::unique_ptr<AEffEditor> newEditor) {
  editor = std::move(newEditor);
  SetFlag(effFlagsHasEditor, editor != nullptr);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  if (NeedsBuffer(opcode) && !ptr) return 0;
  auto text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      if (value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(text);
      return 0;
    case effGetProgramName:
      getProgramName(text);
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      getParameterName(index, text);
      return 0;
    case effGetVu:
      return flux::RoundHalfEven(static_cast<double>(getVu()) * 32767.0);
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value == 0)
        suspend();
      else
        resume();
      return 0;
    case effEditGetRect: {
      if (!editor) return 0;
      auto hostVariable = static_cast<ERect**>(ptr);
      ERect* rect = *hostVariable;
      const VstInt32 result = editor->getRect(&rect);
      *hostVariable = rect;
      return result;
    }
    case effEditOpen:
      return editor ? editor->open(ptr) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return FourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:  // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep, unknown
      return 0;
  }
}

void AudioEffect::setSampleRate(float rate) {
  sampleRate = rate;
}
void AudioEffect::setBlockSize(VstInt32 size) {
  blockSize = size;
}
void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32) {
  return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  CallHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::processReplacing(float**, float**, VstInt32) {}
void AudioEffect::open() {}
void AudioEffect::close() {}
VstInt32 AudioEffect::getProgram() {
  return curProgram.load(std::memory_order_relaxed);
}
void AudioEffect::setProgram(VstInt32 program) {
  curProgram.store(program, std::memory_order_relaxed);
}
void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char*) {}
void AudioEffect::getParameterLabel(VstInt32, char*) {}
void AudioEffect::getParameterDisplay(VstInt32, char*) {}
void AudioEffect::getParameterName(VstInt32, char*) {}
float AudioEffect::getVu() {
  return 0.0f;
}
VstInt32 AudioEffect::getChunk(void**, bool) {
  return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) {
  return 0;
}
void AudioEffect::suspend() {}
void AudioEffect::resume() {}
void AudioEffect::setUniqueID(VstInt32 iD) {
  cEffect.uniqueID = iD;
}
void AudioEffect::setNumInputs(VstInt32 inputs) {
  cEffect.numInputs = inputs;
}
void AudioEffect::setNumOutputs(VstInt32 outputs) {
  cEffect.numOutputs = outputs;
}
void AudioEffect::hasVu(bool state) {
  SetFlag(effFlagsHasVu, state);
}
void AudioEffect::hasClip(bool state) {
  SetFlag(effFlagsHasClip, state);
}
void AudioEffect::canMono(bool state) {
  SetFlag(effFlagsCanMono, state);
}
void AudioEffect::canProcessReplacing(bool state) {
  SetFlag(effFlagsCanReplacing, state);
}
void AudioEffect::programsAreChunks(bool state) {
  SetFlag(effFlagsProgramChunks, state);
}
void AudioEffect::setRealtimeQualities(VstInt32 qualities) {
  cEffect.realQualities = qualities;
}
void AudioEffect::setOfflineQualities(VstInt32 qualities) {
  cEffect.offQualities = qualities;
}
void AudioEffect::setInitialDelay(VstInt32 delay) {
  cEffect.initialDelay = delay;
}

VstInt32 AudioEffect::getMasterVersion() {
  const auto version = static_cast<VstInt32>(CallHost(audioMasterVersion));
  return version != 0 ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(CallHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
  CallHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(VstInt32 input) {
  return CallHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  return CallHost(audioMasterPinConnected, output, 1) == 0;
}

#pragma once
// The base of every plug-in object: it embeds the descriptor the host holds,
// supplies the five host-facing functions, turns opcodes 0..24 into virtual
// operations and wraps the first host requests.

#include <atomic>
#include <memory>

#include "vst/AEffEditor.h"
#include "vst/VstRecords.h"

class AudioEffect {
 public:
  AudioEffect(audioMasterCallback master, VstInt32 programCount, VstInt32 paramCount);
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  virtual void setSampleRate(float sampleRate);
  virtual void setBlockSize(VstInt32 blockSize);
  virtual void setParameter(VstInt32 index, float value);
  virtual float getParameter(VstInt32 index);
  // Sets the value, then tells the host that the user changed it.
  virtual void setParameterAutomated(VstInt32 index, float value);
  virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);
  virtual void open();
  virtual void close();
  virtual VstInt32 getProgram();
  virtual void setProgram(VstInt32 program);
  virtual void setProgramName(char* name);
  virtual void getProgramName(char* name);
  virtual void getParameterLabel(VstInt32 index, char* label);
  virtual void getParameterDisplay(VstInt32 index, char* text);
  virtual void getParameterName(VstInt32 index, char* text);
  virtual float getVu();
  virtual VstInt32 getChunk(void** data, bool isPreset);
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset);
  virtual void suspend();
  virtual void resume();
  virtual void setUniqueID(VstInt32 iD);
  virtual void setNumInputs(VstInt32 inputs);
  virtual void setNumOutputs(VstInt32 outputs);
  virtual void hasVu(bool state);
  virtual void hasClip(bool state);
  virtual void canMono(bool state);
  virtual void canProcessReplacing(bool state);
  virtual void programsAreChunks(bool state);
  virtual void setRealtimeQualities(VstInt32 qualities);
  virtual void setOfflineQualities(VstInt32 qualities);
  virtual void setInitialDelay(VstInt32 delay);
  virtual VstInt32 getMasterVersion();    // 1 when the host does not answer
  virtual VstInt32 getCurrentUniqueId();  // 0 without a host
  virtual void masterIdle();
  virtual bool isInputConnected(VstInt32 input);  // true unless the host says 1
  virtual bool isOutputConnected(VstInt32 output);

  // Takes ownership; sets effFlagsHasEditor for an editor, clears it for null.
  void setEditor(std::unique_ptr<AEffEditor> newEditor);
  AEffEditor* GetEditor() const { return editor.get(); }
  AEffect* getAeffect() { return &cEffect; }

  // For the host-facing functions: after effClose the instance answers nothing more and is
  // destroyed when the host's outermost call into it returns (at once when there is none).
  void CloseByHost();
  bool IsClosedByHost() const { return m_ClosedByHost.load(std::memory_order_relaxed); }

 protected:
  // Calls the host; without a callback answers 0 and does nothing.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void SetFlag(VstInt32 flag, bool state);

  AEffect cEffect;
  float sampleRate = 44100.0f;
  std::unique_ptr<AEffEditor> editor;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 blockSize = 1024;
  // Set from the user-interface thread, read where parameters change (either thread).
  std::atomic<VstInt32> curProgram{0};
  audioMasterCallback audioMaster;

 private:
  std::atomic<bool> m_ClosedByHost{false};
};

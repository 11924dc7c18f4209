#pragma once
// The VST 2 part of the interface: opcodes 25..76, the host requests that
// VST 2 added, and a default for every VST 2 operation.

#include "vst/DAudioEffect.h"

class AudioEffectX : public AudioEffect {
 public:
  AudioEffectX(audioMasterCallback master, VstInt32 programCount, VstInt32 paramCount);

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

  virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
  virtual void setTime(VstInt32 filter, VstTimeInfo* timeInfo);
  virtual VstInt32 tempoAt(VstInt32 pos);  // beats per minute x 10000
  virtual VstInt32 processEvents(VstEvents* events);
  virtual VstInt32 getNumAutomatableParameters();
  virtual VstInt32 getParameterQuantization();
  virtual bool canParameterBeAutomated(VstInt32 index);
  virtual bool string2parameter(VstInt32 index, char* text);
  virtual float getChannelParameter(VstInt32 channel, VstInt32 index);
  virtual VstInt32 getNumCategories();
  virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text);
  virtual bool copyProgram(VstInt32 destination);
  virtual bool ioChanged();
  virtual bool needIdle();
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual double updateSampleRate();
  virtual VstInt32 updateBlockSize();
  virtual VstInt32 getInputLatency();
  virtual VstInt32 getOutputLatency();
  virtual AEffect* getPreviousPlug(VstInt32 input);
  virtual AEffect* getNextPlug(VstInt32 output);
  virtual void inputConnected(VstInt32 index, bool state);
  virtual void outputConnected(VstInt32 index, bool state);
  virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties);
  virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
  virtual VstInt32 getPlugCategory();
  virtual VstInt32 willProcessReplacing();
  virtual VstInt32 getCurrentProcessLevel();
  virtual VstInt32 getAutomationState();
  virtual void wantAsyncOperation(bool state);
  virtual void hasExternalBuffer(bool state);
  virtual VstInt32 reportCurrentPosition();
  virtual float* reportDestinationBuffer();
  virtual bool offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource);
  virtual bool offlineWrite(VstOfflineTask* offline, VstInt32 option);
  virtual bool offlineStart(VstAudioFile* audioFiles, VstInt32 numAudioFiles,
                            VstInt32 numNewAudioFiles);
  virtual VstInt32 offlineGetCurrentPass();
  virtual VstInt32 offlineGetCurrentMetaPass();
  virtual bool offlineNotify(VstAudioFile* data, VstInt32 numAudioFiles, bool start);
  virtual bool offlinePrepare(VstOfflineTask* offline, VstInt32 count);
  virtual bool offlineRun(VstOfflineTask* offline, VstInt32 count);
  virtual VstInt32 offlineGetNumPasses();
  virtual VstInt32 offlineGetNumMetaPasses();
  virtual void setOutputSamplerate(float samplerate);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual bool getHostVendorString(char* text);
  virtual bool getHostProductString(char* text);
  virtual VstInt32 getHostVendorVersion();
  virtual VstIntPtr hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg,
                                       float floatArg);
  virtual VstInt32 canHostDo(char* text);  // 1 yes, -1 no, 0 cannot tell
  virtual void isSynth(bool state);
  virtual void noTail(bool state);
  virtual VstInt32 getHostLanguage();
  virtual void* openWindow(void* window);
  virtual bool closeWindow(void* window);
  virtual void* getDirectory();
  virtual bool updateDisplay();
  virtual bool processVariableIo(VstVariableIo* varIo);
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                     VstSpeakerArrangement* pluginOutput);
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                     VstSpeakerArrangement** pluginOutput);
  virtual void setBlockSizeAndSampleRate(VstInt32 size, float rate);
  virtual bool setBypass(bool onOff);
  virtual bool getEffectName(char* name);
  virtual bool getErrorText(char* text);
  virtual bool getVendorString(char* text);
  virtual bool getProductString(char* text);
  virtual VstInt32 getVendorVersion();
  virtual VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr lArg2, void* ptrArg, float floatArg);
  virtual VstInt32 canDo(char* text);
  virtual void* getIcon();
  virtual bool setViewPosition(VstInt32 x, VstInt32 y);
  virtual VstInt32 getGetTailSize();
  virtual VstInt32 fxIdle();
  virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* p);
  virtual bool keysRequired();
  virtual VstInt32 getVstVersion();
  virtual VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* midiProgramName);
  virtual VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* currentProgram);
  virtual VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category);
  virtual bool hasMidiProgramsChanged(VstInt32 channel);
  virtual bool getMidiKeyName(VstInt32 channel, MidiKeyName* keyName);
  virtual bool beginSetProgram();
  virtual bool endSetProgram();
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
  virtual bool openFileSelector(VstFileSelect* ptr);
  virtual VstInt32 setTotalSampleToProcess(VstInt32 value);
  virtual VstInt32 getNextShellPlugin(char* name);
  virtual VstInt32 startProcess();
  virtual VstInt32 stopProcess();
  virtual bool setPanLaw(VstInt32 type, float val);
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo* ptr);
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* ptr);
  // Speaker arrangements, offered to plug-in classes. Arrangements made here
  // hold 8 + 112 * numChannels bytes and are released with deallocateArrangement.
  virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels);
  virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
  virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

  void wantEvents(VstInt32 filter = 1);
  bool sendVstEventsToHost(VstEvents* events);  // true only when the host answers 1
};

#pragma once
// A plug-in class that logs every virtual operation the dispatcher reaches,
// with its arguments, and answers what the test sets.

#include <map>
#include <string>
#include <vector>

#include "vst/DAudioEffectX.h"

class ProbeEffect : public AudioEffectX {
 public:
  explicit ProbeEffect(audioMasterCallback master) : AudioEffectX(master, 4, 3) {}
  ~ProbeEffect() override { ++destroyed; }

  // Log entries look like "name(arg,arg)".
  std::vector<std::string> log;
  std::map<std::string, VstIntPtr> answers;  // by operation name
  float vu = 0.0f;
  static inline int destroyed = 0;
  static inline int closed = 0;

  using AudioEffect::CallHost;
  using AudioEffect::setEditor;
  VstInt32 NumProgramsField() const { return numPrograms; }
  float SampleRateField() const { return sampleRate; }
  VstInt32 BlockSizeField() const { return blockSize; }
  AEffEditor* EditorField() const { return editor.get(); }

  void process(float**, float**, VstInt32 frames) override { Note("process", frames); }
  void processReplacing(float**, float**, VstInt32 frames) override {
    Note("processReplacing", frames);
  }
  void setParameter(VstInt32 index, float value) override { Note("setParameter", index, value); }
  float getParameter(VstInt32 index) override {
    Note("getParameter", index);
    return 0.25f;
  }
  void open() override { Note("open"); }
  void close() override {
    Note("close");
    ++closed;
  }
  void setProgram(VstInt32 program) override {
    Note("setProgram", program);
    AudioEffectX::setProgram(program);
  }
  void setProgramName(char* name) override { Note("setProgramName", std::string(name)); }
  void getProgramName(char* name) override { Note("getProgramName", PtrName(name)); }
  void getParameterLabel(VstInt32 index, char* text) override {
    Note("getParameterLabel", index, PtrName(text));
  }
  void getParameterDisplay(VstInt32 index, char* text) override {
    Note("getParameterDisplay", index, PtrName(text));
  }
  void getParameterName(VstInt32 index, char* text) override {
    Note("getParameterName", index, PtrName(text));
  }
  float getVu() override { return vu; }
  VstInt32 getChunk(void** data, bool isPreset) override {
    Note("getChunk", PtrName(data), isPreset);
    return Answer("getChunk");
  }
  VstInt32 setChunk(void* data, VstInt32 size, bool isPreset) override {
    Note("setChunk", PtrName(data), size, isPreset);
    return Answer("setChunk");
  }
  void suspend() override { Note("suspend"); }
  void resume() override { Note("resume"); }
  void setSampleRate(float rate) override {
    Note("setSampleRate", rate);
    AudioEffectX::setSampleRate(rate);
  }
  void setBlockSize(VstInt32 size) override {
    Note("setBlockSize", size);
    AudioEffectX::setBlockSize(size);
  }
  VstInt32 processEvents(VstEvents* events) override {
    Note("processEvents", PtrName(events));
    return Answer("processEvents");
  }
  bool canParameterBeAutomated(VstInt32 index) override {
    Note("canParameterBeAutomated", index);
    return Answer("canParameterBeAutomated") != 0;
  }
  bool string2parameter(VstInt32 index, char* text) override {
    Note("string2parameter", index, PtrName(text));
    return Answer("string2parameter") != 0;
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
    Note("getProgramNameIndexed", category, index, PtrName(text));
    return Answer("getProgramNameIndexed") != 0;
  }
  bool copyProgram(VstInt32 destination) override {
    Note("copyProgram", destination);
    return Answer("copyProgram") != 0;
  }
  void inputConnected(VstInt32 index, bool state) override { Note("inputConnected", index, state); }
  void outputConnected(VstInt32 index, bool state) override {
    Note("outputConnected", index, state);
  }
  bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) override {
    Note("offlineNotify", PtrName(files), count, start);
    return Answer("offlineNotify") != 0;
  }
  bool setBypass(bool onOff) override {
    Note("setBypass", onOff);
    return Answer("setBypass") != 0;
  }
  VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void* p, float f) override {
    Note("vendorSpecific", a, b, PtrName(p), f);
    return Answer("vendorSpecific");
  }
  VstInt32 canDo(char* text) override {
    Note("canDo", std::string(text));
    return Answer("canDo");
  }
  bool setViewPosition(VstInt32 x, VstInt32 y) override {
    Note("setViewPosition", x, y);
    return Answer("setViewPosition") != 0;
  }
  bool keysRequired() override { return Answer("keysRequired") != 0; }
  bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
    Note("setSpeakerArrangement", PtrName(in), PtrName(out));
    return Answer("setSpeakerArrangement") != 0;
  }
  bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
    Note("getSpeakerArrangement", PtrName(*in), PtrName(*out));
    return AudioEffectX::getSpeakerArrangement(in, out);
  }
  bool setPanLaw(VstInt32 type, float value) override {
    Note("setPanLaw", type, value);
    return Answer("setPanLaw") != 0;
  }
  VstInt32 setTotalSampleToProcess(VstInt32 value) override {
    Note("setTotalSampleToProcess", value);
    return AudioEffectX::setTotalSampleToProcess(value);
  }

  // Pointers are logged by the names tests give them.
  static inline std::map<const void*, std::string> pointerNames;

 private:
  static std::string PtrName(const void* ptr) {
    if (!ptr) return "null";
    const auto found = pointerNames.find(ptr);
    return found == pointerNames.end() ? "?" : found->second;
  }
  static std::string Text(const std::string& s) { return s; }
  static std::string Text(bool b) { return b ? "true" : "false"; }
  static std::string Text(float f) {
    std::string s = std::to_string(f);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  }
  template <typename T>
  static std::string Text(T n) {
    return std::to_string(n);
  }
  template <typename... Args>
  void Note(const std::string& name, Args... args) {
    std::string entry = name + "(";
    bool first = true;
    ((entry += (first ? "" : ",") + Text(args), first = false), ...);
    log.push_back(entry + ")");
  }
  VstInt32 Answer(const std::string& name) {
    const auto found = answers.find(name);
    return found == answers.end() ? 0 : static_cast<VstInt32>(found->second);
  }
};

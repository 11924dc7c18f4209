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

  using AudioEffect::callHost;
  using AudioEffect::setEditor;
  VstInt32 numProgramsField() const { return numPrograms; }
  float sampleRateField() const { return sampleRate; }
  VstInt32 blockSizeField() const { return blockSize; }
  AEffEditor* editorField() const { return editor.get(); }

  void process(float**, float**, VstInt32 frames) override { note("process", frames); }
  void processReplacing(float**, float**, VstInt32 frames) override {
    note("processReplacing", frames);
  }
  void setParameter(VstInt32 index, float value) override { note("setParameter", index, value); }
  float getParameter(VstInt32 index) override {
    note("getParameter", index);
    return 0.25f;
  }
  void open() override { note("open"); }
  void close() override {
    note("close");
    ++closed;
  }
  void setProgram(VstInt32 program) override {
    note("setProgram", program);
    AudioEffectX::setProgram(program);
  }
  void setProgramName(char* name) override { note("setProgramName", std::string(name)); }
  void getProgramName(char* name) override { note("getProgramName", ptrName(name)); }
  void getParameterLabel(VstInt32 index, char* text) override {
    note("getParameterLabel", index, ptrName(text));
  }
  void getParameterDisplay(VstInt32 index, char* text) override {
    note("getParameterDisplay", index, ptrName(text));
  }
  void getParameterName(VstInt32 index, char* text) override {
    note("getParameterName", index, ptrName(text));
  }
  float getVu() override { return vu; }
  VstInt32 getChunk(void** data, bool isPreset) override {
    note("getChunk", ptrName(data), isPreset);
    return answer("getChunk");
  }
  VstInt32 setChunk(void* data, VstInt32 size, bool isPreset) override {
    note("setChunk", ptrName(data), size, isPreset);
    return answer("setChunk");
  }
  void suspend() override { note("suspend"); }
  void resume() override { note("resume"); }
  void setSampleRate(float rate) override {
    note("setSampleRate", rate);
    AudioEffectX::setSampleRate(rate);
  }
  void setBlockSize(VstInt32 size) override {
    note("setBlockSize", size);
    AudioEffectX::setBlockSize(size);
  }
  VstInt32 processEvents(VstEvents* events) override {
    note("processEvents", ptrName(events));
    return answer("processEvents");
  }
  bool canParameterBeAutomated(VstInt32 index) override {
    note("canParameterBeAutomated", index);
    return answer("canParameterBeAutomated") != 0;
  }
  bool string2parameter(VstInt32 index, char* text) override {
    note("string2parameter", index, ptrName(text));
    return answer("string2parameter") != 0;
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
    note("getProgramNameIndexed", category, index, ptrName(text));
    return answer("getProgramNameIndexed") != 0;
  }
  bool copyProgram(VstInt32 destination) override {
    note("copyProgram", destination);
    return answer("copyProgram") != 0;
  }
  void inputConnected(VstInt32 index, bool state) override { note("inputConnected", index, state); }
  void outputConnected(VstInt32 index, bool state) override {
    note("outputConnected", index, state);
  }
  bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) override {
    note("offlineNotify", ptrName(files), count, start);
    return answer("offlineNotify") != 0;
  }
  bool setBypass(bool onOff) override {
    note("setBypass", onOff);
    return answer("setBypass") != 0;
  }
  VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void* p, float f) override {
    note("vendorSpecific", a, b, ptrName(p), f);
    return answer("vendorSpecific");
  }
  VstInt32 canDo(char* text) override {
    note("canDo", std::string(text));
    return answer("canDo");
  }
  bool setViewPosition(VstInt32 x, VstInt32 y) override {
    note("setViewPosition", x, y);
    return answer("setViewPosition") != 0;
  }
  bool keysRequired() override { return answer("keysRequired") != 0; }
  bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
    note("setSpeakerArrangement", ptrName(in), ptrName(out));
    return answer("setSpeakerArrangement") != 0;
  }
  bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
    note("getSpeakerArrangement", ptrName(*in), ptrName(*out));
    return AudioEffectX::getSpeakerArrangement(in, out);
  }
  bool setPanLaw(VstInt32 type, float value) override {
    note("setPanLaw", type, value);
    return answer("setPanLaw") != 0;
  }
  VstInt32 setTotalSampleToProcess(VstInt32 value) override {
    note("setTotalSampleToProcess", value);
    return AudioEffectX::setTotalSampleToProcess(value);
  }

  // Pointers are logged by the names tests give them.
  static inline std::map<const void*, std::string> pointerNames;

 private:
  static std::string ptrName(const void* ptr) {
    if (!ptr) return "null";
    const auto found = pointerNames.find(ptr);
    return found == pointerNames.end() ? "?" : found->second;
  }
  static std::string text(const std::string& s) { return s; }
  static std::string text(bool b) { return b ? "true" : "false"; }
  static std::string text(float f) {
    std::string s = std::to_string(f);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  }
  template <typename T>
  static std::string text(T n) {
    return std::to_string(n);
  }
  template <typename... Args>
  void note(const std::string& name, Args... args) {
    std::string entry = name + "(";
    bool first = true;
    ((entry += (first ? "" : ",") + text(args), first = false), ...);
    log.push_back(entry + ")");
  }
  VstInt32 answer(const std::string& name) {
    const auto found = answers.find(name);
    return found == answers.end() ? 0 : static_cast<VstInt32>(found->second);
  }
};

// Every request the interface layer makes of the host: its opcode, where each
// argument travels, how the answer is converted, and what happens without a host.

#include <gtest/gtest.h>

#include <functional>

#include "testsupport/vst/FakeHost.h"
#include "testsupport/vst/ProbeEffect.h"

namespace {

class HostRequests : public ::testing::Test {
 protected:
  void SetUp() override { FakeHost::Instance().Reset(); }
  FakeHost& m_Host = FakeHost::Instance();
  ProbeEffect m_Probe{FakeHost::Callback};
  ProbeEffect m_Alone{nullptr};
  char m_Text[8] = "abc";
  VstEvents m_Marker{};  // passed for every pointer; the host reads it as an empty event list
};

struct Expected {
  VstInt32 opcode, index;
  VstIntPtr value;
  bool ptrIsMarker;
  float opt;
};

TEST_F(HostRequests, EachRequestPlacesItsArguments) {
  void* m = &m_Marker;
  auto* task = static_cast<VstOfflineTask*>(m);
  auto* files = static_cast<VstAudioFile*>(m);
  auto* time = static_cast<VstTimeInfo*>(m);
  auto* events = static_cast<VstEvents*>(m);
  auto* select = static_cast<VstFileSelect*>(m);
  auto* name = static_cast<char*>(m);
  struct Case {
    const char* what;
    std::function<void(AudioEffectX&)> call;
    Expected expected;
  };
  const Case cases[] = {
      {"setParameterAutomated",
       [](AudioEffectX& p) { p.setParameterAutomated(3, 0.75f); },
       {audioMasterAutomate, 3, 0, false, 0.75f}},
      {"getMasterVersion",
       [](AudioEffectX& p) { p.getMasterVersion(); },
       {audioMasterVersion, 0, 0, false, 0}},
      {"getCurrentUniqueId",
       [](AudioEffectX& p) { p.getCurrentUniqueId(); },
       {audioMasterCurrentId, 0, 0, false, 0}},
      {"masterIdle", [](AudioEffectX& p) { p.masterIdle(); }, {audioMasterIdle, 0, 0, false, 0}},
      {"isInputConnected",
       [](AudioEffectX& p) { p.isInputConnected(1); },
       {audioMasterPinConnected, 1, 0, false, 0}},
      {"isOutputConnected",
       [](AudioEffectX& p) { p.isOutputConnected(2); },
       {audioMasterPinConnected, 2, 1, false, 0}},
      {"wantEvents",
       [](AudioEffectX& p) { p.wantEvents(1); },
       {audioMasterWantMidi, 0, 1, false, 0}},
      {"getTimeInfo",
       [](AudioEffectX& p) { p.getTimeInfo(0x202); },
       {audioMasterGetTime, 0, 0x202, false, 0}},
      {"setTime",
       [time](AudioEffectX& p) { p.setTime(5, time); },
       {audioMasterSetTime, 0, 5, true, 0}},
      {"tempoAt", [](AudioEffectX& p) { p.tempoAt(480); }, {audioMasterTempoAt, 0, 480, false, 0}},
      {"sendVstEventsToHost",
       [events](AudioEffectX& p) { p.sendVstEventsToHost(events); },
       {audioMasterProcessEvents, 0, 0, true, 0}},
      {"getNumAutomatableParameters",
       [](AudioEffectX& p) { p.getNumAutomatableParameters(); },
       {audioMasterGetNumAutomatableParameters, 0, 0, false, 0}},
      {"getParameterQuantization",
       [](AudioEffectX& p) { p.getParameterQuantization(); },
       {audioMasterGetParameterQuantization, 0, 0, false, 0}},
      {"ioChanged", [](AudioEffectX& p) { p.ioChanged(); }, {audioMasterIOChanged, 0, 0, false, 0}},
      {"needIdle", [](AudioEffectX& p) { p.needIdle(); }, {audioMasterNeedIdle, 0, 0, false, 0}},
      {"sizeWindow",
       [](AudioEffectX& p) { p.sizeWindow(432, 135); },
       {audioMasterSizeWindow, 432, 135, false, 0}},
      {"updateSampleRate",
       [](AudioEffectX& p) { p.updateSampleRate(); },
       {audioMasterGetSampleRate, 0, 0, false, 0}},
      {"updateBlockSize",
       [](AudioEffectX& p) { p.updateBlockSize(); },
       {audioMasterGetBlockSize, 0, 0, false, 0}},
      {"getInputLatency",
       [](AudioEffectX& p) { p.getInputLatency(); },
       {audioMasterGetInputLatency, 0, 0, false, 0}},
      {"getOutputLatency",
       [](AudioEffectX& p) { p.getOutputLatency(); },
       {audioMasterGetOutputLatency, 0, 0, false, 0}},
      {"getPreviousPlug",
       [](AudioEffectX& p) { p.getPreviousPlug(3); },
       {audioMasterGetPreviousPlug, 0, 0, false, 0}},
      {"getNextPlug",
       [](AudioEffectX& p) { p.getNextPlug(3); },
       {audioMasterGetNextPlug, 0, 0, false, 0}},
      {"willProcessReplacing",
       [](AudioEffectX& p) { p.willProcessReplacing(); },
       {audioMasterWillReplaceOrAccumulate, 0, 0, false, 0}},
      {"getCurrentProcessLevel",
       [](AudioEffectX& p) { p.getCurrentProcessLevel(); },
       {audioMasterGetCurrentProcessLevel, 0, 0, false, 0}},
      {"getAutomationState",
       [](AudioEffectX& p) { p.getAutomationState(); },
       {audioMasterGetAutomationState, 0, 0, false, 0}},
      {"offlineStart",
       [files](AudioEffectX& p) { p.offlineStart(files, 4, 2); },
       {audioMasterOfflineStart, 2, 4, true, 0}},
      {"offlineRead",
       [task](AudioEffectX& p) { p.offlineRead(task, 7, true); },
       {audioMasterOfflineRead, 1, 7, true, 0}},
      {"offlineWrite",
       [task](AudioEffectX& p) { p.offlineWrite(task, 8); },
       {audioMasterOfflineWrite, 0, 8, true, 0}},
      {"offlineGetCurrentPass",
       [](AudioEffectX& p) { p.offlineGetCurrentPass(); },
       {audioMasterOfflineGetCurrentPass, 0, 0, false, 0}},
      {"offlineGetCurrentMetaPass",
       [](AudioEffectX& p) { p.offlineGetCurrentMetaPass(); },
       {audioMasterOfflineGetCurrentMetaPass, 0, 0, false, 0}},
      {"setOutputSamplerate",
       [](AudioEffectX& p) { p.setOutputSamplerate(96000.0f); },
       {audioMasterSetOutputSampleRate, 0, 0, false, 96000.0f}},
      {"getOutputSpeakerArrangement",
       [](AudioEffectX& p) { p.getOutputSpeakerArrangement(); },
       {audioMasterGetOutputSpeakerArrangement, 0, 0, false, 0}},
      {"getInputSpeakerArrangement",
       [](AudioEffectX& p) { p.getInputSpeakerArrangement(); },
       {audioMasterGetInputSpeakerArrangement, 0, 0, false, 0}},
      {"getHostVendorString",
       [name](AudioEffectX& p) { p.getHostVendorString(name); },
       {audioMasterGetVendorString, 0, 0, true, 0}},
      {"getHostProductString",
       [name](AudioEffectX& p) { p.getHostProductString(name); },
       {audioMasterGetProductString, 0, 0, true, 0}},
      {"getHostVendorVersion",
       [](AudioEffectX& p) { p.getHostVendorVersion(); },
       {audioMasterGetVendorVersion, 0, 0, false, 0}},
      {"hostVendorSpecific",
       [m](AudioEffectX& p) { p.hostVendorSpecific(9, 10, m, 1.5f); },
       {audioMasterVendorSpecific, 9, 10, true, 1.5f}},
      {"canHostDo",
       [name](AudioEffectX& p) { p.canHostDo(name); },
       {audioMasterCanDo, 0, 0, true, 0}},
      {"getHostLanguage",
       [](AudioEffectX& p) { p.getHostLanguage(); },
       {audioMasterGetLanguage, 0, 0, false, 0}},
      {"openWindow",
       [m](AudioEffectX& p) { p.openWindow(m); },
       {audioMasterOpenWindow, 0, 0, true, 0}},
      {"closeWindow",
       [m](AudioEffectX& p) { p.closeWindow(m); },
       {audioMasterCloseWindow, 0, 0, true, 0}},
      {"getDirectory",
       [](AudioEffectX& p) { p.getDirectory(); },
       {audioMasterGetDirectory, 0, 0, false, 0}},
      {"updateDisplay",
       [](AudioEffectX& p) { p.updateDisplay(); },
       {audioMasterUpdateDisplay, 0, 0, false, 0}},
      {"beginEdit",
       [](AudioEffectX& p) { p.beginEdit(4); },
       {audioMasterBeginEdit, 4, 0, false, 0}},
      {"endEdit", [](AudioEffectX& p) { p.endEdit(4); }, {audioMasterEndEdit, 4, 0, false, 0}},
      {"openFileSelector",
       [select](AudioEffectX& p) { p.openFileSelector(select); },
       {audioMasterOpenFileSelector, 0, 0, true, 0}},
  };
  for (const Case& c : cases) {
    m_Host.calls.clear();
    c.call(m_Probe);
    ASSERT_EQ(m_Host.calls.size(), 1u) << c.what;
    const HostCall& call = m_Host.calls[0];
    EXPECT_EQ(call.effect, m_Probe.getAeffect()) << c.what;
    EXPECT_EQ(call.opcode, c.expected.opcode) << c.what;
    EXPECT_EQ(call.index, c.expected.index) << c.what;
    EXPECT_EQ(call.value, c.expected.value) << c.what;
    EXPECT_EQ(call.ptr, c.expected.ptrIsMarker ? m : nullptr) << c.what;
    EXPECT_EQ(call.opt, c.expected.opt) << c.what;

    m_Host.calls.clear();
    c.call(m_Alone);  // without a host nothing is called and nothing breaks
    EXPECT_TRUE(m_Host.calls.empty()) << c.what;
  }
}

TEST_F(HostRequests, AnswersAreConvertedAsTheInterfaceSays) {
  m_Host.answers[audioMasterProcessEvents] = 1;
  EXPECT_TRUE(m_Probe.sendVstEventsToHost(nullptr));
  m_Host.answers[audioMasterProcessEvents] = 2;  // only exactly 1 means taken
  EXPECT_FALSE(m_Probe.sendVstEventsToHost(nullptr));

  m_Host.answers[audioMasterPinConnected] = 0;
  EXPECT_TRUE(m_Probe.isInputConnected(0));
  m_Host.answers[audioMasterPinConnected] = 1;
  EXPECT_FALSE(m_Probe.isOutputConnected(0));

  m_Host.answers[audioMasterVersion] = 0;
  EXPECT_EQ(m_Probe.getMasterVersion(), 1);
  m_Host.answers[audioMasterVersion] = 2400;
  EXPECT_EQ(m_Probe.getMasterVersion(), 2400);

  m_Host.answers[audioMasterOfflineGetCurrentPass] = 5;
  EXPECT_EQ(m_Probe.offlineGetCurrentPass(), 1);
  m_Host.answers[audioMasterCanDo] = -1;
  EXPECT_EQ(m_Probe.canHostDo(m_Text), -1);
  m_Host.answers[audioMasterTempoAt] = 1200000;
  EXPECT_EQ(m_Probe.tempoAt(0), 1200000);
  m_Host.answers[audioMasterVendorSpecific] = -7;
  EXPECT_EQ(m_Probe.hostVendorSpecific(0, 0, nullptr, 0.0f), -7);
  m_Host.answers[audioMasterSizeWindow] = 3;
  EXPECT_TRUE(m_Probe.sizeWindow(1, 1));
  EXPECT_FALSE(m_Probe.openFileSelector(nullptr));  // refused without asking the host
  EXPECT_EQ(m_Host.CallsWith(audioMasterOpenFileSelector).size(), 0u);
}

TEST_F(HostRequests, SampleRateAndBlockSizeFollowOnlyPositiveAnswers) {
  m_Host.answers[audioMasterGetSampleRate] = 0;
  EXPECT_EQ(m_Probe.updateSampleRate(), 44100.0);
  m_Host.answers[audioMasterGetSampleRate] = -5;
  EXPECT_EQ(m_Probe.updateSampleRate(), 44100.0);
  m_Host.answers[audioMasterGetSampleRate] = 96000;
  EXPECT_EQ(m_Probe.updateSampleRate(), 96000.0);
  EXPECT_EQ(m_Probe.log.back(), "setSampleRate(96000)");

  m_Host.answers[audioMasterGetBlockSize] = 0;
  EXPECT_EQ(m_Probe.updateBlockSize(), 1024);
  m_Host.answers[audioMasterGetBlockSize] = 64;
  EXPECT_EQ(m_Probe.updateBlockSize(), 64);
}

TEST_F(HostRequests, WithoutAHostEveryRequestAnswersItsDefault) {
  EXPECT_EQ(m_Alone.getMasterVersion(), 1);
  EXPECT_EQ(m_Alone.getCurrentUniqueId(), 0);
  EXPECT_TRUE(m_Alone.isInputConnected(0));
  EXPECT_TRUE(m_Alone.isOutputConnected(0));
  EXPECT_FALSE(m_Alone.sendVstEventsToHost(nullptr));
  EXPECT_EQ(m_Alone.tempoAt(0), 0);
  EXPECT_EQ(m_Alone.getTimeInfo(0), nullptr);
  EXPECT_EQ(m_Alone.updateSampleRate(), 44100.0);
  EXPECT_EQ(m_Alone.updateBlockSize(), 1024);
  EXPECT_FALSE(m_Alone.getHostVendorString(m_Text));
  EXPECT_FALSE(m_Alone.ioChanged());
  EXPECT_EQ(m_Alone.getDirectory(), nullptr);
  m_Alone.setParameterAutomated(1, 0.5f);
  EXPECT_EQ(m_Alone.log.back(), "setParameter(1,0.5)");
}

TEST_F(HostRequests, FlagSettersSetAndClearOnlyTheirBit) {
  struct Flag {
    std::function<void(AudioEffectX&, bool)> set;
    VstInt32 bit;
  };
  const Flag flags[] = {
      {[](AudioEffectX& p, bool s) { p.hasVu(s); }, effFlagsHasVu},
      {[](AudioEffectX& p, bool s) { p.hasClip(s); }, effFlagsHasClip},
      {[](AudioEffectX& p, bool s) { p.canMono(s); }, effFlagsCanMono},
      {[](AudioEffectX& p, bool s) { p.canProcessReplacing(s); }, effFlagsCanReplacing},
      {[](AudioEffectX& p, bool s) { p.programsAreChunks(s); }, effFlagsProgramChunks},
      {[](AudioEffectX& p, bool s) { p.isSynth(s); }, effFlagsIsSynth},
      {[](AudioEffectX& p, bool s) { p.noTail(s); }, effFlagsNoSoundInStop},
      {[](AudioEffectX& p, bool s) { p.wantAsyncOperation(s); }, effFlagsExtIsAsync},
      {[](AudioEffectX& p, bool s) { p.hasExternalBuffer(s); }, effFlagsExtHasBuffer},
  };
  AEffect* e = m_Probe.getAeffect();
  e->flags = 0x10000;
  for (const Flag& f : flags) {
    f.set(m_Probe, true);
    EXPECT_EQ(e->flags, 0x10000 | f.bit);
    f.set(m_Probe, false);
    EXPECT_EQ(e->flags, 0x10000);
  }
  m_Probe.setUniqueID(FourCharCode('Q', 'B', '0', '2'));
  m_Probe.setNumInputs(2);
  m_Probe.setNumOutputs(6);
  m_Probe.setInitialDelay(64);
  m_Probe.setRealtimeQualities(3);
  m_Probe.setOfflineQualities(4);
  EXPECT_EQ(e->uniqueID, 0x51423032);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 6);
  EXPECT_EQ(e->initialDelay, 64);
  EXPECT_EQ(e->realQualities, 3);
  EXPECT_EQ(e->offQualities, 4);
}

TEST_F(HostRequests, ArrangementsAreAllocatedCopiedAndReleased) {
  VstSpeakerArrangement* from = nullptr;
  ASSERT_TRUE(m_Probe.allocateArrangement(&from, 3));
  EXPECT_EQ(from->numChannels, 3);
  from->type = 7;
  for (VstInt32 i = 0; i < 3; ++i) {
    VstSpeakerProperties* s = SpeakerAt(from, i);
    EXPECT_EQ(s->azimuth, 0.0f);
    s->azimuth = static_cast<float>(i);
    s->name[0] = static_cast<char>('A' + i);
    s->future[27] = 1;
  }
  VstSpeakerArrangement* to = nullptr;
  ASSERT_TRUE(m_Probe.allocateArrangement(&to, 1));
  EXPECT_TRUE(m_Probe.matchArrangement(&to, from));  // releases the old one first
  EXPECT_EQ(to->type, 7);
  EXPECT_EQ(to->numChannels, 3);
  for (VstInt32 i = 0; i < 3; ++i) {
    EXPECT_EQ(SpeakerAt(to, i)->azimuth, static_cast<float>(i));
    EXPECT_EQ(SpeakerAt(to, i)->name[0], 'A' + i);
    EXPECT_EQ(SpeakerAt(to, i)->future[27], 1);
  }
  EXPECT_FALSE(m_Probe.copySpeaker(nullptr, SpeakerAt(from, 0)));
  EXPECT_FALSE(m_Probe.matchArrangement(&to, nullptr));
  EXPECT_FALSE(m_Probe.allocateArrangement(&to, -1));
  EXPECT_EQ(to, nullptr);
  EXPECT_TRUE(m_Probe.deallocateArrangement(&from));
  EXPECT_EQ(from, nullptr);
}

}  // namespace

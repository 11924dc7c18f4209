// The descriptor and the dispatcher, driven through the record's function
// pointers exactly as a host drives a plug-in.

#include <gtest/gtest.h>

#include <cstring>

#include "testsupport/vst/FakeHost.h"
#include "testsupport/vst/ProbeEffect.h"

namespace {

class Dispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHost::Instance().Reset();
    m_Probe = new ProbeEffect(FakeHost::Callback);  // the host owns it until effClose
    m_Effect = m_Probe->getAeffect();
  }
  void TearDown() override {
    if (m_Effect) m_Effect->dispatcher(m_Effect, effClose, 0, 0, nullptr, 0.0f);
  }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, opt);
  }
  std::string LastLog() const { return m_Probe->log.empty() ? "" : m_Probe->log.back(); }

  ProbeEffect* m_Probe = nullptr;
  AEffect* m_Effect = nullptr;
  char m_Buffer[64] = {};
};

TEST_F(Dispatcher, DescriptorHoldsTheBaseDefaults) {
  EXPECT_EQ(m_Effect->magic, 0x56737450);
  EXPECT_EQ(m_Effect->object, m_Probe);
  EXPECT_EQ(m_Effect->numPrograms, 4);
  EXPECT_EQ(m_Effect->numParams, 3);
  EXPECT_EQ(m_Effect->numInputs, 1);
  EXPECT_EQ(m_Effect->numOutputs, 2);
  EXPECT_EQ(m_Effect->flags, 0);
  EXPECT_EQ(m_Effect->ioRatio, 1.0f);
  EXPECT_EQ(m_Effect->user, nullptr);
  EXPECT_EQ(m_Effect->uniqueID, FourCharCode('N', 'o', 'E', 'f'));
  EXPECT_EQ(m_Effect->version, 1);
  EXPECT_EQ(m_Effect->resvd1, 0);
  EXPECT_EQ(m_Effect->initialDelay, 0);
  for (char c : m_Effect->future) EXPECT_EQ(c, 0);
  EXPECT_EQ(m_Probe->SampleRateField(), 44100.0f);
  EXPECT_EQ(m_Probe->BlockSizeField(), 1024);
  EXPECT_EQ(Dispatch(effGetProgram), 0);
}

TEST_F(Dispatcher, FunctionFieldsReachTheObject) {
  float* buffers[2] = {nullptr, nullptr};
  m_Effect->process(m_Effect, buffers, buffers, 7);
  m_Effect->processReplacing(m_Effect, buffers, buffers, 9);
  m_Effect->setParameter(m_Effect, 2, 0.5f);
  EXPECT_EQ(m_Effect->getParameter(m_Effect, 1), 0.25f);
  EXPECT_EQ(m_Probe->log, (std::vector<std::string>{"process(7)", "processReplacing(9)",
                                                    "setParameter(2,0.5)", "getParameter(1)"}));
}

TEST_F(Dispatcher, BasicOpcodesCallTheirOperationsWithTheirArguments) {
  ProbeEffect::pointerNames = {{m_Buffer, "buffer"}};
  std::strcpy(m_Buffer, "Name");
  struct Case {
    VstInt32 opcode, index;
    VstIntPtr value;
    float opt;
    const char* expected;
  };
  const Case cases[] = {
      {effOpen, 0, 0, 0, "open()"},
      {effSetProgram, 0, 3, 0, "setProgram(3)"},
      {effSetProgramName, 0, 0, 0, "setProgramName(Name)"},
      {effGetProgramName, 0, 0, 0, "getProgramName(buffer)"},
      {effGetParamLabel, 2, 0, 0, "getParameterLabel(2,buffer)"},
      {effGetParamDisplay, 1, 0, 0, "getParameterDisplay(1,buffer)"},
      {effGetParamName, 5, 0, 0, "getParameterName(5,buffer)"},
      {effSetSampleRate, 0, 0, 48000.0f, "setSampleRate(48000)"},
      {effSetBlockSize, 0, 256, 0, "setBlockSize(256)"},
      {effMainsChanged, 0, 5, 0, "resume()"},
      {effMainsChanged, 0, 0, 0, "suspend()"},
  };
  for (const Case& c : cases) {
    m_Probe->log.clear();
    EXPECT_EQ(Dispatch(c.opcode, c.index, c.value, m_Buffer, c.opt), 0) << c.expected;
    EXPECT_EQ(LastLog(), c.expected);
  }
  EXPECT_EQ(Dispatch(effGetProgram), 3);
  EXPECT_EQ(m_Probe->SampleRateField(), 48000.0f);
  EXPECT_EQ(m_Probe->BlockSizeField(), 256);
}

TEST_F(Dispatcher, ChunkOpcodesPassThePresetFlagAndSize) {
  void* data = m_Buffer;
  ProbeEffect::pointerNames = {{&data, "dataVariable"}, {m_Buffer, "buffer"}};
  m_Probe->answers["getChunk"] = 12;
  m_Probe->answers["setChunk"] = 34;
  EXPECT_EQ(Dispatch(effGetChunk, 1, 0, &data), 12);
  EXPECT_EQ(LastLog(), "getChunk(dataVariable,true)");
  EXPECT_EQ(Dispatch(effSetChunk, 0, 40, m_Buffer), 34);
  EXPECT_EQ(LastLog(), "setChunk(buffer,40,false)");
}

TEST_F(Dispatcher, SetProgramIsBoundedByTheProgramCountOnly) {
  Dispatch(effSetProgram, 0, 4);  // numPrograms is 4
  Dispatch(effSetProgram, 0, 100);
  EXPECT_TRUE(m_Probe->log.empty());
  Dispatch(effSetProgram, 0, -1);  // a signed comparison lets negatives through
  EXPECT_EQ(LastLog(), "setProgram(-1)");
}

TEST_F(Dispatcher, VuIsScaledAndRoundedHalfToEven) {
  EXPECT_EQ(Dispatch(effGetVu), 0);
  m_Probe->vu = 0.5f;  // 16383.5
  EXPECT_EQ(Dispatch(effGetVu), 16384);
  m_Probe->vu = 1.0f;
  EXPECT_EQ(Dispatch(effGetVu), 32767);
  m_Probe->vu = -0.5f;
  EXPECT_EQ(Dispatch(effGetVu), -16384);
}

TEST_F(Dispatcher, IdentifyAnswersNvEfAndUnhandledOpcodesAnswerZero) {
  EXPECT_EQ(Dispatch(effIdentify), 0x4E764566);
  for (VstInt32 opcode : {16, 17, 18, 20, 21, 77, 78, 1000, -1, -99}) {
    EXPECT_EQ(Dispatch(opcode, 1, 1, m_Buffer, 1.0f), 0) << opcode;
  }
  EXPECT_TRUE(m_Probe->log.empty());
}

TEST_F(Dispatcher, NullBuffersAreRefusedWithoutReachingThePlugin) {
  for (VstInt32 opcode :
       {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
        effEditGetRect, effGetChunk, effSetChunk, effString2Parameter, effGetProgramNameIndexed,
        effGetInputProperties, effGetOutputProperties, effGetEffectName, effGetErrorText,
        effGetVendorString, effGetProductString, effCanDo}) {
    EXPECT_EQ(Dispatch(opcode, 0, 0, nullptr), 0) << opcode;
  }
  EXPECT_TRUE(m_Probe->log.empty());
}

TEST_F(Dispatcher, CloseCallsCloseDestroysTheObjectAndAnswersOne) {
  const int destroyed = ProbeEffect::destroyed;
  const int closed = ProbeEffect::closed;
  EXPECT_EQ(Dispatch(effClose), 1);
  EXPECT_EQ(ProbeEffect::closed, closed + 1);
  EXPECT_EQ(ProbeEffect::destroyed, destroyed + 1);
  m_Effect = nullptr;
}

TEST_F(Dispatcher, ExtensionOpcodesConvertTheirResults) {
  m_Probe->answers = {{"processEvents", 7},
                      {"canParameterBeAutomated", 9},
                      {"string2parameter", 3},
                      {"getProgramNameIndexed", 2},
                      {"copyProgram", 5},
                      {"offlineNotify", 4},
                      {"setBypass", 8},
                      {"vendorSpecific", -12},
                      {"canDo", -1},
                      {"setViewPosition", 6},
                      {"setSpeakerArrangement", 11},
                      {"setPanLaw", 13}};
  VstSpeakerArrangement in{}, out{};
  ProbeEffect::pointerNames = {{m_Buffer, "buffer"}, {&in, "in"}, {&out, "out"}};
  std::strcpy(m_Buffer, "sendVstEvents");
  struct Case {
    VstInt32 opcode, index;
    VstIntPtr value;
    void* ptr;
    float opt;
    VstIntPtr result;
    const char* expected;
  };
  const Case cases[] = {
      {effProcessEvents, 0, 0, m_Buffer, 0, 7, "processEvents(buffer)"},
      {effCanBeAutomated, 4, 0, nullptr, 0, 1, "canParameterBeAutomated(4)"},
      {effString2Parameter, 2, 0, m_Buffer, 0, 1, "string2parameter(2,buffer)"},
      {effGetProgramNameIndexed, 15, -1, m_Buffer, 0, 1, "getProgramNameIndexed(-1,15,buffer)"},
      {effCopyProgram, 3, 0, nullptr, 0, 1, "copyProgram(3)"},
      {effConnectInput, 1, 0, nullptr, 0, 1, "inputConnected(1,false)"},
      {effConnectOutput, 0, 9, nullptr, 0, 1, "outputConnected(0,true)"},
      {effOfflineNotify, 1, 3, m_Buffer, 0, 1, "offlineNotify(buffer,3,true)"},
      {effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0, 1,
       "setSpeakerArrangement(in,out)"},
      {effSetBypass, 0, 2, nullptr, 0, 1, "setBypass(true)"},
      {effVendorSpecific, 5, 6, m_Buffer, 0.5f, -12, "vendorSpecific(5,6,buffer,0.5)"},
      {effCanDo, 0, 0, m_Buffer, 0, -1, "canDo(sendVstEvents)"},
      {effSetViewPosition, 10, 20, nullptr, 0, 1, "setViewPosition(10,20)"},
      {effSetTotalSampleToProcess, 0, 4410, nullptr, 0, 4410, "setTotalSampleToProcess(4410)"},
      {effSetPanLaw, 0, 1, nullptr, 0.75f, 1, "setPanLaw(1,0.75)"},
      {effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0, 0,
       "getSpeakerArrangement(in,out)"},
  };
  for (const Case& c : cases) {
    m_Probe->log.clear();
    EXPECT_EQ(Dispatch(c.opcode, c.index, c.value, c.ptr, c.opt), c.result) << c.expected;
    EXPECT_EQ(LastLog(), c.expected);
  }
}

TEST_F(Dispatcher, ExtensionOpcodesAnswerTheirDefaults) {
  EXPECT_EQ(Dispatch(effGetNumProgramCategories), 1);
  EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategUnknown);
  m_Probe->isSynth(true);
  EXPECT_EQ(m_Effect->flags, effFlagsIsSynth);
  EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategSynth);
  EXPECT_EQ(Dispatch(effKeysRequired), 1);
  m_Probe->answers["keysRequired"] = 1;
  EXPECT_EQ(Dispatch(effKeysRequired), 0);
  EXPECT_EQ(Dispatch(effGetVstVersion), 2300);
  EXPECT_EQ(Dispatch(effGetCurrentMidiProgram, 0, 0, m_Buffer), -1);
  for (VstInt32 opcode : {effGetCurrentPosition,
                          effGetDestinationBuffer,
                          effOfflinePrepare,
                          effOfflineRun,
                          effProcessVarIo,
                          effGetErrorText,
                          effGetEffectName,
                          effGetVendorString,
                          effGetProductString,
                          effGetVendorVersion,
                          effGetTailSize,
                          effIdle,
                          effGetIcon,
                          effGetParameterProperties,
                          effGetMidiProgramName,
                          effGetMidiProgramCategory,
                          effHasMidiProgramsChanged,
                          effGetMidiKeyName,
                          effBeginSetProgram,
                          effEndSetProgram,
                          effShellGetNextPlugin,
                          effStartProcess,
                          effStopProcess,
                          effBeginLoadBank,
                          effBeginLoadProgram}) {
    EXPECT_EQ(Dispatch(opcode, 0, 0, m_Buffer), 0) << opcode;
  }
}

TEST_F(Dispatcher, BlockSizeAndSampleRateAreStoredTogether) {
  EXPECT_EQ(Dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
  EXPECT_EQ(m_Probe->BlockSizeField(), 256);
  EXPECT_EQ(m_Probe->SampleRateField(), 48000.0f);
}

TEST_F(Dispatcher, GetSpeakerArrangementLeavesTheHostVariablesUntouched) {
  VstSpeakerArrangement in{}, out{};
  ProbeEffect::pointerNames = {{&in, "in"}, {&out, "out"}};
  VstSpeakerArrangement* hostIn = &in;
  EXPECT_EQ(Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(hostIn), &out), 0);
  EXPECT_EQ(hostIn, &in);
  EXPECT_EQ(LastLog(), "getSpeakerArrangement(in,out)");
}

TEST_F(Dispatcher, PluginExceptionsNeverReachTheHost) {
  class Throwing : public ProbeEffect {
   public:
    using ProbeEffect::ProbeEffect;
    VstInt32 canDo(char*) override { throw std::runtime_error("boom"); }
    void process(float**, float**, VstInt32) override { throw 1; }
    float getParameter(VstInt32) override { throw std::bad_alloc(); }
    void close() override { throw std::runtime_error("close"); }
  };
  auto* throwing = new Throwing(FakeHost::Callback);
  AEffect* e = throwing->getAeffect();
  char text[] = "x";
  EXPECT_EQ(e->dispatcher(e, effCanDo, 0, 0, text, 0.0f), 0);
  EXPECT_NO_THROW(e->process(e, nullptr, nullptr, 4));
  EXPECT_EQ(e->getParameter(e, 0), 0.0f);
  const int before = ProbeEffect::destroyed;
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(ProbeEffect::destroyed, before + 1);
}

TEST_F(Dispatcher, NullDescriptorOrObjectAnswersDefaults) {
  EXPECT_EQ(m_Effect->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(m_Effect->getParameter(nullptr, 0), 0.0f);
  AEffect blank{};
  EXPECT_EQ(m_Effect->dispatcher(&blank, effIdentify, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace

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
    FakeHost::instance().reset();
    probe = new ProbeEffect(FakeHost::callback);  // the host owns it until effClose
    effect = probe->getAeffect();
  }
  void TearDown() override {
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  std::string lastLog() const { return probe->log.empty() ? "" : probe->log.back(); }

  ProbeEffect* probe = nullptr;
  AEffect* effect = nullptr;
  char buffer[64] = {};
};

TEST_F(Dispatcher, DescriptorHoldsTheBaseDefaults) {
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->object, probe);
  EXPECT_EQ(effect->numPrograms, 4);
  EXPECT_EQ(effect->numParams, 3);
  EXPECT_EQ(effect->numInputs, 1);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->user, nullptr);
  EXPECT_EQ(effect->uniqueID, fourCharCode('N', 'o', 'E', 'f'));
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->initialDelay, 0);
  for (char c : effect->future) EXPECT_EQ(c, 0);
  EXPECT_EQ(probe->sampleRateField(), 44100.0f);
  EXPECT_EQ(probe->blockSizeField(), 1024);
  EXPECT_EQ(dispatch(effGetProgram), 0);
}

TEST_F(Dispatcher, FunctionFieldsReachTheObject) {
  float* buffers[2] = {nullptr, nullptr};
  effect->process(effect, buffers, buffers, 7);
  effect->processReplacing(effect, buffers, buffers, 9);
  effect->setParameter(effect, 2, 0.5f);
  EXPECT_EQ(effect->getParameter(effect, 1), 0.25f);
  EXPECT_EQ(probe->log, (std::vector<std::string>{"process(7)", "processReplacing(9)",
                                                  "setParameter(2,0.5)", "getParameter(1)"}));
}

TEST_F(Dispatcher, BasicOpcodesCallTheirOperationsWithTheirArguments) {
  ProbeEffect::pointerNames = {{buffer, "buffer"}};
  std::strcpy(buffer, "Name");
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
    probe->log.clear();
    EXPECT_EQ(dispatch(c.opcode, c.index, c.value, buffer, c.opt), 0) << c.expected;
    EXPECT_EQ(lastLog(), c.expected);
  }
  EXPECT_EQ(dispatch(effGetProgram), 3);
  EXPECT_EQ(probe->sampleRateField(), 48000.0f);
  EXPECT_EQ(probe->blockSizeField(), 256);
}

TEST_F(Dispatcher, ChunkOpcodesPassThePresetFlagAndSize) {
  void* data = buffer;
  ProbeEffect::pointerNames = {{&data, "dataVariable"}, {buffer, "buffer"}};
  probe->answers["getChunk"] = 12;
  probe->answers["setChunk"] = 34;
  EXPECT_EQ(dispatch(effGetChunk, 1, 0, &data), 12);
  EXPECT_EQ(lastLog(), "getChunk(dataVariable,true)");
  EXPECT_EQ(dispatch(effSetChunk, 0, 40, buffer), 34);
  EXPECT_EQ(lastLog(), "setChunk(buffer,40,false)");
}

TEST_F(Dispatcher, SetProgramIsBoundedByTheProgramCountOnly) {
  dispatch(effSetProgram, 0, 4);  // numPrograms is 4
  dispatch(effSetProgram, 0, 100);
  EXPECT_TRUE(probe->log.empty());
  dispatch(effSetProgram, 0, -1);  // a signed comparison lets negatives through
  EXPECT_EQ(lastLog(), "setProgram(-1)");
}

TEST_F(Dispatcher, VuIsScaledAndRoundedHalfToEven) {
  EXPECT_EQ(dispatch(effGetVu), 0);
  probe->vu = 0.5f;  // 16383.5
  EXPECT_EQ(dispatch(effGetVu), 16384);
  probe->vu = 1.0f;
  EXPECT_EQ(dispatch(effGetVu), 32767);
  probe->vu = -0.5f;
  EXPECT_EQ(dispatch(effGetVu), -16384);
}

TEST_F(Dispatcher, IdentifyAnswersNvEfAndUnhandledOpcodesAnswerZero) {
  EXPECT_EQ(dispatch(effIdentify), 0x4E764566);
  for (VstInt32 opcode : {16, 17, 18, 20, 21, 77, 78, 1000, -1, -99}) {
    EXPECT_EQ(dispatch(opcode, 1, 1, buffer, 1.0f), 0) << opcode;
  }
  EXPECT_TRUE(probe->log.empty());
}

TEST_F(Dispatcher, NullBuffersAreRefusedWithoutReachingThePlugin) {
  for (VstInt32 opcode :
       {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
        effEditGetRect, effGetChunk, effSetChunk, effString2Parameter, effGetProgramNameIndexed,
        effGetInputProperties, effGetOutputProperties, effGetEffectName, effGetErrorText,
        effGetVendorString, effGetProductString, effCanDo}) {
    EXPECT_EQ(dispatch(opcode, 0, 0, nullptr), 0) << opcode;
  }
  EXPECT_TRUE(probe->log.empty());
}

TEST_F(Dispatcher, CloseCallsCloseDestroysTheObjectAndAnswersOne) {
  const int destroyed = ProbeEffect::destroyed;
  const int closed = ProbeEffect::closed;
  EXPECT_EQ(dispatch(effClose), 1);
  EXPECT_EQ(ProbeEffect::closed, closed + 1);
  EXPECT_EQ(ProbeEffect::destroyed, destroyed + 1);
  effect = nullptr;
}

TEST_F(Dispatcher, ExtensionOpcodesConvertTheirResults) {
  probe->answers = {{"processEvents", 7},
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
  ProbeEffect::pointerNames = {{buffer, "buffer"}, {&in, "in"}, {&out, "out"}};
  std::strcpy(buffer, "sendVstEvents");
  struct Case {
    VstInt32 opcode, index;
    VstIntPtr value;
    void* ptr;
    float opt;
    VstIntPtr result;
    const char* expected;
  };
  const Case cases[] = {
      {effProcessEvents, 0, 0, buffer, 0, 7, "processEvents(buffer)"},
      {effCanBeAutomated, 4, 0, nullptr, 0, 1, "canParameterBeAutomated(4)"},
      {effString2Parameter, 2, 0, buffer, 0, 1, "string2parameter(2,buffer)"},
      {effGetProgramNameIndexed, 15, -1, buffer, 0, 1, "getProgramNameIndexed(-1,15,buffer)"},
      {effCopyProgram, 3, 0, nullptr, 0, 1, "copyProgram(3)"},
      {effConnectInput, 1, 0, nullptr, 0, 1, "inputConnected(1,false)"},
      {effConnectOutput, 0, 9, nullptr, 0, 1, "outputConnected(0,true)"},
      {effOfflineNotify, 1, 3, buffer, 0, 1, "offlineNotify(buffer,3,true)"},
      {effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0, 1,
       "setSpeakerArrangement(in,out)"},
      {effSetBypass, 0, 2, nullptr, 0, 1, "setBypass(true)"},
      {effVendorSpecific, 5, 6, buffer, 0.5f, -12, "vendorSpecific(5,6,buffer,0.5)"},
      {effCanDo, 0, 0, buffer, 0, -1, "canDo(sendVstEvents)"},
      {effSetViewPosition, 10, 20, nullptr, 0, 1, "setViewPosition(10,20)"},
      {effSetTotalSampleToProcess, 0, 4410, nullptr, 0, 4410, "setTotalSampleToProcess(4410)"},
      {effSetPanLaw, 0, 1, nullptr, 0.75f, 1, "setPanLaw(1,0.75)"},
      {effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out, 0, 0,
       "getSpeakerArrangement(in,out)"},
  };
  for (const Case& c : cases) {
    probe->log.clear();
    EXPECT_EQ(dispatch(c.opcode, c.index, c.value, c.ptr, c.opt), c.result) << c.expected;
    EXPECT_EQ(lastLog(), c.expected);
  }
}

TEST_F(Dispatcher, ExtensionOpcodesAnswerTheirDefaults) {
  EXPECT_EQ(dispatch(effGetNumProgramCategories), 1);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategUnknown);
  probe->isSynth(true);
  EXPECT_EQ(effect->flags, effFlagsIsSynth);
  EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategSynth);
  EXPECT_EQ(dispatch(effKeysRequired), 1);
  probe->answers["keysRequired"] = 1;
  EXPECT_EQ(dispatch(effKeysRequired), 0);
  EXPECT_EQ(dispatch(effGetVstVersion), 2300);
  EXPECT_EQ(dispatch(effGetCurrentMidiProgram, 0, 0, buffer), -1);
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
    EXPECT_EQ(dispatch(opcode, 0, 0, buffer), 0) << opcode;
  }
}

TEST_F(Dispatcher, BlockSizeAndSampleRateAreStoredTogether) {
  EXPECT_EQ(dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
  EXPECT_EQ(probe->blockSizeField(), 256);
  EXPECT_EQ(probe->sampleRateField(), 48000.0f);
}

TEST_F(Dispatcher, GetSpeakerArrangementLeavesTheHostVariablesUntouched) {
  VstSpeakerArrangement in{}, out{};
  ProbeEffect::pointerNames = {{&in, "in"}, {&out, "out"}};
  VstSpeakerArrangement* hostIn = &in;
  EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(hostIn), &out), 0);
  EXPECT_EQ(hostIn, &in);
  EXPECT_EQ(lastLog(), "getSpeakerArrangement(in,out)");
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
  auto* throwing = new Throwing(FakeHost::callback);
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
  EXPECT_EQ(effect->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect->getParameter(nullptr, 0), 0.0f);
  AEffect blank{};
  EXPECT_EQ(effect->dispatcher(&blank, effIdentify, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace

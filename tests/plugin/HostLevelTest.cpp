// The built plug-in, driven only through its entry point and descriptor:
// what a host sees of parameters, programs, texts and pins.

#include <cmath>
#include <cstring>
#include <limits>

#include "testsupport/plugin/PluginTestBase.h"

namespace {

using Instance = PluginTestBase;

TEST_F(Instance, ConstructionAnswers) {
  EXPECT_EQ(m_Effect->magic, FourCharCode('V', 's', 't', 'P'));
  EXPECT_NE(m_Effect->object, nullptr);
  EXPECT_EQ(m_Effect->numPrograms, 16);
  EXPECT_EQ(m_Effect->numParams, 6);
  EXPECT_EQ(m_Effect->numInputs, 2);
  EXPECT_EQ(m_Effect->numOutputs, 2);
  // Can-mono and can-replacing, and an editor where the build has a window backend.
  EXPECT_EQ(m_Effect->flags, effFlagsCanMono | effFlagsCanReplacing |
                                 (FLUX_PLUGIN_HAS_EDITOR ? effFlagsHasEditor : 0));
  EXPECT_EQ(m_Effect->uniqueID, 0x51423032);  // "QB02"
  EXPECT_EQ(m_Effect->version, 1);
  EXPECT_EQ(m_Effect->ioRatio, 1.0f);
  EXPECT_EQ(Dispatch(effGetProgram), 0);
  EXPECT_EQ(Text(effGetProgramName), "Preset 0");
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(Text(effGetProgramNameIndexed, i, -1), "Preset " + std::to_string(i));
  const float initial[6] = {0.5f, 0.0f, 14.0f / 127, 0.5f, 0.0f, 15.0f / 127};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(GetParameter(i), initial[i]) << i;
  uint32_t ccOut1;
  const float value = GetParameter(2);
  std::memcpy(&ccOut1, &value, 4);
  EXPECT_EQ(ccOut1, 0x3DE1C387u);
  // The host was asked for its names while the instance was built.
  bool askedVendor = false;
  for (const HostCall& r : FakeHost::Instance().calls)
    askedVendor |= r.opcode == audioMasterGetVendorString;
  EXPECT_TRUE(askedVendor);
}

TEST_F(Instance, VersionQueryAndEntryPoints) {
  FakeHost::Instance().answers[audioMasterVersion] = 0;
  EXPECT_EQ(m_Entry(FakeHost::Callback), nullptr);
  EXPECT_EQ(m_Entry(nullptr), nullptr);
#if !defined(_WIN32) || defined(_WIN64)
  EXPECT_EQ(m_Library.Entry("VSTPluginMain"), m_Entry);
#endif
}

#if defined(_WIN32) && defined(__i386__)
TEST(LibraryLoad, SetsTheLoadingThreadsX87ControlWord) {
  const unsigned short hostDefault = 0x027F;  // 53-bit precision, as some hosts leave it
  __asm__ volatile("fldcw %0" : : "m"(hostDefault));
  LoadedPlugin library;
  ASSERT_TRUE(library.Loaded());
  unsigned short controlWord = 0;
  __asm__ volatile("fnstcw %0" : "=m"(controlWord));
  // 64-bit precision, round to nearest, all six exceptions masked.
  EXPECT_EQ(controlWord & 0x1F3F, 0x133F);
}
#endif

TEST_F(Instance, FixedAnswersToTheHost) {
  EXPECT_EQ(Text(effGetEffectName), "Fluxomatic");
  EXPECT_EQ(Text(effGetVendorString), "Quelbrook");
  EXPECT_EQ(Text(effGetProductString), "Fluxomatic");
  EXPECT_EQ(Dispatch(effGetVendorVersion), 1);
  EXPECT_EQ(Dispatch(effGetVstVersion), 2300);
  EXPECT_EQ(Dispatch(effKeysRequired), 1);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 99), 1);
  EXPECT_EQ(Dispatch(effGetNumProgramCategories), 1);
  EXPECT_EQ(Dispatch(effGetPlugCategory), 0);
  EXPECT_EQ(Dispatch(effGetCurrentMidiProgram), -1);
  EXPECT_EQ(Dispatch(effGetVu), 0);
  EXPECT_EQ(Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(effGetChunk, 0, 0, &m_Effect->user), 0);
  EXPECT_EQ(Dispatch(effEditOpen), 0);  // no editor, or no parent window to open it in
}

TEST_F(Instance, ParametersAreClampedAndNamed) {
  SetParameter(0, 1.5f);
  EXPECT_EQ(GetParameter(0), 1.0f);
  SetParameter(0, -0.2f);
  EXPECT_EQ(GetParameter(0), 0.0f);
  SetParameter(0, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(GetParameter(0), 0.0f);
  SetParameter(6, 0.3f);
  SetParameter(-1, 0.3f);
  EXPECT_EQ(GetParameter(6), 0.0f);
  EXPECT_EQ(GetParameter(-1), 0.0f);

  const char* names[6] = {"1-CC Value", "1-Randomise Amt",  "1-CC Out",
                          "2-CC Value", "2-Randomise Amt.", "2-CC Out"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(effGetParamName, i), names[i]);
  EXPECT_EQ(Text(effGetParamName, 6), "undefined");
  EXPECT_EQ(Text(effGetParamName, -1), "par-1");
  EXPECT_EQ(Text(effGetParamName, -25), "par-25");
  EXPECT_EQ(Text(effGetParamLabel, 3), "%");
  EXPECT_EQ(Text(effGetParamLabel, 100), "%");
  EXPECT_EQ(Text(effGetParamDisplay, 3), "0.50");
  EXPECT_EQ(Text(effGetParamDisplay, 2), "0.11");
  EXPECT_EQ(Text(effGetParamDisplay, 0), "0.00");
  SetParameter(4, 1.0f);
  EXPECT_EQ(Text(effGetParamDisplay, 4), "1.00");
  EXPECT_EQ(Text(effGetParamDisplay, 6), "undefined");
}

TEST_F(Instance, ProgramsKeepTheirValuesAndNames) {
  SetParameter(1, 0.4f);
  Dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(Dispatch(effGetProgram), 3);
  EXPECT_EQ(GetParameter(1), 0.0f);
  SetParameter(1, 0.7f);
  Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Bright"));
  Dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(GetParameter(1), 0.4f);
  EXPECT_EQ(Text(effGetProgramName), "Preset 0");
  Dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(GetParameter(1), 0.7f);
  EXPECT_EQ(Text(effGetProgramName), "Bright");

  Dispatch(effSetProgram, 0, 16);
  Dispatch(effSetProgram, 0, -1);
  EXPECT_EQ(Dispatch(effGetProgram), 3);
  char name[64];
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 16, 0, name), 0);
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, name), 0);
}

TEST_F(Instance, LongProgramNamesAreCutToTheHostsBuffer) {
  std::string longName(70, 'x');
  Dispatch(effSetProgramName, 0, 0, longName.data());
  // A host's program-name buffer has 24 bytes: 23 characters and the
  // terminator, and not a byte past it.
  for (const bool indexed : {false, true}) {
    char buffer[64];
    std::memset(buffer, 0x5A, sizeof buffer);
    if (indexed)
      Dispatch(effGetProgramNameIndexed, 0, 0, buffer);
    else
      Dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), std::string(23, 'x')) << indexed;
    for (size_t i = 24; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0x5A) << indexed << " " << i;
  }
  // The program keeps the whole name it stores: a shorter one set over it
  // shows that the cut was only in the answer.
  Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Short"));
  EXPECT_EQ(Text(effGetProgramName), "Short");
}

TEST_F(Instance, PinsAndCapabilities) {
  VstPinProperties pin;
  std::memset(&pin, 0x55, sizeof pin);
  EXPECT_EQ(Dispatch(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input #2");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_EQ(pin.arrangementType, 0x55555555);  // untouched
  EXPECT_EQ(Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output #1");
  EXPECT_EQ(Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetInputProperties, -1, 0, &pin), 0);

  for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents",
                          "sendVstMidiEvent", "receiveVstTimeInfo"})
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
  for (const char* no : {"ReceiveVstEvents", "offline", "", "receiveVstEventsX"})
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>(no)), -1) << no;
}

TEST_F(Instance, ResumeAsksForMidi) {
  FakeHost::Instance().calls.clear();
  Dispatch(effMainsChanged, 0, 1);
  ASSERT_EQ(FakeHost::Instance().calls.size(), 1u);
  EXPECT_EQ(FakeHost::Instance().calls[0].opcode, audioMasterWantMidi);
  EXPECT_EQ(FakeHost::Instance().calls[0].value, 1);
  Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(FakeHost::Instance().calls.size(), 1u);
}

TEST_F(Instance, TwoInstancesAreIndependent) {
  AEffect* other = m_Entry(FakeHost::Callback);
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, m_Effect);
  EXPECT_NE(other->object, m_Effect->object);
  other->setParameter(other, 0, 0.9f);
  EXPECT_EQ(GetParameter(0), 0.5f);
  EXPECT_EQ(other->dispatcher(other, effClose, 0, 0, nullptr, 0.0f), 1);
  SetParameter(0, 0.25f);
  EXPECT_EQ(GetParameter(0), 0.25f);
  EXPECT_EQ(Text(effGetEffectName), "Fluxomatic");
}

// A host that closes the plug-in from inside audioMasterProcessEvents, while processReplacing
// is still sending: the instance unwinds whole (the address sanitizer build checks it), answers
// the calls that come meanwhile as a closed one, and goes when processReplacing returns.
TEST_F(Instance, AnEffCloseFromTheEventsCallbackEndsTheInstanceWhenProcessingReturns) {
  FakeHost& host = FakeHost::Instance();
  AEffect* closing = m_Effect;
  bool closed = false;
  host.reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterProcessEvents || closed) return;
    closed = true;
    m_Effect = nullptr;  // the host forgets the instance
    EXPECT_EQ(closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(closing->getParameter(closing, 0), 0.0f);  // closed: 0.5 before
    EXPECT_EQ(closing->dispatcher(closing, effGetProgram, 0, 0, nullptr, 0.0f), 0);
    char name[64] = "untouched";
    closing->dispatcher(closing, effGetEffectName, 0, 0, name, 0.0f);
    EXPECT_STREQ(name, "untouched");
  };
  MidiList note;
  note.Add(0x90, 60, 100, 0);
  closing->dispatcher(closing, effProcessEvents, 0, 0, note.List(), 0.0f);
  RunBlock(8);
  host.reaction = nullptr;
  EXPECT_TRUE(closed);
}

}  // namespace

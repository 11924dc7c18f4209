#pragma once
// A fixture that loads the built plug-in library and creates one instance
// through its exported entry point, as a host that tells its tempo and its
// names does; and event lists to send it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/plugin/LoadedPlugin.h"
#include "testsupport/vst/FakeHost.h"

class PluginTestBase : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHost& host = FakeHost::Instance();
    host.Reset();
    host.answers[audioMasterTempoAt] = 1200000;
    host.texts = {{audioMasterGetVendorString, "Test Vendor"},
                  {audioMasterGetProductString, "Test Host"}};
    ASSERT_TRUE(m_Library.Loaded()) << FLUX_PLUGIN_FILE;
    m_Entry = m_Library.Entry("main");
    ASSERT_NE(m_Entry, nullptr);
    m_Effect = m_Entry(FakeHost::Callback);
    ASSERT_NE(m_Effect, nullptr);
  }
  void TearDown() override {
    if (m_Effect) {
      EXPECT_EQ(Dispatch(effClose), 1);
    }
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, opt);
  }
  std::string Text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0) {
    char buffer[128] = {};
    Dispatch(opcode, index, value, buffer);
    return buffer;
  }
  void SetParameter(VstInt32 index, float value) { m_Effect->setParameter(m_Effect, index, value); }
  float GetParameter(VstInt32 index) { return m_Effect->getParameter(m_Effect, index); }

  // Runs one block of processReplacing over silence-free input.
  void RunBlock(int frames) {
    m_In[0].assign(static_cast<size_t>(frames), 0.5f);
    m_In[1].assign(static_cast<size_t>(frames), -0.5f);
    m_Out[0].assign(static_cast<size_t>(frames), 0.0f);
    m_Out[1].assign(static_cast<size_t>(frames), 0.0f);
    float* inputs[2] = {m_In[0].data(), m_In[1].data()};
    float* outputs[2] = {m_Out[0].data(), m_Out[1].data()};
    m_Effect->processReplacing(m_Effect, inputs, outputs, frames);
  }
  std::vector<SentMidi>& Sent() { return FakeHost::Instance().sent; }

  LoadedPlugin m_Library;
  PluginEntry m_Entry = nullptr;
  AEffect* m_Effect = nullptr;
  std::vector<float> m_In[2], m_Out[2];
};

// An event list that owns its MIDI records.
class MidiList {
 public:
  MidiList& Add(unsigned char status, unsigned char data1, unsigned char data2,
                VstInt32 deltaFrames, VstInt32 type = kVstMidiType) {
    VstMidiEvent e{};
    e.type = type;
    e.byteSize = 24;
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    m_Records.push_back(e);
    return *this;
  }
  VstEvents* List() {
    m_Storage.assign(sizeof(VstEvents) + sizeof(VstEvent*) * m_Records.size(), 0);
    auto* events = reinterpret_cast<VstEvents*>(m_Storage.data());
    events->numEvents = static_cast<VstInt32>(m_Records.size());
    for (size_t i = 0; i < m_Records.size(); ++i)
      EventEntries(*events)[i] = reinterpret_cast<VstEvent*>(&m_Records[i]);
    return events;
  }

 private:
  std::vector<VstMidiEvent> m_Records;
  std::vector<unsigned char> m_Storage;
};

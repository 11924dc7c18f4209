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
    FakeHost& host = FakeHost::instance();
    host.reset();
    host.answers[audioMasterTempoAt] = 1200000;
    host.texts = {{audioMasterGetVendorString, "Test Vendor"},
                  {audioMasterGetProductString, "Test Host"}};
    ASSERT_TRUE(library.loaded()) << FLUX_PLUGIN_FILE;
    entry = library.entry("main");
    ASSERT_NE(entry, nullptr);
    effect = entry(FakeHost::callback);
    ASSERT_NE(effect, nullptr);
  }
  void TearDown() override {
    if (effect) {
      EXPECT_EQ(dispatch(effClose), 1);
    }
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0) {
    char buffer[128] = {};
    dispatch(opcode, index, value, buffer);
    return buffer;
  }
  void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float getParameter(VstInt32 index) { return effect->getParameter(effect, index); }

  // Runs one block of processReplacing over silence-free input.
  void runBlock(int frames) {
    in[0].assign(static_cast<size_t>(frames), 0.5f);
    in[1].assign(static_cast<size_t>(frames), -0.5f);
    out[0].assign(static_cast<size_t>(frames), 0.0f);
    out[1].assign(static_cast<size_t>(frames), 0.0f);
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    effect->processReplacing(effect, inputs, outputs, frames);
  }
  std::vector<SentMidi>& sent() { return FakeHost::instance().sent; }

  LoadedPlugin library;
  PluginEntry entry = nullptr;
  AEffect* effect = nullptr;
  std::vector<float> in[2], out[2];
};

// An event list that owns its MIDI records.
class MidiList {
 public:
  MidiList& add(unsigned char status, unsigned char data1, unsigned char data2,
                VstInt32 deltaFrames, VstInt32 type = kVstMidiType) {
    VstMidiEvent e{};
    e.type = type;
    e.byteSize = 24;
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    records.push_back(e);
    return *this;
  }
  VstEvents* list() {
    storage.assign(sizeof(VstEvents) + sizeof(VstEvent*) * records.size(), 0);
    auto* events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = static_cast<VstInt32>(records.size());
    for (size_t i = 0; i < records.size(); ++i)
      eventEntries(*events)[i] = reinterpret_cast<VstEvent*>(&records[i]);
    return events;
  }

 private:
  std::vector<VstMidiEvent> records;
  std::vector<unsigned char> storage;
};

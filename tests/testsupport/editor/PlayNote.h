#pragma once
// One Note On through an instance's descriptor, as a host plays it: with no randomising, each
// unit then sends its CC Value.

#include "vst/VstRecords.h"

namespace editortest {

inline void PlayNote(AEffect* effect) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof note;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&note), nullptr}};
  effect->dispatcher(effect, effProcessEvents, 0, 0, &list, 0.0f);
  float in[2][4] = {}, out[2][4] = {};
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  effect->processReplacing(effect, inputs, outputs, 4);
}

}  // namespace editortest

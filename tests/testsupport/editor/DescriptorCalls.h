#pragma once
// The calls a host makes into one instance through its descriptor: requests, the editor's
// close and idle, parameters and a played note. Whoever creates the instance sets `effect`.

#include "testsupport/editor/PlayNote.h"
#include "vst/VstRecords.h"

namespace editortest {

class DescriptorCalls {
 public:
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  void Close() { Dispatch(effEditClose); }
  void Idle() { Dispatch(effEditIdle); }
  void SetParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float GetParameter(VstInt32 index) { return effect->getParameter(effect, index); }
  void PlayNote() { editortest::PlayNote(effect); }

  AEffect* effect = nullptr;  // null once the test closed the instance itself
};

}  // namespace editortest

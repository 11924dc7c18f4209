#include "vst/AEffEditor.h"

AEffEditor::AEffEditor(AudioEffect* owner) : effect(owner) {}

AEffEditor::~AEffEditor() = default;

VstInt32 AEffEditor::getRect(ERect** rect) {
  *rect = nullptr;
  return 0;
}

VstInt32 AEffEditor::open(void* ptr) {
  systemWindow = ptr;
  return 0;
}

void AEffEditor::close() {}

void AEffEditor::idle() {
  if (updateFlag.exchange(0, std::memory_order_relaxed) != 0) update();
}

void AEffEditor::update() {}

void AEffEditor::postUpdate() {
  updateFlag.store(1, std::memory_order_relaxed);
}

VstInt32 AEffEditor::onKeyDown(VstKeyCode&) {
  return -1;
}

VstInt32 AEffEditor::onKeyUp(VstKeyCode&) {
  return -1;
}

VstInt32 AEffEditor::setKnobMode(VstInt32) {
  return 0;
}

bool AEffEditor::onWheel(float) {
  return false;
}

// The host's editor requests reaching the editor object, with the base
// editor's answers and without any editor.

#include <gtest/gtest.h>

#include "testsupport/vst/FakeHost.h"
#include "testsupport/vst/ProbeEffect.h"

namespace {

class CountingEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  ~CountingEditor() override { ++destroyed; }
  void update() override { ++updates; }
  void* parent() const { return systemWindow; }
  int updates = 0;
  static inline int destroyed = 0;
};

class KeyEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  VstInt32 onKeyDown(VstKeyCode& key) override {
    down = key;
    return 7;
  }
  VstInt32 onKeyUp(VstKeyCode& key) override {
    up = key;
    return 8;
  }
  VstInt32 setKnobMode(VstInt32 mode) override { return mode * 2; }
  VstInt32 getRect(ERect** rect) override {
    *rect = &area;
    return 1;
  }
  VstKeyCode down{}, up{};
  ERect area{0, 0, 135, 432};
};

class EditorRouting : public ::testing::Test {
 protected:
  void SetUp() override { FakeHost::instance().reset(); }
  void TearDown() override { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  ProbeEffect* probe = new ProbeEffect(FakeHost::callback);
  AEffect* effect = probe->getAeffect();
};

TEST_F(EditorRouting, WithoutEditorEveryRequestAnswersZero) {
  EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
  ERect* rect = reinterpret_cast<ERect*>(0x1234);
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1234));
  for (VstInt32 opcode :
       {effEditOpen, effEditClose, effEditIdle, effEditKeyDown, effEditKeyUp, effSetEditKnobMode,
        effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep}) {
    EXPECT_EQ(dispatch(opcode, 65, 1, nullptr, 1.0f), 0) << opcode;
  }
}

TEST_F(EditorRouting, BaseEditorGivesItsDefaults) {
  auto owned = std::make_unique<CountingEditor>(probe);
  CountingEditor* editor = owned.get();
  probe->setEditor(std::move(owned));
  EXPECT_EQ(effect->flags & effFlagsHasEditor, effFlagsHasEditor);

  ERect* rect = reinterpret_cast<ERect*>(0x1234);
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);  // the base stores a null rectangle
  int window = 0;
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, &window), 0);
  EXPECT_EQ(editor->parent(), &window);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), -1);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), -1);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 0);
  EXPECT_EQ(dispatch(effEditClose), 0);

  EXPECT_EQ(dispatch(effEditIdle), 0);
  EXPECT_EQ(editor->updates, 0);
  editor->postUpdate();
  dispatch(effEditIdle);
  EXPECT_EQ(editor->updates, 1);
  dispatch(effEditIdle);  // the flag was consumed
  EXPECT_EQ(editor->updates, 1);
}

TEST_F(EditorRouting, KeysKnobModeAndRectPassThrough) {
  auto owned = std::make_unique<KeyEditor>(probe);
  KeyEditor* editor = owned.get();
  probe->setEditor(std::move(owned));
  EXPECT_EQ(dispatch(effEditKeyDown, 'q', 12, nullptr, 2.5f), 7);
  EXPECT_EQ(editor->down.character, 'q');
  EXPECT_EQ(editor->down.virt, 12);
  EXPECT_EQ(editor->down.modifier, 2);  // 2.5 rounds to even
  EXPECT_EQ(dispatch(effEditKeyUp, 'r', 3, nullptr, 3.5f), 8);
  EXPECT_EQ(editor->up.character, 'r');
  EXPECT_EQ(editor->up.modifier, 4);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 21), 42);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect, &editor->area);
}

TEST_F(EditorRouting, ReplacingOrClearingTheEditorDestroysTheOldOne) {
  const int before = CountingEditor::destroyed;
  probe->setEditor(std::make_unique<CountingEditor>(probe));
  probe->setEditor(std::make_unique<CountingEditor>(probe));
  EXPECT_EQ(CountingEditor::destroyed, before + 1);
  probe->setEditor(nullptr);
  EXPECT_EQ(CountingEditor::destroyed, before + 2);
  EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
}

TEST(EditorOwnership, ClosingThePluginDestroysItsEditor) {
  auto* probe = new ProbeEffect(FakeHost::callback);
  probe->setEditor(std::make_unique<CountingEditor>(probe));
  const int before = CountingEditor::destroyed;
  AEffect* effect = probe->getAeffect();
  EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(CountingEditor::destroyed, before + 1);
}

}  // namespace

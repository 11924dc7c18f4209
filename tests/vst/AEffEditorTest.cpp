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
  void* Parent() const { return systemWindow; }
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
  void SetUp() override { FakeHost::Instance().Reset(); }
  void TearDown() override { m_Effect->dispatcher(m_Effect, effClose, 0, 0, nullptr, 0.0f); }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, opt);
  }
  ProbeEffect* m_Probe = new ProbeEffect(FakeHost::Callback);
  AEffect* m_Effect = m_Probe->getAeffect();
};

TEST_F(EditorRouting, WithoutEditorEveryRequestAnswersZero) {
  EXPECT_EQ(m_Effect->flags & effFlagsHasEditor, 0);
  ERect* rect = reinterpret_cast<ERect*>(0x1234);
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1234));
  for (VstInt32 opcode :
       {effEditOpen, effEditClose, effEditIdle, effEditKeyDown, effEditKeyUp, effSetEditKnobMode,
        effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep}) {
    EXPECT_EQ(Dispatch(opcode, 65, 1, nullptr, 1.0f), 0) << opcode;
  }
}

TEST_F(EditorRouting, BaseEditorGivesItsDefaults) {
  auto owned = std::make_unique<CountingEditor>(m_Probe);
  CountingEditor* editor = owned.get();
  m_Probe->setEditor(std::move(owned));
  EXPECT_EQ(m_Effect->flags & effFlagsHasEditor, effFlagsHasEditor);

  ERect* rect = reinterpret_cast<ERect*>(0x1234);
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);  // the base stores a null rectangle
  int window = 0;
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, &window), 0);
  EXPECT_EQ(editor->Parent(), &window);
  EXPECT_EQ(Dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), -1);
  EXPECT_EQ(Dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), -1);
  EXPECT_EQ(Dispatch(effSetEditKnobMode, 0, 2), 0);
  EXPECT_EQ(Dispatch(effEditClose), 0);

  EXPECT_EQ(Dispatch(effEditIdle), 0);
  EXPECT_EQ(editor->updates, 0);
  editor->postUpdate();
  Dispatch(effEditIdle);
  EXPECT_EQ(editor->updates, 1);
  Dispatch(effEditIdle);  // the flag was consumed
  EXPECT_EQ(editor->updates, 1);
}

TEST_F(EditorRouting, KeysKnobModeAndRectPassThrough) {
  auto owned = std::make_unique<KeyEditor>(m_Probe);
  KeyEditor* editor = owned.get();
  m_Probe->setEditor(std::move(owned));
  EXPECT_EQ(Dispatch(effEditKeyDown, 'q', 12, nullptr, 2.5f), 7);
  EXPECT_EQ(editor->down.character, 'q');
  EXPECT_EQ(editor->down.virt, 12);
  EXPECT_EQ(editor->down.modifier, 2);  // 2.5 rounds to even
  EXPECT_EQ(Dispatch(effEditKeyUp, 'r', 3, nullptr, 3.5f), 8);
  EXPECT_EQ(editor->up.character, 'r');
  EXPECT_EQ(editor->up.modifier, 4);
  EXPECT_EQ(Dispatch(effSetEditKnobMode, 0, 21), 42);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect, &editor->area);
}

TEST_F(EditorRouting, ReplacingOrClearingTheEditorDestroysTheOldOne) {
  const int before = CountingEditor::destroyed;
  m_Probe->setEditor(std::make_unique<CountingEditor>(m_Probe));
  m_Probe->setEditor(std::make_unique<CountingEditor>(m_Probe));
  EXPECT_EQ(CountingEditor::destroyed, before + 1);
  m_Probe->setEditor(nullptr);
  EXPECT_EQ(CountingEditor::destroyed, before + 2);
  EXPECT_EQ(m_Effect->flags & effFlagsHasEditor, 0);
}

TEST(EditorOwnership, ClosingThePluginDestroysItsEditor) {
  auto* probe = new ProbeEffect(FakeHost::Callback);
  probe->setEditor(std::make_unique<CountingEditor>(probe));
  const int before = CountingEditor::destroyed;
  AEffect* effect = probe->getAeffect();
  EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(CountingEditor::destroyed, before + 1);
}

}  // namespace

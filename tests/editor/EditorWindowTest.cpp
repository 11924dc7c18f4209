// The editor window at work inside an open editor: slider moves set parameters and tell the
// host, parameter and program changes from the host move the sliders within one tick without
// telling the host back, par2 stops at 100, the About panel toggles, the background is never
// erased, and a host that closes the editor, or the whole plug-in, from inside a slider's
// handler.

#include <gtest/gtest.h>

#include <utility>

#include "testsupport/editor/EditorHost.h"

namespace {

class EditorWindow : public ::testing::Test, public editortest::EditorHost {
 protected:
  void SetUp() override {
    ASSERT_EQ(open(), 1);
    host().calls.clear();
  }
};

TEST_F(EditorWindow, RightAfterOpenTheSlidersShowTheParametersAndTheIndicatorsTheirStart) {
  // Program 0: CC Value 0.5, Randomise 0, CC Out 14 and 15.
  const int expected[kNumParams] = {64, 0, 14, 64, 0, 15};
  const TDIBSlider* sliders[] = {&window().par0, &window().par1, &window().par2,
                                 &window().par3, &window().par4, &window().par5};
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(sliders[i]->Position(), expected[i]) << i;
  EXPECT_EQ(window().indicate1.Position(), 50);
  EXPECT_EQ(window().indicate2.Position(), 50);
  EXPECT_EQ(window().CC1GUI.Caption(), "0");
  EXPECT_EQ(window().CC2GUI.Caption(), "0");
}

TEST_F(EditorWindow, MovingASliderSetsItsParameterAndTellsTheHost) {
  window().par0.SetPosition(0);
  host().calls.clear();
  window().par0.SetPosition(64);
  EXPECT_EQ(getParameter(0), 64.0f / 127.0f);
  const auto automated = host().callsWith(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, 0);
  EXPECT_EQ(automated[0].opt, 64.0f / 127.0f);

  window().par2.SetPosition(127);
  EXPECT_EQ(window().par2.Position(), 100);
  EXPECT_EQ(getParameter(2), 100.0f / 127.0f);  // the divisor stays 127
  window().par5.SetPosition(127);
  EXPECT_EQ(getParameter(5), 1.0f);
}

TEST_F(EditorWindow, EveryPositionComesBackFromItsValue) {
  for (int position = 0; position <= 127; ++position) {
    window().par3.SetPosition(position);
    const float value = getParameter(3);
    EXPECT_EQ(value, static_cast<float>(position / 127.0)) << position;
    EXPECT_EQ(PositionOf(value), position);
  }
}

TEST_F(EditorWindow, HostChangesMoveTheSlidersWithinOneTickAndAreNotSentBack) {
  setParameter(1, 0.5f);
  advance(49);
  EXPECT_EQ(window().par1.Position(), 0);
  advance(1);
  EXPECT_EQ(window().par1.Position(), 64);
  EXPECT_EQ(automations(), 0);

  setParameter(2, 1.0f);  // beyond what par2 shows
  advance(100);
  EXPECT_EQ(window().par2.Position(), 100);
  EXPECT_EQ(getParameter(2), 1.0f);
  idle();
  EXPECT_EQ(window().CC1GUI.Caption(), "127");
  EXPECT_EQ(automations(), 0);
}

TEST_F(EditorWindow, EveryIdleRepaintsTheIndicatorsButOnlyAMovePresentsThem) {
  void* handle = window().Handle();
  idle();
  backend.Pump();
  backend.TakePresented(handle);
  for (int tick = 0; tick < 4; ++tick) {  // timers served without an idle's refresh
    backend.Advance(50);
    backend.Pump();
  }
  EXPECT_TRUE(backend.TakePresented(handle).empty());

  const uint32_t invalidated = window().indicate1.LastInvalidated();
  idle();  // the same values again: repainted, and nothing to show
  backend.Pump();
  EXPECT_NE(window().indicate1.LastInvalidated(), invalidated);
  EXPECT_TRUE(backend.TakePresented(handle).empty());

  setParameter(0, 1.0f);  // no randomising in program 0: the note sends 127
  playNote();
  idle();
  backend.Pump();
  const auto presented = backend.TakePresented(handle);
  ASSERT_EQ(presented.size(), 1u);
  EXPECT_EQ(presented[0].Top, 24 + 18);  // the indicators' row, nothing of the sliders below
  EXPECT_EQ(presented[0].Bottom, 24 + 22);

  setParameter(2, 1.0f);  // par2 cannot show it: asked again, and repainted, at every tick
  backend.Advance(50);
  backend.Pump();
  backend.TakePresented(handle);
  const uint32_t asked = window().par2.LastInvalidated();
  backend.Advance(50);
  backend.Pump();
  EXPECT_NE(window().par2.LastInvalidated(), asked);
  EXPECT_TRUE(backend.TakePresented(handle).empty());
}

TEST_F(EditorWindow, AProgramChangeMovesAllSixSlidersWithinOneTick) {
  close();
  dispatch(effSetProgram, 0, 5);
  const float values[kNumParams] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  for (int i = 0; i < kNumParams; ++i) setParameter(i, values[i]);
  dispatch(effSetProgram, 0, 0);
  ASSERT_EQ(open(), 1);
  host().calls.clear();

  dispatch(effSetProgram, 0, 5);
  advance(50);
  const TDIBSlider* sliders[] = {&window().par0, &window().par1, &window().par2,
                                 &window().par3, &window().par4, &window().par5};
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(sliders[i]->Position(), std::min(PositionOf(values[i]), sliders[i]->Max())) << i;
  }
  EXPECT_EQ(automations(), 0);
}

TEST_F(EditorWindow, AboutTogglesThePanelAndTheCloseSymbolHidesIt) {
  const int aboutX = 392 + 10, aboutY = 4 + 6;
  const int closeX = 412 + 8, closeY = 24 + 4 + 8;
  click(aboutX, aboutY);
  EXPECT_TRUE(window().Panel1.Visible());
  click(aboutX, aboutY);
  EXPECT_FALSE(window().Panel1.Visible());
  click(aboutX, aboutY);
  click(closeX, closeY);
  EXPECT_FALSE(window().Panel1.Visible());
  click(closeX, closeY);  // with the panel hidden the click falls on the container
  EXPECT_FALSE(window().Panel1.Visible());
  EXPECT_EQ(automations(), 0);
}

TEST_F(EditorWindow, TheBackgroundIsNeverErased) {
  backend.Pump();
  const ui::Surface before = window().Pixels();
  ui::DeviceContext dc = window().GetDC();
  EXPECT_EQ(window().Perform(ui::WM_ERASEBKGND, ui::PointerToWParam(&dc)), 0);
  EXPECT_TRUE(window().Pixels() == before);
}

// The click reaches the slider inside effEditIdle, as on Linux; the host closes from inside
// the slider's handler, whose window, slider and idle call are still on the stack.
TEST_F(EditorWindow, AHostThatClosesTheEditorFromASliderHandlerDoesSoSafely) {
  void* handle = window().Handle();
  host().reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterAutomate) return;
    close();
    EXPECT_FALSE(backend.IsWindow(handle));  // off the screen at once
  };
  click(64 + 160, 24 + 24 + 7);  // on par0's track, right of the pointer: one page up
  host().reaction = nullptr;
  EXPECT_EQ(getParameter(0), 69.0f / 127.0f);
  EXPECT_EQ(editor().Window(), nullptr);
  EXPECT_EQ(editor().OpenCount(), 0);
  EXPECT_TRUE(plugin().isEditorClosed());
  advance(200);  // nothing of the closed window runs on
  EXPECT_EQ(automations(), 1);
  ASSERT_EQ(open(), 1);
  EXPECT_EQ(window().par0.Position(), 69);
}

// effClose from inside the handler: the editor leaves the screen at once, the handler, the
// slider and the idle call unwind through the instance, which goes when the idle returns (the
// address sanitizer build checks every access on the way), and calls the host makes meanwhile
// find a closed instance.
TEST_F(EditorWindow, AHostThatClosesThePlugInFromASliderHandlerFreesItWhenTheIdleReturns) {
  void* handle = window().Handle();
  bool closed = false;
  host().reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterAutomate || closed) return;
    closed = true;
    AEffect* closing = std::exchange(effect, nullptr);  // the host forgets the instance
    EXPECT_EQ(closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_FALSE(backend.IsWindow(handle));
    EXPECT_EQ(closing->dispatcher(closing, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(closing->dispatcher(closing, effEditIdle, 0, 0, nullptr, 0.0f), 0);
  };
  const auto origin = window().WindowOrigin();
  const int32_t x = origin.X + 64 + 160, y = origin.Y + 24 + 24 + 7;  // on par0's track
  backend.MouseMove(x, y);
  backend.MouseDown(platform::MouseButton::Left, x, y);  // one page up: the host hears of it
  backend.MouseMove(x + 5, y);                           // the rest of the drag, still queued
  backend.MouseUp(platform::MouseButton::Left, x + 5, y);
  idle();
  host().reaction = nullptr;
  EXPECT_TRUE(closed);
  EXPECT_EQ(automations(), 1);
  EXPECT_EQ(backend.WindowCount(), 1u);  // the host's own: nothing of ours is left
  backend.Advance(200);
  backend.Pump();
  EXPECT_EQ(automations(), 1);
}

}  // namespace

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
    ASSERT_EQ(Open(), 1);
    Host().calls.clear();
  }
};

TEST_F(EditorWindow, RightAfterOpenTheSlidersShowTheParametersAndTheIndicatorsTheirStart) {
  // Program 0: CC Value 0.5, Randomise 0, CC Out 14 and 15.
  const int expected[kNumParams] = {64, 0, 14, 64, 0, 15};
  const TDIBSlider* sliders[] = {&Window().par0, &Window().par1, &Window().par2,
                                 &Window().par3, &Window().par4, &Window().par5};
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(sliders[i]->Position(), expected[i]) << i;
  EXPECT_EQ(Window().indicate1.Position(), 50);
  EXPECT_EQ(Window().indicate2.Position(), 50);
  EXPECT_EQ(Window().CC1GUI.Caption(), "0");
  EXPECT_EQ(Window().CC2GUI.Caption(), "0");
}

TEST_F(EditorWindow, MovingASliderSetsItsParameterAndTellsTheHost) {
  Window().par0.SetPosition(0);
  Host().calls.clear();
  Window().par0.SetPosition(64);
  EXPECT_EQ(GetParameter(0), 64.0f / 127.0f);
  const auto automated = Host().CallsWith(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, 0);
  EXPECT_EQ(automated[0].opt, 64.0f / 127.0f);

  Window().par2.SetPosition(127);
  EXPECT_EQ(Window().par2.Position(), 100);
  EXPECT_EQ(GetParameter(2), 100.0f / 127.0f);  // the divisor stays 127
  Window().par5.SetPosition(127);
  EXPECT_EQ(GetParameter(5), 1.0f);
}

TEST_F(EditorWindow, EveryPositionComesBackFromItsValue) {
  for (int position = 0; position <= 127; ++position) {
    Window().par3.SetPosition(position);
    const float value = GetParameter(3);
    EXPECT_EQ(value, static_cast<float>(position / 127.0)) << position;
    EXPECT_EQ(PositionOf(value), position);
  }
}

TEST_F(EditorWindow, HostChangesMoveTheSlidersWithinOneTickAndAreNotSentBack) {
  SetParameter(1, 0.5f);
  Advance(49);
  EXPECT_EQ(Window().par1.Position(), 0);
  Advance(1);
  EXPECT_EQ(Window().par1.Position(), 64);
  EXPECT_EQ(Automations(), 0);

  SetParameter(2, 1.0f);  // beyond what par2 shows
  Advance(100);
  EXPECT_EQ(Window().par2.Position(), 100);
  EXPECT_EQ(GetParameter(2), 1.0f);
  Idle();
  EXPECT_EQ(Window().CC1GUI.Caption(), "127");
  EXPECT_EQ(Automations(), 0);
}

TEST_F(EditorWindow, EveryIdleRepaintsTheIndicatorsButOnlyAMovePresentsThem) {
  void* handle = Window().Handle();
  Idle();
  backend.Pump();
  backend.TakePresented(handle);
  for (int tick = 0; tick < 4; ++tick) {  // timers served without an idle's refresh
    backend.Advance(50);
    backend.Pump();
  }
  EXPECT_TRUE(backend.TakePresented(handle).empty());

  const uint32_t invalidated = Window().indicate1.LastInvalidated();
  Idle();  // the same values again: repainted, and nothing to show
  backend.Pump();
  EXPECT_NE(Window().indicate1.LastInvalidated(), invalidated);
  EXPECT_TRUE(backend.TakePresented(handle).empty());

  SetParameter(0, 1.0f);  // no randomising in program 0: the note sends 127
  PlayNote();
  Idle();
  backend.Pump();
  const auto presented = backend.TakePresented(handle);
  ASSERT_EQ(presented.size(), 1u);
  EXPECT_EQ(presented[0].Top, 24 + 18);  // the indicators' row, nothing of the sliders below
  EXPECT_EQ(presented[0].Bottom, 24 + 22);

  SetParameter(2, 1.0f);  // par2 cannot show it: asked again, and repainted, at every tick
  backend.Advance(50);
  backend.Pump();
  backend.TakePresented(handle);
  const uint32_t asked = Window().par2.LastInvalidated();
  backend.Advance(50);
  backend.Pump();
  EXPECT_NE(Window().par2.LastInvalidated(), asked);
  EXPECT_TRUE(backend.TakePresented(handle).empty());
}

TEST_F(EditorWindow, AProgramChangeMovesAllSixSlidersWithinOneTick) {
  Close();
  Dispatch(effSetProgram, 0, 5);
  const float values[kNumParams] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  for (int i = 0; i < kNumParams; ++i) SetParameter(i, values[i]);
  Dispatch(effSetProgram, 0, 0);
  ASSERT_EQ(Open(), 1);
  Host().calls.clear();

  Dispatch(effSetProgram, 0, 5);
  Advance(50);
  const TDIBSlider* sliders[] = {&Window().par0, &Window().par1, &Window().par2,
                                 &Window().par3, &Window().par4, &Window().par5};
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(sliders[i]->Position(), std::min(PositionOf(values[i]), sliders[i]->Max())) << i;
  }
  EXPECT_EQ(Automations(), 0);
}

TEST_F(EditorWindow, AboutTogglesThePanelAndTheCloseSymbolHidesIt) {
  const int aboutX = 392 + 10, aboutY = 4 + 6;
  const int closeX = 412 + 8, closeY = 24 + 4 + 8;
  Click(aboutX, aboutY);
  EXPECT_TRUE(Window().Panel1.Visible());
  Click(aboutX, aboutY);
  EXPECT_FALSE(Window().Panel1.Visible());
  Click(aboutX, aboutY);
  Click(closeX, closeY);
  EXPECT_FALSE(Window().Panel1.Visible());
  Click(closeX, closeY);  // with the panel hidden the click falls on the container
  EXPECT_FALSE(Window().Panel1.Visible());
  EXPECT_EQ(Automations(), 0);
}

TEST_F(EditorWindow, TheBackgroundIsNeverErased) {
  backend.Pump();
  const ui::Surface before = Window().Pixels();
  ui::DeviceContext dc = Window().GetDC();
  EXPECT_EQ(Window().Perform(ui::WM_ERASEBKGND, ui::PointerToWParam(&dc)), 0);
  EXPECT_TRUE(Window().Pixels() == before);
}

// The click reaches the slider inside effEditIdle, as on Linux; the host closes from inside
// the slider's handler, whose window, slider and idle call are still on the stack.
TEST_F(EditorWindow, AHostThatClosesTheEditorFromASliderHandlerDoesSoSafely) {
  void* handle = Window().Handle();
  Host().reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterAutomate) return;
    Close();
    EXPECT_FALSE(backend.IsWindow(handle));  // off the screen at once
  };
  Click(64 + 160, 24 + 24 + 7);  // on par0's track, right of the pointer: one page up
  Host().reaction = nullptr;
  EXPECT_EQ(GetParameter(0), 69.0f / 127.0f);
  EXPECT_EQ(Editor().Window(), nullptr);
  EXPECT_EQ(Editor().OpenCount(), 0);
  EXPECT_TRUE(Plugin().IsEditorClosed());
  Advance(200);  // nothing of the closed window runs on
  EXPECT_EQ(Automations(), 1);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Window().par0.Position(), 69);
}

// effClose from inside the handler: the editor leaves the screen at once, the handler, the
// slider and the idle call unwind through the instance, which goes when the idle returns (the
// address sanitizer build checks every access on the way), and calls the host makes meanwhile
// find a closed instance.
TEST_F(EditorWindow, AHostThatClosesThePlugInFromASliderHandlerFreesItWhenTheIdleReturns) {
  void* handle = Window().Handle();
  bool closed = false;
  Host().reaction = [&](VstInt32 opcode) {
    if (opcode != audioMasterAutomate || closed) return;
    closed = true;
    AEffect* closing = std::exchange(effect, nullptr);  // the host forgets the instance
    EXPECT_EQ(closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_FALSE(backend.IsWindow(handle));
    EXPECT_EQ(closing->dispatcher(closing, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(closing->dispatcher(closing, effEditIdle, 0, 0, nullptr, 0.0f), 0);
  };
  const auto origin = Window().WindowOrigin();
  const int32_t x = origin.X + 64 + 160, y = origin.Y + 24 + 24 + 7;  // on par0's track
  backend.MouseMove(x, y);
  backend.MouseDown(platform::MouseButton::Left, x, y);  // one page up: the host hears of it
  backend.MouseMove(x + 5, y);                           // the rest of the drag, still queued
  backend.MouseUp(platform::MouseButton::Left, x + 5, y);
  Idle();
  Host().reaction = nullptr;
  EXPECT_TRUE(closed);
  EXPECT_EQ(Automations(), 1);
  EXPECT_EQ(backend.WindowCount(), 1u);  // the host's own: nothing of ours is left
  backend.Advance(200);
  backend.Pump();
  EXPECT_EQ(Automations(), 1);
}

}  // namespace

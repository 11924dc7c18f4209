// The editor on the Windows backend inside a host's window, as a user sees and drives it: the
// frames read back from the screen equal the headless golden pictures, an idle shows the
// indicators it moved before it returns, a drag of par0 with the real mouse tells the host the
// slider's position over 127, About toggles its panel, and a change from the host shows within
// one timer period.

#include <chrono>

#include "editor/uPluginEditor.h"
#include "platform/NativeBackend.h"
#include "testsupport/editor/PlayNote.h"
#include "testsupport/platform/win32/DesktopHost.h"
#include "testsupport/vst/FakeHost.h"

namespace {

using win32test::MatchesGolden;
using win32test::ShownBy;

class EditorOnWin32 : public ::testing::Test {
 protected:
  EditorOnWin32() {
    FakeHost::Instance().Reset();
    m_Effect = (new APlugin(FakeHost::Callback))->getAeffect();
  }
  ~EditorOnWin32() override { Dispatch(effClose); }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return m_Effect->dispatcher(m_Effect, opcode, index, value, ptr, 0.0f);
  }
  VstIntPtr Open() { return Dispatch(effEditOpen, 0, 0, m_Host->NativeHandle()); }
  void Idle() { Dispatch(effEditIdle); }
  void SetParameter(VstInt32 index, float value) { m_Effect->setParameter(m_Effect, index, value); }
  float GetParameter(VstInt32 index) { return m_Effect->getParameter(m_Effect, index); }
  // The host's loop, with the editor idled every 20 ms.
  void Pump(uint32_t milliseconds) {
    win32test::PumpFor(*m_Host, milliseconds, [this] { Idle(); });
  }
  TPluginEditorWindow& Window() {
    auto& editor =
        static_cast<APluginEditor&>(*static_cast<APlugin*>(m_Effect->object)->GetEditor());
    return *editor.Window();
  }
  HWND EditorWindow() { return static_cast<HWND>(Window().Handle()); }
  // The middle of a slider's pointer, in the window's client coordinates.
  POINT PointerOf(TDIBSlider& slider) {
    const ui::Point container = slider.Parent()->FormOffset();
    const dib::InclusiveRect& p = slider.PointerRect();
    return {container.X + slider.Left() + (p.Left + p.Right) / 2,
            container.Y + slider.Top() + (p.Top + p.Bottom) / 2};
  }
  // Whether the screen shows what the window painted, pixel for pixel.
  bool ShowsItsSurface() {
    const png::Picture shown = ShownBy(*m_Host, EditorWindow());
    const ui::Surface& painted = Window().Pixels();
    if (shown.width != painted.Width() || shown.height != painted.Height()) return false;
    for (int32_t y = 0; y < shown.height; ++y) {
      for (int32_t x = 0; x < shown.width; ++x) {
        if (shown.Pixel(x, y) != (painted.Pixel(x, y) & 0xFFFFFF)) return false;
      }
    }
    return true;
  }
  std::vector<HostCall> Automations() {
    return FakeHost::Instance().CallsWith(audioMasterAutomate);
  }

  platform::ScopedBackend m_Installed{platform::NativeBackend()};
  win32test::HostWindow m_Host = win32test::OpenHost();
  AEffect* m_Effect = nullptr;
};

TEST_F(EditorOnWin32, OpenedWithProgramZeroItShowsTheGoldenPicture) {
  ASSERT_EQ(Open(), 1);
  Pump(100);
  EXPECT_TRUE(MatchesGolden(ShownBy(*m_Host, EditorWindow()), "editor_program0"));
}

TEST_F(EditorOnWin32, WithOtherSettingsAndTheIndicatorsAfterANoteItShowsTheGoldenPicture) {
  // Without randomising, unit 1 sends 100 and unit 2 sends 20.
  const float settings[kNumParams] = {100.0f / 127, 0.0f, 0.5f, 20.0f / 127, 0.0f, 1.0f};
  for (int i = 0; i < kNumParams; ++i) SetParameter(i, settings[i]);
  editortest::PlayNote(m_Effect);
  SetParameter(1, 40.0f / 127);
  SetParameter(4, 127.0f / 127);
  ASSERT_EQ(Open(), 1);
  Pump(100);
  EXPECT_TRUE(MatchesGolden(ShownBy(*m_Host, EditorWindow()), "editor_values"));
}

TEST_F(EditorOnWin32, AboutClickedShowsThePanelAsTheGoldenPictureAndClickedAgainHidesIt) {
  ASSERT_EQ(Open(), 1);
  Pump(50);
  win32test::Click(*m_Host, {392 + 10, 4 + 6});
  Pump(60);
  ASSERT_TRUE(Window().Panel1.Visible());
  EXPECT_TRUE(MatchesGolden(ShownBy(*m_Host, EditorWindow()), "editor_about"));
  win32test::Click(*m_Host, {392 + 10, 4 + 6});
  Pump(60);
  EXPECT_FALSE(Window().Panel1.Visible());
  EXPECT_TRUE(MatchesGolden(ShownBy(*m_Host, EditorWindow()), "editor_program0"));
  EXPECT_TRUE(Automations().empty());
}

TEST_F(EditorOnWin32, AnIdleShowsTheIndicatorsItMovedAsItReturnsAndLeavesNoPaintMessage) {
  SetParameter(1, 0.0f);  // no randomising: unit 1 sends its CC Value
  ASSERT_EQ(Open(), 1);
  Pump(100);
  const png::Picture before = ShownBy(*m_Host, EditorWindow());
  SetParameter(0, 100.0f / 127);
  editortest::PlayNote(m_Effect);
  Idle();
  ASSERT_EQ(Window().indicate1.Position(), 100);
  EXPECT_TRUE(ShownBy(*m_Host, EditorWindow()).pixels != before.pixels) << "nothing shown";
  EXPECT_TRUE(ShowsItsSurface());
  MSG message;
  EXPECT_FALSE(PeekMessageW(&message, EditorWindow(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(EditorOnWin32, DraggingPar0TellsTheHostEveryPositionOver127) {
  ASSERT_EQ(Open(), 1);
  Pump(50);
  FakeHost::Instance().calls.clear();
  const POINT from = PointerOf(Window().par0);
  win32test::Drag(*m_Host, from, {from.x - 40, from.y});
  const auto automated = Automations();
  ASSERT_FALSE(automated.empty());
  for (const HostCall& call : automated) EXPECT_EQ(call.index, 0);
  const int32_t position = Window().par0.Position();
  EXPECT_LT(position, 64);
  EXPECT_EQ(automated.back().opt, static_cast<float>(position / 127.0));
  EXPECT_EQ(GetParameter(0), automated.back().opt);
}

TEST_F(EditorOnWin32, AHostChangeMovesTheSliderWithinOneTimerPeriod) {
  ASSERT_EQ(Open(), 1);
  Pump(50);
  FakeHost::Instance().calls.clear();
  const auto start = std::chrono::steady_clock::now();
  SetParameter(1, 0.5f);
  ASSERT_TRUE(win32test::PumpUntil(
      *m_Host, [this] { return Window().par1.Position() == 64; }, 500, [this] { Idle(); }));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  // The window's timer runs every 50 ms; a loaded machine may deliver its tick a little late.
  EXPECT_LE(took, 50 + 20);
  Pump(40);
  EXPECT_TRUE(ShowsItsSurface());  // the moved slider is on the screen
  EXPECT_TRUE(Automations().empty());
}

}  // namespace

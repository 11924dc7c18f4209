// The editor on the Windows backend inside a host's window, as a user sees and drives it: the
// frames read back from the screen equal the headless golden pictures, a drag of par0 with the
// real mouse tells the host the slider's position over 127, About toggles its panel, and a
// change from the host shows within one timer period.

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
    FakeHost::instance().reset();
    effect = (new APlugin(FakeHost::callback))->getAeffect();
  }
  ~EditorOnWin32() override { dispatch(effClose); }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }
  VstIntPtr open() { return dispatch(effEditOpen, 0, 0, host->nativeHandle()); }
  void idle() { dispatch(effEditIdle); }
  void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float getParameter(VstInt32 index) { return effect->getParameter(effect, index); }
  // The host's loop, with the editor idled every 20 ms.
  void pump(uint32_t milliseconds) {
    win32test::PumpFor(*host, milliseconds, [this] { idle(); });
  }
  TPluginEditorWindow& window() {
    auto& editor = static_cast<APluginEditor&>(*static_cast<APlugin*>(effect->object)->getEditor());
    return *editor.Window();
  }
  HWND editorWindow() { return static_cast<HWND>(window().Handle()); }
  // The middle of a slider's pointer, in the window's client coordinates.
  POINT pointerOf(TDIBSlider& slider) {
    const ui::Point container = slider.Parent()->FormOffset();
    const dib::InclusiveRect& p = slider.PointerRect();
    return {container.X + slider.Left() + (p.Left + p.Right) / 2,
            container.Y + slider.Top() + (p.Top + p.Bottom) / 2};
  }
  // Whether the screen shows what the window painted, pixel for pixel.
  bool showsItsSurface() {
    const png::Picture shown = ShownBy(*host, editorWindow());
    const ui::Surface& painted = window().Pixels();
    if (shown.width != painted.Width() || shown.height != painted.Height()) return false;
    for (int32_t y = 0; y < shown.height; ++y) {
      for (int32_t x = 0; x < shown.width; ++x) {
        if (shown.Pixel(x, y) != (painted.Pixel(x, y) & 0xFFFFFF)) return false;
      }
    }
    return true;
  }
  std::vector<HostCall> automations() {
    return FakeHost::instance().callsWith(audioMasterAutomate);
  }

  platform::ScopedBackend installed{platform::NativeBackend()};
  win32test::HostWindow host = win32test::OpenHost();
  AEffect* effect = nullptr;
};

TEST_F(EditorOnWin32, OpenedWithProgramZeroItShowsTheGoldenPicture) {
  ASSERT_EQ(open(), 1);
  pump(100);
  EXPECT_TRUE(MatchesGolden(ShownBy(*host, editorWindow()), "editor_program0"));
}

TEST_F(EditorOnWin32, WithOtherSettingsAndTheIndicatorsAfterANoteItShowsTheGoldenPicture) {
  // Without randomising, unit 1 sends 100 and unit 2 sends 20.
  const float settings[kNumParams] = {100.0f / 127, 0.0f, 0.5f, 20.0f / 127, 0.0f, 1.0f};
  for (int i = 0; i < kNumParams; ++i) setParameter(i, settings[i]);
  editortest::PlayNote(effect);
  setParameter(1, 40.0f / 127);
  setParameter(4, 127.0f / 127);
  ASSERT_EQ(open(), 1);
  pump(100);
  EXPECT_TRUE(MatchesGolden(ShownBy(*host, editorWindow()), "editor_values"));
}

TEST_F(EditorOnWin32, AboutClickedShowsThePanelAsTheGoldenPictureAndClickedAgainHidesIt) {
  ASSERT_EQ(open(), 1);
  pump(50);
  win32test::Click(*host, {392 + 10, 4 + 6});
  pump(60);
  ASSERT_TRUE(window().Panel1.Visible());
  EXPECT_TRUE(MatchesGolden(ShownBy(*host, editorWindow()), "editor_about"));
  win32test::Click(*host, {392 + 10, 4 + 6});
  pump(60);
  EXPECT_FALSE(window().Panel1.Visible());
  EXPECT_TRUE(MatchesGolden(ShownBy(*host, editorWindow()), "editor_program0"));
  EXPECT_TRUE(automations().empty());
}

TEST_F(EditorOnWin32, DraggingPar0TellsTheHostEveryPositionOver127) {
  ASSERT_EQ(open(), 1);
  pump(50);
  FakeHost::instance().calls.clear();
  const POINT from = pointerOf(window().par0);
  win32test::Drag(*host, from, {from.x - 40, from.y});
  const auto automated = automations();
  ASSERT_FALSE(automated.empty());
  for (const HostCall& call : automated) EXPECT_EQ(call.index, 0);
  const int32_t position = window().par0.Position();
  EXPECT_LT(position, 64);
  EXPECT_EQ(automated.back().opt, static_cast<float>(position / 127.0));
  EXPECT_EQ(getParameter(0), automated.back().opt);
}

TEST_F(EditorOnWin32, AHostChangeMovesTheSliderWithinOneTimerPeriod) {
  ASSERT_EQ(open(), 1);
  pump(50);
  FakeHost::instance().calls.clear();
  const auto start = std::chrono::steady_clock::now();
  setParameter(1, 0.5f);
  ASSERT_TRUE(win32test::PumpUntil(
      *host, [this] { return window().par1.Position() == 64; }, 500, [this] { idle(); }));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  // The window's timer runs every 50 ms; a loaded machine may deliver its tick a little late.
  EXPECT_LE(took, 50 + 20);
  pump(40);
  EXPECT_TRUE(showsItsSurface());  // the moved slider is on the screen
  EXPECT_TRUE(automations().empty());
}

}  // namespace

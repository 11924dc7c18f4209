// The whole editor window as the host shows it, pixel for pixel: opened with program 0 and
// idled once (a host idles the editor within its first 50 ms, which writes the controller
// numbers and the indicators), with other settings and the indicators after notes, and with
// the About panel shown.

#include <gtest/gtest.h>

#include "testsupport/DIB/GoldenFrame.h"
#include "testsupport/editor/EditorHost.h"

namespace {

class EditorGolden : public ::testing::Test, public editortest::EditorHost {
 protected:
  void ExpectShown(const char* name) {
    backend.Pump();
    dibtest::ExpectFrameMatchesGolden(backend, Window().Handle(), name);
  }
};

TEST_F(EditorGolden, AsOpenedWithProgramZero) {
  ASSERT_EQ(Open(), 1);
  Idle();
  ExpectShown("editor_program0");
}

TEST_F(EditorGolden, WithOtherSettingsAndTheIndicatorsAfterANote) {
  // Without randomising, unit 1 sends 100 and unit 2 sends 20.
  const float settings[kNumParams] = {100.0f / 127, 0.0f, 0.5f, 20.0f / 127, 0.0f, 1.0f};
  for (int i = 0; i < kNumParams; ++i) SetParameter(i, settings[i]);
  PlayNote();
  SetParameter(1, 40.0f / 127);
  SetParameter(4, 127.0f / 127);
  ASSERT_EQ(Open(), 1);
  Idle();
  ExpectShown("editor_values");
}

TEST_F(EditorGolden, WithTheAboutPanelShown) {
  ASSERT_EQ(Open(), 1);
  Click(400, 10);
  ASSERT_TRUE(Window().Panel1.Visible());
  ExpectShown("editor_about");
}

}  // namespace

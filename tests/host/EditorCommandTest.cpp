// fluxhost editor under the build's Xvfb: the window sized from the rectangle asked
// after opening, settings before the editor opens, the mouse script as real input in
// order, the picture read back from the server, and what ends the command. Fluxomatic's
// own editor is compared with its headless golden pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>

#include "MouseScript.h"
#include "PluginInstance.h"
#include "png/Png.h"
#include "testsupport/host/AutomationLines.h"
#include "testsupport/host/FluxhostProcess.h"
#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

using test::Automation;
using test::AutomationIn;

struct EditorRun {
  test::ProcessResult process;
  std::vector<Automation> automation;
  std::optional<png::Picture> picture;
};

class EditorCommand : public ::testing::Test {
 protected:
  EditorRun Run(const std::string& plugin, std::vector<std::string> args) {
    const std::string pngFile = m_Dir.File("editor.png");
    const std::string out = m_Dir.File("out.txt");
    args.insert(args.begin(), {"editor", plugin, "--png", pngFile});
    test::ProcessSetup setup;
    setup.outPath = out;
    EditorRun result{test::RunFluxhostProcess(m_Dir, args, setup), {}, {}};
    result.automation = AutomationIn(test::FileText(out));
    if (std::filesystem::exists(pngFile)) result.picture = png::ReadFile(pngFile);
    return result;
  }

  const std::string m_EditorPlugin = test::BesideExecutable("fluxhost_test_editor_plugin");
  test::ScratchDir m_Dir;
};

TEST_F(EditorCommand, WindowTakesTheSizeAskedAfterOpeningAndShowsTheSettings) {
  const EditorRun run = this->Run(m_EditorPlugin, {"--set", "0=1"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_TRUE(run.picture);
  EXPECT_EQ(run.picture->width, 200);
  EXPECT_EQ(run.picture->height, 120);
  EXPECT_EQ(run.picture->Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(run.picture->Pixel(199, 119), 0x0000FFu) << "the setting did not reach the editor";
  EXPECT_TRUE(run.automation.empty());
}

TEST_F(EditorCommand, MouseScriptArrivesAsRealInputInTheOrderGiven) {
  const EditorRun run =
      this->Run(m_EditorPlugin, {"--click", "20,30", "--drag", "40,10:120,70", "--click", "5,6"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  const auto& calls = run.automation;
  ASSERT_GE(calls.size(), 6u);
  // The click: press at x, release at y.
  EXPECT_EQ(calls[0].index, 0);
  EXPECT_NEAR(calls[0].value, 20.0 / 199, 1e-6);
  EXPECT_EQ(calls[1].index, 1);
  EXPECT_NEAR(calls[1].value, 30.0 / 119, 1e-6);
  // The drag: pressed at its start, then every step, released at its end.
  EXPECT_NEAR(calls[2].value, 40.0 / 199, 1e-6);
  size_t steps = 0;
  double lastX = 0.0;
  for (size_t i = 3; i < calls.size() && calls[i].index == 0; ++i, ++steps) {
    EXPECT_GT(calls[i].value, lastX) << "step " << i << " went back";
    lastX = calls[i].value;
  }
  EXPECT_EQ(steps, 20u) << "80 pixels in steps of 4";
  EXPECT_NEAR(lastX, 120.0 / 199, 1e-6);
  ASSERT_EQ(calls.size(), 3 + steps + 3);
  EXPECT_NEAR(calls[3 + steps].value, 70.0 / 119, 1e-6);
  // The last click comes after the drag.
  EXPECT_NEAR(calls[4 + steps].value, 5.0 / 199, 1e-6);
  EXPECT_NEAR(calls[5 + steps].value, 6.0 / 119, 1e-6);
}

TEST_F(EditorCommand, XErrorOfThePluginDoesNotEndTheHost) {
  const EditorRun run = this->Run(m_EditorPlugin, {"--set", "1=1", "--click", "150,40"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_TRUE(run.picture);
  EXPECT_EQ(run.picture->Pixel(10, 10), 0xFF0000u);
  ASSERT_EQ(run.automation.size(), 2u);
}

TEST_F(EditorCommand, StaysOpenForCloseAfter) {
  const auto start = std::chrono::steady_clock::now();
  const auto result =
      test::RunFluxhostProcess(m_Dir, {"editor", m_EditorPlugin, "--close-after", "0.6"});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_GE(took.count(), 0.6);
  EXPECT_LT(took.count(), 10.0);
}

TEST_F(EditorCommand, RefusesPluginWithoutEditorOrWithoutDisplay) {
  const auto noEditor =
      test::RunCommand({"editor", test::TestPlugin(), "--png", m_Dir.File("x.png")});
  EXPECT_EQ(noEditor.exitCode, 1);
  EXPECT_NE(noEditor.err.find("has no editor (its effFlagsHasEditor flag is clear)"),
            std::string::npos)
      << noEditor.err;

  const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
  unsetenv("DISPLAY");
  const auto noDisplay = test::RunCommand({"editor", m_EditorPlugin});
  setenv("DISPLAY", display.c_str(), 1);
  EXPECT_EQ(noDisplay.exitCode, 1);
  EXPECT_NE(noDisplay.err.find("no X display (DISPLAY is not set)"), std::string::npos)
      << noDisplay.err;
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("x.png")));
}

TEST(EditorCommandLine, MouseScriptKeepsTheOrderAndRejectsBadPositions) {
  const std::vector<std::string> args = {"--drag", "1,2:3,4", "--click=5,6", "--drag", "7,8:9,10"};
  const std::vector<OptionSpec> specs = {{"click", true}, {"drag", true}};
  const auto script = MouseScriptFrom(ParsedOptions(args, specs));
  ASSERT_EQ(script.size(), 3u);
  EXPECT_EQ(script[0].from.x, 1);
  EXPECT_EQ(script[0].to.y, 4);
  EXPECT_EQ(script[1].from.x, 5);
  EXPECT_EQ(script[1].to.y, 6);
  EXPECT_EQ(script[2].to.x, 9);

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--click", "5"},
                                              {"--click", "5,-1"},
                                              {"--drag", "1,2"},
                                              {"--drag", "1,2:3"},
                                              {"--set", "0"},
                                              {"--set", "0=2"},
                                              {"--close-after", "soon"}}) {
    std::vector<std::string> command = {"editor", "plugin.so"};
    command.insert(command.end(), bad.begin(), bad.end());
    const auto result = test::RunCommand(command);
    EXPECT_EQ(result.exitCode, 2) << bad[0] << " " << bad[1] << ": " << result.err;
  }
}

// Fluxomatic's editor through the X server equals what the headless backend draws.
class FluxomaticEditor : public EditorCommand {
 protected:
  void SetUp() override {
    if (m_Plugin.empty() || !std::filesystem::exists(m_Plugin))
      GTEST_SKIP() << "the Fluxomatic plug-in is not built";
    PluginInstance instance(m_Plugin);
    ASSERT_NE(instance.Effect().flags & effFlagsHasEditor, 0)
        << "the Linux library declares its editor";
  }

  // Pixels outside `skip` that differ from the golden picture.
  static void ExpectGolden(const png::Picture& picture, const char* name,
                           std::initializer_list<std::array<int32_t, 4>> skip = {}) {
    const png::Picture golden = png::ReadFile(std::string(FLUX_GOLDEN_DIR) + "/" + name);
    ASSERT_EQ(picture.width, golden.width);
    ASSERT_EQ(picture.height, golden.height);
    int differing = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
      for (int32_t x = 0; x < picture.width; ++x) {
        const bool skipped = std::any_of(skip.begin(), skip.end(), [x, y](const auto& r) {
          return x >= r[0] && y >= r[1] && x < r[2] && y < r[3];
        });
        if (!skipped && picture.Pixel(x, y) != golden.Pixel(x, y) && differing++ == 0) {
          ADD_FAILURE() << name << ": first difference at " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(differing, 0) << name;
  }

  const std::string m_Plugin = test::FluxomaticPath();
};

TEST_F(FluxomaticEditor, AsOpenedEqualsTheGoldenPicture) {
  const EditorRun run = this->Run(m_Plugin, {});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_TRUE(run.picture);
  ExpectGolden(*run.picture, "editor_program0.png");
}

TEST_F(FluxomaticEditor, SettingsShowAsInTheGoldenPictureBesideWhatANoteSent) {
  const EditorRun run =
      this->Run(m_Plugin, {"--set", "0=0.787401574", "--set", "1=0.31496063", "--set", "2=0.5",
                           "--set", "3=0.157480315", "--set", "4=1", "--set", "5=1"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_TRUE(run.picture);
  // The golden picture's indicators and controller labels show what a note sent, and
  // this run plays none: their places are left out.
  ExpectGolden(*run.picture, "editor_values.png",
               {{76, 42, 221, 46}, {264, 42, 409, 46}, {210, 86, 252, 104}, {398, 86, 432, 104}});
}

TEST_F(FluxomaticEditor, ClickOnAboutShowsThePanel) {
  const EditorRun run = this->Run(m_Plugin, {"--click", "400,10"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_TRUE(run.picture);
  ExpectGolden(*run.picture, "editor_about.png");
}

TEST_F(FluxomaticEditor, DragOnTheFirstSliderAutomatesItsPositionOver127) {
  const EditorRun run = this->Run(m_Plugin, {"--drag", "70,55:180,55"});
  ASSERT_EQ(run.process.exitCode, 0) << run.process.err;
  ASSERT_FALSE(run.automation.empty()) << "the drag automated nothing";
  const Automation last = run.automation.back();
  EXPECT_EQ(last.index, 0);
  const double position = std::round(last.value * 127.0);
  EXPECT_GT(position, 0.0);
  EXPECT_NEAR(last.value, position / 127.0, 1e-6);
}

}  // namespace
}  // namespace fluxhost

// fluxhost editor photographs the editors of plug-ins written by others under the
// build's Xvfb: each picture has the editor's size and shows more than a blank window.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "png/Png.h"
#include "testsupport/host/FluxhostProcess.h"
#include "testsupport/host/ThirdPartyPlugins.h"

namespace fluxhost {
namespace {

// A drawn editor has many colours; a blank or single-colour window a handful.
constexpr size_t kFewestColours = 16;

void ExpectPhotographed(const char* plugin) {
  test::ScratchDir dir;
  const std::string pngFile = dir.File("editor.png");
  const auto result = test::RunFluxhostProcess(dir, {"editor", plugin, "--png", pngFile});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ASSERT_TRUE(std::filesystem::exists(pngFile)) << "no picture from " << plugin;
  const png::Picture picture = png::ReadFile(pngFile);
  EXPECT_GE(picture.width, 100);
  EXPECT_GE(picture.height, 100);
  const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
  EXPECT_GE(colours.size(), kFewestColours) << plugin << "'s editor looks blank";
}

TEST(ThirdPartyEditors, InstrumentEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kInstrument);
  ExpectPhotographed(test::kInstrument);
}

TEST(ThirdPartyEditors, EffectEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kEffect);
  ExpectPhotographed(test::kEffect);
}

TEST(ThirdPartyEditors, TriggerEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kTrigger);
  ExpectPhotographed(test::kTrigger);
}

}  // namespace
}  // namespace fluxhost

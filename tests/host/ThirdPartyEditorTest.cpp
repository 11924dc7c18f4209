// fluxhost editor photographs the editors of plug-ins written by others under the
// build's Xvfb: each picture has the editor's size and shows more than a blank window.
#include <gtest/gtest.h>

#include <set>

#include "FluxhostProcess.h"
#include "ThirdPartyPlugins.h"
#include "ui/PngFile.h"

namespace fluxhost {
namespace {

// A drawn editor has many colours; a blank or single-colour window a handful.
constexpr size_t kFewestColours = 16;

void expectPhotographed(const char* plugin) {
  test::ScratchDir dir;
  const std::string png = dir.file("editor.png");
  const auto result = test::runFluxhostProcess(dir, {"editor", plugin, "--png", png});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto picture = uitest::ReadPng(png);
  ASSERT_TRUE(picture) << "no picture from " << plugin;
  EXPECT_GE(picture->Width(), 100);
  EXPECT_GE(picture->Height(), 100);
  std::set<uint32_t> colours;
  for (int32_t y = 0; y < picture->Height(); ++y) {
    for (int32_t x = 0; x < picture->Width(); ++x) colours.insert(picture->Pixel(x, y));
  }
  EXPECT_GE(colours.size(), kFewestColours) << plugin << "'s editor looks blank";
}

TEST(ThirdPartyEditors, InstrumentEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kInstrument);
  expectPhotographed(test::kInstrument);
}

TEST(ThirdPartyEditors, EffectEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kEffect);
  expectPhotographed(test::kEffect);
}

TEST(ThirdPartyEditors, TriggerEditorIsPhotographed) {
  REQUIRE_PLUGIN(test::kTrigger);
  expectPhotographed(test::kTrigger);
}

}  // namespace
}  // namespace fluxhost

#pragma once
// A picture compared pixel for pixel with a committed golden PNG file. FLUX_UPDATE_GOLDEN=1
// rewrites the file after a deliberate change (then look at it); a picture that differs is saved
// as <name>_actual.png in the working folder, for a person to compare.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "png/Png.h"

namespace testsupport {

inline ::testing::AssertionResult MatchesGoldenFile(const png::Picture& shown,
                                                    const std::string& goldenFile) {
  if (std::getenv("FLUX_UPDATE_GOLDEN")) png::WriteFile(goldenFile, shown);
  png::Picture golden;
  try {
    golden = png::ReadFile(goldenFile);
  } catch (const png::Error& error) {
    return ::testing::AssertionFailure() << error.what();
  }
  if (shown == golden) return ::testing::AssertionSuccess();
  const std::string actual = std::filesystem::path(goldenFile).stem().string() + "_actual.png";
  png::WriteFile(actual, shown);
  auto failure = ::testing::AssertionFailure()
                 << "differs from " << goldenFile << "; see " << actual << ": ";
  if (shown.width != golden.width || shown.height != golden.height) {
    return failure << "shown " << shown.width << " x " << shown.height << ", golden "
                   << golden.width << " x " << golden.height;
  }
  std::size_t differing = 0, first = shown.pixels.size();
  for (std::size_t i = 0; i < shown.pixels.size(); ++i) {
    if (shown.pixels[i] == golden.pixels[i]) continue;
    if (differing++ == 0) first = i;
  }
  const auto width = static_cast<std::size_t>(shown.width);
  return failure << differing << " pixels differ, the first at (" << first % width << ", "
                 << first / width << "): shown " << std::hex << shown.pixels[first] << ", golden "
                 << golden.pixels[first];
}

}  // namespace testsupport

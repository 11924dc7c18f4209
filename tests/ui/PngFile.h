#pragma once
// Surfaces as 8-bit RGB PNG files (the mask byte is not stored), for golden images that a
// person can open and look at.

#include <optional>
#include <string>

#include "ui/graphics/Surface.h"

namespace uitest {

bool WritePng(const std::string& fileName, const ui::Surface& surface);
// Mask bytes read as 0; none when the file is missing or not an 8-bit RGB PNG.
std::optional<ui::Surface> ReadPng(const std::string& fileName);

}  // namespace uitest

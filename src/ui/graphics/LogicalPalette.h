#pragma once
// A logical palette: the colours a window asks a palette display (8 bits per pixel) to show.
// Selected into a device context and realised there, its colours enter the system palette.

#include <span>
#include <vector>

#include "platform/Backend.h"

namespace ui {

using PaletteEntry = platform::PaletteEntry;

class LogicalPalette {
 public:
  explicit LogicalPalette(std::span<const PaletteEntry> entries)
      : m_Entries(entries.begin(), entries.end()) {}

  std::span<const PaletteEntry> Entries() const { return m_Entries; }

 private:
  std::vector<PaletteEntry> m_Entries;
};

}  // namespace ui

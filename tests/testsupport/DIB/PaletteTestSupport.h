#pragma once
// For the palette tests: the nearest palette entry searched the plain way, and access to a
// palette component's stored binary properties.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "DIB/cDIBPalette.h"
#include "ui/graphics/LogicalPalette.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/PropertyFiler.h"

namespace dibtest {

// Entry 0 first, a later entry only when strictly closer, an exact match ending the search.
inline uint8_t NearestEntry(std::span<const ui::PaletteEntry> entries, int red, int green,
                            int blue) {
  const auto distance = [&](const ui::PaletteEntry& e) {
    return (e.red - red) * (e.red - red) + (e.green - green) * (e.green - green) +
           (e.blue - blue) * (e.blue - blue);
  };
  std::size_t best = 0;
  int bestDistance = distance(entries[0]);
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const int d = distance(entries[i]);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
    if (d == 0) break;
  }
  return static_cast<uint8_t>(best);
}

// Hands a component's binary properties to a test: writes them all, or reads one of them.
class BinaryFiler : public ui::PropertyFiler {
 public:
  std::map<std::string, std::vector<uint8_t>, std::less<>> written;
  std::string readName;
  std::vector<uint8_t> readBytes;

  void DefineProperty(std::string_view, const ValueReadProc&, const ValueWriteProc&,
                      bool) override {}
  void DefineBinaryProperty(std::string_view name, const BinaryReadProc& read,
                            const BinaryWriteProc& write, bool hasData) override {
    if (name == readName) {
      ui::MemoryStream data(readBytes);
      read(data);
    } else if (readName.empty() && hasData) {
      ui::MemoryStream data;
      write(data);
      written[std::string(name)] = data.Bytes();
    }
  }
};

inline std::map<std::string, std::vector<uint8_t>, std::less<>> Stored(TDIBPalette& palette) {
  BinaryFiler filer;
  palette.DefineProperties(filer);
  return filer.written;
}

inline void ReadStored(TDIBPalette& palette, const std::string& name, std::vector<uint8_t> bytes) {
  BinaryFiler filer;
  filer.readName = name;
  filer.readBytes = std::move(bytes);
  palette.DefineProperties(filer);
}

// 235 colourful entries, as red, green, blue, flags bytes.
inline std::vector<uint8_t> ColourfulBytes() {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 235; ++i) {
    bytes.insert(bytes.end(), {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(i * 13 + 5),
                               static_cast<uint8_t>(255 - i), 0});
  }
  return bytes;
}

}  // namespace dibtest

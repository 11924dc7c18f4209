#pragma once
// Writes small uncompressed bitmap files into the temporary folder for the import tests.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace dibtest {

// A bitmap file whose pixels are all (blue, green, red[, mask]).
inline std::filesystem::path WriteBmp(const char* name, int32_t width, int32_t height,
                                      uint16_t bits, std::vector<uint8_t> pixel) {
  const uint32_t stride = (static_cast<uint32_t>(width) * bits / 8u + 3) & ~3u;
  std::vector<uint8_t> file{'B', 'M'};
  const auto put = [&file](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  put(54 + stride * static_cast<uint32_t>(height), 4), put(0, 4), put(54, 4), put(40, 4);
  put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4);
  put(1, 2), put(bits, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  for (int32_t row = 0; row < height; ++row) {
    const std::size_t start = file.size();
    for (int32_t x = 0; x < width; ++x) file.insert(file.end(), pixel.begin(), pixel.end());
    file.resize(start + stride, 0);
  }
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return path;
}

}  // namespace dibtest

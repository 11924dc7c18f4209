#include "png/Format.h"

#include <zlib.h>

namespace png::format {

uint32_t ReadBigEndian(const uint8_t* bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                         static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

uint32_t Crc(std::span<const uint8_t> typeAndData) {
  // A chunk holds at most 2^31 - 1 bytes, which zlib's length type always takes.
  return static_cast<uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), typeAndData.data(), static_cast<uInt>(typeAndData.size())));
}

void AppendChunk(std::vector<uint8_t>& file, std::string_view type, std::span<const uint8_t> data) {
  AppendBigEndian(file, static_cast<uint32_t>(data.size()));
  const std::size_t typeAt = file.size();
  file.insert(file.end(), type.begin(), type.end());
  file.insert(file.end(), data.begin(), data.end());
  AppendBigEndian(file, Crc(std::span(file).subspan(typeAt)));
}

}  // namespace png::format

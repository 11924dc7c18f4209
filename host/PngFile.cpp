#include "PngFile.h"

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "FileIo.h"

namespace fluxhost {

namespace {

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  out.insert(out.end(), {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                         static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

// A chunk: its length, its type, its data, and the checksum of type and data.
void appendChunk(std::vector<uint8_t>& out, std::string_view type,
                 const std::vector<uint8_t>& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const uLong checksum =
      crc32(crc32(0L, Z_NULL, 0), out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  appendBigEndian(out, static_cast<uint32_t>(checksum));
}

// The rows as the format stores them before compression: each one a filter byte (none)
// followed by its pixels' red, green and blue bytes.
std::vector<uint8_t> unfilteredRows(const Picture& picture) {
  std::vector<uint8_t> rows;
  rows.reserve(picture.pixels.size() * 3 + static_cast<size_t>(picture.height));
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    if (i % static_cast<size_t>(picture.width) == 0) rows.push_back(0);
    const uint32_t pixel = picture.pixels[i];
    rows.insert(rows.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                             static_cast<uint8_t>(pixel)});
  }
  return rows;
}

}  // namespace

void writePngFile(const std::string& path, const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() !=
          static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
    throw std::runtime_error("cannot encode the picture for '" + path +
                             "': it has no pixels or not as many as its size says");
  }
  const std::vector<uint8_t> rows = unfilteredRows(picture);
  uLongf compressedSize = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> compressed(compressedSize);
  if (compress(compressed.data(), &compressedSize, rows.data(), static_cast<uLong>(rows.size())) !=
      Z_OK) {
    throw std::runtime_error("cannot encode the picture for '" + path + "': zlib failed");
  }
  compressed.resize(compressedSize);

  std::vector<uint8_t> header;
  appendBigEndian(header, static_cast<uint32_t>(picture.width));
  appendBigEndian(header, static_cast<uint32_t>(picture.height));
  // 8 bits a channel, RGB, the standard compression and filters, not interlaced.
  header.insert(header.end(), {8, 2, 0, 0, 0});

  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  appendChunk(file, "IHDR", header);
  appendChunk(file, "IDAT", compressed);
  appendChunk(file, "IEND", {});
  writeBinaryFile(path, file);
}

}  // namespace fluxhost

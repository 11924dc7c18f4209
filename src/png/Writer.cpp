// Encoding: every row unfiltered, the rows in one zlib stream, in one IDAT chunk.
#include <zlib.h>

#include <string>

#include "png/Format.h"
#include "png/Png.h"

namespace png {
namespace {

using namespace format;

// Each row a filter type byte (none) and its pixels' bytes: red, green, blue, then alpha.
std::vector<uint8_t> StoredRows(const Picture& picture, Channels channels) {
  std::vector<uint8_t> rows;
  rows.reserve(picture.pixels.size() * (channels == Channels::Rgba ? 4 : 3) +
               static_cast<std::size_t>(picture.height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    if (i % static_cast<std::size_t>(picture.width) == 0) rows.push_back(0);
    const uint32_t pixel = picture.pixels[i];
    rows.insert(rows.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                             static_cast<uint8_t>(pixel)});
    if (channels == Channels::Rgba) rows.push_back(static_cast<uint8_t>(pixel >> 24));
  }
  return rows;
}

}  // namespace

std::vector<uint8_t> Encode(const Picture& picture, Channels channels) {
  const std::string size = std::to_string(picture.width) + " x " + std::to_string(picture.height);
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() !=
          static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
    throw Error("cannot encode a picture of " + size + " with " +
                std::to_string(picture.pixels.size()) + " pixels");
  }
  const std::vector<uint8_t> rows = StoredRows(picture, channels);
  // Even rows that do not compress at all then fit one chunk.
  if (rows.size() > kLongestChunk / 2) throw Error("a picture of " + size + " is too large");
  uLongf compressedSize = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> compressed(compressedSize);
  if (compress2(compressed.data(), &compressedSize, rows.data(), static_cast<uLong>(rows.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw Error("zlib cannot compress a picture of " + size);
  }
  compressed.resize(compressedSize);

  std::vector<uint8_t> header;
  AppendBigEndian(header, static_cast<uint32_t>(picture.width));
  AppendBigEndian(header, static_cast<uint32_t>(picture.height));
  // 8 bits a channel; compression, filter method and interlace all 0: deflate, the five row
  // filters, not interlaced.
  header.insert(header.end(), {8, channels == Channels::Rgba ? kColourRgba : kColourRgb, 0, 0, 0});

  std::vector<uint8_t> file(kSignature.begin(), kSignature.end());
  AppendChunk(file, "IHDR", header);
  AppendChunk(file, "IDAT", compressed);
  AppendChunk(file, "IEND", {});
  return file;
}

}  // namespace png

// Decoding: the chunks are checked one by one, the IDAT data inflated to exactly the rows that
// IHDR promises, and each row unfiltered against the one above it.
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "png/Format.h"
#include "png/Png.h"
#include "png/RowFilters.h"

namespace png {
namespace {

using namespace format;

struct Chunk {
  std::string type;
  std::span<const uint8_t> data;
};

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t pixelBytes = 0;
};

// Deflate packs at most about 1032 bytes into one: a picture larger than that many times its
// compressed data cannot be in it, and is refused before anything is allocated for it.
constexpr std::size_t kMostInflation = 1032;

bool IsLetter(uint8_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The chunk at `at`, whole and matching its CRC.
Chunk ChunkAt(std::span<const uint8_t> file, std::size_t at) {
  if (file.size() - at < kChunkFraming) throw Error("truncated: the file ends before IEND");
  const uint32_t length = ReadBigEndian(&file[at]);
  const std::span<const uint8_t> type = file.subspan(at + 4, 4);
  if (!std::all_of(type.begin(), type.end(), IsLetter))
    throw Error("corrupt chunk: its type is not four letters");
  Chunk chunk{std::string(type.begin(), type.end()), {}};
  if (length > kLongestChunk || length > file.size() - at - kChunkFraming) {
    throw Error("truncated: chunk " + chunk.type + " should hold " + std::to_string(length) +
                " bytes, the file ends before");
  }
  chunk.data = file.subspan(at + 8, length);
  if (Crc(file.subspan(at + 4, 4 + length)) != ReadBigEndian(&file[at + 8 + length]))
    throw Error("corrupt chunk " + chunk.type + ": bad CRC");
  return chunk;
}

Header HeaderOf(const Chunk& chunk) {
  if (chunk.type != "IHDR") throw Error("the first chunk is " + chunk.type + ", not IHDR");
  if (chunk.data.size() != kHeaderLength) throw Error("IHDR is not 13 bytes long");
  const uint8_t* fields = chunk.data.data();
  const uint32_t width = ReadBigEndian(fields);
  const uint32_t height = ReadBigEndian(fields + 4);
  const uint8_t depth = fields[8], colour = fields[9], interlace = fields[12];
  if (width == 0 || height == 0 || width > kLongestChunk || height > kLongestChunk) {
    throw Error("IHDR gives an impossible size of " + std::to_string(width) + " x " +
                std::to_string(height));
  }
  if (fields[10] != 0 || fields[11] != 0) throw Error("IHDR names an unknown method");
  if (depth != 8 || (colour != kColourRgb && colour != kColourRgba) || interlace != 0) {
    throw Error("unsupported kind of PNG (bit depth " + std::to_string(depth) + ", colour type " +
                std::to_string(colour) + ", interlace " + std::to_string(interlace) +
                "): only 8-bit RGB or RGBA, not interlaced");
  }
  return {width, height, colour == kColourRgb ? 3u : 4u};
}

// The stored rows, each a filter type byte and the row's filtered bytes: exactly as many as
// IHDR promises, from one zlib stream that fills `compressed`.
std::vector<uint8_t> Inflated(std::span<const uint8_t> compressed, const Header& header) {
  // At most (4 (2^31 - 1) + 1) (2^31 - 1), below 2^64.
  const uint64_t expected =
      (1 + uint64_t{header.width} * header.pixelBytes) * uint64_t{header.height};
  const std::string promised = std::to_string(expected) + " bytes of rows that IHDR promises";
  if (expected / kMostInflation > compressed.size())
    throw Error("IDAT is too short to hold the " + promised);
  if (expected >= std::numeric_limits<uInt>::max()) throw Error("the picture is too large");
  std::vector<uint8_t> rows(static_cast<std::size_t>(expected) +
                            1);  // a byte over, to notice a stream that runs on
  z_stream stream{};
  stream.next_in = const_cast<Bytef*>(compressed.data());  // zlib's input is never written
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = rows.data();
  stream.avail_out = static_cast<uInt>(rows.size());
  if (inflateInit(&stream) != Z_OK) throw Error("zlib cannot start inflating");
  const int result = inflate(&stream, Z_FINISH);
  const std::string reason = stream.msg ? stream.msg : "error " + std::to_string(result);
  const uInt unused = stream.avail_in, room = stream.avail_out;
  inflateEnd(&stream);
  if (result != Z_STREAM_END && result != Z_BUF_ERROR)
    throw Error("IDAT is corrupt: zlib: " + reason);
  if (room == 0) throw Error("IDAT holds more than the " + promised);
  if (result == Z_BUF_ERROR) throw Error("IDAT ends before the " + promised);
  if (room != 1) throw Error("IDAT holds fewer than the " + promised);
  if (unused != 0) throw Error("IDAT holds data after its compressed stream");
  rows.pop_back();
  return rows;
}

Picture Unfiltered(const Header& header, std::vector<uint8_t>& rows) {
  const std::size_t rowBytes = std::size_t{header.width} * header.pixelBytes;
  const std::vector<uint8_t> zeros(rowBytes);
  std::span<const uint8_t> above = zeros;
  Picture picture{static_cast<int32_t>(header.width), static_cast<int32_t>(header.height), {}};
  picture.pixels.reserve(std::size_t{header.width} * header.height);
  for (std::size_t y = 0; y < header.height; ++y) {
    uint8_t* stored = rows.data() + y * (rowBytes + 1);
    const std::span<uint8_t> row(stored + 1, rowBytes);
    Unfilter(stored[0], row, above, header.pixelBytes);
    for (std::size_t i = 0; i < rowBytes; i += header.pixelBytes) {
      const uint32_t alpha = header.pixelBytes == 4 ? row[i + 3] : 0;
      picture.pixels.push_back(alpha << 24 | uint32_t{row[i]} << 16 | uint32_t{row[i + 1]} << 8 |
                               row[i + 2]);
    }
    above = row;
  }
  return picture;
}

}  // namespace

Picture Decode(std::span<const uint8_t> file) {
  if (file.size() < kSignature.size() ||
      !std::equal(kSignature.begin(), kSignature.end(), file.begin()))
    throw Error("not a PNG file: no PNG signature");
  std::optional<Header> header;
  std::vector<uint8_t> compressed;
  for (std::size_t at = kSignature.size();;) {
    const Chunk chunk = ChunkAt(file, at);
    at += kChunkFraming + chunk.data.size();
    if (!header) {
      header = HeaderOf(chunk);
    } else if (chunk.type == "IDAT") {
      compressed.insert(compressed.end(), chunk.data.begin(), chunk.data.end());
    } else if (chunk.type == "IEND") {
      break;
    } else if (chunk.type[0] <= 'Z' && chunk.type != "PLTE") {
      // A critical chunk that 8-bit truecolour cannot use (an optional PLTE only suggests).
      throw Error("unexpected chunk " + chunk.type);
    }
  }
  if (compressed.empty()) throw Error("no IDAT chunk");
  std::vector<uint8_t> rows = Inflated(compressed, *header);
  return Unfiltered(*header, rows);
}

}  // namespace png

#include "ui/graphics/GraphicError.h"
#include "ui/graphics/PictureDecoders.h"

namespace ui {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int32_t kMaxSide = 32767;
constexpr uint32_t kUncompressed = 0, kBitFields = 3;

uint32_t ReadU32(std::span<const uint8_t> data, std::size_t at) {
  return uint32_t{data[at]} | uint32_t{data[at + 1]} << 8 | uint32_t{data[at + 2]} << 16 |
         uint32_t{data[at + 3]} << 24;
}
uint16_t ReadU16(std::span<const uint8_t> data, std::size_t at) {
  return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

[[noreturn]] void Invalid() {
  throw GraphicError("Bitmap image is not valid");
}

}  // namespace

DecodedBitmap DecodeBmp(std::span<const uint8_t> data) {
  if (data.size() < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
    Invalid();
  const uint32_t pixelOffset = ReadU32(data, 10);
  const uint32_t headerSize = ReadU32(data, 14);
  const auto width = static_cast<int32_t>(ReadU32(data, 18));
  const auto signedHeight = static_cast<int32_t>(ReadU32(data, 22));
  const uint16_t planes = ReadU16(data, 26);
  const uint16_t bits = ReadU16(data, 28);
  const uint32_t compression = ReadU32(data, 30);
  const bool topDown = signedHeight < 0;
  const int64_t rows = topDown ? -int64_t{signedHeight} : signedHeight;
  if (headerSize < kInfoHeaderSize || planes != 1 || (bits != 24 && bits != 32) || width <= 0 ||
      width > kMaxSide || rows <= 0 || rows > kMaxSide) {
    Invalid();
  }
  const auto height = static_cast<int32_t>(rows);
  // 32-bit files may give their channel masks; only the usual order is read.
  if (compression == kBitFields && bits == 32) {
    if (data.size() < kFileHeaderSize + kInfoHeaderSize + 12 || ReadU32(data, 54) != 0x00FF0000 ||
        ReadU32(data, 58) != 0x0000FF00 || ReadU32(data, 62) != 0x000000FF) {
      Invalid();
    }
  } else if (compression != kUncompressed) {
    Invalid();
  }
  const std::size_t bytesPerPixel = bits / 8u;
  const std::size_t stride =
      (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t{3};
  if (pixelOffset > data.size() ||
      (data.size() - pixelOffset) / stride < static_cast<std::size_t>(height)) {
    Invalid();
  }

  DecodedBitmap result{Surface(width, height), bits};
  for (int32_t y = 0; y < height; ++y) {
    // Stored rows run bottom-up unless the height is negative.
    const int32_t fileRow = topDown ? y : height - 1 - y;
    const uint8_t* in = data.data() + pixelOffset + static_cast<std::size_t>(fileRow) * stride;
    uint32_t* out = result.surface.ScanLine(y);
    for (int32_t x = 0; x < width; ++x, in += bytesPerPixel) {
      const uint32_t mask = bits == 32 ? uint32_t{in[3]} << 24 : 0;
      out[x] = mask | uint32_t{in[2]} << 16 | uint32_t{in[1]} << 8 | in[0];
    }
  }
  return result;
}

}  // namespace ui

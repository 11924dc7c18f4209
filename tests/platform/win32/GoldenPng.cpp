#include "platform/win32/GoldenPng.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace win32test {
namespace {

uint32_t BigEndian(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

unsigned char Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<unsigned char>(a);
  return static_cast<unsigned char>(pb <= pc ? b : c);
}

// Undoes each row's filter in place; false for an unknown filter.
bool Unfilter(std::vector<unsigned char>& data, std::size_t rowBytes, std::size_t rows,
              std::size_t pixelBytes) {
  for (std::size_t y = 0; y < rows; ++y) {
    unsigned char* row = data.data() + y * (rowBytes + 1);
    const unsigned char* up = y > 0 ? row - (rowBytes + 1) + 1 : nullptr;
    const unsigned char filter = row[0];
    unsigned char* bytes = row + 1;
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const int a = i >= pixelBytes ? bytes[i - pixelBytes] : 0;
      const int b = up ? up[i] : 0;
      const int c = up && i >= pixelBytes ? up[i - pixelBytes] : 0;
      switch (filter) {
        case 0:
          break;
        case 1:
          bytes[i] = static_cast<unsigned char>(bytes[i] + a);
          break;
        case 2:
          bytes[i] = static_cast<unsigned char>(bytes[i] + b);
          break;
        case 3:
          bytes[i] = static_cast<unsigned char>(bytes[i] + (a + b) / 2);
          break;
        case 4:
          bytes[i] = static_cast<unsigned char>(bytes[i] + Paeth(a, b, c));
          break;
        default:
          return false;
      }
    }
  }
  return true;
}

}  // namespace

std::optional<Picture> ReadPng(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return std::nullopt;
  Picture picture;
  std::size_t pixelBytes = 0;
  std::vector<unsigned char> compressed;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const uint32_t length = BigEndian(&bytes[at]);
    if (length > bytes.size() - at - 12) return std::nullopt;
    const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
    const unsigned char* body = &bytes[at + 8];
    if (type == "IHDR" && length >= 13) {
      picture.width = static_cast<int32_t>(BigEndian(body));
      picture.height = static_cast<int32_t>(BigEndian(body + 4));
      const unsigned char depth = body[8], colour = body[9], interlace = body[12];
      if (depth != 8 || (colour != 2 && colour != 6) || interlace != 0) return std::nullopt;
      pixelBytes = colour == 2 ? 3 : 4;
    } else if (type == "IDAT") {
      compressed.insert(compressed.end(), body, body + length);
    } else if (type == "IEND") {
      break;
    }
    at += 12 + length;
  }
  if (pixelBytes == 0 || picture.width <= 0 || picture.height <= 0) return std::nullopt;
  const std::size_t width = static_cast<std::size_t>(picture.width);
  const std::size_t height = static_cast<std::size_t>(picture.height);
  const std::size_t rowBytes = width * pixelBytes;
  std::vector<unsigned char> raw(height * (rowBytes + 1));
  uLongf rawSize = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawSize, compressed.data(), static_cast<uLong>(compressed.size())) !=
          Z_OK ||
      rawSize != raw.size() || !Unfilter(raw, rowBytes, height, pixelBytes)) {
    return std::nullopt;
  }
  picture.pixels.reserve(width * height);
  for (std::size_t y = 0; y < height; ++y) {
    const unsigned char* p = raw.data() + y * (rowBytes + 1) + 1;
    for (std::size_t x = 0; x < width; ++x, p += pixelBytes) {
      picture.pixels.push_back(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  }
  return picture;
}

}  // namespace win32test

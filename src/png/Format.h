#pragma once
// What every PNG file shares: the signature, then chunks, each a big-endian length, a type of
// four letters, the data, and a CRC-32 of type and data; the first chunk, IHDR, gives the size
// and the kind of pixels.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace png::format {

inline constexpr std::array<uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
inline constexpr uint32_t kLongestChunk = 0x7FFFFFFF;  // also the largest width and height
inline constexpr std::size_t kChunkFraming = 12;       // length, type and CRC
inline constexpr std::size_t kHeaderLength = 13;
inline constexpr uint8_t kColourRgb = 2;
inline constexpr uint8_t kColourRgba = 6;

uint32_t ReadBigEndian(const uint8_t* bytes);
void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value);
uint32_t Crc(std::span<const uint8_t> typeAndData);
void AppendChunk(std::vector<uint8_t>& file, std::string_view type, std::span<const uint8_t> data);

}  // namespace png::format

#pragma once
// Pluggable compression of the image "Data" stream. Compressed data is stored as "DIBCMP", the
// compressor's identifier, the length of the uncompressed form and the compressed bytes; it is
// read by the most recently registered compressor that accepts the identifier.
//
// The registry and the current compressor are process-wide and unguarded: use them on the
// user-interface thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "DIB/cDIB.h"

class TDIBCompressor {
 public:
  TDIBCompressor() = default;
  TDIBCompressor(const TDIBCompressor&) = delete;
  TDIBCompressor& operator=(const TDIBCompressor&) = delete;
  virtual ~TDIBCompressor() = default;

  virtual TDIBId GetId() const = 0;
  virtual bool CanDecompress(const TDIBId& id) const = 0;
  // Compresses data (the uncompressed form of image) into target, which is as long as data.
  // Returns the number of bytes written, 0 when it did not compress.
  virtual std::size_t Compress(const TAbstractSuperDIB& image, std::span<const uint8_t> data,
                               std::span<uint8_t> target) = 0;
  // Fills all of target (the uncompressed length) from data, which was compressed by a
  // compressor with that id; EDIBCompressError when data is not such compressed bytes.
  virtual void Decompress(const TAbstractSuperDIB& image, const TDIBId& id,
                          std::span<const uint8_t> data, std::span<uint8_t> target) = 0;
};

// Owned entries, the first registered first; empty until something registers.
std::vector<std::unique_ptr<TDIBCompressor>>& RegisteredCompressors();
// The compressor that "Data" is written with; none (uncompressed) by default. Not owned.
TDIBCompressor* CurrentCompressor();
void SetCurrentCompressor(TDIBCompressor* compressor);
// The most recently registered compressor that accepts id; none when there is none.
TDIBCompressor* FindDecompressor(const TDIBId& id);

// The compressed form is read only up to this uncompressed length (an image of 8192 x 8192),
// so that a hostile length cannot demand an absurd buffer; longer forms are written
// uncompressed.
inline constexpr std::size_t kMaxCompressedDataLength = 4 + std::size_t{4} * 8192 * 8192;

#pragma once
// A compressor for the image "Data" stream that exists on every target: run-length coding of
// 4-byte units (the size header, then whole pixels), which suits skin images with large areas
// of one colour. Not registered by default.
//
// Coded form: a control byte c, then either c + 1 literal units (c < 128) or one unit that
// repeats c - 126 times (c >= 128, runs of 2 to 129).

#include "DIB/cDIBCompressor.h"

class TDIBRunLengthCompressor : public TDIBCompressor {
 public:
  // {0F7C0A7F-7483-469D-8DFA-D8CA092F53A4}
  static constexpr TDIBId kId = {0x7F, 0x0A, 0x7C, 0x0F, 0x83, 0x74, 0x9D, 0x46,
                                 0x8D, 0xFA, 0xD8, 0xCA, 0x09, 0x2F, 0x53, 0xA4};

  TDIBId GetId() const override { return kId; }
  bool CanDecompress(const TDIBId& id) const override { return id == kId; }
  // 0 when data is not whole units or coding would not make it shorter.
  std::size_t Compress(const TAbstractSuperDIB& image, std::span<const uint8_t> data,
                       std::span<uint8_t> target) override;
  // EDIBCompressError unless data codes exactly target's length.
  void Decompress(const TAbstractSuperDIB& image, const TDIBId& id, std::span<const uint8_t> data,
                  std::span<uint8_t> target) override;
};

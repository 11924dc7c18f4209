#include "DIB/cDIBCompressor.h"

#include <algorithm>

namespace {

TDIBCompressor*& Current() {
  static TDIBCompressor* current = nullptr;
  return current;
}

}  // namespace

std::vector<std::unique_ptr<TDIBCompressor>>& RegisteredCompressors() {
  static std::vector<std::unique_ptr<TDIBCompressor>> compressors;
  return compressors;
}

TDIBCompressor* CurrentCompressor() {
  return Current();
}

void SetCurrentCompressor(TDIBCompressor* compressor) {
  Current() = compressor;
}

TDIBCompressor* FindDecompressor(const TDIBId& id) {
  const auto& compressors = RegisteredCompressors();
  const auto found = std::find_if(
      compressors.rbegin(), compressors.rend(),
      [&id](const std::unique_ptr<TDIBCompressor>& c) { return c->CanDecompress(id); });
  return found == compressors.rend() ? nullptr : found->get();
}

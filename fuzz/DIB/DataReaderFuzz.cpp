// Reads arbitrary bytes as an image's "Data", with the run-length compressor registered so
// that the compressed form is read too: only framework errors may come out, a refused read
// leaves the image as it was, and an accepted one writes back to data that reads the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

#include "DIB/DIBRunLengthCompressor.h"
#include "DIB/cDIB.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"

namespace {

bool SamePixels(const TAbstractSuperDIB& a, const TAbstractSuperDIB& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Pixels(), b.Pixels(), std::size_t{a.Width()} * a.Height() * 4) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (RegisteredCompressors().empty()) {
    RegisteredCompressors().push_back(std::make_unique<TDIBRunLengthCompressor>());
  }
  TWinDIB image(2, 3);  // cleared pixels
  const TWinDIB before(2, 3);
  try {
    ui::MemoryStream stream(std::span<const uint8_t>(data, size));
    image.ReadData(stream);
  } catch (const ui::Exception&) {
    if (!SamePixels(image, before)) std::abort();
    return 0;
  }
  for (TDIBCompressor* compressor :
       {static_cast<TDIBCompressor*>(nullptr), RegisteredCompressors().front().get()}) {
    SetCurrentCompressor(compressor);
    ui::MemoryStream written;
    image.WriteData(written);
    TMemoryDIB again;
    written.SetPosition(0);
    again.ReadData(written);
    if (!SamePixels(image, again)) std::abort();
  }
  SetCurrentCompressor(nullptr);
  return 0;
}

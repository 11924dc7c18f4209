// Reads arbitrary bytes as an RSB file: only framework errors may come out, and a refused file
// leaves the image as it was.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "DIB/cDIBFormat.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryDIB image(3, 2);
  image.Fill(ui::clTeal);
  TDIBRSBFormat format;
  format.SetDIB(&image);
  try {
    ui::MemoryStream stream(std::span<const uint8_t>(data, size));
    format.LoadFromStream(stream);
  } catch (const ui::Exception&) {
    if (image.Width() != 3 || image.Height() != 2 || image.Masked() ||
        image.Pixels()[5] != ui::ColorToPixel(ui::clTeal)) {
      std::abort();
    }
    return 0;
  }
  ui::MemoryStream written;
  format.SaveToStream(written);
  if (written.Size() != 28 + int64_t{image.Width()} * image.Height() * 2) std::abort();
  return 0;
}

// Reads arbitrary bytes as a JPEG or bitmap picture: only the framework's graphic error may come
// out, and a refused picture leaves the loaded one as it was.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "ui/graphics/GraphicError.h"
#include "ui/graphics/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ui::Picture picture;
  try {
    picture.LoadFromMemory(std::span<const uint8_t>(data, size));
  } catch (const ui::GraphicError&) {
    if (!picture.Empty()) std::abort();
    return 0;
  }
  if (picture.Empty()) std::abort();
  return 0;
}

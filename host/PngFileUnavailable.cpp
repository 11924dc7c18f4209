// A build without libpng (the 32-bit Windows one): pictures cannot be saved.
#include <stdexcept>

#include "PngFile.h"

namespace fluxhost {

void writePngFile(const std::string& path, const Picture&) {
  throw std::runtime_error("cannot write '" + path +
                           "': this build of fluxhost has no PNG support");
}

}  // namespace fluxhost

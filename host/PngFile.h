#pragma once
// Pictures saved as 8-bit RGB PNG files, compressed with zlib (no PNG library needed).

#include <string>

#include "EditorWindow.h"

namespace fluxhost {

// Throws std::runtime_error naming the file when it cannot be written.
void writePngFile(const std::string& path, const Picture& picture);

}  // namespace fluxhost

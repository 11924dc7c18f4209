#pragma once
// PNG files of 8-bit RGB or RGBA pictures, not interlaced, made and read with zlib alone: the
// tests' golden pictures, fluxhost's screenshots, the tools' previews. Any other kind of PNG,
// and any damaged or truncated file, is refused with an Error that says what is wrong.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "png/Picture.h"

namespace png {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Channels { Rgb, Rgba };  // what the file keeps of each pixel

// Throws for a picture with no pixels, or not as many as its size says.
std::vector<uint8_t> Encode(const Picture& picture, Channels channels = Channels::Rgb);
Picture Decode(std::span<const uint8_t> file);

// As above; each message starts with the file's name.
void WriteFile(const std::string& fileName, const Picture& picture,
               Channels channels = Channels::Rgb);
Picture ReadFile(const std::string& fileName);

}  // namespace png

#include "ui/graphics/Picture.h"

#include <fstream>
#include <vector>

#include "ui/graphics/Blit.h"
#include "ui/graphics/GraphicError.h"
#include "ui/graphics/PictureDecoders.h"

namespace ui {

void Picture::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw GraphicError("Cannot open file \"" + fileName + "\"");
  // A device or a huge file named as a picture is refused once the limit is
  // passed, instead of filling the memory.
  constexpr std::size_t kMaxFileSize = std::size_t{64} << 20;
  std::vector<uint8_t> data;
  char chunk[65536];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    data.insert(data.end(), chunk, chunk + static_cast<std::size_t>(file.gcount()));
    if (data.size() > kMaxFileSize) throw GraphicError("File \"" + fileName + "\" is too large");
  }
  LoadFromMemory(data);
}

void Picture::LoadFromMemory(std::span<const uint8_t> data) {
  if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    m_Pixels = DecodeJpeg(data);
    m_Format = PictureFormat::Jpeg;
    m_BitsPerPixel = 24;
  } else if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    DecodedBitmap bitmap = DecodeBmp(data);
    m_Pixels = std::move(bitmap.surface);
    m_Format = PictureFormat::Bitmap;
    m_BitsPerPixel = bitmap.bitsPerPixel;
  } else {
    throw GraphicError("Unknown picture format");
  }
}

void Picture::Draw(DeviceContext& dc, const Rect& rect) const {
  if (!Empty()) StretchBlt(dc, rect, m_Pixels, m_Pixels.BoundsRect());
}

}  // namespace ui

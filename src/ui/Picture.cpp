#include "ui/Picture.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "ui/Blit.h"
#include "ui/GraphicError.h"
#include "ui/PictureDecoders.h"

namespace ui {

void Picture::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw GraphicError("Cannot open file \"" + fileName + "\"");
  const std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
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

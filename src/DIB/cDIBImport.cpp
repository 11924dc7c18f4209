// Importing an image, or its mask, from a picture file through the framework's picture loader.

#include "DIB/cDIB.h"
#include "ui/graphics/Blit.h"
#include "ui/graphics/Picture.h"

namespace {

uint16_t PictureSide(int32_t side) {
  if (side < 1 || side > 65535) throw EDIBError("The picture is too large for an image");
  return static_cast<uint16_t>(side);
}

}  // namespace

void TAbstractSuperDIB::LoadImageFromFile(const std::string& fileName) {
  ui::Picture picture;
  picture.LoadFromFile(fileName);
  const uint16_t width = PictureSide(picture.Width());
  const uint16_t height = PictureSide(picture.Height());
  SetSize(width, height);
  TWinDIB drawn(width, height);
  drawn.Canvas().StretchDraw(ui::Bounds(0, 0, width, height), picture);
  CopyPixelsFrom(drawn);
  // A 32-bit bitmap brings its mask in its fourth bytes; anything else is opaque.
  if (picture.Format() == ui::PictureFormat::Bitmap && picture.BitsPerPixel() == 32) {
    SetMasked(true);
  } else {
    FillAlpha(255);
  }
  Changed();
}

void TAbstractSuperDIB::LoadMaskFromFile(const std::string& fileName) {
  if (m_Width == 0 || m_Height == 0) {
    throw EDIBError("You cannot import a mask until you have an image.");
  }
  TWinDIB loaded;
  loaded.LoadImageFromFile(fileName);
  TWinDIB stretched(m_Width, m_Height);
  ui::StretchBlt(stretched.Handle(), ui::Bounds(0, 0, m_Width, m_Height), loaded.Handle(),
                 ui::Bounds(0, 0, loaded.Width(), loaded.Height()));
  const flux::MutablePixelView block = Block();
  const std::size_t count =
      static_cast<std::size_t>(block.width) * static_cast<std::size_t>(block.height);
  for (std::size_t i = 0; i < count; ++i) {
    const uint32_t blue = stretched.Pixels()[i] & 0xFF;
    block.bits[i] = (block.bits[i] & dib::kColorBits) | blue << 24;
  }
  Changed();
}

void TCustomMemoryDIB::LoadImageFromFile(const std::string& fileName) {
  TAbstractSuperDIB::LoadImageFromFile(fileName);
  m_ImageFilename = fileName;
}

void TCustomMemoryDIB::LoadMaskFromFile(const std::string& fileName) {
  TAbstractSuperDIB::LoadMaskFromFile(fileName);
  m_MaskFilename = fileName;
}

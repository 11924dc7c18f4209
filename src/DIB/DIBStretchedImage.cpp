#include "DIB/DIBStretchedImage.h"

#include <algorithm>

TMemoryDIB& TDIBStretchedImage::StretchFrom(const TAbstractSuperDIB& source, uint16_t width,
                                            uint16_t height) {
  const bool sameSize = width == m_Image.Width() && height == m_Image.Height();
  if (!sameSize || !Unchanged(source)) {
    m_Image.SetSize(width, height);
    m_Image.StretchFrom(source);
    const std::size_t count = std::size_t{source.Width()} * source.Height();
    if (source.Pixels() != nullptr && count <= std::size_t{width} * height) {
      m_Source.assign(source.Pixels(), source.Pixels() + count);
      m_SourceWidth = source.Width();
      m_SourceHeight = source.Height();
    } else {
      m_Source.clear();
    }
  }
  source.CopyPropertiesTo(m_Image);
  return m_Image;
}

bool TDIBStretchedImage::Unchanged(const TAbstractSuperDIB& source) const {
  return source.Pixels() != nullptr && !m_Source.empty() && source.Width() == m_SourceWidth &&
         source.Height() == m_SourceHeight &&
         std::equal(m_Source.begin(), m_Source.end(), source.Pixels());
}

#pragma once
// An image kept stretched to a size, for a control that draws a stretched picture at every
// paint. Stretching depends only on the source's pixels and the two sizes, so the pixels are
// stretched again only when one of them differs from the last time; the drawing settings are
// taken from the source every time. A source larger than the result is stretched every time:
// comparing its pixels would cost more than stretching them.

#include <cstdint>
#include <vector>

#include "DIB/cDIB.h"

class TDIBStretchedImage {
 public:
  // source stretched to width x height (each at least 1), with source's drawing settings.
  // Valid until the next call.
  TMemoryDIB& StretchFrom(const TAbstractSuperDIB& source, uint16_t width, uint16_t height);

 private:
  bool Unchanged(const TAbstractSuperDIB& source) const;

  TMemoryDIB m_Image;
  std::vector<uint32_t> m_Source;  // the pixels last stretched, when kept
  uint16_t m_SourceWidth = 0;
  uint16_t m_SourceHeight = 0;
};

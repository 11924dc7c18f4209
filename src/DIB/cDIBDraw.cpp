// Drawing one image into another: clipping, the blit routines, the rotation path, stretching,
// and regions made from a mask or a key colour.

#include <algorithm>
#include <vector>

#include "DIB/cDIB.h"
#include "DIB/pixels/DIBStretch.h"
#include "DIB/pixels/DIBTransform.h"

namespace {

// The area's source pixels in a block of their own, for drawing an image into itself.
std::vector<uint32_t> CopyArea(const flux::PixelView& source, const dib::DrawArea& area) {
  std::vector<uint32_t> copy(static_cast<std::size_t>(area.columns) *
                             static_cast<std::size_t>(area.rows));
  for (int32_t y = 0; y < area.rows; ++y) {
    const uint32_t* from =
        source.bits +
        static_cast<std::ptrdiff_t>(source.height - 1 - (area.srcY + y)) * source.width + area.srcX;
    std::copy(from, from + area.columns,
              copy.begin() + static_cast<std::ptrdiff_t>(area.rows - 1 - y) * area.columns);
  }
  return copy;
}

}  // namespace

// What a drawing takes of the image's settings: Draw passes the image's own, DrawCopy,
// DrawAlpha and DrawMask their own routine (and DrawCopy no rotation or scaling).
struct TAbstractSuperDIB::DrawState {
  dib::BlitKind routine;
  const TAbstractSuperDIB* owner;  // whose Opacity and key colour the routine reads
  uint16_t angle;
  long double scaleX;
  long double scaleY;
};

TAbstractSuperDIB::DrawState TAbstractSuperDIB::OwnDrawState(dib::BlitKind routine) const {
  return {routine, m_DrawRoutineOwner, m_Angle, m_ScaleX, m_ScaleY};
}

void TAbstractSuperDIB::Draw(int32_t destX, int32_t destY, int32_t width, int32_t height,
                             TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) {
  DrawWith(OwnDrawState(m_DrawRoutine), destX, destY, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::DrawCopy(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                 TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) {
  DrawWith({dib::BlitKind::Copy, this, 0, 100.0L, 100.0L}, destX, destY, width, height, dest, srcX,
           srcY);
}

void TAbstractSuperDIB::DrawAlpha(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                  TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) {
  DrawWith(OwnDrawState(dib::BlitKind::Alpha), destX, destY, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::DrawMask(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                 TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) {
  DrawWith(OwnDrawState(dib::BlitKind::MaskAsGrey), destX, destY, width, height, dest, srcX, srcY);
}

void TAbstractSuperDIB::DrawWith(const DrawState& state, int32_t destX, int32_t destY,
                                 int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                 uint16_t srcX, uint16_t srcY) const {
  if (state.angle == 0 && state.scaleX == 100.0L && state.scaleY == 100.0L) {
    DrawUntransformed(state, destX, destY, width, height, dest, srcX, srcY);
  } else {
    DrawTransformed(state, destX, destY, width, height, dest);
  }
}

// One pass over the area for the untransformed image, one Changed for all its copies; a
// transformed one is drawn copy by copy under a clip narrowed to the area.
void TAbstractSuperDIB::DrawTiled(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                  TAbstractSuperDIB& dest) {
  const dib::InclusiveRect saved = dest.m_ClipRect;
  const int64_t right = std::min<int64_t>(saved.Right, int64_t{destX} + width - 1);
  const int64_t bottom = std::min<int64_t>(saved.Bottom, int64_t{destY} + height - 1);
  const dib::InclusiveRect area{std::max(saved.Left, destX), std::max(saved.Top, destY),
                                static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  if (m_Width == 0 || m_Height == 0 || area.Left > area.Right || area.Top > area.Bottom) return;
  struct RestoreClip {
    TAbstractSuperDIB& dest;
    const dib::InclusiveRect& saved;
    ~RestoreClip() { dest.m_ClipRect = saved; }
  } restore{dest, saved};
  dest.m_ClipRect = area;  // inside the old clip, so inside the image
  const DrawState state = OwnDrawState(m_DrawRoutine);
  const bool untransformed = m_Angle == 0 && m_ScaleX == 100.0L && m_ScaleY == 100.0L;
  bool drawn = false;
  // Copies that lie wholly before the area would draw nothing and are skipped.
  const int64_t left = destX + (int64_t{area.Left} - destX) / m_Width * m_Width;
  const int64_t top = destY + (int64_t{area.Top} - destY) / m_Height * m_Height;
  for (int64_t y = top; y <= area.Bottom; y += m_Height) {
    for (int64_t x = left; x <= area.Right; x += m_Width) {
      const auto tileX = static_cast<int32_t>(x), tileY = static_cast<int32_t>(y);
      if (untransformed) {
        drawn = BlendUntransformed(state, tileX, tileY, m_Width, m_Height, dest, 0, 0) || drawn;
      } else {
        DrawTransformed(state, tileX, tileY, m_Width, m_Height, dest);
      }
    }
  }
  if (drawn) dest.Changed();
}

void TAbstractSuperDIB::DrawUntransformed(const DrawState& state, int32_t destX, int32_t destY,
                                          int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                          uint16_t srcX, uint16_t srcY) const {
  if (BlendUntransformed(state, destX, destY, width, height, dest, srcX, srcY)) dest.Changed();
}

bool TAbstractSuperDIB::BlendUntransformed(const DrawState& state, int32_t destX, int32_t destY,
                                           int32_t width, int32_t height, TAbstractSuperDIB& dest,
                                           uint16_t srcX, uint16_t srcY) const {
  const flux::MutablePixelView target = dest.Block();
  flux::PixelView source = ConstBlock();
  if (target.bits == nullptr || source.bits == nullptr) return false;
  std::optional<dib::DrawArea> area =
      dib::ClipDraw(destX, destY, width, height, srcX, srcY, source.width, source.height,
                    target.width, target.height, dest.m_ClipRect);
  if (!area) return false;
  std::vector<uint32_t> copy;
  if (source.bits == target.bits) {  // itself, or a view of the same pixels
    copy = CopyArea(source, *area);
    source = {copy.data(), area->columns, area->rows};
    area->srcX = area->srcY = 0;
  }
  const dib::BlitSettings settings{state.owner->m_Opacity, state.owner->m_TransparentColor};
  dib::RunBlit(state.routine, dib::MakeBlitJob(*area, target, source), settings);
  return true;
}

void TAbstractSuperDIB::DrawTransformed(const DrawState& state, int32_t destX, int32_t destY,
                                        int32_t width, int32_t height,
                                        TAbstractSuperDIB& dest) const {
  if (m_Pixels == nullptr || dest.m_Pixels == nullptr) return;
  if (state.scaleX == 0.0L || state.scaleY == 0.0L) return;  // the image vanishes
  dib::BoxSize box{width, height};
  if (m_AutoSize) {
    box = dib::TransformedBoxSize(width, height, state.angle, static_cast<double>(state.scaleX),
                                  static_cast<double>(state.scaleY));
  }
  // Nothing to draw, or a box no image can hold.
  if (box.width <= 0 || box.height <= 0 || box.width > 65535 || box.height > 65535) return;
  TWinDIB rotatedImage(static_cast<uint16_t>(box.width), static_cast<uint16_t>(box.height));
  TAbstractSuperDIB& rotated = rotatedImage;
  TransformWith(state, rotated);
  // Blended with this drawing's routine and settings.
  rotated.DrawUntransformed(state, destX, destY, box.width, box.height, dest, 0, 0);
}

void TAbstractSuperDIB::TransformInto(TAbstractSuperDIB& dest) const {
  TransformWith(OwnDrawState(m_DrawRoutine), dest);
}

void TAbstractSuperDIB::TransformWith(const DrawState& state, TAbstractSuperDIB& dest) const {
  const flux::MutablePixelView target = dest.Block();
  const flux::PixelView source = ConstBlock();
  if (target.bits == nullptr || source.bits == nullptr) return;
  if (state.scaleX == 0.0L || state.scaleY == 0.0L) return;  // the image vanishes
  const uint32_t background = m_Masked ? 0 : m_TransparentColor;
  dib::TransformPixels(target, source,
                       {state.angle, static_cast<double>(state.scaleX),
                        static_cast<double>(state.scaleY), background});
  dest.Changed();
}

void TAbstractSuperDIB::StretchFrom(const TAbstractSuperDIB& source) {
  const flux::MutablePixelView target = Block();
  const flux::PixelView from = source.ConstBlock();
  // The same pixels have the same size: there is nothing to resize.
  if (target.bits != nullptr && from.bits != nullptr && target.bits != from.bits) {
    dib::StretchPixels(target, from);
  }
  Changed();
}

template <class Inside>
std::optional<ui::Region> TAbstractSuperDIB::RegionOf(Inside inside) const {
  if (m_Pixels == nullptr) return std::nullopt;
  // Rows top down, each run of inside pixels one rectangle; joined 400 at a time.
  constexpr std::size_t kBatch = 400;
  std::vector<ui::Rect> runs;
  runs.reserve(kBatch);
  ui::Region region;
  const auto join = [&] {
    region = region.Union(ui::Region::FromRects(runs));
    runs.clear();
  };
  for (int32_t y = 0; y < m_Height; ++y) {
    const uint32_t* row = ScanLine(y);
    for (int32_t x = 0; x < m_Width;) {
      if (!inside(row[x])) {
        ++x;
        continue;
      }
      const int32_t start = x;
      while (x < m_Width && inside(row[x])) ++x;
      runs.push_back({start, y, x, y + 1});
      if (runs.size() == kBatch) join();
    }
  }
  join();
  if (region.IsEmpty()) return std::nullopt;
  return region;
}

std::optional<ui::Region> TAbstractSuperDIB::MaskToRegion(uint8_t threshold) const {
  return RegionOf([threshold](uint32_t pixel) { return dib::MaskOf(pixel) > threshold; });
}

std::optional<ui::Region> TAbstractSuperDIB::ColorToRegion(ui::Color color) const {
  const uint32_t key = ui::ColorToPixel(ui::ColorToRGB(color));
  return RegionOf([key](uint32_t pixel) { return (pixel & dib::kColorBits) != key; });
}

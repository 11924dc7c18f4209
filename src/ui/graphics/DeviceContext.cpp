#include "ui/graphics/DeviceContext.h"

#include <utility>

namespace ui {

DeviceContext::DeviceContext(Surface* surface) {
  SelectSurface(surface);
}

void DeviceContext::SelectSurface(Surface* surface) {
  m_Surface = surface;
  m_State = State{{}, SurfaceRegion()};
  m_SavedCount = 0;
}

Region DeviceContext::SurfaceRegion() const {
  return m_Surface ? Region(m_Surface->BoundsRect()) : Region();
}

// The clip is changed in place, which keeps its storage from one paint to the next.
void DeviceContext::IntersectClipRect(const Rect& rect) {
  m_State.clip.IntersectWith(Region(ToDevice(rect)));
}

void DeviceContext::ExcludeClipRect(const Rect& rect) {
  m_State.clip.Subtract(Region(ToDevice(rect)));
}

void DeviceContext::ExcludeClipRects(std::span<const Rect> rects) {
  m_State.clip.Subtract(rects, m_State.origin.X, m_State.origin.Y);
}

void DeviceContext::SelectClipRegion(const Region& region) {
  m_State.clip = region;
  m_State.clip.IntersectWith(SurfaceRegion());
}

void DeviceContext::ResetClip() {
  m_State.clip = SurfaceRegion();
}

Rect DeviceContext::ClipBox() const {
  return m_State.clip.BoundingBox().Offset(-m_State.origin.X, -m_State.origin.Y);
}

bool DeviceContext::RectVisible(const Rect& rect) const {
  return m_State.clip.Intersects(ToDevice(rect));
}

// Saved states stay in place when restored, so that saving again reuses their storage.
void DeviceContext::Save() {
  if (m_SavedCount == m_Saved.size()) {
    m_Saved.push_back(m_State);
  } else {
    m_Saved[m_SavedCount] = m_State;
  }
  ++m_SavedCount;
}

void DeviceContext::Restore() {
  if (m_SavedCount == 0) return;
  m_State = m_Saved[--m_SavedCount];
}

const LogicalPalette* DeviceContext::SelectPalette(const LogicalPalette* palette,
                                                   bool forceBackground) {
  m_PaletteBackground = forceBackground;
  return std::exchange(m_Palette, palette);
}

uint32_t DeviceContext::RealizePalette() {
  if (!m_Window || !m_Palette || m_BitsPerPixel != 8) return 0;
  return m_Window->RealizePalette(m_Palette->Entries(), m_PaletteBackground);
}

}  // namespace ui

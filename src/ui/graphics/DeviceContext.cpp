#include "ui/graphics/DeviceContext.h"

#include <utility>

namespace ui {

DeviceContext::DeviceContext(Surface* surface) {
  SelectSurface(surface);
}

void DeviceContext::SelectSurface(Surface* surface) {
  m_Surface = surface;
  m_State = State{{}, SurfaceRegion()};
  m_Saved.clear();
}

Region DeviceContext::SurfaceRegion() const {
  return m_Surface ? Region(m_Surface->BoundsRect()) : Region();
}

void DeviceContext::IntersectClipRect(const Rect& rect) {
  m_State.clip = m_State.clip.Intersect(Region(ToDevice(rect)));
}

void DeviceContext::ExcludeClipRect(const Rect& rect) {
  m_State.clip = m_State.clip.Exclude(Region(ToDevice(rect)));
}

void DeviceContext::ExcludeClipRects(std::span<const Rect> rects) {
  m_State.clip =
      m_State.clip.Exclude(Region::FromRects(rects).Offset(m_State.origin.X, m_State.origin.Y));
}

void DeviceContext::SelectClipRegion(const Region& region) {
  m_State.clip = region.Intersect(SurfaceRegion());
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

void DeviceContext::Save() {
  m_Saved.push_back(m_State);
}

void DeviceContext::Restore() {
  if (m_Saved.empty()) return;
  m_State = std::move(m_Saved.back());
  m_Saved.pop_back();
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

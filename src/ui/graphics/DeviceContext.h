#pragma once
// A drawing context over a surface: an origin that moves logical coordinates, a clip region,
// and a stack of saved states. Drawing through it never leaves the surface.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Backend.h"
#include "ui/graphics/Geometry.h"
#include "ui/graphics/LogicalPalette.h"
#include "ui/graphics/Region.h"
#include "ui/graphics/Surface.h"

namespace ui {

class DeviceContext {
 public:
  explicit DeviceContext(Surface* surface = nullptr);  // surface not owned; must outlive use

  // Binds another surface (or none); the origin, clip and saved states start afresh.
  void SelectSurface(Surface* surface);
  Surface* GetSurface() const { return m_Surface; }
  // 32, or 8 for a palette display: its pixels stay 32-bit here, and the window system shows
  // each as the nearest colour of its palette when presenting.
  int32_t BitsPerPixel() const { return m_BitsPerPixel; }
  void SetBitsPerPixel(int32_t bits) { m_BitsPerPixel = bits == 8 ? 8 : 32; }

  // Palettes. The window whose context this is realises them (none: off screen, not owned).
  void SetWindow(platform::WindowPeer* window) { m_Window = window; }
  // Selects `palette` (none: the default palette of the static colours; not owned, must stay
  // alive while selected) and returns the one selected before.
  const LogicalPalette* SelectPalette(const LogicalPalette* palette, bool forceBackground);
  const LogicalPalette* SelectedPalette() const { return m_Palette; }
  // Maps the selected palette into the system palette; the number of system entries changed.
  uint32_t RealizePalette();

  // Device position of logical (0, 0).
  Point Origin() const { return m_State.origin; }
  void SetOrigin(Point origin) { m_State.origin = origin; }

  // Clipping; rectangles in logical coordinates, regions in device coordinates.
  void IntersectClipRect(const Rect& rect);
  void ExcludeClipRect(const Rect& rect);
  void ExcludeClipRects(std::span<const Rect> rects);        // all at once
  void SelectClipRegion(const Region& region);               // limited to the surface
  void ResetClip();                                          // the whole surface
  const Region& ClipRegion() const { return m_State.clip; }  // device coordinates
  Rect ClipBox() const;                                      // logical coordinates
  bool RectVisible(const Rect& rect) const;                  // logical coordinates

  // Saves origin and clip; Restore brings back the last saved state (none saved: no change).
  void Save();
  void Restore();

  Rect ToDevice(const Rect& rect) const { return rect.Offset(m_State.origin.X, m_State.origin.Y); }

  // Calls draw(part) for each piece of the device rectangle that survives the clip.
  template <typename Draw>
  void ForEachVisiblePart(const Rect& deviceRect, Draw draw) const {
    for (const Rect& clip : m_State.clip.Rects()) {
      const Rect part = clip.Intersect(deviceRect);
      if (!part.IsEmpty()) draw(part);
    }
  }

 private:
  struct State {
    Point origin;
    Region clip;
  };

  Region SurfaceRegion() const;

  Surface* m_Surface;
  State m_State;
  int32_t m_BitsPerPixel = 32;
  platform::WindowPeer* m_Window = nullptr;
  const LogicalPalette* m_Palette = nullptr;
  bool m_PaletteBackground = false;
  std::vector<State> m_Saved;  // the first m_SavedCount are saved; the rest keep storage
  std::size_t m_SavedCount = 0;
};

}  // namespace ui

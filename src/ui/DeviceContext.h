#pragma once
// A drawing context over a surface: an origin that moves logical coordinates, a clip region,
// and a stack of saved states. Drawing through it never leaves the surface.

#include <cstdint>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Region.h"
#include "ui/Surface.h"

namespace ui {

class DeviceContext {
 public:
  explicit DeviceContext(Surface* surface = nullptr);  // surface not owned; must outlive use

  // Binds another surface (or none); the origin, clip and saved states start afresh.
  void SelectSurface(Surface* surface);
  Surface* GetSurface() const { return m_Surface; }
  // 32; palette devices with 8 bits per pixel come with palettes.
  int32_t BitsPerPixel() const { return 32; }

  // Device position of logical (0, 0).
  Point Origin() const { return m_State.origin; }
  void SetOrigin(Point origin) { m_State.origin = origin; }

  // Clipping; rectangles in logical coordinates, regions in device coordinates.
  void IntersectClipRect(const Rect& rect);
  void ExcludeClipRect(const Rect& rect);
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
      const Rect part = Intersect(clip, deviceRect);
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
  std::vector<State> m_Saved;
};

}  // namespace ui

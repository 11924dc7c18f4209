#pragma once
// The skinned slider: a control drawn entirely from images of image lists. A track (the main
// image, stretched or tiled), two optional end caps that step the position, an optional overlay
// that fills the track up to the pointer, and a pointer that is dragged. It holds an integer
// Position between Min and Max (Min < Max always), reports every change through OnChange, pages
// toward a press with auto-repeat and answers arrow and page keys while it has the keyboard.
// stHorizontal puts Min at the left, stVertical at the top. User-interface thread only.
//
// Rectangles are inclusive (Right = Left + width - 1) and in control coordinates. The pointer
// travels TrackLength pixels: from the track's start until its far edge meets the track's far
// edge. A track no longer than the pointer (or missing) gives no travel: the pointer stays at
// the start, and neither paging nor dragging moves it.

#include <cstdint>

#include "DIB/DIBStretchedImage.h"
#include "DIB/cDIBControl.h"

enum TSliderType : uint8_t { stHorizontal = 0, stVertical = 1 };
using TSliderInc = uint16_t;  // 1..32767

class TCustomDIBSlider : public TCustomDIBControl {
 public:
  explicit TCustomDIBSlider(ui::Component* owner);
  ~TCustomDIBSlider() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // Images: the two end caps, the track, the overlay and the pointer.
  TDIBImageLink& IndexEnd1() const { return m_IndexEnd1; }
  TDIBImageLink& IndexEnd2() const { return m_IndexEnd2; }
  TDIBImageLink& IndexMain() const { return m_IndexMain; }
  TDIBImageLink& IndexOverlay() const { return m_IndexOverlay; }
  TDIBImageLink& IndexPointer() const { return m_IndexPointer; }

  // The range. Min and Max push each other apart; Position is clamped into the range. While
  // the slider is read from a stream the three are stored as read and reconciled by Loaded, so
  // that no stored order loses a stored position.
  int32_t Min() const { return m_Min; }
  void SetMin(int32_t min);  // Max becomes min + 1 when not above it
  int32_t Max() const { return m_Max; }
  void SetMax(int32_t max);  // Min becomes max - 1 when not below it
  int32_t Position() const { return m_Position; }
  // Places the pointer and repaints even when the value stays; OnChange only for a new value.
  void SetPosition(int32_t position);
  TSliderInc SmallChange() const { return m_SmallChange; }  // arrow keys and end caps
  void SetSmallChange(TSliderInc change) { m_SmallChange = change; }
  TSliderInc LargeChange() const { return m_LargeChange; }  // the most one paging step moves
  void SetLargeChange(TSliderInc change) { m_LargeChange = change; }
  TSliderInc PageSize() const { return m_PageSize; }  // Page Up and Page Down
  void SetPageSize(TSliderInc size) { m_PageSize = size; }

  // Looks.
  TSliderType SliderType() const { return m_SliderType; }
  void SetSliderType(TSliderType type);
  int32_t PointerOffset() const { return m_PointerOffset; }  // shift across the track
  void SetPointerOffset(int32_t offset);
  uint8_t OverlayBorderX() const { return m_OverlayBorderX; }  // the overlay's inset
  void SetOverlayBorderX(uint8_t border);
  uint8_t OverlayBorderY() const { return m_OverlayBorderY; }
  void SetOverlayBorderY(uint8_t border);
  uint8_t OverlayOpacity() const { return m_OverlayOpacity; }
  void SetOverlayOpacity(uint8_t opacity);
  uint8_t PointerOpacityLow() const { return m_PointerOpacityLow; }  // at rest
  void SetPointerOpacityLow(uint8_t opacity);
  uint8_t PointerOpacityHigh() const { return m_PointerOpacityHigh; }  // while dragged
  void SetPointerOpacityHigh(uint8_t opacity);
  bool StretchBackground() const { return m_StretchBackground; }  // else the track is tiled
  void SetStretchBackground(bool stretch);

  // Layout, as of the last UpdateLayout.
  const dib::InclusiveRect& End1Rect() const { return m_End1Rect; }
  const dib::InclusiveRect& End2Rect() const { return m_End2Rect; }
  const dib::InclusiveRect& MainRect() const { return m_MainRect; }
  const dib::InclusiveRect& OverlayRect() const { return m_OverlayRect; }
  const dib::InclusiveRect& PointerRect() const { return m_PointerRect; }
  int32_t PointerPixel() const { return m_PointerPixel; }  // 0..TrackLength
  bool Dragging() const { return m_Dragging; }
  // Recomputes the rectangles from the size, the images and PointerPixel.
  void UpdateLayout();

  // Track extent minus pointer extent along the track; 0 or less: no travel.
  int32_t TrackLength() const;
  // Both directions truncate, so there and back may lose one.
  int32_t PositionToPixel(int32_t position) const;  // 0..TrackLength
  int32_t PixelToPosition(int32_t pixel) const;     // Min..Max
  int64_t PixelToDistance(int32_t pixels) const;    // a value distance; 0 without travel
  // The smallest size: 2 plus the caps and the track along it, 2 across.
  virtual ui::Size GetMinSize() const;

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void Loaded() override;

  ui::TNotifyEvent OnChange;

 protected:
  // OnChange when Position differs from the last position reported.
  virtual void Change();
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;
  void GotFocus() override;
  void LostFocus() override;
  void ImageChanged(int32_t index, TDIBImageChangeKind kind) override;
  void Paint() override;
  void KeyDown(uint16_t& key, ui::TShiftState shift) override;
  void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(ui::TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;

 private:
  bool Horizontal() const { return m_SliderType == stHorizontal; }
  bool ReadingStored() const { return HasState(ui::ComponentState::Loading); }
  int64_t Range() const { return int64_t{m_Max} - m_Min; }
  // Position moved by a distance, saturating instead of overflowing.
  void MoveBy(int64_t distance);
  bool OnPointer(int32_t x, int32_t y) const;
  void Page(int32_t x, int32_t y);
  void DragTo(int64_t pixel);
  // The pointer at Position's pixel of the track as the current size and images lay it out.
  void PlacePointer();
  void LayOutPointer();  // PointerRect from PointerPixel
  // After a change of the parts' sizes or places: AutoSize again, or a new layout.
  void Relayout();
  void PaintTiled(TAbstractSuperDIB& main, TAbstractSuperDIB& dib);
  void PaintOverlay(const TAbstractSuperDIB& overlay, TAbstractSuperDIB& dib);

  ui::Point m_DragOffset;  // the press relative to the pointer's top-left corner
  bool m_Dragging = false;
  int32_t m_PointerPixel = 0;
  uint8_t m_PointerOpacityLow = 196;
  uint8_t m_PointerOpacityHigh = 255;
  TDIBImageLink& m_IndexEnd1;  // owned through ImageLinks
  TDIBImageLink& m_IndexEnd2;
  TDIBImageLink& m_IndexMain;
  TDIBImageLink& m_IndexOverlay;
  TDIBImageLink& m_IndexPointer;
  TSliderInc m_LargeChange = 5;
  int32_t m_LastPosition = 0;
  int32_t m_Max = 100;
  int32_t m_Min = 0;
  uint8_t m_OverlayOpacity = 64;
  uint8_t m_OverlayBorderX = 0;
  uint8_t m_OverlayBorderY = 0;
  int32_t m_PointerOffset = 0;
  dib::InclusiveRect m_End1Rect{-1, -1, -1, -1};
  dib::InclusiveRect m_End2Rect{-1, -1, -1, -1};
  dib::InclusiveRect m_MainRect{-1, -1, -1, -1};
  dib::InclusiveRect m_OverlayRect{-1, -1, -1, -1};
  dib::InclusiveRect m_PointerRect{-1, -1, -1, -1};
  TSliderType m_SliderType = stHorizontal;
  TSliderInc m_SmallChange = 1;
  TSliderInc m_PageSize = 5;
  int32_t m_Position = 0;
  bool m_StretchBackground = true;
  // Kept between paints, so that a repaint neither allocates nor stretches again what it
  // stretched before: the track and the overlay.
  TDIBStretchedImage m_StretchedMain;
  TDIBStretchedImage m_StretchedOverlay;
};

// The slider placed on forms.
class TDIBSlider : public TCustomDIBSlider {
 public:
  using TCustomDIBSlider::TCustomDIBSlider;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

// Makes TDIBSlider and TDIBContainer known to the stream readers (idempotent).
void RegisterDIBSliderClasses();

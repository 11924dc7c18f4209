#include "DIB/cDIBSlider.h"

#include <algorithm>
#include <limits>

#include "DIB/cDIBPanel.h"
#include "common/Assert.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/TypeBuilder.h"

namespace {

constexpr dib::InclusiveRect kNoRect{-1, -1, -1, -1};
constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

dib::InclusiveRect PlacedAt(int32_t left, int32_t top, const TAbstractSuperDIB& image) {
  return {left, top, left + image.Width() - 1, top + image.Height() - 1};
}

int64_t WidthOf(const dib::InclusiveRect& r) {
  return int64_t{r.Right} - r.Left + 1;
}

int64_t HeightOf(const dib::InclusiveRect& r) {
  return int64_t{r.Bottom} - r.Top + 1;
}

// The window system's rule for a point in a rectangle: the last column and row are outside.
bool PressIn(const dib::InclusiveRect& r, int32_t x, int32_t y) {
  return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
}

// An image side for a rectangle side of at least 1: images hold 1..65535 pixels.
uint16_t ImageSide(int64_t side) {
  return static_cast<uint16_t>(std::min<int64_t>(side, 65535));
}

// source stretched to the rectangle's size (at least 1 x 1), with source's drawing settings.
TMemoryDIB& Stretched(TDIBStretchedImage& image, const TAbstractSuperDIB& source,
                      const dib::InclusiveRect& r) {
  return image.StretchFrom(source, ImageSide(WidthOf(r)), ImageSide(HeightOf(r)));
}

bool IsUntransformed(const TAbstractSuperDIB& image) {
  return image.Angle() == 0 && image.ScaleX() == 100.0L && image.ScaleY() == 100.0L;
}

// Whether every row (horizontal) or every column (vertical) of the image is one pixel value
// repeated.
bool RepeatsAlong(const TAbstractSuperDIB& image, bool horizontal) {
  const std::size_t width = image.Width();
  const uint32_t* first = image.ScanLine(0);
  for (int32_t y = 0; y < image.Height(); ++y) {
    const uint32_t* row = image.ScanLine(y);
    const bool repeats = horizontal ? std::all_of(row, row + width,
                                                  [row](uint32_t pixel) { return pixel == row[0]; })
                                    : std::equal(row, row + width, first);
    if (!repeats) return false;
  }
  return true;
}

}  // namespace

TCustomDIBSlider::TCustomDIBSlider(ui::Component* owner)
    : TCustomDIBControl(owner),
      m_IndexEnd1(CreateImageLink()),
      m_IndexEnd2(CreateImageLink()),
      m_IndexMain(CreateImageLink()),
      m_IndexOverlay(CreateImageLink()),
      m_IndexPointer(CreateImageLink()) {
  SetAutoSize(true);
  m_End1Rect = m_End2Rect = m_MainRect = m_PointerRect = kNoRect;  // no part is placed yet
  SetAutoRepeat(true);
  for (const char* name :
       {"AutoSize", "LargeChange", "Min", "Max", "Opacity", "OverlayBorderX", "OverlayBorderY",
        "OverlayOpacity", "PageSize", "PointerOffset", "PointerOpacityHigh", "PointerOpacityLow",
        "Position", "SliderType", "SmallChange", "StretchBackground"}) {
    RegisterTemplateProperty(name);
  }
}

TCustomDIBSlider::~TCustomDIBSlider() {
  BeginDestruction();
}

const ui::TypeInfo& TCustomDIBSlider::StaticType() {
  using T = TCustomDIBSlider;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TCustomDIBSlider", TCustomDIBControl::StaticType())
          .Object("IndexEnd1", &T::IndexEnd1)
          .Object("IndexEnd2", &T::IndexEnd2)
          .Object("IndexMain", &T::IndexMain)
          .Object("IndexOverlay", &T::IndexOverlay)
          .Object("IndexPointer", &T::IndexPointer)
          .Integer("Min", &T::Min, &T::SetMin)
          .Integer("Max", &T::Max, &T::SetMax)
          .Integer("Position", &T::Position, &T::SetPosition)
          .Integer("SmallChange", &T::SmallChange, &T::SetSmallChange)
          .Range(1, 32767)
          .Integer("LargeChange", &T::LargeChange, &T::SetLargeChange)
          .Range(1, 32767)
          .Integer("PageSize", &T::PageSize, &T::SetPageSize)
          .Range(1, 32767)
          .Integer("PointerOffset", &T::PointerOffset, &T::SetPointerOffset)
          .Integer("PointerOpacityLow", &T::PointerOpacityLow, &T::SetPointerOpacityLow)
          .Default(196)
          .Integer("PointerOpacityHigh", &T::PointerOpacityHigh, &T::SetPointerOpacityHigh)
          .Default(255)
          .Integer("OverlayOpacity", &T::OverlayOpacity, &T::SetOverlayOpacity)
          .Default(64)
          .Integer("OverlayBorderX", &T::OverlayBorderX, &T::SetOverlayBorderX)
          .Default(0)
          .Integer("OverlayBorderY", &T::OverlayBorderY, &T::SetOverlayBorderY)
          .Default(0)
          .Enumeration("SliderType", &T::SliderType, &T::SetSliderType,
                       {"stHorizontal", "stVertical"})
          .Boolean("StretchBackground", &T::StretchBackground, &T::SetStretchBackground)
          .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .Event("OnChange")
          .Build();
  return type;
}

const ui::TypeInfo& TDIBSlider::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBSlider>("TDIBSlider", TCustomDIBSlider::StaticType()).Creatable().Build();
  return type;
}

void RegisterDIBSliderClasses() {
  ui::ClassRegistry::Register(TDIBSlider::StaticType());
  RegisterDIBContainerClasses();
}

// Range and position ------------------------------------------------------------------------

// While a stored description is read, Position waits for Loaded to be clamped: the range it
// belongs to may come after it.
void TCustomDIBSlider::SetMin(int32_t min) {
  m_Min = std::min(min, kHighest - 1);  // room for a Max above it
  if (m_Min >= m_Max) SetMax(m_Min + 1);
  if (m_Position < m_Min && !ReadingStored()) SetPosition(m_Min);
}

void TCustomDIBSlider::SetMax(int32_t max) {
  m_Max = std::max(max, kLowest + 1);  // room for a Min below it
  if (m_Min >= m_Max) SetMin(m_Max - 1);
  if (m_Max < m_Position && !ReadingStored()) SetPosition(m_Max);
}

void TCustomDIBSlider::SetPosition(int32_t position) {
  if (ReadingStored()) {
    m_Position = position;
    return;
  }
  m_Position = std::clamp(position, m_Min, m_Max);
  m_PointerPixel = PositionToPixel(m_Position);
  UpdateLayout();
  Invalidate();
  Change();
}

void TCustomDIBSlider::MoveBy(int64_t distance) {
  SetPosition(static_cast<int32_t>(std::clamp<int64_t>(m_Position + distance, kLowest, kHighest)));
}

// The position is noted as reported before the handler runs, so that a handler that sets it
// again is told of that change too, and nothing of the slider is touched after the handler.
void TCustomDIBSlider::Change() {
  if (m_Position == m_LastPosition) return;
  m_LastPosition = m_Position;
  OnChange(this);
}

void TCustomDIBSlider::Loaded() {
  m_Position = std::clamp(m_Position, m_Min, m_Max);
  TCustomDIBControl::Loaded();  // applies AutoSize, which places the pointer
  m_LastPosition = m_Position;  // loading reports nothing
  PlacePointer();
}

// Looks -------------------------------------------------------------------------------------

void TCustomDIBSlider::SetSliderType(TSliderType type) {
  m_SliderType = type;
  Relayout();
}

void TCustomDIBSlider::SetPointerOffset(int32_t offset) {
  m_PointerOffset = offset;
  Relayout();
}

void TCustomDIBSlider::SetOverlayBorderX(uint8_t border) {
  m_OverlayBorderX = border;
  Relayout();
}

void TCustomDIBSlider::SetOverlayBorderY(uint8_t border) {
  m_OverlayBorderY = border;
  Relayout();
}

void TCustomDIBSlider::SetOverlayOpacity(uint8_t opacity) {
  m_OverlayOpacity = opacity;
  Invalidate();
}

void TCustomDIBSlider::SetPointerOpacityLow(uint8_t opacity) {
  m_PointerOpacityLow = opacity;
  Invalidate();
}

void TCustomDIBSlider::SetPointerOpacityHigh(uint8_t opacity) {
  m_PointerOpacityHigh = opacity;
  Invalidate();
}

void TCustomDIBSlider::SetStretchBackground(bool stretch) {
  m_StretchBackground = stretch;
  Invalidate();
}

void TCustomDIBSlider::ImageChanged(int32_t, TDIBImageChangeKind) {
  Relayout();
}

// With AutoSize the size is applied again, and SetBounds lays out; otherwise the layout alone.
// Either way the pointer is placed on the new track, which may have another length.
void TCustomDIBSlider::Relayout() {
  if (AutoSize()) {
    AdjustSize();
  } else {
    PlacePointer();
  }
  Invalidate();
}

// Layout ------------------------------------------------------------------------------------

void TCustomDIBSlider::UpdateLayout() {
  const int32_t w = Width(), h = Height();
  const bool horizontal = Horizontal();
  m_End1Rect = kNoRect;
  m_End2Rect = {w, h, w, h};
  m_MainRect = kNoRect;
  if (const TMemoryDIB* end1 = m_IndexEnd1.GetImage()) {
    m_End1Rect = horizontal ? PlacedAt(0, h / 2 - end1->Height() / 2, *end1)
                            : PlacedAt(w / 2 - end1->Width() / 2, 0, *end1);
  }
  // The second cap ends one pixel short of the far edge, and never starts before the first
  // cap's end.
  if (const TMemoryDIB* end2 = m_IndexEnd2.GetImage()) {
    m_End2Rect = horizontal ? PlacedAt(std::max(w - 1 - end2->Width(), m_End1Rect.Right),
                                       h / 2 - end2->Height() / 2, *end2)
                            : PlacedAt(w / 2 - end2->Width() / 2,
                                       std::max(h - 1 - end2->Height(), m_End1Rect.Bottom), *end2);
  }
  // The track overlaps each cap by one pixel; without caps it reaches one pixel beyond each
  // edge.
  if (const TMemoryDIB* main = m_IndexMain.GetImage()) {
    if (horizontal) {
      const int32_t top = h / 2 - main->Height() / 2;
      m_MainRect = {m_End1Rect.Right, top, m_End2Rect.Left, top + main->Height() - 1};
    } else {
      const int32_t left = w / 2 - main->Width() / 2;
      m_MainRect = {left, m_End1Rect.Bottom, left + main->Width() - 1, m_End2Rect.Top};
    }
  }
  m_OverlayRect = {m_MainRect.Left + m_OverlayBorderX, m_MainRect.Top + m_OverlayBorderY,
                   m_MainRect.Right - m_OverlayBorderX, m_MainRect.Bottom - m_OverlayBorderY};
  LayOutPointer();
}

void TCustomDIBSlider::LayOutPointer() {
  m_PointerRect = kNoRect;
  if (const TMemoryDIB* pointer = m_IndexPointer.GetImage()) {
    const int32_t w = Width(), h = Height();
    m_PointerRect = Horizontal()
                        ? PlacedAt(m_MainRect.Left + m_PointerPixel,
                                   h / 2 + m_PointerOffset - pointer->Height() / 2, *pointer)
                        : PlacedAt(w / 2 + m_PointerOffset - pointer->Width() / 2,
                                   m_MainRect.Top + m_PointerPixel, *pointer);
  }
}

void TCustomDIBSlider::PlacePointer() {
  UpdateLayout();  // the track and pointer extents of the current size and images
  m_PointerPixel = PositionToPixel(m_Position);
  UpdateLayout();
}

ui::Size TCustomDIBSlider::GetMinSize() const {
  ui::Size size{2, 2};
  for (const TDIBImageLink* link : {&m_IndexEnd1, &m_IndexMain, &m_IndexEnd2}) {
    if (const TMemoryDIB* image = link->GetImage()) {
      size.cx += image->Width();
      size.cy += image->Height();
    }
  }
  (Horizontal() ? size.cy : size.cx) = 2;
  return size;
}

void TCustomDIBSlider::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  const ui::Size least = GetMinSize();
  TCustomDIBControl::SetBounds(left, top, std::max(width, least.cx), std::max(height, least.cy));
  if (ReadingStored()) return;
  PlacePointer();
  Invalidate();
}

// Across the track the slider takes the largest of the caps and the track (a missing cap
// counts as 1); along it only the minimum applies.
bool TCustomDIBSlider::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  if (!m_IndexMain.IsValid()) return false;
  const ui::Size least = GetMinSize();
  newWidth = std::max(newWidth, least.cx);
  newHeight = std::max(newHeight, least.cy);
  UpdateLayout();
  const bool horizontal = Horizontal();
  int64_t across = horizontal ? Constraints().MinHeight() : Constraints().MinWidth();
  for (const dib::InclusiveRect* part : {&m_End1Rect, &m_End2Rect, &m_MainRect}) {
    across = std::max(across, horizontal ? HeightOf(*part) : WidthOf(*part));
  }
  if (across > 0) (horizontal ? newHeight : newWidth) = static_cast<int32_t>(across);
  return true;
}

// Mapping -----------------------------------------------------------------------------------

int32_t TCustomDIBSlider::TrackLength() const {
  const int64_t length = Horizontal() ? WidthOf(m_MainRect) - WidthOf(m_PointerRect)
                                      : HeightOf(m_MainRect) - HeightOf(m_PointerRect);
  return static_cast<int32_t>(std::clamp<int64_t>(length, kLowest, kHighest));
}

// The products are taken in 64 bits on values clamped to the track and the range, which gives
// the same results as unclamped ones would after the final clamping, without overflow.
int32_t TCustomDIBSlider::PositionToPixel(int32_t position) const {
  const int64_t length = TrackLength();
  if (length <= 0) return 0;
  FLUX_ASSERT(Range() > 0);
  const int64_t offset = std::clamp<int64_t>(int64_t{position} - m_Min, 0, Range());
  return static_cast<int32_t>(length * offset / Range());
}

int32_t TCustomDIBSlider::PixelToPosition(int32_t pixel) const {
  const int64_t length = TrackLength();
  if (length <= 0) return m_Min;
  const int64_t offset = std::clamp<int64_t>(pixel, 0, length);
  return static_cast<int32_t>(m_Min + offset * Range() / length);
}

int64_t TCustomDIBSlider::PixelToDistance(int32_t pixels) const {
  const int64_t length = TrackLength();
  return length > 0 ? pixels * Range() / length : 0;
}

// Focus -------------------------------------------------------------------------------------

void TCustomDIBSlider::GotFocus() {
  ui::WeakRef<TCustomDIBSlider> self(this);
  TCustomDIBControl::GotFocus();
  if (self) Invalidate();
}

void TCustomDIBSlider::LostFocus() {
  ui::WeakRef<TCustomDIBSlider> self(this);
  TCustomDIBControl::LostFocus();
  if (self) Invalidate();
}

// Keys --------------------------------------------------------------------------------------

void TCustomDIBSlider::KeyDown(uint16_t& key, ui::TShiftState shift) {
  ui::WeakRef<TCustomDIBSlider> self(this);
  TCustomDIBControl::KeyDown(key, shift);
  if (!self) return;
  const uint16_t back = Horizontal() ? ui::VK_LEFT : ui::VK_UP;
  const uint16_t forward = Horizontal() ? ui::VK_RIGHT : ui::VK_DOWN;
  if (key == back) {
    MoveBy(-int64_t{m_SmallChange});
  } else if (key == forward) {
    MoveBy(m_SmallChange);
  } else if (key == ui::VK_PRIOR) {
    MoveBy(-int64_t{m_PageSize});
  } else if (key == ui::VK_NEXT) {
    MoveBy(m_PageSize);
  }
}

// Mouse -------------------------------------------------------------------------------------

// While the press repeats (the left button is held), anywhere across the track within the
// pointer's span counts, its last column or row included: paging that reaches the mouse turns
// into dragging.
bool TCustomDIBSlider::OnPointer(int32_t x, int32_t y) const {
  if (PressIn(m_PointerRect, x, y)) return true;
  if (!RepeatTimer().Enabled()) return false;
  return Horizontal() ? m_PointerRect.Left <= x && x <= m_PointerRect.Right
                      : m_PointerRect.Top <= y && y <= m_PointerRect.Bottom;
}

void TCustomDIBSlider::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                 int32_t y) {
  ui::WeakRef<TCustomDIBSlider> self(this);
  TCustomDIBControl::MouseDown(button, shift, x, y);
  if (!self || !m_IndexPointer.IsValid()) return;
  if (OnPointer(x, y)) {
    StopRepeat();
    m_Dragging = true;
    m_DragOffset = {x - m_PointerRect.Left, y - m_PointerRect.Top};
    Invalidate();
  } else if (PressIn(m_End1Rect, x, y)) {
    MoveBy(-int64_t{m_SmallChange});
  } else if (PressIn(m_End2Rect, x, y)) {
    MoveBy(m_SmallChange);
  } else {
    Page(x, y);
  }
}

// Toward the press by at most LargeChange: the pointer's centre is d pixels away.
void TCustomDIBSlider::Page(int32_t x, int32_t y) {
  const dib::InclusiveRect& p = m_PointerRect;
  const int64_t d = Horizontal() ? x - (p.Left + (int64_t{p.Right} - p.Left) / 2)
                                 : y - (p.Top + (int64_t{p.Bottom} - p.Top) / 2);
  const auto pixels = static_cast<int32_t>(std::min<int64_t>(d < 0 ? -d : d, kHighest));
  const int64_t step = std::min<int64_t>(PixelToDistance(pixels), m_LargeChange);
  MoveBy(d < 0 ? -step : step);
}

void TCustomDIBSlider::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
  ui::WeakRef<TCustomDIBSlider> self(this);
  TCustomDIBControl::MouseMove(shift, x, y);
  if (!self || !m_Dragging) return;
  DragTo(Horizontal() ? int64_t{x} - m_MainRect.Left - m_DragOffset.X
                      : int64_t{y} - m_MainRect.Top - m_DragOffset.Y);
}

// The pointer follows the mouse pixel by pixel and stays where it is dropped, not at the pixel
// of the position that results.
void TCustomDIBSlider::DragTo(int64_t pixel) {
  const int32_t length = TrackLength();
  if (length <= 0) return;
  m_PointerPixel = static_cast<int32_t>(std::clamp<int64_t>(pixel, 0, length));
  m_Position = PixelToPosition(m_PointerPixel);
  LayOutPointer();  // nothing else moves
  Invalidate();
  Change();
}

void TCustomDIBSlider::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                               int32_t y) {
  if (m_Dragging) Invalidate();  // the pointer goes back to PointerOpacityLow
  m_Dragging = false;
  TCustomDIBControl::MouseUp(button, shift, x, y);
}

// Painting ----------------------------------------------------------------------------------

// Track, overlay, caps, pointer: each image with its own transparency, mask and opacity.
void TCustomDIBSlider::Paint() {
  FLUX_ASSERT(DIB() != nullptr);
  TAbstractSuperDIB& dib = *DIB();
  if (TMemoryDIB* main = m_IndexMain.GetImage()) {
    if (!m_StretchBackground) {
      PaintTiled(*main, dib);
    } else if (WidthOf(m_MainRect) > 0 && HeightOf(m_MainRect) > 0) {
      TMemoryDIB& track = Stretched(m_StretchedMain, *main, m_MainRect);
      track.Draw(m_MainRect.Left, m_MainRect.Top, track.Width(), track.Height(), dib);
    }
  }
  if (const TMemoryDIB* overlay = m_IndexOverlay.GetImage()) PaintOverlay(*overlay, dib);
  for (const auto& [link, rect] :
       {std::pair{&m_IndexEnd1, &m_End1Rect}, {&m_IndexEnd2, &m_End2Rect}}) {
    if (TMemoryDIB* end = link->GetImage()) {
      end->Draw(rect->Left, rect->Top, end->Width(), end->Height(), dib);
    }
  }
  // The list's view of the pointer takes the opacity; the stored image keeps its own.
  if (TMemoryDIB* pointer = m_IndexPointer.GetImage()) {
    pointer->SetOpacity(m_Dragging ? m_PointerOpacityHigh : m_PointerOpacityLow);
    pointer->Draw(m_PointerRect.Left, m_PointerRect.Top, pointer->Width(), pointer->Height(), dib);
  }
  TCustomDIBControl::Paint();
}

// The main image at its own size, repeated along the track from its start while a copy starts
// before the track's last pixel, and cut there. An image whose every line along the track is
// one pixel value repeated looks the same stretched over that length, which is one drawing
// instead of one for each copy.
void TCustomDIBSlider::PaintTiled(TAbstractSuperDIB& main, TAbstractSuperDIB& dib) {
  const dib::InclusiveRect& m = m_MainRect;
  const bool horizontal = Horizontal();
  const int64_t start = horizontal ? m.Left : m.Top, last = horizontal ? m.Right : m.Bottom;
  const int64_t size = horizontal ? main.Width() : main.Height();
  if (last <= start || size == 0) return;
  const int64_t length = std::min(last - start + 1, ((last - start - 1) / size + 1) * size);
  const int32_t width = horizontal ? static_cast<int32_t>(length) : main.Width();
  const int32_t height = horizontal ? main.Height() : static_cast<int32_t>(length);
  if (length <= std::numeric_limits<uint16_t>::max() && IsUntransformed(main) &&
      RepeatsAlong(main, horizontal)) {
    TMemoryDIB& track = m_StretchedMain.StretchFrom(main, static_cast<uint16_t>(width),
                                                    static_cast<uint16_t>(height));
    track.Draw(m.Left, m.Top, width, height, dib);
  } else {
    main.DrawTiled(m.Left, m.Top, width, height, dib);
  }
}

// Stretched over the overlay rectangle and drawn up to just before the pointer's leading edge
// (whole in a designer). Borders wider than the track leave no overlay at all.
void TCustomDIBSlider::PaintOverlay(const TAbstractSuperDIB& overlay, TAbstractSuperDIB& dib) {
  const dib::InclusiveRect& r = m_OverlayRect;
  int64_t width = WidthOf(r), height = HeightOf(r);
  if (width < 1 || height < 1) return;
  if (!HasState(ui::ComponentState::Designing)) {
    if (Horizontal()) {
      width = int64_t{m_PointerPixel} - m_OverlayBorderX;
    } else {
      height = int64_t{m_PointerPixel} - m_OverlayBorderY;
    }
  }
  if (width < 1 || height < 1) return;
  TMemoryDIB& image = Stretched(m_StretchedOverlay, overlay, r);
  image.SetOpacity(m_OverlayOpacity);
  image.Draw(r.Left, r.Top, static_cast<int32_t>(width), static_cast<int32_t>(height), dib);
}

#include "DIB/cDIB.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <utility>

#include "DIB/pixels/DIBTransform.h"
#include "ui/graphics/PixelFill.h"
#include "ui/model/TypeBuilder.h"

namespace {

uint32_t ColorToPixelForm(ui::Color color) {
  return ui::ColorToPixel(ui::ColorToRGB(color));
}

std::size_t PixelCount(const flux::MutablePixelView& block) {
  return static_cast<std::size_t>(block.width) * static_cast<std::size_t>(block.height);
}

}  // namespace

// --- TAbstractSuperDIB ---------------------------------------------------------------------

const ui::TypeInfo& TAbstractSuperDIB::StaticType() {
  using T = TAbstractSuperDIB;
  // No defaults: every setting is always stored, in this order.
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TAbstractSuperDIB", ui::Persistent::StaticType())
          .Integer("Angle", &T::Angle, &T::SetAngle)
          .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .Integer("Height", &T::Height, &T::SetHeight)
          .Boolean("Masked", &T::Masked, &T::SetMasked)
          .Integer("Opacity", &T::Opacity, &T::SetOpacity)
          .Float("Scale", &T::ScaleX, &T::SetScale)
          .Boolean("Transparent", &T::Transparent, &T::SetTransparent)
          .Integer("TransparentColor", &T::TransparentColor, &T::SetTransparentColor)
          .Idents(ui::ColorIdents())
          .Enumeration("TransparentMode", &T::TransparentMode, &T::SetTransparentMode,
                       {"tmAuto", "tmFixed"})
          .Integer("Width", &T::Width, &T::SetWidth)
          .Event("OnChange")
          .Build();
  return type;
}

TAbstractSuperDIB::TAbstractSuperDIB() {
  ResetProperties();
}

void TAbstractSuperDIB::SetAngle(uint16_t angle) {
  angle = dib::NormalizeAngle(angle);
  if (angle == m_Angle) return;
  m_Angle = angle;
  Changed();
}

void TAbstractSuperDIB::SetAutoSize(bool autoSize) {
  if (autoSize == m_AutoSize) return;
  m_AutoSize = autoSize;
  Changed();
}

void TAbstractSuperDIB::SetMasked(bool masked) {
  if (masked == m_Masked) return;
  m_Masked = masked;
  Changed();
}

void TAbstractSuperDIB::SetOpacity(uint8_t opacity) {
  if (opacity == m_Opacity) return;
  m_Opacity = opacity;
  Changed();
}

void TAbstractSuperDIB::SetScale(long double scale) {
  if (scale == m_ScaleX && scale == m_ScaleY) return;
  m_ScaleX = m_ScaleY = scale;
  Changed();
}

void TAbstractSuperDIB::SetScaleX(long double scale) {
  if (scale == m_ScaleX) return;
  m_ScaleX = scale;
  Changed();
}

void TAbstractSuperDIB::SetScaleY(long double scale) {
  if (scale == m_ScaleY) return;
  m_ScaleY = scale;
  Changed();
}

void TAbstractSuperDIB::SetTransparent(bool transparent) {
  if (transparent == m_Transparent) return;
  m_Transparent = transparent;
  Changed();
}

uint32_t TAbstractSuperDIB::KeyPixel() const {
  // The first stored pixel is the bottom-left one.
  if (m_TransparentMode == tmAuto && m_Pixels != nullptr) return m_Pixels[0] & dib::kColorBits;
  return m_TransparentColor;
}

ui::Color TAbstractSuperDIB::TransparentColor() const {
  return ui::PixelToColor(KeyPixel());
}

void TAbstractSuperDIB::SetTransparentColor(ui::Color color) {
  const uint32_t pixel = ColorToPixelForm(color);
  if (pixel == m_TransparentColor) return;
  m_TransparentColor = pixel;
  Changed();
}

void TAbstractSuperDIB::SetTransparentMode(TTransparentMode mode) {
  if (mode == m_TransparentMode) return;
  m_TransparentMode = mode;
  Changed();
}

void TAbstractSuperDIB::SetClipRect(const dib::InclusiveRect& rect) {
  dib::InclusiveRect clip = rect;
  if (clip.Left > clip.Right) std::swap(clip.Left, clip.Right);
  if (clip.Top > clip.Bottom) std::swap(clip.Top, clip.Bottom);
  clip.Right = std::min(clip.Right, m_Width - 1);
  clip.Left = std::max(clip.Left, 0);
  clip.Bottom = std::min(clip.Bottom, m_Height - 1);
  clip.Top = std::max(clip.Top, 0);
  m_ClipRect = clip;
}

uint32_t* TAbstractSuperDIB::ScanLine(int32_t row) const {
  if (m_Pixels == nullptr || row < 0 || row >= m_Height) return nullptr;
  return m_Pixels + static_cast<std::ptrdiff_t>(m_Height - 1 - row) * m_Width;
}

flux::MutablePixelView TAbstractSuperDIB::Block() const {
  if (m_Pixels == nullptr) return {nullptr, 0, 0};
  return {m_Pixels, m_Width, m_Height};
}

flux::PixelView TAbstractSuperDIB::ConstBlock() const {
  return Block();
}

void TAbstractSuperDIB::ResetProperties() {
  m_Angle = 0;
  m_Masked = false;
  m_Opacity = 255;
  m_ScaleX = m_ScaleY = 100.0L;
  m_Transparent = false;
  // A routine chosen for the former settings would keep blending as they said.
  SelectDrawRoutine();
}

void TAbstractSuperDIB::SetSize(uint16_t width, uint16_t height) {
  if (width == m_Width && height == m_Height) return;
  const uint16_t newWidth = std::max<uint16_t>(width, 1);
  const uint16_t newHeight = std::max<uint16_t>(height, 1);
  if (m_OwnsPixels) {
    const bool hadPixels = m_Pixels != nullptr;
    m_Width = newWidth;
    m_Height = newHeight;
    try {
      if (hadPixels) {
        ReallocateImage();
      } else {
        AllocateImage();
      }
    } catch (...) {
      m_Width = m_Height = 0;  // back to an image without pixels
      m_ClipRect = {0, 0, -1, -1};
      throw;
    }
  } else if (newWidth != m_Width || newHeight != m_Height) {
    // The shown pixels have the old size: reading them at a new one would leave the block.
    m_Pixels = nullptr;
    m_Width = newWidth;
    m_Height = newHeight;
  }
  m_ClipRect = {0, 0, m_Width - 1, m_Height - 1};
}

void TAbstractSuperDIB::ReallocateImage() {
  FreeImage();
  AllocateImage();
}

void TAbstractSuperDIB::Fill(ui::Color color) {
  const flux::MutablePixelView block = Block();
  ui::FillPixels(block.bits, PixelCount(block), ColorToPixelForm(color));
  Changed();
}

void TAbstractSuperDIB::FillRect(ui::Color color, int32_t x, int32_t y, int32_t width,
                                 int32_t height) {
  if (width <= 0 || height <= 0 || m_Pixels == nullptr) return;
  const auto left = static_cast<int32_t>(std::max<int64_t>(x, 0));
  const auto top = static_cast<int32_t>(std::max<int64_t>(y, 0));
  const auto right = static_cast<int32_t>(std::min<int64_t>(int64_t{x} + width, m_Width));
  const auto bottom = static_cast<int32_t>(std::min<int64_t>(int64_t{y} + height, m_Height));
  if (left >= right || top >= bottom) return;
  const uint32_t pixel = ColorToPixelForm(color);
  for (int32_t row = bottom - 1; row >= top; --row) {  // in storage order
    ui::FillPixels(ScanLine(row) + left, static_cast<std::size_t>(right - left), pixel);
  }
}

void TAbstractSuperDIB::FillAlpha(uint8_t value) {
  const flux::MutablePixelView block = Block();
  const uint32_t mask = uint32_t{value} << 24;
  for (uint32_t& pixel : std::span(block.bits, PixelCount(block))) {
    pixel = (pixel & dib::kColorBits) | mask;
  }
  Changed();
}

void TAbstractSuperDIB::CopyPixelsFrom(const TAbstractSuperDIB& source) {
  SetSize(source.m_Width, source.m_Height);
  const flux::MutablePixelView block = Block();
  if (source.m_Width != 0 && source.m_Height != 0 && block.bits != nullptr &&
      source.m_Pixels != nullptr) {
    // memmove: a view may show the very same pixels.
    std::memmove(block.bits, source.m_Pixels, PixelCount(block) * sizeof(uint32_t));
  }
  Changed();
}

void TAbstractSuperDIB::CopyPropertiesTo(ui::Persistent& target) const {
  auto* image = dynamic_cast<TAbstractSuperDIB*>(&target);
  if (image == nullptr) throw EDIBError("Cannot assign a TAbstractDIB to a " + target.ClassName());
  CopyPropertiesTo(*image);
}

void TAbstractSuperDIB::CopyPropertiesTo(TAbstractSuperDIB& target) const {
  target.m_Angle = m_Angle;
  target.m_AutoSize = m_AutoSize;
  target.m_Masked = m_Masked;
  target.m_Opacity = m_Opacity;
  target.m_ScaleX = m_ScaleX;
  target.m_ScaleY = m_ScaleY;
  target.m_Transparent = m_Transparent;
  target.m_TransparentColor = m_TransparentColor;
  target.m_TransparentMode = m_TransparentMode;
  target.m_DrawRoutine = m_DrawRoutine;
  target.m_DrawRoutineOwner = m_DrawRoutineOwner;
  if (!target.m_OwnsPixels) {
    target.m_Width = m_Width;
    target.m_Height = m_Height;
  }
}

void TAbstractSuperDIB::ShareFrom(TAbstractSuperDIB& source) {
  if (&source == this) return;
  if (m_OwnsPixels && m_Pixels != nullptr) FreeImage();
  m_OwnsPixels = false;
  source.CopyPropertiesTo(*this);
  m_Pixels = source.m_Pixels;
  // The clip belonged to the former pixels: the view clips to what it now shows.
  m_ClipRect = {0, 0, m_Width - 1, m_Height - 1};
}

void TAbstractSuperDIB::AssignTo(ui::Persistent& target) const {
  auto* image = dynamic_cast<TAbstractSuperDIB*>(&target);
  if (image == nullptr) {
    ui::Persistent::AssignTo(target);
    return;
  }
  image->CopyPixelsFrom(*this);
  CopyPropertiesTo(*image);
  image->Changed();
}

void TAbstractSuperDIB::Changed() {
  SelectDrawRoutine();
  if (m_UpdateCount == 0 && m_OnChange) m_OnChange(this);
}

void TAbstractSuperDIB::SelectDrawRoutine() {
  m_DrawRoutineOwner = this;
  m_DrawRoutine = dib::SelectBlitKind(m_Opacity, m_Masked, m_Transparent);
}

void TAbstractSuperDIB::EndUpdate() {
  if (m_UpdateCount == 0) throw EDIBError("EndUpdate without BeginUpdate");
  if (--m_UpdateCount == 0) Changed();
}

// --- TCustomWinDIB -------------------------------------------------------------------------

TCustomWinDIB::TCustomWinDIB() : m_Canvas(&m_Handle) {
  m_Canvas.onChange = [this] { Changed(); };
}

TCustomWinDIB::TCustomWinDIB(uint16_t width, uint16_t height) : TCustomWinDIB() {
  SetSize(width, height);
  SetClipRect({0, 0, width, height});
}

TCustomWinDIB::TCustomWinDIB(TAbstractSuperDIB& source) : TCustomWinDIB() {
  ShareFrom(source);
}

const ui::TypeInfo& TCustomWinDIB::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TCustomWinDIB>("TCustomWinDIB", TAbstractSuperDIB::StaticType()).Build();
  return type;
}

void TCustomWinDIB::AllocateImage() {
  try {
    m_Surface.Reshape(Width(), Height());
  } catch (const std::bad_alloc&) {
    FreeImage();  // also the pixels it may still have had
    throw ui::Exception(
        "Windows error (8) Not enough memory resources are available to process this command.");
  }
  SetPixels(m_Surface.Bits());
  m_Handle.SelectSurface(&m_Surface);
}

void TCustomWinDIB::FreeImage() {
  m_Handle.SelectSurface(nullptr);
  m_Surface = ui::Surface();
  SetPixels(nullptr);
}

void TCustomWinDIB::ReallocateImage() {
  AllocateImage();  // on the storage it has
}

const ui::TypeInfo& TWinDIB::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TWinDIB>("TWinDIB", TCustomWinDIB::StaticType()).Build();
  return type;
}

// --- TCustomMemoryDIB ----------------------------------------------------------------------

TCustomMemoryDIB::TCustomMemoryDIB() = default;

TCustomMemoryDIB::TCustomMemoryDIB(uint16_t width, uint16_t height) {
  SetSize(width, height);
  SetClipRect({0, 0, width, height});
}

TCustomMemoryDIB::TCustomMemoryDIB(TAbstractSuperDIB& source) {
  ShareFrom(source);
}

const ui::TypeInfo& TCustomMemoryDIB::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TCustomMemoryDIB>("TCustomMemoryDIB", TAbstractSuperDIB::StaticType())
          .Build();
  return type;
}

void TCustomMemoryDIB::AllocateImage() {
  // Not cleared: every user overwrites the pixels.
  try {
    m_Storage = std::make_unique_for_overwrite<uint32_t[]>(static_cast<std::size_t>(Width()) *
                                                           static_cast<std::size_t>(Height()));
  } catch (const std::bad_alloc&) {
    throw EDIBError("Not enough memory for a " + std::to_string(Width()) + " x " +
                    std::to_string(Height()) + " image");
  }
  SetPixels(m_Storage.get());
}

void TCustomMemoryDIB::FreeImage() {
  m_Storage.reset();
  SetPixels(nullptr);
}

void TCustomMemoryDIB::AssignTo(ui::Persistent& target) const {
  if (auto* image = dynamic_cast<TCustomMemoryDIB*>(&target)) {
    image->m_ImageFilename = m_ImageFilename;
    image->m_MaskFilename = m_MaskFilename;
  }
  TAbstractSuperDIB::AssignTo(target);
}

const ui::TypeInfo& TMemoryDIB::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TMemoryDIB>("TMemoryDIB", TCustomMemoryDIB::StaticType()).Build();
  return type;
}

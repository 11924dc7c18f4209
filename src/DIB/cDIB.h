#pragma once
// The skinned-control library's images: 32-bit pixels with a per-pixel mask, stored bottom row
// first (DIB/pixels/DIBPixels.h); per-image drawing settings; storage in plain memory (TMemoryDIB)
// or on a drawing surface with a device context and a canvas (TWinDIB); the "Data" stream form;
// drawing one image into another. Images live on the user-interface thread only.
//
// The classes declared here are defined across several files, one concern each:
//   cDIB.cpp           storage, settings, views, assignment, change notification
//   cDIBData.cpp       the "Data" stream form (compressed or not) and the stored properties
//   cDIBDraw.cpp       drawing into another image: clipping, blits, rotation, stretching, regions
//   cDIBImport.cpp     reading pictures and masks from image files
//   cDIBRender8Bit.cpp drawing to an 8-bit display through a palette's lookup table

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "DIB/pixels/DIBBlit.h"
#include "DIB/pixels/DIBClip.h"
#include "DIB/pixels/DIBPixels.h"
#include "ui/graphics/Canvas.h"
#include "ui/graphics/Color.h"
#include "ui/graphics/DeviceContext.h"
#include "ui/graphics/Region.h"
#include "ui/graphics/Surface.h"
#include "ui/model/Events.h"
#include "ui/model/Exception.h"
#include "ui/model/Persistent.h"

namespace ui {
class Stream;
}
class TDIBPalette;

// Misuse of an image.
class EDIBError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

// Compressed "Data" that cannot be read.
class EDIBCompressError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

enum TTransparentMode : uint8_t { tmAuto = 0, tmFixed = 1 };

using TDIBId = std::array<uint8_t, 16>;  // a GUID in its binary form

class TAbstractSuperDIB : public ui::Persistent {
 public:
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // Settings. Setters store a different value and run Changed.
  uint16_t Angle() const { return m_Angle; }
  void SetAngle(uint16_t angle);  // reduced below 360: 370 gives 10
  bool AutoSize() const { return m_AutoSize; }
  void SetAutoSize(bool autoSize);
  bool Masked() const { return m_Masked; }
  void SetMasked(bool masked);
  uint8_t Opacity() const { return m_Opacity; }
  void SetOpacity(uint8_t opacity);
  long double ScaleX() const { return m_ScaleX; }  // percent; also the "Scale" property
  long double ScaleY() const { return m_ScaleY; }
  void SetScale(long double scale);  // both, when either differs
  void SetScaleX(long double scale);
  void SetScaleY(long double scale);
  bool Transparent() const { return m_Transparent; }
  void SetTransparent(bool transparent);
  // The effective key colour as a colour value: tmAuto takes the bottom-left pixel.
  ui::Color TransparentColor() const;
  void SetTransparentColor(ui::Color color);  // system colours are resolved first
  TTransparentMode TransparentMode() const { return m_TransparentMode; }
  void SetTransparentMode(TTransparentMode mode);

  uint16_t Width() const { return m_Width; }
  uint16_t Height() const { return m_Height; }
  void SetWidth(uint16_t width) { SetSize(width, m_Height); }
  void SetHeight(uint16_t height) { SetSize(m_Width, height); }
  // Limits drawing into this image; inclusive on every side.
  const dib::InclusiveRect& ClipRect() const { return m_ClipRect; }
  // Reversed sides are swapped; the result is clamped to the image (Right to Width - 1, ...).
  void SetClipRect(const dib::InclusiveRect& rect);

  bool OwnsPixels() const { return m_OwnsPixels; }  // false for a view (ShareFrom)
  int32_t UpdateCount() const { return m_UpdateCount; }
  const ui::TNotifyEvent& OnChange() const { return m_OnChange; }
  void SetOnChange(const ui::TNotifyEvent& handler) { m_OnChange = handler; }
  dib::BlitKind DrawRoutine() const { return m_DrawRoutine; }
  // The image whose Opacity and stored key colour the routine reads; not owned.
  const TAbstractSuperDIB* DrawRoutineOwner() const { return m_DrawRoutineOwner; }

  // Bottom row first, Width x Height pixels; none before the first allocation.
  uint32_t* Pixels() const { return m_Pixels; }
  uint32_t* ScanLine(int32_t row) const;  // picture row, 0 = top; none outside the image
  bool HasImage() const { return m_Pixels != nullptr || !m_OwnsPixels; }

  // Angle 0, not Masked, Opacity 255, scales 100, not Transparent; the routine follows.
  void ResetProperties();
  // New storage when the size differs (0 counts as 1); contents undefined; clip = whole image.
  // No Changed.
  void SetSize(uint16_t width, uint16_t height);
  void Fill(ui::Color color);  // every pixel, mask byte 0; Changed
  // Picture coordinates, clipped to the image; mask byte 0; no Changed.
  void FillRect(ui::Color color, int32_t x, int32_t y, int32_t width, int32_t height);
  void FillAlpha(uint8_t value);                         // every mask byte; Changed
  void CopyPixelsFrom(const TAbstractSuperDIB& source);  // size and pixels; Changed
  // The drawing settings (and the size, when target is a view); no Changed. EDIBError when
  // target is not an image.
  void CopyPropertiesTo(ui::Persistent& target) const;
  void CopyPropertiesTo(TAbstractSuperDIB& target) const;  // the same, known to be an image
  // Becomes a view of source's pixels and settings; source must outlive the view, and keep
  // its storage while the view is used.
  void ShareFrom(TAbstractSuperDIB& source);

  // SelectDrawRoutine, then OnChange unless updates are pending.
  void Changed();
  void SelectDrawRoutine();  // from Opacity, Masked, Transparent; owner = this image
  void BeginUpdate() { ++m_UpdateCount; }
  void EndUpdate();  // EDIBError without BeginUpdate; the last one runs Changed

  // Pictures the platform loader reads (bitmap, JPEG). A file that cannot be read raises the
  // loader's GraphicError and leaves the image as it was.
  virtual void LoadImageFromFile(const std::string& fileName);
  // Every mask byte becomes the blue byte of the file stretched to this image's size.
  virtual void LoadMaskFromFile(const std::string& fileName);

  // Drawing (picture coordinates). Draws width x height pixels from (srcX, srcY) into dest at
  // (destX, destY) with this image's routine, rotated and scaled when Angle or a scale says so.
  void Draw(int32_t destX, int32_t destY, int32_t width, int32_t height, TAbstractSuperDIB& dest,
            uint16_t srcX = 0, uint16_t srcY = 0);
  // Covers width x height pixels of dest from (destX, destY) with copies of this image side by
  // side from that corner, each drawn as Draw draws it at its own size and cut to the area.
  void DrawTiled(int32_t destX, int32_t destY, int32_t width, int32_t height,
                 TAbstractSuperDIB& dest);
  // As Draw with a plain copy, Angle 0 and scales 100.
  void DrawCopy(int32_t destX, int32_t destY, int32_t width, int32_t height,
                TAbstractSuperDIB& dest, uint16_t srcX = 0, uint16_t srcY = 0);
  // As Draw, copying only the mask bytes.
  void DrawAlpha(int32_t destX, int32_t destY, int32_t width, int32_t height,
                 TAbstractSuperDIB& dest, uint16_t srcX = 0, uint16_t srcY = 0);
  // As Draw, writing the mask bytes as grey.
  void DrawMask(int32_t destX, int32_t destY, int32_t width, int32_t height,
                TAbstractSuperDIB& dest, uint16_t srcX = 0, uint16_t srcY = 0);
  // Fills all of dest with this image rotated and scaled about both centres.
  void TransformInto(TAbstractSuperDIB& dest) const;
  // Fills this image at its own size with source resized by nearest neighbour; Changed.
  void StretchFrom(const TAbstractSuperDIB& source);
  // The pixels whose mask byte is above threshold, or whose colour differs from color; none
  // when no pixel is inside. Rectangles are half-open, in picture coordinates.
  std::optional<ui::Region> MaskToRegion(uint8_t threshold) const;
  std::optional<ui::Region> ColorToRegion(ui::Color color) const;
  // Draws width x height pixels from (srcX, srcY), cut to this image, at (x, y) of an 8-bit
  // device context: each pixel as the palette colour its lookup table gives. EDIBError when
  // the palette has no table or the device is not 8-bit. The copy is always a plain one: rop
  // is taken for the caller's sake only.
  void Render8Bit(ui::DeviceContext& dc, int32_t x, int32_t y, int32_t width, int32_t height,
                  int32_t srcX, int32_t srcY, uint32_t rop, const TDIBPalette& palette) const;

  // "Data": the pixels in the uncompressed or compressed form.
  void DefineProperties(ui::PropertyFiler& filer) override;
  // The "Data" bytes as stored: compressed when CurrentCompressor accepts.
  virtual void WriteData(ui::Stream& data) const;
  // Malformed data raises StreamReadError (or EDIBCompressError) and leaves the image as it was.
  virtual void ReadData(ui::Stream& data);

 protected:
  TAbstractSuperDIB();  // no pixels, settings as ResetProperties

  // Storage: allocate Width x Height pixels and set them with SetPixels; release them; give
  // pixels that have them a new size (the base releases and allocates).
  virtual void AllocateImage() = 0;
  virtual void FreeImage() = 0;
  virtual void ReallocateImage();
  void SetPixels(uint32_t* pixels) { m_Pixels = pixels; }

  // Copies pixels and settings into another image, then runs its Changed.
  void AssignTo(ui::Persistent& target) const override;

 private:
  struct DrawState;

  flux::MutablePixelView Block() const;  // empty when there are no pixels
  flux::PixelView ConstBlock() const;
  uint32_t KeyPixel() const;                            // the effective key colour in pixel form
  DrawState OwnDrawState(dib::BlitKind routine) const;  // the image's own, with this routine
  // Draw, TransformInto and their parts with the given settings in place of the image's own.
  void DrawWith(const DrawState& state, int32_t destX, int32_t destY, int32_t width, int32_t height,
                TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY) const;
  void DrawUntransformed(const DrawState& state, int32_t destX, int32_t destY, int32_t width,
                         int32_t height, TAbstractSuperDIB& dest, uint16_t srcX,
                         uint16_t srcY) const;
  // DrawUntransformed without Changed; whether any pixel was drawn.
  bool BlendUntransformed(const DrawState& state, int32_t destX, int32_t destY, int32_t width,
                          int32_t height, TAbstractSuperDIB& dest, uint16_t srcX,
                          uint16_t srcY) const;
  void DrawTransformed(const DrawState& state, int32_t destX, int32_t destY, int32_t width,
                       int32_t height, TAbstractSuperDIB& dest) const;
  void TransformWith(const DrawState& state, TAbstractSuperDIB& dest) const;
  template <class Inside>
  std::optional<ui::Region> RegionOf(Inside inside) const;
  void ReadUncompressed(const uint8_t* bytes, std::size_t size);

  uint16_t m_Angle = 0;
  bool m_AutoSize = false;
  dib::InclusiveRect m_ClipRect{0, 0, -1, -1};
  uint16_t m_Height = 0;
  bool m_Masked = false;
  uint8_t m_Opacity = 255;
  bool m_OwnsPixels = true;
  long double m_ScaleX = 100.0L;
  long double m_ScaleY = 100.0L;
  bool m_Transparent = false;
  uint32_t m_TransparentColor = 0;  // pixel form
  TTransparentMode m_TransparentMode = tmAuto;
  int32_t m_UpdateCount = 0;
  uint16_t m_Width = 0;
  ui::TNotifyEvent m_OnChange;
  dib::BlitKind m_DrawRoutine = dib::BlitKind::Copy;
  const TAbstractSuperDIB* m_DrawRoutineOwner = this;
  uint32_t* m_Pixels = nullptr;  // owned by the storage class, or by the image a view shows
};

// Storage on a framework surface, with a device context (Handle) and a Canvas bound to it.
// Drawing on the Canvas runs Changed. A view has no surface: its Canvas draws nothing. A new
// size reuses the storage when it is large enough (a scratch image lent to control after
// control allocates only for the largest).
class TCustomWinDIB : public TAbstractSuperDIB {
 public:
  TCustomWinDIB();
  TCustomWinDIB(uint16_t width, uint16_t height);
  explicit TCustomWinDIB(TAbstractSuperDIB& source);  // a view of source
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::DeviceContext& Handle() { return m_Handle; }
  ui::Canvas& Canvas() { return m_Canvas; }

 protected:
  // Out of memory raises the base exception "Windows error (8) ...".
  void AllocateImage() override;
  void FreeImage() override;
  void ReallocateImage() override;

 private:
  ui::Surface m_Surface;
  ui::DeviceContext m_Handle;
  ui::Canvas m_Canvas;
};

class TWinDIB : public TCustomWinDIB {
 public:
  using TCustomWinDIB::TCustomWinDIB;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

// Storage on the heap; remembers the files it was imported from and whether its pixels are
// stored ("Data" is left empty when StoreData is false).
class TCustomMemoryDIB : public TAbstractSuperDIB {
 public:
  TCustomMemoryDIB();
  TCustomMemoryDIB(uint16_t width, uint16_t height);
  explicit TCustomMemoryDIB(TAbstractSuperDIB& source);  // a view of source
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  const std::string& ImageFilename() const { return m_ImageFilename; }
  void SetImageFilename(const std::string& fileName) { m_ImageFilename = fileName; }
  const std::string& MaskFilename() const { return m_MaskFilename; }
  void SetMaskFilename(const std::string& fileName) { m_MaskFilename = fileName; }
  bool StoreData() const { return m_StoreData; }
  void SetStoreData(bool storeData) { m_StoreData = storeData; }

  // As the base, remembering the file name after a successful import.
  void LoadImageFromFile(const std::string& fileName) override;
  void LoadMaskFromFile(const std::string& fileName) override;

  // "Data", then "ImageFilename" and "MaskFilename" when not empty.
  void DefineProperties(ui::PropertyFiler& filer) override;
  void WriteData(ui::Stream& data) const override;  // nothing when StoreData is false
  void ReadData(ui::Stream& data) override;         // an empty "Data" changes nothing

 protected:
  void AllocateImage() override;  // out of memory raises EDIBError
  void FreeImage() override;
  void AssignTo(ui::Persistent& target) const override;  // a memory image also takes the names

 private:
  std::unique_ptr<uint32_t[]> m_Storage;
  std::string m_ImageFilename;
  std::string m_MaskFilename;
  bool m_StoreData = true;
};

class TMemoryDIB : public TCustomMemoryDIB {
 public:
  using TCustomMemoryDIB::TCustomMemoryDIB;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

#include "ui/controls/PictureBox.h"

#include "ui/model/PropertyFiler.h"
#include "ui/model/Stream.h"
#include "ui/model/TypeBuilder.h"

namespace ui {

PictureBox::PictureBox(Component* owner) : WindowlessControl(owner) {
  SetBounds(0, 0, 105, 105);
}

const TypeInfo& PictureBox::StaticType() {
  using T = PictureBox;
  static const TypeInfo type = TypeBuilder<T>("PictureBox", WindowlessControl::StaticType())
                                   .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
                                   .Default(false)
                                   .Boolean("Center", &T::Center, &T::SetCenter)
                                   .Default(false)
                                   .Boolean("Stretch", &T::Stretch, &T::SetStretch)
                                   .Default(false)
                                   .Creatable()
                                   .Build();
  return type;
}

void PictureBox::LoadPicture(std::span<const uint8_t> data) {
  m_Picture.LoadFromMemory(data);
  m_Data.assign(data.begin(), data.end());
  PictureChanged();
}

void PictureBox::ClearPicture() {
  m_Picture = ui::Picture();
  m_Data.clear();
  PictureChanged();
}

void PictureBox::PictureChanged() {
  // A stretched picture covers every pixel of the bounds.
  const bool opaque = m_Stretch && !m_Picture.Empty();
  SetControlStyle(opaque ? ControlStyle() | csOpaque : ControlStyle() & ~csOpaque);
  Invalidate();
  AdjustSize();
}

void PictureBox::SetStretch(bool stretch) {
  if (m_Stretch == stretch) return;
  m_Stretch = stretch;
  PictureChanged();
}

void PictureBox::SetCenter(bool center) {
  if (m_Center == center) return;
  m_Center = center;
  Invalidate();
}

void PictureBox::DefineProperties(PropertyFiler& filer) {
  WindowlessControl::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "PictureData",
      [this](Stream& data) {
        std::vector<uint8_t> bytes(static_cast<std::size_t>(data.Size()));
        data.ReadBuffer(bytes.data(), bytes.size());
        LoadPicture(bytes);
      },
      [this](Stream& data) { data.WriteBuffer(m_Data.data(), m_Data.size()); }, !m_Data.empty());
}

bool PictureBox::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  if (m_Picture.Empty()) return false;
  newWidth = m_Picture.Width();
  newHeight = m_Picture.Height();
  return true;
}

void PictureBox::Paint() {
  if (m_Picture.Empty()) return;
  Rect target = ClientRect();
  if (!m_Stretch) {
    const int32_t left = m_Center ? (Width() - m_Picture.Width()) / 2 : 0;
    const int32_t top = m_Center ? (Height() - m_Picture.Height()) / 2 : 0;
    target = Bounds(left, top, m_Picture.Width(), m_Picture.Height());
  }
  Canvas().StretchDraw(target, m_Picture);
}

}  // namespace ui

#pragma once
// A picture (JPEG or bitmap) drawn at its own size from the top-left corner, centred, or
// stretched over the bounds. The file's bytes are stored with the control ("PictureData").

#include <cstdint>
#include <span>
#include <vector>

#include "ui/controls/WindowlessControl.h"
#include "ui/graphics/Picture.h"

namespace ui {

class PictureBox : public WindowlessControl {
 public:
  explicit PictureBox(Component* owner);

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  const ui::Picture& Picture() const { return m_Picture; }
  // Raises GraphicError for data that is not a picture, keeping the previous one.
  void LoadPicture(std::span<const uint8_t> data);
  void ClearPicture();
  bool Stretch() const { return m_Stretch; }
  void SetStretch(bool stretch);
  bool Center() const { return m_Center; }
  void SetCenter(bool center);

  void DefineProperties(PropertyFiler& filer) override;

 protected:
  void Paint() override;
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;

 private:
  void PictureChanged();

  ui::Picture m_Picture;
  std::vector<uint8_t> m_Data;
  bool m_Stretch = false;
  bool m_Center = false;
};

}  // namespace ui

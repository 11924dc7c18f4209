#pragma once
// A line of text. With AutoSize (the default) its size follows the caption and font; opaque
// it fills its bounds with Color first, transparent it draws only the text. An opaque label's
// pixels depend on nothing but its caption, font, colour and size: it draws them once and
// copies them at every paint until one of these changes.

#include "ui/controls/WindowlessControl.h"
#include "ui/graphics/Surface.h"

namespace ui {

class Label : public WindowlessControl {
 public:
  explicit Label(Component* owner);

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  bool Transparent() const { return m_Transparent; }
  void SetTransparent(bool transparent);

 protected:
  void Dispatch(Message& message) override;
  void Paint() override;
  bool CanAutoSize(int32_t& newWidth, int32_t& newHeight) override;
  void BoundsChanged() override;

 private:
  void Draw(ui::Canvas& canvas);

  bool m_Transparent = false;
  Surface m_Drawn;  // the opaque label's pixels, while m_DrawnValid
  bool m_DrawnValid = false;
};

}  // namespace ui

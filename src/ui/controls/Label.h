#pragma once
// A line of text. With AutoSize (the default) its size follows the caption and font; opaque
// it fills its bounds with Color first, transparent it draws only the text.

#include "ui/controls/WindowlessControl.h"

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

 private:
  bool m_Transparent = false;
};

}  // namespace ui

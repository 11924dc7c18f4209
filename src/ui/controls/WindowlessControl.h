#pragma once
// A control without a window of its own: its parent paints it (WM_PAINT with a device context
// whose origin and clip are the control's) and passes it the mouse messages over it.

#include "ui/controls/Control.h"
#include "ui/graphics/Canvas.h"

namespace ui {

class WindowlessControl : public Control {
 public:
  explicit WindowlessControl(Component* owner) : Control(owner) {}

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  // Bound to the parent's device context while the control paints.
  ui::Canvas& Canvas() { return m_Canvas; }

 protected:
  void Dispatch(Message& message) override;
  virtual void Paint() {}

 private:
  ui::Canvas m_Canvas;
};

}  // namespace ui

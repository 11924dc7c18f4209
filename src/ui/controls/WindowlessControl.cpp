#include "ui/controls/WindowlessControl.h"

#include "ui/model/TypeBuilder.h"

namespace ui {

const TypeInfo& WindowlessControl::StaticType() {
  static const TypeInfo type =
      TypeBuilder<WindowlessControl>("WindowlessControl", Control::StaticType()).Build();
  return type;
}

void WindowlessControl::Dispatch(Message& message) {
  if (message.msg == WM_PAINT) {
    auto* dc = WParamToPointer<DeviceContext>(message.wParam);
    if (!dc) return;  // only its parent paints it
    struct Binding {
      ui::Canvas& canvas;
      ~Binding() { canvas.SetHandle(nullptr); }
    } binding{m_Canvas};
    m_Canvas.SetHandle(dc);
    Paint();
    return;
  }
  Control::Dispatch(message);
}

}  // namespace ui

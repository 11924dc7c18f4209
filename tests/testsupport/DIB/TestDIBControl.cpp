#include "testsupport/DIB/TestDIBControl.h"

#include "DIB/cDIBPanel.h"
#include "ui/controls/PopupMenu.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/TypeBuilder.h"

namespace dibtest {

TTestDIBControl::TTestDIBControl(ui::Component* owner) : TCustomDIBControl(owner) {
  SetColor(ui::clRed);
}

const ui::TypeInfo& TTestDIBControl::StaticType() {
  using T = TTestDIBControl;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TTestDIBControl", TCustomDIBControl::StaticType())
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(ui::ColorIdents())
          .Integer("InnerColor", &T::InnerColor, &T::SetInnerColor)
          .Idents(ui::ColorIdents())
          .Creatable()
          .Build();
  return type;
}

void TTestDIBControl::ExtendUpdateRect(ui::Rect& rect) {
  ++hookCalls;
  rect = {rect.Left - extendBy, rect.Top - extendBy, rect.Right + extendBy, rect.Bottom + extendBy};
}

void TTestDIBControl::WndProc(ui::Message& message) {
  if (message.msg == ui::CM_CHILDKEY && childKeyAnswer != 0) {
    message.result = childKeyAnswer;
    return;
  }
  TCustomDIBControl::WndProc(message);
}

void TTestDIBControl::Paint() {
  ++paints;
  ui::Canvas& canvas = Canvas();
  canvas.brush = {Color(), ui::BrushStyle::Solid};
  canvas.FillRect(ClientRect());
  canvas.brush.color = m_InnerColor;
  canvas.FillRect({Width() / 4, Height() / 4, Width() - Width() / 4, Height() - Height() / 4});
  TCustomDIBControl::Paint();
}

void TTestDIBControl::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                int32_t y) {
  TCustomDIBControl::MouseDown(button, shift, x, y);
  if (button != ui::mbLeft) return;
  ++presses;
  if (pressStops) StopRepeat();
}

void TTestDIBControl::BuildContextMenu(ui::PopupMenu& menu) {
  if (!contextItem.empty()) menu.Items().Add(contextItem);
}

void RegisterTestDIBClasses() {
  ui::ClassRegistry::Register(TTestDIBControl::StaticType());
  RegisterDIBContainerClasses();
}

}  // namespace dibtest

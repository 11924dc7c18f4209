#include "ui/controls/Label.h"

#include "ui/graphics/Blit.h"
#include "ui/model/TypeBuilder.h"

namespace ui {

Label::Label(Component* owner) : WindowlessControl(owner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

const TypeInfo& Label::StaticType() {
  using T = Label;
  static const TypeInfo type =
      TypeBuilder<T>("Label", WindowlessControl::StaticType())
          .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
          .Default(true)
          .String("Caption", &T::Caption, &T::SetCaption)
          .Default("")
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Default(clBtnFace)
          .Object("Font", [](T& label) -> ControlFont& { return label.Font(); })
          .Boolean("Transparent", &T::Transparent, &T::SetTransparent)
          .Default(false)
          .Creatable()
          .Build();
  return type;
}

void Label::SetTransparent(bool transparent) {
  if (m_Transparent == transparent) return;
  m_Transparent = transparent;
  SetControlStyle(transparent ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
}

void Label::Dispatch(Message& message) {
  if (message.msg == CM_TEXTCHANGED || message.msg == CM_FONTCHANGED ||
      message.msg == CM_COLORCHANGED) {
    m_DrawnValid = false;
  }
  if (message.msg == CM_TEXTCHANGED || message.msg == CM_FONTCHANGED) {
    Invalidate();
    AdjustSize();
    return;
  }
  WindowlessControl::Dispatch(message);
}

void Label::BoundsChanged() {
  if (Width() != m_Drawn.Width() || Height() != m_Drawn.Height()) m_DrawnValid = false;
}

bool Label::CanAutoSize(int32_t& newWidth, int32_t& newHeight) {
  const Size extent = TextExtent(Font().Value(), Caption());
  newWidth = extent.cx;
  newHeight = extent.cy;
  return true;
}

void Label::Paint() {
  ui::Canvas& canvas = Canvas();
  if (m_Transparent) {
    Draw(canvas);
    return;
  }
  if (!m_DrawnValid) {
    m_Drawn.SetSize(Width(), Height());
    DeviceContext dc(&m_Drawn);
    ui::Canvas drawing(&dc);
    Draw(drawing);
    m_DrawnValid = true;
  }
  if (DeviceContext* dc = canvas.Handle()) {
    BitBlt(*dc, 0, 0, Width(), Height(), DeviceContext(&m_Drawn), 0, 0);
  }
}

void Label::Draw(ui::Canvas& canvas) {
  if (!m_Transparent) {
    canvas.brush = {Color(), BrushStyle::Solid};
    canvas.FillRect(ClientRect());
  }
  canvas.brush.style = BrushStyle::Clear;
  canvas.font = Font().Value();
  canvas.TextOut(0, 0, Caption());
}

}  // namespace ui

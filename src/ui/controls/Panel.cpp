#include "ui/controls/Panel.h"

#include "ui/graphics/Frame3D.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

void Bevel(Canvas& canvas, Rect& r, TBevelCut cut, int32_t width) {
  if (cut == bvNone) return;
  const bool raised = cut == bvRaised;
  Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
          width);
}

}  // namespace

Panel::Panel(Component* owner) : WindowedControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
  SetBounds(0, 0, 185, 41);
}

const TypeInfo& Panel::StaticType() {
  using T = Panel;
  static const TypeInfo type =
      TypeBuilder<T>("Panel", WindowedControl::StaticType())
          .Enumeration("BevelInner", &T::BevelInner, &T::SetBevelInner,
                       {"bvNone", "bvLowered", "bvRaised"})
          .Default(bvNone)
          .Enumeration("BevelOuter", &T::BevelOuter, &T::SetBevelOuter,
                       {"bvNone", "bvLowered", "bvRaised"})
          .Default(bvRaised)
          .Integer("BevelWidth", &T::BevelWidth, &T::SetBevelWidth)
          .Default(1)
          .Enumeration("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, {"bsNone", "bsSingle"})
          .Default(bsNone)
          .Integer("BorderWidth", &T::BorderWidth, &T::SetBorderWidth)
          .Default(0)
          .String("Caption", &T::Caption, &T::SetCaption)
          .Default("")
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Default(clBtnFace)
          .Object("Font", [](T& panel) -> ControlFont& { return panel.Font(); })
          .Creatable()
          .Build();
  return type;
}

void Panel::AdjustClientRect(Rect& rect) const {
  int32_t inset = m_BorderWidth + (m_BorderStyle == bsSingle ? 1 : 0);
  if (m_BevelOuter != bvNone) inset += m_BevelWidth;
  if (m_BevelInner != bvNone) inset += m_BevelWidth;
  rect = {rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
}

void Panel::Paint() {
  ui::Canvas& canvas = Canvas();
  Rect r = ClientRect();
  if (m_BorderStyle == bsSingle) Frame3D(canvas, r, clBlack, clBlack, 1);
  Bevel(canvas, r, m_BevelOuter, m_BevelWidth);
  canvas.brush = {Color(), BrushStyle::Solid};
  canvas.FillRect(r);
  r = {r.Left + m_BorderWidth, r.Top + m_BorderWidth, r.Right - m_BorderWidth,
       r.Bottom - m_BorderWidth};
  Bevel(canvas, r, m_BevelInner, m_BevelWidth);
  if (Caption().empty()) return;
  canvas.font = Font().Value();
  const Size extent = canvas.TextExtent(Caption());
  canvas.brush.style = BrushStyle::Clear;
  canvas.TextOut((Width() - extent.cx) / 2, (Height() - extent.cy) / 2, Caption());
}

}  // namespace ui

#include "ui/controls/Panel.h"

#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

// Lines `width` pixels wide inside r: top and left in `topLeft`, bottom and right in
// `bottomRight`; r shrinks by the frame.
void Frame3D(Canvas& canvas, Rect& r, Color topLeft, Color bottomRight, int32_t width) {
  for (int32_t i = 0; i < width && !r.IsEmpty(); ++i) {
    canvas.brush = {topLeft, BrushStyle::Solid};
    canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    canvas.brush.color = bottomRight;
    canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
}

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

#pragma once
// A windowed container that draws itself: colour, an optional single border, outer and inner
// bevels and a centred caption. It is the base for windowed controls that paint with a canvas.

#include <algorithm>

#include "ui/controls/WindowedControl.h"

namespace ui {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised };
enum TBorderStyle : uint8_t { bsNone, bsSingle };

class Panel : public WindowedControl {
 public:
  explicit Panel(Component* owner);

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  TBevelCut BevelOuter() const { return m_BevelOuter; }
  void SetBevelOuter(TBevelCut bevel) { Change(m_BevelOuter, bevel); }
  TBevelCut BevelInner() const { return m_BevelInner; }
  void SetBevelInner(TBevelCut bevel) { Change(m_BevelInner, bevel); }
  int32_t BevelWidth() const { return m_BevelWidth; }
  void SetBevelWidth(int32_t width) { Change(m_BevelWidth, std::max(width, 1)); }
  TBorderStyle BorderStyle() const { return m_BorderStyle; }
  void SetBorderStyle(TBorderStyle style) { Change(m_BorderStyle, style); }
  int32_t BorderWidth() const { return m_BorderWidth; }
  void SetBorderWidth(int32_t width) { Change(m_BorderWidth, std::max(width, 0)); }

  // Inside the border and the bevels.
  void AdjustClientRect(Rect& rect) const override;

 protected:
  void Paint() override;

 private:
  template <class V>
  void Change(V& field, V value) {
    if (field == value) return;
    field = value;
    Realign();
    Invalidate();
  }

  TBevelCut m_BevelOuter = bvRaised;
  TBevelCut m_BevelInner = bvNone;
  int32_t m_BevelWidth = 1;
  TBorderStyle m_BorderStyle = bsNone;
  int32_t m_BorderWidth = 0;
};

}  // namespace ui

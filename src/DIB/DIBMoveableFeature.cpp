#include "DIB/DIBMoveableFeature.h"

#include <optional>

#include "ui/controls/Control.h"
#include "ui/model/TypeBuilder.h"

namespace {

// The button flag a mouse message's wParam carries while that button is held.
uintptr_t HeldFlag(ui::TMouseButton button) {
  switch (button) {
    case ui::mbLeft:
      return ui::MK_LBUTTON;
    case ui::mbRight:
      return ui::MK_RBUTTON;
    case ui::mbMiddle:
      return ui::MK_MBUTTON;
  }
  return 0;
}

// The button a press (or release) message is about; none for other messages.
std::optional<ui::TMouseButton> ButtonOf(uint32_t msg, bool press) {
  if (msg == (press ? ui::WM_LBUTTONDOWN : ui::WM_LBUTTONUP)) return ui::mbLeft;
  if (msg == (press ? ui::WM_RBUTTONDOWN : ui::WM_RBUTTONUP)) return ui::mbRight;
  if (msg == (press ? ui::WM_MBUTTONDOWN : ui::WM_MBUTTONUP)) return ui::mbMiddle;
  return std::nullopt;
}

}  // namespace

const ui::TypeInfo& TMoveableDIB::StaticType() {
  using T = TMoveableDIB;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TMoveableDIB", TDIBFeature::StaticType())
          .Boolean("AllowHorizontal", &T::AllowHorizontal, &T::SetAllowHorizontal)
          .Default(true)
          .Boolean("AllowVertical", &T::AllowVertical, &T::SetAllowVertical)
          .Default(true)
          .Integer("BorderSize", &T::BorderSize, &T::SetBorderSize)
          .Default(0)
          .Set("MouseButtons", &T::MouseButtons, &T::SetMouseButtons,
               {"mbLeft", "mbRight", "mbMiddle"})
          .Default(1 << ui::mbLeft)
          .Integer("SnapSize", &T::SnapSize, &T::SetSnapSize)
          .Default(1)
          .Creatable()
          .Build();
  return type;
}

std::string TMoveableDIB::GetFeatureName() const {
  return "Moveable DIB";
}

void TMoveableDIB::HandleMessage(ui::Message& message, bool&) {
  if (Control() == nullptr) return;
  if (message.msg == ui::WM_KEYDOWN) {
    KeyDown(message.wParam);
    return;
  }
  if (m_Dragging) {
    Drag(message);
  } else if (const std::optional<ui::TMouseButton> pressed = ButtonOf(message.msg, true)) {
    Press(*pressed, message);
  }
}

void TMoveableDIB::MoveBy(int32_t dx, int32_t dy) {
  ui::Control& control = *Control();
  control.SetBounds(control.Left() + dx, control.Top() + dy, control.Width(), control.Height());
}

void TMoveableDIB::KeyDown(uintptr_t key) {
  const int32_t step = m_SnapSize;
  if (m_AllowHorizontal && key == ui::VK_LEFT) MoveBy(-step, 0);
  if (m_AllowHorizontal && key == ui::VK_RIGHT) MoveBy(step, 0);
  if (m_AllowVertical && key == ui::VK_UP) MoveBy(0, -step);
  if (m_AllowVertical && key == ui::VK_DOWN) MoveBy(0, step);
}

void TMoveableDIB::Drag(const ui::Message& message) {
  if (ButtonOf(message.msg, false) == m_DragButton) {
    m_Dragging = false;
    return;
  }
  if (message.msg != ui::WM_MOUSEMOVE) return;
  // Only the left button is captured: another one may have been let go where the control could
  // not see it.
  if ((message.wParam & HeldFlag(m_DragButton)) == 0) {
    m_Dragging = false;
    return;
  }
  const ui::Point p = ui::LParamToPoint(message.lParam);
  const int32_t dx = m_AllowHorizontal ? Snapped(p.X - m_PressPoint.X) : 0;
  const int32_t dy = m_AllowVertical ? Snapped(p.Y - m_PressPoint.Y) : 0;
  if (dx != 0 || dy != 0) MoveBy(dx, dy);
}

void TMoveableDIB::Press(ui::TMouseButton button, const ui::Message& message) {
  m_DragButton = button;
  const ui::Point p = ui::LParamToPoint(message.lParam);
  if ((m_MouseButtons & (1 << button)) == 0 || !OnBorder(p)) return;
  m_Dragging = true;
  m_PressPoint = p;
}

bool TMoveableDIB::OnBorder(ui::Point p) const {
  if (m_BorderSize == 0) return true;
  const ui::Control& control = *Control();
  return p.X < m_BorderSize || p.Y < m_BorderSize || p.X >= control.Width() - m_BorderSize ||
         p.Y >= control.Height() - m_BorderSize;
}

// Whole steps only, cut towards zero: 7 with steps of 4 is 4, and -7 is -4.
int32_t TMoveableDIB::Snapped(int32_t distance) const {
  if (m_SnapSize <= 1) return distance;
  return distance / m_SnapSize * m_SnapSize;
}

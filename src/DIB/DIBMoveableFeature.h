#pragma once
// A feature that lets the user move its control: the arrow keys move it by SnapSize pixels, and
// a drag with one of MouseButtons moves it in steps of SnapSize (a step is completed before the
// control follows). With BorderSize above 0 a drag starts only from a press within BorderSize
// pixels of the control's edge, so that the inside keeps its own use of the mouse.
//
// The left button is captured by the control while held; the others are not, and a drag with
// one of them ends at the first mouse move without that button held, wherever it was released.

#include <cstdint>
#include <string>

#include "DIB/cDIBFeatures.h"
#include "ui/model/Events.h"

class TMoveableDIB : public TDIBFeature {
 public:
  explicit TMoveableDIB(ui::Component* owner) : TDIBFeature(owner) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  bool AllowHorizontal() const { return m_AllowHorizontal; }
  void SetAllowHorizontal(bool allow) { m_AllowHorizontal = allow; }
  bool AllowVertical() const { return m_AllowVertical; }
  void SetAllowVertical(bool allow) { m_AllowVertical = allow; }
  uint8_t BorderSize() const { return m_BorderSize; }
  void SetBorderSize(uint8_t size) { m_BorderSize = size; }
  ui::TMouseButtons MouseButtons() const { return m_MouseButtons; }
  void SetMouseButtons(ui::TMouseButtons buttons) { m_MouseButtons = buttons; }
  uint8_t SnapSize() const { return m_SnapSize; }
  void SetSnapSize(uint8_t size) { m_SnapSize = size; }

  bool Dragging() const { return m_Dragging; }

  std::string GetFeatureName() const override;  // "Moveable DIB"
  // Leaves handled as it is: the control sees the keys and the mouse too.
  void HandleMessage(ui::Message& message, bool& handled) override;

 private:
  void MoveBy(int32_t dx, int32_t dy);
  void KeyDown(uintptr_t key);
  void Drag(const ui::Message& message);
  void Press(ui::TMouseButton button, const ui::Message& message);
  bool OnBorder(ui::Point p) const;
  int32_t Snapped(int32_t distance) const;

  bool m_AllowHorizontal = true;
  bool m_AllowVertical = true;
  uint8_t m_BorderSize = 0;
  ui::TMouseButtons m_MouseButtons = 1 << ui::mbLeft;
  uint8_t m_SnapSize = 1;
  bool m_Dragging = false;
  ui::TMouseButton m_DragButton = ui::mbLeft;
  ui::Point m_PressPoint;
};

#pragma once
// A skinned control for the container and control tests: it paints a square of its Color with
// an inner square of InnerColor through its canvas (the image it is lent), counts its paints,
// may enlarge the container's update rectangle, may take a press as one that stops the
// repetition (as a slider's pointer does), and may offer an item for the shared context menu.

#include <cstdint>
#include <string>

#include "DIB/cDIBControl.h"

namespace dibtest {

class TTestDIBControl : public TCustomDIBControl {
 public:
  explicit TTestDIBControl(ui::Component* owner);
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Color InnerColor() const { return m_InnerColor; }
  void SetInnerColor(ui::Color color) { m_InnerColor = color; }

  int paints = 0;
  int presses = 0;              // left presses seen, repeated ones included
  int hookCalls = 0;            // ExtendUpdateRect
  int32_t extendBy = 0;         // pixels added to the update rectangle on every side
  bool pressStops = false;      // a press asks for no repetition
  intptr_t childKeyAnswer = 0;  // the answer to CM_CHILDKEY
  std::string contextItem;      // offered to the shared context menu when not empty

  void ExtendUpdateRect(ui::Rect& rect) override;
  using TCustomDIBControl::CreateImageLink;
  using TCustomDIBControl::RegisterTemplateProperty;

 protected:
  void WndProc(ui::Message& message) override;
  void Paint() override;
  void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
  void BuildContextMenu(ui::PopupMenu& menu) override;

 private:
  ui::Color m_InnerColor = ui::clWhite;
};

// TTestDIBControl and TDIBContainer for the stream readers (idempotent).
void RegisterTestDIBClasses();

}  // namespace dibtest

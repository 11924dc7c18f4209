#pragma once
// A skinned control for the template tests and fuzzing: three published image links and a
// template property of every kind a template holds, besides a property that is not in its
// template and an owned component it publishes (which no template may hold).

#include <cstdint>
#include <string>

#include "DIB/cDIBControl.h"

namespace dibtest {

enum TTemplateStyle : uint8_t { tsPlain, tsRaised, tsSunken };

class TTemplateTestControl : public TCustomDIBControl {
 public:
  explicit TTemplateTestControl(ui::Component* owner);
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TDIBImageLink& IndexMain() const { return m_IndexMain; }
  TDIBImageLink& IndexOverlay() const { return m_IndexOverlay; }
  TDIBImageLink& IndexPointer() const { return m_IndexPointer; }
  ui::Component& Helper() const { return m_Helper; }

  // In the template:
  std::string caption;
  double ratio = 0.5;
  TTemplateStyle style = tsPlain;
  uint8_t options = 0;  // bits of "opWrap", "opSnap", "opTicks"
  int64_t big = 0;
  char key = 'a';
  // Not in the template:
  int32_t counter = 0;

  using TCustomDIBControl::RegisterTemplateProperty;

 private:
  TDIBImageLink& m_IndexMain;
  TDIBImageLink& m_IndexOverlay;
  TDIBImageLink& m_IndexPointer;
  ui::Component& m_Helper;
};

}  // namespace dibtest

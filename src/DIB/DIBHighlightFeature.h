#pragma once
// A feature that shows its skinned control at HighlightOpacity while the control has the
// keyboard or the mouse is over it, and at its own Opacity otherwise. The own opacity is saved
// when the highlight begins and given back when it ends; an end without a beginning (the mouse
// was already over the control when the feature came) leaves the opacity alone.

#include <cstdint>
#include <string>

#include "DIB/cDIBFeatures.h"

class TCustomDIBControl;

class THighlightDIB : public TDIBFeature {
 public:
  explicit THighlightDIB(ui::Component* owner) : TDIBFeature(owner) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  uint8_t HighlightOpacity() const { return m_HighlightOpacity; }
  void SetHighlightOpacity(uint8_t opacity) { m_HighlightOpacity = opacity; }

  bool CanAttachTo(ui::Control& control) override;  // skinned controls only
  std::string GetFeatureName() const override;      // "Highlight dib"
  // Leaves handled as it is: the control sees focus and hover messages too.
  void HandleMessage(ui::Message& message, bool& handled) override;

 private:
  void Begin(TCustomDIBControl& control);
  void End(TCustomDIBControl& control);

  uint8_t m_HighlightOpacity = 255;
  bool m_Saved = false;  // a highlight began and has not ended
  uint8_t m_SavedOpacity = 255;
};

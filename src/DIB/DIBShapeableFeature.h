#pragma once
// A feature that limits its skinned control's mouse area to the shape the control draws: the
// framework asks each control whether a point is its own (CM_HITTEST) before it gives it the
// mouse, and the feature answers from a region of the control's drawn pixels, so that a press
// beside the shape goes to whatever lies beneath.
//
// The region is made by painting the control alone into a cleared image of its size: with
// MaskLevel above 0 it holds the pixels whose mask byte is above MaskLevel; otherwise the pixels
// whose colour differs from the key colour (TransparentColor with tmFixed, the bottom-left
// pixel with tmAuto). It is made again only after the control was invalidated other than by a
// move (LastInvalidated). A control that draws nothing at all has no region and takes every
// point.

#include <cstdint>
#include <optional>
#include <string>

#include "DIB/cDIB.h"
#include "DIB/cDIBFeatures.h"
#include "ui/graphics/Region.h"

class TCustomDIBControl;

class TShapeableDIB : public TDIBFeature {
 public:
  explicit TShapeableDIB(ui::Component* owner) : TDIBFeature(owner) {}
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Color TransparentColor() const { return m_TransparentColor; }
  void SetTransparentColor(ui::Color color) { m_TransparentColor = color; }
  TTransparentMode TransparentMode() const { return m_TransparentMode; }
  void SetTransparentMode(TTransparentMode mode) { m_TransparentMode = mode; }
  uint8_t MaskLevel() const { return m_MaskLevel; }
  void SetMaskLevel(uint8_t level) { m_MaskLevel = level; }

  bool CanAttachTo(ui::Control& control) override;  // skinned controls only
  std::string GetFeatureName() const override;      // "Shapeable DIB"
  // Answers CM_HITTEST (and keeps it from the control): 1 inside the shape, else 0.
  void HandleMessage(ui::Message& message, bool& handled) override;

 private:
  void MakeRegion(TCustomDIBControl& control);

  ui::Color m_TransparentColor = 0;
  TTransparentMode m_TransparentMode = tmAuto;
  uint8_t m_MaskLevel = 0;
  std::optional<ui::Region> m_Region;
  uint32_t m_Stamp = 1234;  // the LastInvalidated the region was made for
};

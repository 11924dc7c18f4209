#include "DIB/DIBShapeableFeature.h"

#include <algorithm>

#include "DIB/cDIBControl.h"
#include "ui/model/TypeBuilder.h"

namespace {

uint16_t ImageSide(int32_t side) {
  return static_cast<uint16_t>(std::clamp<int32_t>(side, 0, UINT16_MAX));
}

}  // namespace

const ui::TypeInfo& TShapeableDIB::StaticType() {
  using T = TShapeableDIB;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TShapeableDIB", TDIBFeature::StaticType())
          .Integer("TransparentColor", &T::TransparentColor, &T::SetTransparentColor)
          .Idents(ui::ColorIdents())
          .Default(0)
          .Enumeration("TransparentMode", &T::TransparentMode, &T::SetTransparentMode,
                       {"tmAuto", "tmFixed"})
          .Default(tmAuto)
          .Integer("MaskLevel", &T::MaskLevel, &T::SetMaskLevel)
          .Default(0)
          .Creatable()
          .Build();
  return type;
}

bool TShapeableDIB::CanAttachTo(ui::Control& control) {
  return dynamic_cast<TCustomDIBControl*>(&control) != nullptr;
}

std::string TShapeableDIB::GetFeatureName() const {
  return "Shapeable DIB";
}

void TShapeableDIB::HandleMessage(ui::Message& message, bool& handled) {
  if (message.msg != ui::CM_HITTEST) return;
  auto* control = dynamic_cast<TCustomDIBControl*>(Control());
  if (control == nullptr) return;
  handled = true;
  if (m_Stamp != control->LastInvalidated()) MakeRegion(*control);
  const ui::Point p = ui::LParamToPoint(message.lParam);
  message.result = !m_Region || m_Region->Contains(p.X, p.Y) ? 1 : 0;
}

void TShapeableDIB::MakeRegion(TCustomDIBControl& control) {
  TWinDIB image(ImageSide(control.Width()), ImageSide(control.Height()));
  image.Fill(0);
  control.SetDIB(&image);
  control.Canvas().SetHandle(&image.Handle());
  struct Unlend {
    TCustomDIBControl& control;
    ~Unlend() {
      control.Canvas().SetHandle(nullptr);
      control.SetDIB(nullptr);
    }
  } unlend{control};
  control.Paint();
  if (m_MaskLevel != 0) {
    m_Region = image.MaskToRegion(m_MaskLevel);
  } else {
    // The image's own key colour: the bottom-left pixel with tmAuto.
    image.SetTransparentMode(m_TransparentMode);
    image.SetTransparentColor(m_TransparentColor);
    m_Region = image.ColorToRegion(image.TransparentColor());
  }
  m_Stamp = control.LastInvalidated();
}

#include "DIB/DIBHighlightFeature.h"

#include "DIB/cDIBControl.h"
#include "ui/model/TypeBuilder.h"

const ui::TypeInfo& THighlightDIB::StaticType() {
  using T = THighlightDIB;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("THighlightDIB", TDIBFeature::StaticType())
          .Integer("HighlightOpacity", &T::HighlightOpacity, &T::SetHighlightOpacity)
          .Default(255)
          .Creatable()
          .Build();
  return type;
}

bool THighlightDIB::CanAttachTo(ui::Control& control) {
  return dynamic_cast<TCustomDIBControl*>(&control) != nullptr;
}

std::string THighlightDIB::GetFeatureName() const {
  return "Highlight dib";
}

// The feature sees each message before the control, so Focused and Hot are still as they were.
void THighlightDIB::HandleMessage(ui::Message& message, bool&) {
  auto* control = dynamic_cast<TCustomDIBControl*>(Control());
  if (control == nullptr) return;
  const bool focused = control->Focused();
  switch (message.msg) {
    case ui::WM_SETFOCUS:
      if (!focused && !control->Hot()) Begin(*control);
      break;
    case ui::WM_KILLFOCUS:
      if (focused && !control->Hot()) End(*control);
      break;
    case ui::CM_MOUSEENTER:
      if (!focused && !control->MouseCapture()) Begin(*control);
      break;
    case ui::CM_MOUSELEAVE:
      if (!focused && !control->MouseCapture()) End(*control);
      break;
    case ui::WM_LBUTTONUP:
      control->SetMouseCapture(false);
      break;
    default:
      break;
  }
}

void THighlightDIB::Begin(TCustomDIBControl& control) {
  if (!m_Saved) {
    m_SavedOpacity = control.Opacity();
    m_Saved = true;
  }
  control.SetOpacity(m_HighlightOpacity);
}

void THighlightDIB::End(TCustomDIBControl& control) {
  if (!m_Saved) return;
  m_Saved = false;
  control.SetOpacity(m_SavedOpacity);
}

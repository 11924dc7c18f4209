#include "testsupport/ui/FormFixture.h"

#include "ui/controls/Application.h"

namespace uitest {

std::string LoggedName(uint32_t msg) {
  using namespace ui;
  switch (msg) {
    case WM_SETFOCUS:
      return "SETFOCUS";
    case WM_KILLFOCUS:
      return "KILLFOCUS";
    case WM_KEYDOWN:
      return "KEYDOWN";
    case WM_KEYUP:
      return "KEYUP";
    case WM_CHAR:
      return "CHAR";
    case WM_LBUTTONDOWN:
      return "LDOWN";
    case WM_LBUTTONUP:
      return "LUP";
    case WM_RBUTTONDOWN:
      return "RDOWN";
    case CM_MOUSEENTER:
      return "ENTER";
    case CM_MOUSELEAVE:
      return "LEAVE";
    case CM_ENTER:
      return "CM_ENTER";
    case CM_EXIT:
      return "CM_EXIT";
    case CM_FOCUSCHANGED:
      return "FOCUSCHANGED";
    case CN_KEYDOWN:
      return "CN_KEYDOWN";
    case CN_CHAR:
      return "CN_CHAR";
    case CN_KEYUP:
      return "CN_KEYUP";
    case CM_CHILDKEY:
      return "CHILDKEY";
    case WM_GETDLGCODE:
      return "GETDLGCODE";
    case CM_DIALOGCHAR:
      return "DIALOGCHAR";
    case WM_CAPTURECHANGED:
      return "CAPTURECHANGED";
    default:
      return {};
  }
}

FormFixture::FormFixture() {
  m_Host = m_Backend.CreateHostWindow({kHostX, kHostY, kHostX + 400, kHostY + 300});
  m_Form = std::make_unique<ui::Form>(nullptr, m_Host);
  m_Form->SetBounds(kFormX, kFormY, 200, 100);
  m_Form->SetColor(ui::clSilver);
  m_Form->Show();
  m_Backend.Pump();
}

FormFixture::~FormFixture() {
  m_Form.reset();
  ui::Application::Instance().OnException = {};
}

}  // namespace uitest

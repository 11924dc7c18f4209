#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {

ContainerFixture::ContainerFixture()
    : m_Container(ui::Create<ContainerProbe>(*m_Form, m_Log, "container")) {
  m_Container.SetParent(m_Form.get());
  m_Container.SetBounds(kContainerX, kContainerY, 180, 80);
  m_Container.SetColor(ui::clSilver);
  m_Backend.Pump();
}

SkinnedProbe& ContainerFixture::AddSkinned(const std::string& name, ui::Rect bounds,
                                           int16_t tabOrder) {
  SkinnedProbe& control = ui::Create<SkinnedProbe>(*m_Form, m_Log, name);
  control.SetParent(&m_Container);
  control.SetBoundsRect(bounds);
  control.SetDIBTabOrder(tabOrder);
  return control;
}

std::vector<ui::Rect> ContainerFixture::PresentedInContainer() {
  std::vector<ui::Rect> areas = m_Backend.TakePresented(m_Form->Handle());
  for (ui::Rect& area : areas) area = area.Offset(-kContainerX, -kContainerY);
  return areas;
}

}  // namespace dibtest

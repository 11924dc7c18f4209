#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {

ContainerFixture::ContainerFixture()
    : container(ui::Create<ContainerProbe>(*form, log, "container")) {
  container.SetParent(form.get());
  container.SetBounds(kContainerX, kContainerY, 180, 80);
  container.SetColor(ui::clSilver);
  backend.Pump();
}

SkinnedProbe& ContainerFixture::AddSkinned(const std::string& name, ui::Rect bounds,
                                           int16_t tabOrder) {
  SkinnedProbe& control = ui::Create<SkinnedProbe>(*form, log, name);
  control.SetParent(&container);
  control.SetBoundsRect(bounds);
  control.SetDIBTabOrder(tabOrder);
  return control;
}

std::vector<ui::Rect> ContainerFixture::PresentedInContainer() {
  std::vector<ui::Rect> areas = backend.TakePresented(form->Handle());
  for (ui::Rect& area : areas) area = area.Offset(-kContainerX, -kContainerY);
  return areas;
}

}  // namespace dibtest

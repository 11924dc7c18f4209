#pragma once
// A skinned-control container in a form on the headless backend, for the container and
// control tests: test controls and the container log their messages like the framework's
// probes.

#include <string>

#include "DIB/cDIBPanel.h"
#include "testsupport/DIB/TestDIBControl.h"
#include "testsupport/ui/FormFixture.h"

namespace dibtest {

using SkinnedProbe = uitest::Probe<TTestDIBControl>;
using ContainerProbe = uitest::Probe<TDIBContainer>;

class ContainerFixture : public uitest::FormFixture {
 protected:
  ContainerFixture();

  // A skinned control in the container at bounds (container coordinates).
  SkinnedProbe& AddSkinned(const std::string& name, ui::Rect bounds, int16_t tabOrder = -1);
  // Screen coordinates of a point of the container's client.
  static int32_t CX(int32_t x) { return X(kContainerX + x); }
  static int32_t CY(int32_t y) { return Y(kContainerY + y); }
  // The presented areas since the last call, in container coordinates.
  std::vector<ui::Rect> PresentedInContainer();

  static constexpr int32_t kContainerX = 10, kContainerY = 10;
  ContainerProbe& m_Container;
};

}  // namespace dibtest

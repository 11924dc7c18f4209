// A container composing skinned controls at opacity 255, 128 and 0, a transparent label over
// them and a border of images, with the border under and over the controls, compared pixel for
// pixel with committed PNG files. Set FLUX_UPDATE_GOLDEN=1 to rewrite them after a deliberate
// change, then look at them.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DIB/cDIBBorder.h"
#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "testsupport/DIB/GoldenFrame.h"
#include "testsupport/DIB/TestDIBControl.h"
#include "ui/controls/Form.h"
#include "ui/controls/Label.h"

namespace dibtest {
namespace {

class ContainerGolden : public ::testing::Test {
 protected:
  ContainerGolden() {
    form = std::make_unique<ui::Form>(nullptr, backend.CreateHostWindow({0, 0, 200, 90}));
    form->SetBounds(0, 0, 200, 90);
    container = &ui::Create<TDIBContainer>(*form);
    container->SetParent(form.get());
    container->SetAlign(ui::alClient);
    container->SetColor(ui::clSilver);
    MakeBorder();
    AddControl(ui::Bounds(2, 20, 50, 30), 255, ui::clRed, ui::clWhite);
    AddControl(ui::Bounds(40, 32, 60, 30), 128, ui::clBlue, ui::clYellow);
    AddControl(ui::Bounds(120, 20, 50, 30), 0, ui::clGreen, ui::clBlack);
    ui::Label& label = ui::Create<ui::Label>(*form);
    label.SetParent(container);
    label.SetTransparent(true);
    label.SetBounds(56, 44, 0, 0);
    label.Font().SetColor(ui::clBlack);
    label.SetCaption("Value 127");
    form->Show();
  }

  // Edges of images: each side a striped middle piece, the top and bottom with corner pieces.
  void MakeBorder() {
    TDIBImageList& list = ui::Create<TDIBImageList>(*form);
    const auto add = [&list](uint16_t width, uint16_t height, ui::Color color, bool across) {
      TMemoryDIB& image = list.DIBImages().Add().DIB();
      image.SetSize(width, height);
      image.Fill(color);
      const int32_t stripes = across ? height : width;
      for (int32_t i = 1; i < stripes; i += 2) {
        image.FillRect(ui::clNavy, across ? 0 : i, across ? i : 0, across ? width : 1,
                       across ? 1 : height);
      }
      return list.DIBImages().Count() - 1;
    };
    const int32_t side = add(6, 8, ui::clTeal, false);
    const int32_t edge = add(8, 6, ui::clTeal, true);
    const int32_t corner = add(6, 6, ui::clMaroon, false);
    TDIBBorder& border = ui::Create<TDIBBorder>(*form);
    border.SetDIBImageList(&list);
    border.BorderLeft().ImageMiddle().SetDIBIndex(side);
    border.BorderRight().ImageMiddle().SetDIBIndex(side);
    for (TDIBHorzBorderEdge* horizontal : {&border.BorderTop(), &border.BorderBottom()}) {
      horizontal->ImageMiddle().SetDIBIndex(edge);
      horizontal->ImageLeft().SetDIBIndex(corner);
      horizontal->ImageRight().SetDIBIndex(corner);
    }
    container->SetDIBBorder(&border);
  }

  void AddControl(ui::Rect bounds, uint8_t opacity, ui::Color color, ui::Color inner) {
    TTestDIBControl& control = ui::Create<TTestDIBControl>(*form);
    control.SetParent(container);
    control.SetBoundsRect(bounds);
    control.SetOpacity(opacity);
    control.SetColor(color);
    control.SetInnerColor(inner);
  }

  void ExpectGolden(const std::string& name) {
    backend.Pump();
    ExpectFrameMatchesGolden(backend, form->Handle(), name);
  }

  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  std::unique_ptr<ui::Form> form;
  TDIBContainer* container = nullptr;
};

TEST_F(ContainerGolden, TheBorderOverTheControls) {
  container->SetBorderDrawPosition(bdOverControls);
  ExpectGolden("container_border_over");
}

TEST_F(ContainerGolden, TheBorderUnderTheControls) {
  container->SetBorderDrawPosition(bdUnderControls);
  ExpectGolden("container_border_under");
}

}  // namespace
}  // namespace dibtest

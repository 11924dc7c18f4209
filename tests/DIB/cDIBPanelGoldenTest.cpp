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
    m_Form = std::make_unique<ui::Form>(nullptr, m_Backend.CreateHostWindow({0, 0, 200, 90}));
    m_Form->SetBounds(0, 0, 200, 90);
    m_Container = &ui::Create<TDIBContainer>(*m_Form);
    m_Container->SetParent(m_Form.get());
    m_Container->SetAlign(ui::alClient);
    m_Container->SetColor(ui::clSilver);
    MakeBorder();
    AddControl(ui::Bounds(2, 20, 50, 30), 255, ui::clRed, ui::clWhite);
    AddControl(ui::Bounds(40, 32, 60, 30), 128, ui::clBlue, ui::clYellow);
    AddControl(ui::Bounds(120, 20, 50, 30), 0, ui::clGreen, ui::clBlack);
    ui::Label& label = ui::Create<ui::Label>(*m_Form);
    label.SetParent(m_Container);
    label.SetTransparent(true);
    label.SetBounds(56, 44, 0, 0);
    label.Font().SetColor(ui::clBlack);
    label.SetCaption("Value 127");
    m_Form->Show();
  }

  // Edges of images: each side a striped middle piece, the top and bottom with corner pieces.
  void MakeBorder() {
    TDIBImageList& list = ui::Create<TDIBImageList>(*m_Form);
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
    TDIBBorder& border = ui::Create<TDIBBorder>(*m_Form);
    border.SetDIBImageList(&list);
    border.BorderLeft().ImageMiddle().SetDIBIndex(side);
    border.BorderRight().ImageMiddle().SetDIBIndex(side);
    for (TDIBHorzBorderEdge* horizontal : {&border.BorderTop(), &border.BorderBottom()}) {
      horizontal->ImageMiddle().SetDIBIndex(edge);
      horizontal->ImageLeft().SetDIBIndex(corner);
      horizontal->ImageRight().SetDIBIndex(corner);
    }
    m_Container->SetDIBBorder(&border);
  }

  void AddControl(ui::Rect bounds, uint8_t opacity, ui::Color color, ui::Color inner) {
    TTestDIBControl& control = ui::Create<TTestDIBControl>(*m_Form);
    control.SetParent(m_Container);
    control.SetBoundsRect(bounds);
    control.SetOpacity(opacity);
    control.SetColor(color);
    control.SetInnerColor(inner);
  }

  void ExpectGolden(const std::string& name) {
    m_Backend.Pump();
    ExpectFrameMatchesGolden(m_Backend, m_Form->Handle(), name);
  }

  platform::HeadlessBackend m_Backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend m_Installed{m_Backend};
  std::unique_ptr<ui::Form> m_Form;
  TDIBContainer* m_Container = nullptr;
};

TEST_F(ContainerGolden, TheBorderOverTheControls) {
  m_Container->SetBorderDrawPosition(bdOverControls);
  ExpectGolden("container_border_over");
}

TEST_F(ContainerGolden, TheBorderUnderTheControls) {
  m_Container->SetBorderDrawPosition(bdUnderControls);
  ExpectGolden("container_border_under");
}

}  // namespace
}  // namespace dibtest

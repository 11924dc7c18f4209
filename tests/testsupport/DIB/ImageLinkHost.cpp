#include "testsupport/DIB/ImageLinkHost.h"

#include "DIB/cDIBBorder.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/TypeBuilder.h"

namespace dibtest {

TImageLinkHost::TImageLinkHost(ui::Component* owner) : ui::Component(owner) {
  m_IndexMain.SetOnImageChange(ui::Bind<&TImageLinkHost::ImageChanged>(this));
  m_IndexPointer.SetOnImageChange(ui::Bind<&TImageLinkHost::ImageChanged>(this));
}

const ui::TypeInfo& TImageLinkHost::StaticType() {
  using T = TImageLinkHost;
  static const ui::TypeInfo type = ui::TypeBuilder<T>("TImageLinkHost", ui::Component::StaticType())
                                       .Object("IndexMain", &T::IndexMain)
                                       .Object("IndexPointer", &T::IndexPointer)
                                       .Creatable()
                                       .Build();
  return type;
}

std::vector<ImageEvent>& TImageLinkHost::Events() {
  static std::vector<ImageEvent> events;
  return events;
}

void TImageLinkHost::ImageChanged(TDIBImageLink* link, int32_t index, TDIBImageChangeKind kind) {
  Events().push_back({link, index, kind});
}

void RegisterClasses() {
  ui::ClassRegistry::Register(TImageLinkHost::StaticType());
  RegisterDIBImageListClasses();
  RegisterDIBBorderClasses();
}

const char* const kStoredFormText = R"(TImageLinkHost Form1 {
  IndexMain.DIBImageList = @DIBImageList1
  IndexMain.DIBIndex = 2
  IndexPointer.DIBIndex = -1
  TDIBImageList DIBImageList1 {
    DIBImages = <
      item {
        DIB.Angle = 0
        DIB.AutoSize = false
        DIB.Height = 2
        DIB.Masked = true
        DIB.Opacity = 200
        DIB.Scale = 100.0
        DIB.Transparent = false
        DIB.TransparentColor = clBlack
        DIB.TransparentMode = tmAuto
        DIB.Width = 3
        DIB.Data = (
          03000200
          FF0000FF 00FF00FF 0000FFFF
          10203040 50607080 90A0B0C0
        )
        DisplayName = "SliderHrz1"
        TemplateFilename = "{6B29FC40-CA47-1067-B31D-00DD010662DA}:0"
      }
      item {
        ImageRetrieval = irLoadOnDemand
        DIB.Angle = 0
        DIB.AutoSize = false
        DIB.Height = 1
        DIB.Masked = false
        DIB.Opacity = 255
        DIB.Scale = 100.0
        DIB.Transparent = true
        DIB.TransparentColor = clRed
        DIB.TransparentMode = tmFixed
        DIB.Width = 1
        DIB.Data = (
        )
        DIB.ImageFilename = "skins\\missing.bmp"
        DisplayName = "OnDemand"
      }
      item {
        DIB.Angle = 90
        DIB.AutoSize = true
        DIB.Height = 1
        DIB.Masked = false
        DIB.Opacity = 255
        DIB.Scale = 150.0
        DIB.Transparent = false
        DIB.TransparentColor = clBlack
        DIB.TransparentMode = tmAuto
        DIB.Width = 1
        DIB.Data = (
          01000100
          11223344
        )
        DisplayName = "Pointer"
      }
    >
  }
  TDIBBorder Border1 {
    BorderLeft.AutoCalcSize = false
    BorderLeft.DrawStyle = dsStretch
    BorderLeft.Size = 4
    BorderLeft.ImageMiddle.DIBImageList = @DIBImageList1
    BorderLeft.ImageMiddle.DIBIndex = 0
    DIBImageList = @DIBImageList1
  }
}
)";

}  // namespace dibtest

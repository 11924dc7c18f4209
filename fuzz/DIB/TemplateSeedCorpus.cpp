// Writes a template of a control with two images on three links as a seed for the template
// reader fuzz target.
#include <cstdio>
#include <fstream>

#include "DIB/cDIBPanel.h"
#include "testsupport/DIB/TemplateTestControl.h"
#include "ui/model/MemoryStream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  ui::Component owner(nullptr);
  TDIBContainer container(nullptr);
  auto& list = ui::Create<TDIBImageList>(owner);
  for (ui::Color color : {ui::clRed, ui::clBlue}) {
    TDIBImagesItem& item = list.DIBImages().Add();
    item.DIB().SetSize(3, 2);
    item.DIB().Fill(color);
  }
  list.DIBImages().Items(1).SetDisplayName("Pointer");
  auto& control = ui::Create<dibtest::TTemplateTestControl>(container);
  control.SetDIBImageList(&list);
  control.IndexMain().SetDIBIndex(0);
  control.IndexOverlay().SetDIBIndex(1);
  control.IndexPointer().SetDIBIndex(1);
  control.caption = "Seed";
  control.Constraints().SetMaxWidth(90);
  ui::MemoryStream stream;
  control.SaveTemplate(stream);
  std::ofstream(argv[1], std::ios::binary)
      .write(reinterpret_cast<const char*>(stream.Bytes().data()),
             static_cast<std::streamsize>(stream.Bytes().size()));
  return 0;
}

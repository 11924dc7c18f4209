// Reads arbitrary bytes as a control template into a control with an image list: only
// framework errors may come out, and a template that is refused must leave the control and
// the list exactly as they were. A template that reads is saved and must read back.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "DIB/cDIBPanel.h"
#include "testsupport/DIB/TemplateTestControl.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"

namespace {

std::vector<uint8_t> StateOf(ui::Persistent& instance) {
  ui::MemoryStream stream;
  ui::ComponentWriter(stream).WritePropertyList(instance);
  return stream.Bytes();
}

// A control showing the one image of its list.
struct Scene {
  Scene() {
    list.SetName("List");
    list.DIBImages().Add().DIB().Fill(ui::clRed);
    control.SetDIBImageList(&list);
    control.IndexMain().SetDIBIndex(0);
  }

  ui::Component owner{nullptr};
  TDIBContainer container{nullptr};
  TDIBImageList& list = ui::Create<TDIBImageList>(owner);
  dibtest::TTemplateTestControl& control = ui::Create<dibtest::TTemplateTestControl>(container);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scene scene;
  const std::vector<uint8_t> control = StateOf(scene.control), images = StateOf(scene.list);
  ui::MemoryStream stream(std::span<const uint8_t>(data, size));
  try {
    scene.control.LoadTemplate(stream);
  } catch (const ui::Exception&) {
    if (StateOf(scene.control) != control || StateOf(scene.list) != images) std::abort();
    return 0;
  }
  ui::MemoryStream saved;
  scene.control.SaveTemplate(saved);
  saved.SetPosition(0);
  scene.control.LoadTemplate(saved);  // an error here escapes and is reported
  return 0;
}

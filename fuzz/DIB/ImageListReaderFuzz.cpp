// Reads arbitrary bytes as a stored form holding image lists, links and a border: only framework
// errors may come out. A form that reads is then used the way controls use it, its list is
// destroyed while links still name it, and the form is destroyed: nothing may dangle.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "DIB/cDIBBorder.h"
#include "DIB/cDIBImageList.h"
#include "testsupport/DIB/ImageLinkHost.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"

namespace {

// Every image file a stored list names is looked for in a folder that does not exist, so that
// no input can make the target read the machine's files.
class FuzzForm : public dibtest::TImageLinkHost {
 public:
  FuzzForm() : dibtest::TImageLinkHost(nullptr) {}
  void Loaded() override {  // runs before the lists' own Loaded
    for (int c = 0; c < ComponentCount(); ++c) {
      auto* list = dynamic_cast<TCustomDIBImageList*>(&Components(c));
      for (int i = 0; list != nullptr && i < list->DIBImages().Count(); ++i) {
        list->DIBImages().Items(i).SetOnTranslateImagePath(ui::Bind<&FuzzForm::Redirect>(this));
      }
    }
    dibtest::TImageLinkHost::Loaded();
  }

 private:
  void Redirect(ui::Persistent*, std::string& folder) { folder = "/nonexistent-fuzz-folder/"; }
};

void Use(FuzzForm& form) {
  std::vector<TCustomDIBImageList*> lists;
  for (int c = 0; c < form.ComponentCount(); ++c) {
    if (auto* list = dynamic_cast<TCustomDIBImageList*>(&form.Components(c))) lists.push_back(list);
    if (auto* border = dynamic_cast<TDIBBorder*>(&form.Components(c))) {
      TWinDIB target(40, 30);
      border->Draw(target, {0, 0, 40, 30});
    }
  }
  for (TDIBImageLink* link : {&form.IndexMain(), &form.IndexPointer()}) link->GetImage();
  ui::MemoryStream written;
  ui::ComponentWriter(written).WriteRoot(form);
  for (TCustomDIBImageList* list : lists) {
    const int count = list->DIBImages().Count();
    for (int i = 0; i < count; ++i) list->GetImage(i);
    if (count > 1) list->DIBImages().Items(0).SetIndex(count - 1);
    if (count > 0) list->DIBImages().Delete(0);
    delete list;  // while links and a border may still name it
  }
  // Links can name only the form's own components, and every list of it has gone.
  for (TDIBImageLink* link : {&form.IndexMain(), &form.IndexPointer()}) {
    if (link->DIBImageList() != nullptr || link->GetImage() != nullptr) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dibtest::RegisterClasses();
  dibtest::TImageLinkHost::Events().clear();
  FuzzForm form;
  try {
    ui::MemoryStream stream(std::span<const uint8_t>(data, size));
    ui::ComponentReader(stream).ReadRoot(form);
    Use(form);
  } catch (const ui::Exception&) {
  }
  return 0;
}

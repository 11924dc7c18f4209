#include "DIB/DIBWrapper.h"

#include "DIB/cDIBImageList.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Identifiers.h"
#include "ui/model/Stream.h"
#include "ui/model/TypeBuilder.h"

// Knows whether its pixels came from "Data": a stored size without data leaves them undefined,
// and undefined memory must not end up in an image list.
class TDIBWrapper::WrappedDIB final : public TDIBImagesItemDIB {
 public:
  bool PixelsRead() const { return m_PixelsRead; }

  void ReadData(ui::Stream& data) override {
    TDIBImagesItemDIB::ReadData(data);
    if (data.Size() != 0) m_PixelsRead = true;  // an empty "Data" changes nothing
  }

 protected:
  void AllocateImage() override {
    m_PixelsRead = false;
    TDIBImagesItemDIB::AllocateImage();
  }

 private:
  bool m_PixelsRead = false;
};

TDIBWrapper::TDIBWrapper(ui::Component* owner)
    : ui::Component(owner), m_DIB(std::make_unique<WrappedDIB>()) {}

TDIBWrapper::~TDIBWrapper() = default;

const ui::TypeInfo& TDIBWrapper::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBWrapper>("TDIBWrapper", ui::Component::StaticType())
          .Object("DIB", &TDIBWrapper::DIB)
          .Creatable()
          .Build();
  return type;
}

TMemoryDIB& TDIBWrapper::DIB() const {
  return *m_DIB;
}

void TDIBWrapper::SetDIB(const TAbstractSuperDIB& image) {
  m_DIB->Assign(image);
}

void TDIBWrapper::WriteTo(ui::Stream& stream) {
  ui::ComponentWriter(stream).WriteRoot(*this);
}

// As a component reader reads a root, except that nothing is created by a stored class name:
// a wrapper has no components of its own.
void TDIBWrapper::ReadFrom(ui::Stream& stream) {
  ui::ComponentReader reader(stream);
  ui::ValueReader& values = reader.Values();
  values.ReadSignature();
  const std::string className = values.ReadNonEmptyName("class name");
  if (!ui::SameText(className, ClassName())) {
    throw ui::StreamReadError("The stream holds a " + className + ", not a " + ClassName());
  }
  values.ReadName();  // a wrapper's name means nothing outside its stream
  reader.ReadPropertyList(*this);
  if (values.ReadMarker()) throw ui::StreamReadError("A " + ClassName() + " holds no components");
  if (!m_DIB->PixelsRead()) {
    throw ui::StreamReadError("A " + ClassName() + " came without the pixels of its image");
  }
}

void RegisterDIBWrapperClasses() {
  ui::ClassRegistry::Register(TDIBWrapper::StaticType());
}

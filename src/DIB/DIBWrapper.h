#pragma once
// A component that carries one image through a component stream: a control template stores
// each of its images as one. The image is published as "DIB", so its settings and pixels are
// stored as "DIB.Angle", ..., "DIB.Data", exactly as under an image-list item.
// User-interface thread only.

#include <memory>

#include "DIB/cDIB.h"
#include "ui/model/Component.h"

namespace ui {
class Stream;
}

class TDIBWrapper : public ui::Component {
 public:
  explicit TDIBWrapper(ui::Component* owner);  // a 1 x 1 image
  ~TDIBWrapper() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // Never larger than an image-list image may be (TDIBImagesItemDIB).
  TMemoryDIB& DIB() const;
  void SetDIB(const TAbstractSuperDIB& image);  // pixels, settings and file names

  // The wrapper as a component stream of its own (signature, component, no children).
  void WriteTo(ui::Stream& stream);
  // What WriteTo wrote: a TDIBWrapper without components whose image came with its pixels.
  // Anything else raises StreamReadError (or the image's own reading error).
  void ReadFrom(ui::Stream& stream);

 private:
  class WrappedDIB;
  std::unique_ptr<WrappedDIB> m_DIB;
};

// Makes TDIBWrapper known to the stream readers (idempotent).
void RegisterDIBWrapperClasses();

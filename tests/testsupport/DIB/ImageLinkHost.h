#pragma once
// Stands in for a skinned control: a component with two published image links that records
// every image-change event. Also the root of stored forms in the image-list tests and fuzzing.

#include <cstdint>
#include <vector>

#include "DIB/cDIBImageList.h"
#include "ui/model/Component.h"

namespace dibtest {

struct ImageEvent {
  TDIBImageLink* link;
  int32_t index;
  TDIBImageChangeKind kind;
  friend bool operator==(const ImageEvent&, const ImageEvent&) = default;
};

class TImageLinkHost : public ui::Component {
 public:
  explicit TImageLinkHost(ui::Component* owner);
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TDIBImageLink& IndexMain() { return m_IndexMain; }
  TDIBImageLink& IndexPointer() { return m_IndexPointer; }
  // Every event of every host, in order.
  static std::vector<ImageEvent>& Events();

 private:
  void ImageChanged(TDIBImageLink* link, int32_t index, TDIBImageChangeKind kind);

  TDIBImageLink m_IndexMain{this};
  TDIBImageLink m_IndexPointer{this};
};

// TImageLinkHost, TDIBImageList and TDIBBorder (idempotent).
void RegisterClasses();

// A form with a list of three images (one loaded on demand from a file), a host linking to two
// of them and a border using the list.
extern const char* const kStoredFormText;

}  // namespace dibtest

// Control templates: the images a control's published links show, those links and the values of
// its template properties, written to a stream and read into another control of the same kind.
// All integers are little-endian:
//
//   GUID          16 bytes, new for every template
//   image count   32 bits
//   link count    32 bits
//   images        each a TDIBWrapper component stream (DIBWrapper.h), in order of first use
//   links         each the name of the property holding the link (32-bit length, bytes), the
//                 display name of its image (32-bit length, bytes when not empty) and the
//                 number of its image in the template (32 bits)
//   properties    the template properties as a property list of the component stream
//                 (ui/model/StreamFormat.h), ended by an empty name
//
// Loading puts image n into the list item whose template key is "{GUID}:n", adding the item
// when the list has none, so that the same template loaded again reuses its images.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DIB/DIBGuid.h"
#include "DIB/DIBLittleEndian.h"
#include "DIB/DIBWrapper.h"
#include "DIB/cDIBCompressor.h"
#include "DIB/cDIBControl.h"
#include "common/Assert.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Identifiers.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TypeInfo.h"

namespace {

// A link as a template stores it.
struct LinkRecord {
  std::string property;     // the published property that holds the link
  std::string displayName;  // of its image; empty: the image keeps its name
  uint32_t image;           // the image's number in the template
};

// All of a template but its properties, read before the control changes.
struct TemplateImages {
  TDIBId guid;
  std::vector<std::unique_ptr<TDIBWrapper>> images;
  std::vector<LinkRecord> links;
};

// The fewest bytes an image and a link record are stored in: a stream signature, the class
// name, an empty name, "DIB.Data" holding a 1 x 1 image and two end marks; a one-letter name,
// no display name and a number. Counts that the bytes left cannot hold are refused at once.
constexpr int64_t kMinImageBytes = 4 + 12 + 1 + 9 + 5 + 8 + 2;
constexpr int64_t kMinLinkBytes = 4 + 1 + 4 + 4;

// Templates are always written uncompressed: the program that reads one may know no compressor.
class Uncompressed {
 public:
  Uncompressed() { SetCurrentCompressor(nullptr); }
  ~Uncompressed() { SetCurrentCompressor(m_Saved); }
  Uncompressed(const Uncompressed&) = delete;
  Uncompressed& operator=(const Uncompressed&) = delete;

 private:
  TDIBCompressor* const m_Saved = CurrentCompressor();
};

void WriteUInt32(ui::Stream& stream, uint32_t value) {
  uint8_t bytes[4];
  dib::StoreLE32(bytes, value);
  stream.WriteBuffer(bytes, sizeof bytes);
}

uint32_t ReadUInt32(ui::Stream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, sizeof bytes);
  return dib::LoadLE32(bytes);
}

void WriteText(ui::Stream& stream, const std::string& text) {
  FLUX_ASSERT(text.size() <= std::numeric_limits<uint32_t>::max());
  WriteUInt32(stream, static_cast<uint32_t>(text.size()));
  stream.WriteBuffer(text.data(), text.size());
}

std::string ReadText(ui::Stream& stream) {
  const uint32_t length = ReadUInt32(stream);
  const int64_t remaining = stream.Remaining();
  if (length > remaining) {
    throw ui::StreamReadError("Stored length " + std::to_string(length) + " exceeds the " +
                              std::to_string(remaining) + " bytes left in the stream");
  }
  std::string text(length, '\0');
  stream.ReadBuffer(text.data(), text.size());
  return text;
}

// A count of records of at least minBytes each must fit in the bytes left (and number its
// records with 32-bit signed numbers, as list keys do).
void CheckCount(ui::Stream& stream, uint32_t count, int64_t minBytes, const char* what) {
  const int64_t remaining = stream.Remaining();
  if (count > std::min<int64_t>(remaining / minBytes, std::numeric_limits<int32_t>::max())) {
    throw EDIBControlError("The template claims " + std::to_string(count) + " " + what +
                           " in the " + std::to_string(remaining) + " bytes left");
  }
}

// The image link a published property holds, if it holds one.
TDIBImageLink* LinkOf(TCustomDIBControl& control, const ui::PropertyInfo& property) {
  if (property.kind != ui::PropertyKind::Object) return nullptr;
  return dynamic_cast<TDIBImageLink*>(property.getObject(control));
}

// A template carries values: a reference, which could be registered while it held nothing,
// takes part only while it still holds nothing.
bool HoldsValue(TCustomDIBControl& control, const ui::PropertyInfo& property) {
  return property.kind != ui::PropertyKind::Reference || property.getReference(control) == nullptr;
}

// A template property, or a part of a nested one ("Constraints.MinWidth").
bool IsTemplateProperty(TCustomDIBControl& control, std::string_view name) {
  const std::string_view head = name.substr(0, name.find('.'));
  const std::vector<std::string>& names = control.TemplateProperties();
  const auto registered =
      std::find_if(names.begin(), names.end(),
                   [head](const std::string& known) { return ui::SameText(known, head); });
  return registered != names.end() &&
         HoldsValue(control, *control.Type().FindProperty(*registered));
}

// Read-only properties are left out: they could not be read back.
void WriteTemplateProperties(ui::Stream& stream, TCustomDIBControl& control) {
  ui::ComponentWriter writer(stream);
  for (const std::string& name : control.TemplateProperties()) {
    const ui::PropertyInfo* property = control.Type().FindProperty(name);
    FLUX_ASSERT(property != nullptr);  // checked when it was registered
    if (!property->IsReadOnly() && HoldsValue(control, *property)) {
      writer.WriteProperty(control, *property);
    }
  }
  writer.Values().WriteName({});
}

// The stored properties must all be template properties of the control. Whatever goes wrong,
// the control gets back the values it had.
void ReadTemplateProperties(ui::Stream& stream, TCustomDIBControl& control) {
  ui::MemoryStream saved;
  WriteTemplateProperties(saved, control);
  saved.SetPosition(0);
  try {
    ui::ComponentReader reader(stream);
    ui::ValueReader& values = reader.Values();
    for (std::string name = values.ReadName(); !name.empty(); name = values.ReadName()) {
      if (!IsTemplateProperty(control, name)) {
        throw EDIBControlError("The template sets " + name +
                               ", which is not a template property of " + control.ClassName());
      }
      reader.ReadPropertyValue(control, name);
    }
  } catch (...) {
    ui::ComponentReader(saved).ReadPropertyList(control);
    throw;
  }
}

TemplateImages ReadTemplateImages(ui::Stream& stream, bool hasImageList) {
  TemplateImages read;
  stream.ReadBuffer(read.guid.data(), read.guid.size());
  const uint32_t imageCount = ReadUInt32(stream);
  const uint32_t linkCount = ReadUInt32(stream);
  if (imageCount > 0 && !hasImageList) {
    throw EDIBControlError("No DIB image list has been assigned.");
  }
  CheckCount(stream, imageCount, kMinImageBytes, "images");
  for (uint32_t i = 0; i < imageCount; ++i) {
    auto& image = read.images.emplace_back(std::make_unique<TDIBWrapper>(nullptr));
    image->ReadFrom(stream);
  }
  CheckCount(stream, linkCount, kMinLinkBytes, "image links");
  read.links.reserve(linkCount);
  for (uint32_t i = 0; i < linkCount; ++i) {
    LinkRecord& link = read.links.emplace_back();
    link.property = ReadText(stream);
    link.displayName = ReadText(stream);
    link.image = ReadUInt32(stream);
    if (link.image >= imageCount) {
      throw EDIBControlError("The template links " + link.property + " to image " +
                             std::to_string(link.image) + " of " + std::to_string(imageCount));
    }
  }
  return read;
}

// Nothing here fails on a template that has been read: the list and the links change only now.
void PlaceTemplateImages(TCustomDIBControl& control, const TemplateImages& read) {
  if (read.images.empty()) return;  // and so are the links
  TDIBImages& items = control.DIBImageList()->DIBImages();
  const std::string key = dib::GuidToString(read.guid);
  std::vector<TDIBImagesItem*> placed;
  for (size_t i = 0; i < read.images.size(); ++i) {
    TDIBImagesItem& item = items.FindOrAddTemplateItem(key, static_cast<int32_t>(i));
    item.SetDIB(read.images[i]->DIB());
    placed.push_back(&item);
  }
  for (const LinkRecord& record : read.links) {
    TDIBImagesItem& item = *placed[record.image];
    if (!record.displayName.empty()) item.SetDisplayName(record.displayName);
    const ui::PropertyInfo* property = control.Type().FindProperty(record.property);
    if (TDIBImageLink* link = property != nullptr ? LinkOf(control, *property) : nullptr) {
      link->SetDIBIndex(item.Index());
    }
  }
}

}  // namespace

void TCustomDIBControl::SaveTemplate(ui::Stream& stream) {
  const std::optional<TDIBId> guid = dib::NewGuid();
  if (!guid) throw EDIBControlError("Could not create a GUID for your new template.");

  std::vector<int32_t> images;  // list indices, in order of first use
  std::vector<LinkRecord> links;
  for (const ui::PropertyInfo* property : Type().Properties()) {
    const TDIBImageLink* link = LinkOf(*this, *property);
    if (link == nullptr || m_DIBImageList == nullptr ||
        !m_DIBImageList->IsValidIndex(link->DIBIndex())) {
      continue;
    }
    auto image = std::find(images.begin(), images.end(), link->DIBIndex());
    if (image == images.end()) image = images.insert(images.end(), link->DIBIndex());
    links.push_back({property->name, m_DIBImageList->DIBImages().Items(*image).DisplayName(),
                     static_cast<uint32_t>(image - images.begin())});
  }

  const Uncompressed uncompressed;
  stream.WriteBuffer(guid->data(), guid->size());
  WriteUInt32(stream, static_cast<uint32_t>(images.size()));
  WriteUInt32(stream, static_cast<uint32_t>(links.size()));
  for (const int32_t index : images) {
    TDIBWrapper wrapper(nullptr);
    wrapper.SetDIB(m_DIBImageList->DIBImages().Items(index).DIB());
    wrapper.WriteTo(stream);
  }
  for (const LinkRecord& link : links) {
    WriteText(stream, link.property);
    WriteText(stream, link.displayName);
    WriteUInt32(stream, link.image);
  }
  WriteTemplateProperties(stream, *this);
}

void TCustomDIBControl::LoadTemplate(ui::Stream& stream) {
  const TemplateImages read = ReadTemplateImages(stream, m_DIBImageList != nullptr);
  ReadTemplateProperties(stream, *this);
  PlaceTemplateImages(*this, read);
  Loaded();
}

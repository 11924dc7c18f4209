#include "DIB/cDIBFeatures.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/Assert.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Identifiers.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/TypeBuilder.h"

namespace {

std::vector<const ui::TypeInfo*>& FeatureClasses() {
  static std::vector<const ui::TypeInfo*> classes;
  return classes;
}

}  // namespace

// --- TDIBFeature -----------------------------------------------------------------------------

const ui::TypeInfo& TDIBFeature::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBFeature>("TDIBFeature", ui::Component::StaticType()).Build();
  return type;
}

bool TDIBFeature::CanAttachTo(ui::Control&) {
  return true;
}

std::string TDIBFeature::GetFeatureName() const {
  return "Unknown feature";
}

void RegisterFeatureClass(const ui::TypeInfo& type) {
  ui::Assert(type.IsCreatable() && type.InheritsFrom(TDIBFeature::StaticType()),
             "DIB\\cDIBFeatures");
  ui::ClassRegistry::Register(type);
  FeatureClasses().push_back(&type);
}

void UnregisterFeatureClass(const ui::TypeInfo& type) {
  std::erase(FeatureClasses(), &type);
  ui::ClassRegistry::Unregister(type);
}

const ui::TypeInfo* FindFeatureClass(std::string_view name) {
  const std::vector<const ui::TypeInfo*>& classes = FeatureClasses();
  const auto found = std::find_if(classes.rbegin(), classes.rend(), [name](const ui::TypeInfo* t) {
    return ui::SameText(t->Name(), name);
  });
  return found == classes.rend() ? nullptr : *found;
}

// --- TDIBFeatureItem -------------------------------------------------------------------------

const ui::TypeInfo& TDIBFeatureItem::StaticType() {
  using T = TDIBFeatureItem;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBFeatureItem", ui::CollectionItem::StaticType())
          .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
          .Default(true)
          .String("FeatureClassName", &T::FeatureClassName, &T::SetFeatureClassName)
          .Default("")
          .String("FeatureParameters", &T::FeatureParameters, &T::SetFeatureParameters)
          .Default("")
          .Build();
  return type;
}

std::unique_ptr<TDIBFeature> TDIBFeatureItem::MakeFeature(const std::string& name) const {
  if (name.empty()) return nullptr;
  const ui::TypeInfo* featureClass = FindFeatureClass(name);
  if (featureClass == nullptr) throw EFeatureError(name + " has not been registered");
  std::unique_ptr<ui::Component> created = featureClass->CreateUnowned();
  std::unique_ptr<TDIBFeature> feature(static_cast<TDIBFeature*>(created.release()));
  const auto* features = dynamic_cast<const TDIBFeatures*>(ParentCollection());
  feature->SetControl(features != nullptr ? features->Control() : nullptr);
  return feature;
}

TDIBFeatureItem::~TDIBFeatureItem() {
  delete m_Feature.Get();
}

void TDIBFeatureItem::SetFeature(std::unique_ptr<TDIBFeature> feature) {
  delete m_Feature.Get();
  m_Feature = feature.get();
  if (feature == nullptr) return;
  if (ui::Control* control = feature->Control()) {
    control->InsertComponent(std::move(feature));
  } else {
    static_cast<void>(feature.release());  // the item's own
  }
}

void TDIBFeatureItem::SetFeatureClassName(const std::string& name) {
  SetFeature(MakeFeature(name));
  m_FeatureClassName = name;
}

void TDIBFeatureItem::Assign(const ui::Persistent& source) {
  const auto* item = dynamic_cast<const TDIBFeatureItem*>(&source);
  if (item == nullptr) {
    ui::CollectionItem::Assign(source);
    return;
  }
  m_Enabled = item->m_Enabled;
  if (item->Feature() == nullptr) {
    SetFeatureClassName(item->m_FeatureClassName);
    return;
  }
  // The settings travel the way they are stored.
  ui::MemoryStream settings;
  item->WriteFeatureParameters(settings);
  settings.SetPosition(0);
  ReadFeatureParameters(settings);
}

void TDIBFeatureItem::DefineProperties(ui::PropertyFiler& filer) {
  ui::CollectionItem::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "DIBFeatureParameters",
      [this](ui::Stream& data) {
        std::vector<uint8_t> bytes(static_cast<size_t>(data.Size()));
        data.ReadBuffer(bytes.data(), bytes.size());
        m_KeptParameters = std::move(bytes);
      },
      [this](ui::Stream& data) { WriteFeatureParameters(data); }, Feature() != nullptr);
}

void TDIBFeatureItem::WriteFeatureParameters(ui::Stream& data) const {
  FLUX_ASSERT(Feature() != nullptr);
  ui::ComponentWriter writer(data);
  writer.Values().WriteString(m_FeatureClassName);
  writer.WriteRoot(*Feature());
}

// Every length and count comes from the stream, and the value reader checks each against the
// bytes left. The feature is read apart from the item, which takes it only when all went well.
// A stored feature may hold properties only: children would be components of any registered
// class, made by whoever wrote the bytes.
void TDIBFeatureItem::ReadFeatureParameters(ui::Stream& data) {
  ui::ComponentReader reader(data);
  ui::ValueReader& values = reader.Values();
  const std::string name = values.ReadString();
  if (name.empty()) throw EFeatureError("Stored feature parameters name no feature class");
  std::unique_ptr<TDIBFeature> feature = MakeFeature(name);
  values.ReadSignature();
  const std::string storedClass = values.ReadNonEmptyName("class name");
  if (!ui::SameText(storedClass, feature->ClassName())) {
    throw EFeatureError("Stored feature parameters of " + name + " hold a " + storedClass);
  }
  values.ReadName();  // a feature's name means nothing to it
  reader.ReadPropertyList(*feature);
  reader.ResolveReferences(*feature);
  if (values.ReadMarker()) throw EFeatureError("Stored feature parameters hold components");
  SetFeature(std::move(feature));
  m_FeatureClassName = name;
}

void TDIBFeatureItem::Loaded() {
  if (!m_KeptParameters) return;
  ui::MemoryStream data(*std::exchange(m_KeptParameters, std::nullopt));
  ReadFeatureParameters(data);
}

std::string TDIBFeatureItem::DisplayName() const {
  return Feature() != nullptr ? Feature()->GetFeatureName() : "DIB feature";
}

void TDIBFeatureItem::MessageHook(ui::Message& message, bool& handled) {
  if (m_Enabled && Feature() != nullptr) Feature()->HandleMessage(message, handled);
}

// --- TDIBFeatures ----------------------------------------------------------------------------

TDIBFeatures::TDIBFeatures(ui::Control* control)
    : ui::Collection(control, &ui::MakeItem<TDIBFeatureItem>), m_Control(control) {}

const ui::TypeInfo& TDIBFeatures::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBFeatures>("TDIBFeatures", ui::Collection::StaticType()).Build();
  return type;
}

void TDIBFeatures::Dispatch(ui::Message& message, bool& handled) {
  for (int i = 0; i < Count(); ++i) {
    Items(i).MessageHook(message, handled);
    if (handled) return;
  }
}

void TDIBFeatures::Loaded() {
  for (int i = 0; i < Count(); ++i) Items(i).Loaded();
}

// --- TControlItem ----------------------------------------------------------------------------

const ui::TypeInfo& TControlItem::StaticType() {
  using T = TControlItem;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TControlItem", ui::CollectionItem::StaticType())
          .Reference("Control", &T::Control, &T::SetControl)
          .Build();
  return type;
}

void TControlItem::SetControl(ui::Control* control) {
  if (control == nullptr) throw EFeatureError("You cannot set Control to nil");
  const auto* list = dynamic_cast<const TControlList*>(ParentCollection());
  if (control != m_Control && list != nullptr && list->Holds(control)) {
    throw EFeatureError("Control already exists in list.");
  }
  m_Control = control;
  if (list != nullptr && list->OwnerControl() != nullptr) {
    control->FreeNotification(*list->OwnerControl());
  }
}

std::string TControlItem::DisplayName() const {
  if (m_Control != nullptr && !m_Control->Name().empty()) return m_Control->Name();
  if (m_Control != nullptr && !m_Control->ClassName().empty()) return m_Control->ClassName();
  return ui::CollectionItem::DisplayName();
}

void TControlItem::Assign(const ui::Persistent& source) {
  const auto* item = dynamic_cast<const TControlItem*>(&source);
  if (item == nullptr) {
    ui::CollectionItem::Assign(source);
    return;
  }
  SetControl(item->m_Control);
}

// --- TControlList ----------------------------------------------------------------------------

TControlList::TControlList(ui::Control* owner)
    : ui::Collection(owner, &ui::MakeItem<TControlItem>), m_OwnerControl(owner) {}

const ui::TypeInfo& TControlList::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TControlList>("TControlList", ui::Collection::StaticType()).Build();
  return type;
}

bool TControlList::Holds(const ui::Control* control) const {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).Control() == control) return true;
  }
  return false;
}

void TControlList::Forget(const ui::Component& component) {
  for (int i = Count() - 1; i >= 0; --i) {
    if (Items(i).Control() == &component) Delete(i);
  }
}

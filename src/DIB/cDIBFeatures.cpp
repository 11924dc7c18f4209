#include "DIB/cDIBFeatures.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "DIB/DIBHighlightFeature.h"
#include "DIB/DIBMoveableFeature.h"
#include "DIB/DIBShapeableFeature.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/Identifiers.h"
#include "ui/model/TypeBuilder.h"

namespace {

std::vector<const ui::TypeInfo*>& FeatureClasses() {
  static std::vector<const ui::TypeInfo*> classes;
  return classes;
}

// The features this library offers are there from the start and gone at the end.
struct BuiltInFeatures {
  BuiltInFeatures() {
    RegisterFeatureClass(TMoveableDIB::StaticType());
    RegisterFeatureClass(THighlightDIB::StaticType());
    RegisterFeatureClass(TShapeableDIB::StaticType());
  }
  ~BuiltInFeatures() {
    for (const ui::TypeInfo* type : std::exchange(FeatureClasses(), {})) {
      ui::ClassRegistry::Unregister(*type);
    }
  }
} const builtInFeatures;

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

void TDIBFeatureItem::SetFeatureClassName(const std::string& name) {
  const ui::TypeInfo* featureClass = nullptr;
  if (!name.empty()) {
    featureClass = FindFeatureClass(name);
    if (featureClass == nullptr) throw EFeatureError(name + " has not been registered");
  }
  m_Feature.reset();
  m_FeatureClassName = name;
  if (featureClass == nullptr) return;
  std::unique_ptr<ui::Component> created = featureClass->CreateUnowned();
  m_Feature.reset(static_cast<TDIBFeature*>(created.release()));  // a registered feature class
  const auto* features = dynamic_cast<const TDIBFeatures*>(ParentCollection());
  m_Feature->SetControl(features != nullptr ? features->Control() : nullptr);
}

std::string TDIBFeatureItem::DisplayName() const {
  return m_Feature ? m_Feature->GetFeatureName() : "DIB feature";
}

void TDIBFeatureItem::MessageHook(ui::Message& message, bool& handled) {
  if (m_Enabled && m_Feature) m_Feature->HandleMessage(message, handled);
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

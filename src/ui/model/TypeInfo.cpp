#include "ui/model/TypeInfo.h"

#include <cstdint>

#include "ui/model/Component.h"
#include "ui/model/Exception.h"
#include "ui/model/Identifiers.h"

namespace ui {

bool PropertyInfo::IsReadOnly() const {
  switch (kind) {
    case PropertyKind::Float:
      return !setFloat;
    case PropertyKind::String:
      return !setString;
    case PropertyKind::Object:
      return false;  // read into, never replaced
    case PropertyKind::Reference:
      return !setReference;
    case PropertyKind::Event:
      return true;
    default:
      return !setOrdinal;
  }
}

bool PropertyInfo::IsStored(Persistent& instance) const {
  if (kind == PropertyKind::Event || IsReadOnly()) return false;
  return !storedWhen || storedWhen(instance);
}

bool PropertyInfo::IsDefault(Persistent& instance) const {
  if (kind == PropertyKind::Reference) return getReference(instance) == nullptr;
  if (const auto* ordinal = std::get_if<int64_t>(&defaultValue)) {
    return getOrdinal(instance) == *ordinal;
  }
  if (const auto* real = std::get_if<long double>(&defaultValue)) {
    return getFloat(instance) == *real;
  }
  if (const auto* text = std::get_if<std::string>(&defaultValue)) {
    return getString(instance) == *text;
  }
  return false;
}

int PropertyInfo::FindName(std::string_view wanted) const {
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], wanted)) return static_cast<int>(i);
  }
  return -1;
}

TypeInfo::TypeInfo(std::string name, const TypeInfo* parent, std::vector<PropertyInfo> properties,
                   Factory factory)
    : m_Name(std::move(name)),
      m_Parent(parent),
      m_Properties(std::move(properties)),
      m_Factory(factory) {
  Assert(IsIdentifier(m_Name), "ui\\TypeInfo");
  if (m_Parent != nullptr) m_Index = m_Parent->m_Index;
  for (const PropertyInfo& property : m_Properties) {
    Assert(IsIdentifier(property.name), "ui\\TypeInfo");
    // Taken by an ancestor's property or an earlier one of this class.
    Assert(m_Index.emplace(property.name, &property).second, "ui\\TypeInfo");
  }
}

size_t TypeInfo::NameHash::operator()(std::string_view name) const noexcept {
  uint64_t hash = 14695981039346656037u;  // FNV-1a over the lower-case letters
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(LowerCase(c))) * 1099511628211u;
  }
  return static_cast<size_t>(hash);  // the low half where size_t has 32 bits
}

bool TypeInfo::NameEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return SameText(a, b);
}

bool TypeInfo::InheritsFrom(const TypeInfo& type) const noexcept {
  for (const TypeInfo* t = this; t != nullptr; t = t->m_Parent) {
    if (t == &type) return true;
  }
  return false;
}

const PropertyInfo* TypeInfo::FindProperty(std::string_view name) const {
  const auto found = m_Index.find(name);
  return found == m_Index.end() ? nullptr : found->second;
}

std::vector<const PropertyInfo*> TypeInfo::Properties() const {
  std::vector<const PropertyInfo*> result =
      m_Parent ? m_Parent->Properties() : std::vector<const PropertyInfo*>{};
  for (const PropertyInfo& property : m_Properties) result.push_back(&property);
  return result;
}

Component* TypeInfo::Construct(Component* owner) const {
  if (m_Factory == nullptr) throw Exception("Cannot create an instance of " + m_Name);
  return m_Factory(owner);
}

Component& TypeInfo::Create(Component& owner) const {
  Component& created = *Construct(&owner);  // owned from its base constructor on
  owner.Notification(created, Operation::Insert);
  return created;
}

std::unique_ptr<Component> TypeInfo::CreateUnowned() const {
  return std::unique_ptr<Component>(Construct(nullptr));
}

}  // namespace ui

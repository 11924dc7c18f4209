#include "ui/model/ComponentReader.h"

#include <algorithm>

#include "ui/model/ClassRegistry.h"
#include "ui/model/Collection.h"
#include "ui/model/Component.h"
#include "ui/model/Exception.h"
#include "ui/model/Identifiers.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/TypeInfo.h"

namespace ui {
namespace {

std::string Describe(const Component& component) {
  return component.Name().empty() ? component.ClassName()
                                  : component.Name() + ": " + component.ClassName();
}

}  // namespace

// Runs the reader of the one class-defined property that was stored under `name`.
class ComponentReader::Filer : public PropertyFiler {
 public:
  Filer(ValueReader& values, std::string_view name) : m_Values(values), m_Name(name) {}
  bool Handled() const noexcept { return m_Handled; }

  void DefineProperty(std::string_view name, const ValueReadProc& read, const ValueWriteProc&,
                      bool) override {
    if (!Claim(name)) return;
    read(m_Values);
  }

  void DefineBinaryProperty(std::string_view name, const BinaryReadProc& read,
                            const BinaryWriteProc&, bool) override {
    if (!Claim(name)) return;
    MemoryStream data(m_Values.ReadBinary());
    read(data);
  }

 private:
  bool Claim(std::string_view name) {
    if (m_Handled || !SameText(name, m_Name)) return false;
    m_Handled = true;
    return true;
  }

  ValueReader& m_Values;
  std::string_view m_Name;
  bool m_Handled = false;
};

void ComponentReader::CheckDepth(int depth) {
  if (depth > kMaxNestingDepth) {
    throw StreamReadError("Components and collections are nested deeper than " +
                          std::to_string(kMaxNestingDepth) + " levels");
  }
}

std::string ComponentReader::Where(const std::string& path) const {
  return "property \"" + path + "\" of " + m_Context;
}

InvalidPropertyError ComponentReader::Mismatch(const std::string& path, const char* wanted,
                                               ValueTag found) const {
  return InvalidPropertyError("The " + Where(path) + " needs " + wanted + ", not " +
                              DescribeTag(found));
}

void ComponentReader::ReadRoot(Component& root) {
  m_Values.ReadSignature();
  const std::string className = m_Values.ReadNonEmptyName("class name");
  if (!SameText(className, root.ClassName())) {
    throw StreamReadError("The stream holds a " + className + ", not a " + root.ClassName());
  }
  ReadTree(root);
}

std::unique_ptr<Component> ComponentReader::ReadRoot() {
  m_Values.ReadSignature();
  const std::string className = m_Values.ReadNonEmptyName("class name");
  std::unique_ptr<Component> root = ClassRegistry::Get(className).CreateUnowned();
  ReadTree(*root);
  return root;
}

void ComponentReader::ReadTree(Component& root) {
  m_Root = &root;
  m_Loaded.clear();
  m_Fixups.clear();
  try {
    ReadComponentBody(root, nullptr);
    ReadChildren(root, 1);
    ResolveReferences(root);
    const std::vector<Component*> loaded = std::move(m_Loaded);
    m_Loaded.clear();
    for (Component* component : loaded) component->Loaded();
  } catch (...) {
    root.ClearLoadingState();
    m_Loaded.clear();
    m_Fixups.clear();
    m_Root = nullptr;
    throw;
  }
  m_Root = nullptr;
}

void ComponentReader::ReadComponentBody(Component& component, Component* parent) {
  const std::string name = m_Values.ReadName();
  component.SetState(ComponentState::Loading, true);
  component.SetState(ComponentState::Reading, true);
  m_Loaded.push_back(&component);
  m_Context = Describe(component);
  component.SetName(name);
  m_Context = Describe(component);
  if (parent != nullptr) component.SetParentComponent(parent);
  ReadPropertyList(component);
  component.SetState(ComponentState::Reading, false);
}

void ComponentReader::ReadChildren(Component& parent, int depth) {
  while (m_Values.ReadMarker()) {
    CheckDepth(depth);
    const std::string className = m_Values.ReadNonEmptyName("class name");
    Component& child = ClassRegistry::Get(className).Create(*m_Root);
    try {
      ReadComponentBody(child, &parent);
      ReadChildren(child, depth + 1);
    } catch (...) {
      std::unique_ptr<Component> discard(&child);  // leaves its owner as it goes
      throw;
    }
  }
}

void ComponentReader::ReadPropertyList(Persistent& instance) {
  ReadProperties(instance, {}, 0);
}

void ComponentReader::ReadPropertyValue(Persistent& instance, const std::string& name) {
  ReadProperty(instance, name, name, 0);
}

void ComponentReader::ReadProperties(Persistent& instance, const std::string& prefix, int depth) {
  // A list holds as many names as its class has properties, a few dozen at most: a search
  // through them is cheaper than a tree of lower-case copies.
  std::vector<std::string> seen;
  for (std::string name = m_Values.ReadName(); !name.empty(); name = m_Values.ReadName()) {
    const std::string path = prefix + name;
    if (std::ranges::any_of(seen,
                            [&](const std::string& other) { return SameText(other, name); })) {
      throw StreamReadError("The " + Where(path) + " is stored twice");
    }
    ReadProperty(instance, name, path, depth);
    seen.push_back(std::move(name));
  }
}

// `name` may be dotted: each part but the last names a nested object of the one before.
void ComponentReader::ReadProperty(Persistent& instance, const std::string& name,
                                   const std::string& path, int depth) {
  Persistent* target = &instance;
  size_t start = 0;
  for (size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', start)) {
    const std::string_view part = std::string_view(name).substr(start, dot - start);
    const PropertyInfo* property = target->Type().FindProperty(part);
    if (property == nullptr || property->kind != PropertyKind::Object) {
      throw InvalidPropertyError(m_Context + " has no property \"" + path + "\"");
    }
    target = property->getObject(*target);
    if (target == nullptr || target->AsCollection() != nullptr) {
      throw InvalidPropertyError(m_Context + " has no property \"" + path + "\"");
    }
    start = dot + 1;
  }
  const std::string_view last = std::string_view(name).substr(start);
  if (const PropertyInfo* property = target->Type().FindProperty(last)) {
    ReadValue(*target, *property, path, depth);
    return;
  }
  Filer filer(m_Values, last);
  target->DefineProperties(filer);
  if (!filer.Handled()) throw InvalidPropertyError(m_Context + " has no property \"" + path + "\"");
}

void ComponentReader::ReadValue(Persistent& instance, const PropertyInfo& property,
                                const std::string& path, int depth) {
  const ValueTag tag = m_Values.ReadTag();
  auto mismatch = [&](const char* wanted) { return Mismatch(path, wanted, tag); };
  if (property.IsReadOnly() && property.kind != PropertyKind::Event) {
    throw InvalidPropertyError("The " + Where(path) + " is read-only");
  }
  switch (property.kind) {
    case PropertyKind::Integer:
    case PropertyKind::Character:
    case PropertyKind::Enumeration:
    case PropertyKind::Boolean:
    case PropertyKind::Set:
      property.setOrdinal(instance, ReadOrdinal(property, path, tag));
      return;
    case PropertyKind::Float:
      if (IsIntegerTag(tag)) {
        property.setFloat(instance, static_cast<long double>(m_Values.ReadIntegerBody(tag)));
      } else if (IsFloatTag(tag)) {
        property.setFloat(instance, m_Values.ReadFloatBody(tag));
      } else {
        throw mismatch("a float");
      }
      return;
    case PropertyKind::String:
      if (tag != ValueTag::String) throw mismatch("a string");
      property.setString(instance, m_Values.ReadStringBody());
      return;
    case PropertyKind::Object: {
      Persistent* nested = property.getObject(instance);
      Collection* collection = nested != nullptr ? nested->AsCollection() : nullptr;
      if (collection == nullptr) {
        throw InvalidPropertyError("The " + Where(path) +
                                   " holds an object; its properties are stored as \"" + path +
                                   ".Name\"");
      }
      if (tag != ValueTag::Collection) throw mismatch("a collection");
      ReadCollection(*collection, path, depth + 1);
      return;
    }
    case PropertyKind::Reference:
      if (tag == ValueTag::Null) {
        property.setReference(instance, nullptr);
      } else if (tag == ValueTag::Reference) {
        m_Fixups.push_back({&instance, &property, m_Values.ReadIdentBody(), Where(path)});
      } else {
        throw mismatch("a component reference");
      }
      return;
    case PropertyKind::Event:
      throw InvalidPropertyError("The " + Where(path) +
                                 " is an event; handlers are connected in code, not stored");
  }
}

int64_t ComponentReader::ReadOrdinal(const PropertyInfo& property, const std::string& path,
                                     ValueTag tag) {
  auto mismatch = [&](const char* wanted) { return Mismatch(path, wanted, tag); };
  switch (property.kind) {
    case PropertyKind::Boolean:
      if (tag != ValueTag::False && tag != ValueTag::True) throw mismatch("a boolean");
      return tag == ValueTag::True ? 1 : 0;
    case PropertyKind::Enumeration: {
      if (tag != ValueTag::Ident) throw mismatch("an identifier");
      const std::string ident = m_Values.ReadIdentBody();
      const int index = property.FindName(ident);
      if (index < 0) {
        throw InvalidPropertyError("\"" + ident + "\" is not a value of " + Where(path));
      }
      return index;
    }
    case PropertyKind::Set: {
      if (tag != ValueTag::Set) throw mismatch("a set");
      uint64_t bits = 0;
      for (const std::string& element : m_Values.ReadSetBody()) {
        const int index = property.FindName(element);
        if (index < 0) {
          throw InvalidPropertyError("\"" + element + "\" is not an element of " + Where(path));
        }
        bits |= uint64_t{1} << index;
      }
      return static_cast<int64_t>(bits);
    }
    default:
      break;
  }
  int64_t value = 0;
  if (tag == ValueTag::Ident && !property.idents.empty()) {
    const std::string ident = m_Values.ReadIdentBody();
    bool found = false;
    for (const IntegerIdent& known : property.idents) {
      if (SameText(known.name, ident)) {
        value = known.value;
        found = true;
        break;
      }
    }
    if (!found) throw InvalidPropertyError("\"" + ident + "\" is not a value of " + Where(path));
  } else if (IsIntegerTag(tag)) {
    value = m_Values.ReadIntegerBody(tag);
  } else {
    throw mismatch("an integer");
  }
  if (value < property.minValue || value > property.maxValue) {
    throw InvalidPropertyError("Value " + std::to_string(value) + " is out of range for " +
                               Where(path) + " (" + std::to_string(property.minValue) + ".." +
                               std::to_string(property.maxValue) + ")");
  }
  return value;
}

void ComponentReader::ReadCollection(Collection& collection, const std::string& path, int depth) {
  CheckDepth(depth);
  collection.BeginUpdate();
  try {
    collection.Clear();
    for (int index = 0; m_Values.ReadMarker(); ++index) {
      CollectionItem& item = collection.Add();
      ReadProperties(item, path + "[" + std::to_string(index) + "].", depth);
    }
  } catch (...) {
    collection.EndUpdate();
    throw;
  }
  collection.EndUpdate();
}

void ComponentReader::ResolveReferences(Component& lookupRoot) {
  const std::vector<Fixup> fixups = std::move(m_Fixups);
  m_Fixups.clear();
  for (const Fixup& fixup : fixups) {
    Component* target = SameText(lookupRoot.Name(), fixup.componentName)
                            ? &lookupRoot
                            : lookupRoot.FindComponent(fixup.componentName);
    if (target == nullptr) {
      throw InvalidPropertyError("The " + fixup.where + " refers to the unknown component \"" +
                                 fixup.componentName + "\"");
    }
    if (!fixup.property->setReference(*fixup.instance, target)) {
      throw InvalidPropertyError("The " + fixup.where + " cannot refer to " + Describe(*target));
    }
  }
}

}  // namespace ui

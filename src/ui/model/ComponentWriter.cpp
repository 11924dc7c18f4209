#include "ui/model/ComponentWriter.h"

#include <vector>

#include "ui/model/Collection.h"
#include "ui/model/Component.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/TypeInfo.h"

namespace ui {

// Stores the class-defined properties that have data, under the current prefix.
class ComponentWriter::Filer : public PropertyFiler {
 public:
  Filer(ValueWriter& values, const std::string& prefix) : m_Values(values), m_Prefix(prefix) {}

  void DefineProperty(std::string_view name, const ValueReadProc&, const ValueWriteProc& write,
                      bool hasData) override {
    if (!hasData) return;
    m_Values.WriteName(m_Prefix + std::string(name));
    Stream& target = m_Values.Target();
    const int64_t start = target.Position();
    write(m_Values);
    if (target.Position() == start) {
      throw StreamWriteError("Property " + m_Prefix + std::string(name) + " wrote no value");
    }
  }

  void DefineBinaryProperty(std::string_view name, const BinaryReadProc&,
                            const BinaryWriteProc& write, bool hasData) override {
    if (!hasData) return;
    MemoryStream data;
    write(data);
    m_Values.WriteName(m_Prefix + std::string(name));
    m_Values.WriteBinary(data.Bytes());
  }

 private:
  ValueWriter& m_Values;
  const std::string& m_Prefix;
};

void ComponentWriter::CheckDepth(int depth) {
  if (depth > kMaxNestingDepth) {
    throw StreamWriteError("Components and collections are nested deeper than " +
                           std::to_string(kMaxNestingDepth) + " levels");
  }
}

void ComponentWriter::WriteRoot(Component& root) {
  Component* const previous = m_Root;
  m_Root = &root;
  try {
    m_Values.WriteSignature();
    WriteComponent(root, 0);
  } catch (...) {
    m_Root = previous;
    throw;
  }
  m_Root = previous;
}

void ComponentWriter::WriteComponent(Component& component, int depth) {
  CheckDepth(depth);
  m_Values.WriteName(component.ClassName());
  m_Values.WriteName(component.Name());
  WriteProperties(component, {}, depth);
  m_Values.WriteName({});
  component.GetChildren(
      [this, depth](Component& child) {
        m_Values.WriteMarker(true);
        WriteComponent(child, depth + 1);
      },
      *m_Root);
  m_Values.WriteMarker(false);
}

void ComponentWriter::WritePropertyList(Persistent& instance) {
  WriteProperties(instance, {}, 0);
  m_Values.WriteName({});
}

void ComponentWriter::WriteProperty(Persistent& instance, const PropertyInfo& property) {
  WriteNamedProperty(instance, property, {}, 0, true);
}

void ComponentWriter::WriteProperties(Persistent& instance, const std::string& prefix, int depth,
                                      bool withDefaults) {
  for (const PropertyInfo* property : instance.Type().Properties()) {
    if (!property->IsStored(instance)) continue;
    if (!withDefaults && property->kind != PropertyKind::Object && property->IsDefault(instance)) {
      continue;
    }
    WriteNamedProperty(instance, *property, prefix, depth, withDefaults);
  }
  Filer filer(m_Values, prefix);
  instance.DefineProperties(filer);
}

void ComponentWriter::WriteNamedProperty(Persistent& instance, const PropertyInfo& property,
                                         const std::string& prefix, int depth, bool withDefaults) {
  const std::string path = prefix + property.name;
  if (property.kind == PropertyKind::Event) {
    throw StreamWriteError("Event " + path + " of " + instance.ClassName() + " is not stored");
  }
  if (property.kind != PropertyKind::Object) {
    m_Values.WriteName(path);
    WriteValue(instance, property, path);
    return;
  }
  Persistent* nested = property.getObject(instance);
  if (nested == nullptr) return;
  if (auto* collection = dynamic_cast<Collection*>(nested)) {
    m_Values.WriteName(path);
    WriteCollection(*collection, depth + 1);
  } else {
    CheckDepth(depth + 1);
    WriteProperties(*nested, path + ".", depth + 1, withDefaults);
  }
}

void ComponentWriter::WriteValue(Persistent& instance, const PropertyInfo& property,
                                 const std::string& path) {
  auto unnamed = [&](int64_t value) {
    return StreamWriteError("Value " + std::to_string(value) + " of " + path + " of " +
                            instance.ClassName() + " has no name");
  };
  switch (property.kind) {
    case PropertyKind::Integer:
    case PropertyKind::Character: {
      const int64_t value = property.getOrdinal(instance);
      for (const IntegerIdent& ident : property.idents) {
        if (ident.value == value) {
          m_Values.WriteIdent(ident.name);
          return;
        }
      }
      m_Values.WriteInteger(value);
      return;
    }
    case PropertyKind::Enumeration: {
      const int64_t value = property.getOrdinal(instance);
      if (value < 0 || value >= static_cast<int64_t>(property.names.size())) throw unnamed(value);
      m_Values.WriteIdent(property.names[static_cast<size_t>(value)]);
      return;
    }
    case PropertyKind::Boolean:
      m_Values.WriteBoolean(property.getOrdinal(instance) != 0);
      return;
    case PropertyKind::Float:
      m_Values.WriteFloat(property.getFloat(instance), property.precision);
      return;
    case PropertyKind::String:
      m_Values.WriteString(property.getString(instance));
      return;
    case PropertyKind::Set: {
      const auto bits = static_cast<uint64_t>(property.getOrdinal(instance));
      std::vector<std::string> elements;
      for (size_t i = 0; i < property.names.size(); ++i) {
        if ((bits >> i) & 1U) elements.push_back(property.names[i]);
      }
      if (property.names.size() < 64 && (bits >> property.names.size()) != 0) {
        throw unnamed(static_cast<int64_t>(bits));
      }
      m_Values.WriteSet(elements);
      return;
    }
    case PropertyKind::Reference: {
      const Component* target = property.getReference(instance);
      if (target == nullptr) {
        m_Values.WriteNull();
      } else {
        m_Values.WriteReference(ReferenceName(*target, path));
      }
      return;
    }
    case PropertyKind::Object:
    case PropertyKind::Event:
      break;
  }
  Assert(false, "ui\\ComponentWriter");
}

void ComponentWriter::WriteCollection(Collection& collection, int depth) {
  CheckDepth(depth);
  m_Values.BeginCollection();
  for (int i = 0; i < collection.Count(); ++i) {
    m_Values.WriteMarker(true);
    WriteProperties(collection.Items(i), {}, depth);
    m_Values.WriteName({});
  }
  m_Values.WriteMarker(false);
}

std::string ComponentWriter::ReferenceName(const Component& component,
                                           const std::string& path) const {
  if (component.Name().empty()) {
    throw StreamWriteError("Property " + path + " refers to a " + component.ClassName() +
                           " without a name");
  }
  if (m_Root != nullptr && &component != m_Root && component.Owner() != m_Root) {
    throw StreamWriteError("Property " + path + " refers to " + component.Name() +
                           ", which lies outside " + m_Root->Name());
  }
  return component.Name();
}

}  // namespace ui

#pragma once
// Run-time type information: a class's name, its parent and its published properties, and how
// to create it. Declared once per class with TypeBuilder (ui/model/TypeBuilder.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "ui/model/StreamFormat.h"

namespace ui {

class Persistent;
class Component;

enum class PropertyKind {
  Integer,      // signed or unsigned integer up to 32 bits, or int64_t
  Character,    // 8-bit character, stored as its code
  Enumeration,  // value i has the name names[i]
  Boolean,
  Float,  // float, double or long double, stored with that precision
  String,
  Set,        // bit i set means the element names[i] is present
  Object,     // a nested persistent object owned by the instance; its properties are stored
              // under dotted names, or its items when it is a collection
  Reference,  // a component held elsewhere, stored by name and resolved after reading
  Event,      // a handler: declared so that it is known by name, never stored
};

// A name for a special value of an integer property, e.g. a named colour.
struct IntegerIdent {
  int64_t value;
  std::string_view name;
};

struct PropertyInfo {
  std::string name;
  PropertyKind kind = PropertyKind::Integer;

  // Integer, Character, Enumeration, Boolean (0 or 1) and Set (the bits).
  std::function<int64_t(Persistent&)> getOrdinal;
  std::function<void(Persistent&, int64_t)> setOrdinal;  // empty: read-only
  int64_t minValue = 0;
  int64_t maxValue = 0;
  std::vector<std::string> names;        // Enumeration values, Set elements
  std::span<const IntegerIdent> idents;  // Integer, optional; the table outlives the type

  std::function<long double(Persistent&)> getFloat;
  std::function<void(Persistent&, long double)> setFloat;
  FloatPrecision precision = FloatPrecision::Extended;

  std::function<std::string(Persistent&)> getString;
  std::function<void(Persistent&, const std::string&)> setString;

  std::function<Persistent*(Persistent&)> getObject;

  std::function<Component*(Persistent&)> getReference;
  // False when the component is of a class the property cannot hold.
  std::function<bool(Persistent&, Component*)> setReference;

  // A value equal to the default is not stored; without one the value is always stored
  // (a reference is never stored while it is none).
  std::variant<std::monostate, int64_t, long double, std::string> defaultValue;
  std::function<bool(Persistent&)> storedWhen;  // empty: always

  bool IsReadOnly() const;
  // Whether the writer stores this property of `instance` (ignoring the default).
  bool IsStored(Persistent& instance) const;
  bool IsDefault(Persistent& instance) const;
  // Index of `name` in names, compared without regard to case; -1 when absent.
  int FindName(std::string_view name) const;
};

class TypeInfo {
 public:
  using Factory = Component* (*)(Component* owner);

  // Raises AssertionError when a property name is not an identifier or is taken.
  TypeInfo(std::string name, const TypeInfo* parent, std::vector<PropertyInfo> properties,
           Factory factory);
  // The index points into the property list: a copy would point into the original's.
  TypeInfo(const TypeInfo&) = delete;
  TypeInfo& operator=(const TypeInfo&) = delete;

  const std::string& Name() const noexcept { return m_Name; }
  const TypeInfo* Parent() const noexcept { return m_Parent; }
  bool InheritsFrom(const TypeInfo& type) const noexcept;

  // Searches this class, then its ancestors, without regard to case.
  const PropertyInfo* FindProperty(std::string_view name) const;
  // The ancestors' properties first, each class's in declaration order: the order of storing.
  std::vector<const PropertyInfo*> Properties() const;
  std::span<const PropertyInfo> OwnProperties() const noexcept { return m_Properties; }

  bool IsCreatable() const noexcept { return m_Factory != nullptr; }
  // A new component owned by `owner`, announced to it with an insertion notification.
  Component& Create(Component& owner) const;
  std::unique_ptr<Component> CreateUnowned() const;

 private:
  // Names compared and hashed without regard to case.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };

  Component* Construct(Component* owner) const;

  std::string m_Name;
  const TypeInfo* m_Parent;
  std::vector<PropertyInfo> m_Properties;
  Factory m_Factory;
  // Every property of the class and its ancestors by name, built with the class: reading a
  // stream looks up each stored name here.
  std::unordered_map<std::string_view, const PropertyInfo*, NameHash, NameEqual> m_Index;
};

}  // namespace ui

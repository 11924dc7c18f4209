#pragma once
// Declares a class's type information: its name, parent, published properties and factory.
//
//   const ui::TypeInfo& TMemoryDIB::StaticType() {
//     static const ui::TypeInfo type =
//         ui::TypeBuilder<TMemoryDIB>("TMemoryDIB", TCustomMemoryDIB::StaticType())
//             .Integer("Angle", &TMemoryDIB::Angle, &TMemoryDIB::SetAngle)
//             .Enumeration("TransparentMode", &TMemoryDIB::TransparentMode,
//                          &TMemoryDIB::SetTransparentMode, {"tmAuto", "tmFixed"})
//             .Default(tmAuto)
//             .Build();
//     return type;
//   }
//
// Getters and setters are member functions, member data pointers or callables taking T&; the
// value type comes from the getter and fixes the stored range (uint16_t: 0..65535) or the float
// precision. Default, Stored, StoredWhen, Range and Idents apply to the property declared last.

#include <concepts>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/Assert.h"
#include "ui/model/Component.h"
#include "ui/model/Exception.h"
#include "ui/model/TypeInfo.h"

namespace ui {

template <class T>
class TypeBuilder {
  static_assert(std::is_base_of_v<Persistent, T>);

  template <class G>
  using ValueOf = std::remove_cvref_t<std::invoke_result_t<G, T&>>;

 public:
  TypeBuilder(std::string name, const TypeInfo& parent)
      : m_Name(std::move(name)), m_Parent(&parent) {}

  // Any integral type of up to 32 bits, or int64_t.
  template <class Getter, class Setter>
  TypeBuilder& Integer(std::string name, Getter get, Setter set) {
    using V = ValueOf<Getter>;
    Integer(std::move(name), get);
    Last().setOrdinal = [set](Persistent& o, int64_t v) {
      std::invoke(set, Self(o), static_cast<V>(v));
    };
    return *this;
  }

  // A read-only integer: published, never stored or read.
  template <class Getter>
  TypeBuilder& Integer(std::string name, Getter get) {
    using V = ValueOf<Getter>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>);
    static_assert(sizeof(V) <= 4 || std::is_signed_v<V>, "uint64_t does not fit the stream");
    PropertyInfo& p = Add(std::move(name), PropertyKind::Integer);
    p.minValue = static_cast<int64_t>(std::numeric_limits<V>::min());
    p.maxValue = static_cast<int64_t>(std::numeric_limits<V>::max());
    p.getOrdinal = [get](Persistent& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    return *this;
  }

  // An 8-bit character (char or unsigned char), stored as its code 0..255.
  template <class Getter, class Setter>
  TypeBuilder& Character(std::string name, Getter get, Setter set) {
    using V = ValueOf<Getter>;
    static_assert(sizeof(V) == 1 && std::is_integral_v<V> && !std::is_same_v<V, bool>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Character);
    p.maxValue = 255;
    p.getOrdinal = [get](Persistent& o) {
      return static_cast<int64_t>(static_cast<unsigned char>(std::invoke(get, Self(o))));
    };
    p.setOrdinal = [set](Persistent& o, int64_t v) {
      std::invoke(set, Self(o), static_cast<V>(static_cast<unsigned char>(v)));
    };
    return *this;
  }

  template <class Getter, class Setter>
  TypeBuilder& Boolean(std::string name, Getter get, Setter set) {
    static_assert(std::is_same_v<ValueOf<Getter>, bool>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Boolean);
    p.maxValue = 1;
    p.getOrdinal = [get](Persistent& o) {
      return std::invoke(get, Self(o)) ? int64_t{1} : int64_t{0};
    };
    p.setOrdinal = [set](Persistent& o, int64_t v) { std::invoke(set, Self(o), v != 0); };
    return *this;
  }

  // An enum (or integer) whose value i is named names[i].
  template <class Getter, class Setter>
  TypeBuilder& Enumeration(std::string name, Getter get, Setter set,
                           std::initializer_list<const char*> names) {
    using V = ValueOf<Getter>;
    static_assert(std::is_enum_v<V> || std::is_integral_v<V>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Enumeration);
    p.names.assign(names.begin(), names.end());
    Assert(!p.names.empty(), "ui\\TypeBuilder");
    p.maxValue = static_cast<int64_t>(p.names.size()) - 1;
    p.getOrdinal = [get](Persistent& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    p.setOrdinal = [set](Persistent& o, int64_t v) {
      std::invoke(set, Self(o), static_cast<V>(v));
    };
    return *this;
  }

  // An unsigned bit mask whose bit i is the element names[i].
  template <class Getter, class Setter>
  TypeBuilder& Set(std::string name, Getter get, Setter set,
                   std::initializer_list<const char*> names) {
    using V = ValueOf<Getter>;
    static_assert(std::is_integral_v<V> && std::is_unsigned_v<V> && !std::is_same_v<V, bool>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Set);
    p.names.assign(names.begin(), names.end());
    Assert(!p.names.empty() && p.names.size() <= sizeof(V) * 8, "ui\\TypeBuilder");
    p.getOrdinal = [get](Persistent& o) {
      return static_cast<int64_t>(static_cast<uint64_t>(std::invoke(get, Self(o))));
    };
    p.setOrdinal = [set](Persistent& o, int64_t v) {
      std::invoke(set, Self(o), static_cast<V>(static_cast<uint64_t>(v)));
    };
    return *this;
  }

  // float, double or long double; stored with the same precision, so values round-trip exactly.
  template <class Getter, class Setter>
  TypeBuilder& Float(std::string name, Getter get, Setter set) {
    using V = ValueOf<Getter>;
    static_assert(std::is_floating_point_v<V>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Float);
    p.precision = std::is_same_v<V, float>    ? FloatPrecision::Single
                  : std::is_same_v<V, double> ? FloatPrecision::Double
                                              : FloatPrecision::Extended;
    p.getFloat = [get](Persistent& o) {
      return static_cast<long double>(std::invoke(get, Self(o)));
    };
    p.setFloat = [set](Persistent& o, long double v) {
      std::invoke(set, Self(o), static_cast<V>(v));
    };
    return *this;
  }

  template <class Getter, class Setter>
  TypeBuilder& String(std::string name, Getter get, Setter set) {
    PropertyInfo& p = Add(std::move(name), PropertyKind::String);
    p.getString = [get](Persistent& o) { return std::string(std::invoke(get, Self(o))); };
    p.setString = [set](Persistent& o, const std::string& v) { std::invoke(set, Self(o), v); };
    return *this;
  }

  // A persistent object owned by the instance (a pointer, reference or unique_ptr to it). Its
  // properties are stored as "Name.Property"; a collection stores its items.
  template <class Getter>
  TypeBuilder& Object(std::string name, Getter get) {
    PropertyInfo& p = Add(std::move(name), PropertyKind::Object);
    p.getObject = [get](Persistent& o) -> Persistent* {
      return AsPointer(std::invoke(get, Self(o)));
    };
    return *this;
  }

  // A component held elsewhere (getter returns X*, setter takes X*). Stored by name; a read
  // name is resolved once the whole tree has been read.
  template <class Getter, class Setter>
  TypeBuilder& Reference(std::string name, Getter get, Setter set) {
    using Pointer = ValueOf<Getter>;
    static_assert(std::is_pointer_v<Pointer>);
    using X = std::remove_cv_t<std::remove_pointer_t<Pointer>>;
    static_assert(std::is_base_of_v<Component, X>);
    PropertyInfo& p = Add(std::move(name), PropertyKind::Reference);
    p.getReference = [get](Persistent& o) -> Component* { return std::invoke(get, Self(o)); };
    p.setReference = [set](Persistent& o, Component* c) {
      X* target = dynamic_cast<X*>(c);
      if (c != nullptr && target == nullptr) return false;
      std::invoke(set, Self(o), target);
      return true;
    };
    return *this;
  }

  // A handler property: known by name, connected in code, never stored.
  TypeBuilder& Event(std::string name) {
    Add(std::move(name), PropertyKind::Event);
    return *this;
  }

  // A property that the C++ base class Base declares, for a class whose type lists only some of
  // its base's properties (its type then derives from an ancestor of Base's type): the property
  // keeps Base's accessors, kind and default.
  template <class Base>
  TypeBuilder& Publish(std::string_view name) {
    static_assert(std::is_base_of_v<Base, T>);
    const PropertyInfo* property = Base::StaticType().FindProperty(name);
    Assert(property != nullptr, "ui\\TypeBuilder");
    m_Properties.push_back(*property);
    return *this;
  }

  template <class V>
  TypeBuilder& Default(V value) {
    PropertyInfo& p = Last();
    if constexpr (std::is_floating_point_v<V>) {
      Assert(p.kind == PropertyKind::Float, "ui\\TypeBuilder");
      p.defaultValue = static_cast<long double>(value);
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
      Assert(p.getOrdinal != nullptr, "ui\\TypeBuilder");
      p.defaultValue = static_cast<int64_t>(value);
    } else {
      Assert(p.kind == PropertyKind::String, "ui\\TypeBuilder");
      p.defaultValue = std::string(value);
    }
    return *this;
  }

  TypeBuilder& Stored(bool stored) {
    Last().storedWhen = [stored](Persistent&) { return stored; };
    return *this;
  }

  template <class Predicate>
  TypeBuilder& StoredWhen(Predicate predicate) {
    Last().storedWhen = [predicate](Persistent& o) {
      return static_cast<bool>(std::invoke(predicate, Self(o)));
    };
    return *this;
  }

  // Narrows the values an Integer property accepts from a stream.
  TypeBuilder& Range(int64_t min, int64_t max) {
    PropertyInfo& p = Last();
    Assert(p.kind == PropertyKind::Integer && min <= max, "ui\\TypeBuilder");
    p.minValue = min;
    p.maxValue = max;
    return *this;
  }

  // Names for special values of an Integer property (e.g. colours); the table must outlive the
  // type.
  TypeBuilder& Idents(std::span<const IntegerIdent> idents) {
    Assert(Last().kind == PropertyKind::Integer, "ui\\TypeBuilder");
    Last().idents = idents;
    return *this;
  }

  // The class can be created by name when a stream is read: T(Component* owner).
  TypeBuilder& Creatable() {
    static_assert(std::is_base_of_v<Component, T> && std::is_constructible_v<T, Component*>);
    m_Factory = [](Component* owner) -> Component* { return new T(owner); };
    return *this;
  }

  TypeInfo Build() {
    return TypeInfo(std::move(m_Name), m_Parent, std::move(m_Properties), m_Factory);
  }

 private:
  // Accessors are reached through the instance's own type, which lists a property of T only
  // when the instance is a T: no run-time cast on every value read or written.
  static T& Self(Persistent& instance) {
    FLUX_ASSERT(dynamic_cast<T*>(&instance) != nullptr);
    return static_cast<T&>(instance);
  }

  template <class X>
  static Persistent* AsPointer(X&& value) {
    using V = std::remove_cvref_t<X>;
    if constexpr (std::is_pointer_v<V>) {
      return value;
    } else if constexpr (requires { value.get(); }) {
      return value.get();
    } else {
      return &value;
    }
  }

  PropertyInfo& Add(std::string name, PropertyKind kind) {
    PropertyInfo& p = m_Properties.emplace_back();
    p.name = std::move(name);
    p.kind = kind;
    return p;
  }

  PropertyInfo& Last() {
    Assert(!m_Properties.empty(), "ui\\TypeBuilder");
    return m_Properties.back();
  }

  std::string m_Name;
  const TypeInfo* m_Parent;
  std::vector<PropertyInfo> m_Properties;
  TypeInfo::Factory m_Factory = nullptr;
};

}  // namespace ui

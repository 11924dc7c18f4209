#pragma once
// Writes a component tree in the binary stream format (ui/model/StreamFormat.h): each component
// with its stored published properties (those equal to their default are left out), its nested
// objects under dotted names, its collections, its class-defined properties (DefineProperties)
// and the children its GetChildren lists. References are stored by the component's name.

#include <string>

#include "ui/model/ValueWriter.h"

namespace ui {

class Collection;
class Component;
class Persistent;
struct PropertyInfo;

class ComponentWriter {
 public:
  explicit ComponentWriter(Stream& target) : m_Values(target) {}

  // The signature, then `root` and its children. References must name the root or a
  // component it owns; anything else raises StreamWriteError.
  void WriteRoot(Component& root);

  // For class-defined content (templates, feature parameters):
  ValueWriter& Values() noexcept { return m_Values; }
  // The stored properties of `instance`, then the end of the list.
  void WritePropertyList(Persistent& instance);
  // One property with its whole value, whether or not it equals its default: a nested object
  // is written with all its stored properties, defaults included.
  void WriteProperty(Persistent& instance, const PropertyInfo& property);

 private:
  class Filer;

  void WriteComponent(Component& component, int depth);
  // withDefaults: also the properties equal to their default.
  void WriteProperties(Persistent& instance, const std::string& prefix, int depth,
                       bool withDefaults = false);
  void WriteNamedProperty(Persistent& instance, const PropertyInfo& property,
                          const std::string& prefix, int depth, bool withDefaults);
  void WriteValue(Persistent& instance, const PropertyInfo& property, const std::string& path);
  void WriteCollection(Collection& collection, int depth);
  std::string ReferenceName(const Component& component, const std::string& path) const;
  static void CheckDepth(int depth);

  ValueWriter m_Values;
  Component* m_Root = nullptr;
};

}  // namespace ui

#pragma once
// Reads a component tree from the binary stream format (ui/model/StreamFormat.h).
//
// Reading a tree: each child is created by class name through the ClassRegistry, owned by the
// root, and given the component it is stored in with SetParentComponent. A component is in the
// Loading state from its creation and in the Reading state while its own properties are read.
// References are resolved by name against the root and its components once the whole tree has
// been read. Then Loaded runs once on every component read, the root first, each component
// before its children and siblings in stored order.
//
// Errors name what was wrong: StreamReadError for malformed or truncated data,
// ClassNotFoundError for an unknown class, InvalidPropertyError for an unknown property, a
// value of the wrong type or range, or a reference to an unknown component. A child whose
// reading fails is destroyed; no Loaded runs and no component is left in the Loading state.

#include <memory>
#include <string>
#include <vector>

#include "ui/model/Exception.h"
#include "ui/model/ValueReader.h"

namespace ui {

class Collection;
class Component;
class Persistent;
struct PropertyInfo;

class ComponentReader {
 public:
  explicit ComponentReader(Stream& source) : m_Values(source) {}

  // Into an existing root, whose class must be the stored one; it takes the stored name.
  void ReadRoot(Component& root);
  // A new root without owner, created by the stored class name.
  std::unique_ptr<Component> ReadRoot();

  // For class-defined content (templates, feature parameters):
  ValueReader& Values() noexcept { return m_Values; }
  // Name-value pairs into `instance` up to the end of the list. References wait for
  // ResolveReferences.
  void ReadPropertyList(Persistent& instance);
  // The value of one property whose name the caller has just read with Values().ReadName(),
  // for lists whose names the caller checks first; a dotted name reaches into nested objects.
  void ReadPropertyValue(Persistent& instance, const std::string& name);
  void ResolveReferences(Component& lookupRoot);

 private:
  class Filer;
  struct Fixup {
    Persistent* instance;
    const PropertyInfo* property;
    std::string componentName;
    std::string where;
  };

  void ReadTree(Component& root);
  void ReadComponentBody(Component& component, Component* parent);
  void ReadChildren(Component& parent, int depth);
  void ReadProperties(Persistent& instance, const std::string& prefix, int depth);
  void ReadProperty(Persistent& instance, const std::string& name, const std::string& path,
                    int depth);
  void ReadValue(Persistent& instance, const PropertyInfo& property, const std::string& path,
                 int depth);
  int64_t ReadOrdinal(const PropertyInfo& property, const std::string& path, ValueTag tag);
  void ReadCollection(Collection& collection, const std::string& path, int depth);
  std::string Where(const std::string& path) const;
  InvalidPropertyError Mismatch(const std::string& path, const char* wanted, ValueTag found) const;
  static void CheckDepth(int depth);

  ValueReader m_Values;
  Component* m_Root = nullptr;
  std::string m_Context;  // the component being read, for messages
  std::vector<Component*> m_Loaded;
  std::vector<Fixup> m_Fixups;
};

}  // namespace ui

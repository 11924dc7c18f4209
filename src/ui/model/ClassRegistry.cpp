#include "ui/model/ClassRegistry.h"

#include <algorithm>
#include <vector>

#include "ui/model/Exception.h"
#include "ui/model/Identifiers.h"
#include "ui/model/TypeInfo.h"

namespace ui {
namespace {

std::vector<const TypeInfo*>& Classes() {
  static std::vector<const TypeInfo*> classes;
  return classes;
}

}  // namespace

void ClassRegistry::Register(const TypeInfo& type) {
  const TypeInfo* existing = Find(type.Name());
  if (existing == &type) return;
  if (existing != nullptr) {
    throw Exception("A class named " + type.Name() + " is already registered");
  }
  Classes().push_back(&type);
}

void ClassRegistry::Unregister(const TypeInfo& type) {
  std::erase(Classes(), &type);
}

const TypeInfo* ClassRegistry::Find(std::string_view name) {
  const auto& classes = Classes();
  auto found = std::find_if(classes.begin(), classes.end(),
                            [name](const TypeInfo* type) { return SameText(type->Name(), name); });
  return found == classes.end() ? nullptr : *found;
}

const TypeInfo& ClassRegistry::Get(std::string_view name) {
  const TypeInfo* type = Find(name);
  if (type == nullptr) throw ClassNotFoundError(name);
  return *type;
}

}  // namespace ui

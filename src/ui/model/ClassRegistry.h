#pragma once
// The process-wide list of classes that component streams may name. Used on the user-interface
// thread only.

#include <string_view>

namespace ui {

class TypeInfo;

class ClassRegistry {
 public:
  // Registering the same class again does nothing; another class of the same name (in any
  // letter case) raises Exception.
  static void Register(const TypeInfo& type);
  static void Unregister(const TypeInfo& type);
  // Compares names without regard to case; none when absent.
  static const TypeInfo* Find(std::string_view name);
  // As Find, raising ClassNotFoundError when absent.
  static const TypeInfo& Get(std::string_view name);
};

}  // namespace ui

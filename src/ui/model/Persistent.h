#pragma once
// Base of every object that carries published properties, can be stored in a component stream
// and can be assigned from another object.

#include <string>

namespace ui {

class TypeInfo;
class PropertyFiler;
class Collection;

class Persistent {
 public:
  Persistent() = default;
  Persistent(const Persistent&) = delete;
  Persistent& operator=(const Persistent&) = delete;
  virtual ~Persistent() = default;

  static const TypeInfo& StaticType();
  // Every class that declares properties overrides this with its own StaticType().
  virtual const TypeInfo& Type() const;
  const std::string& ClassName() const;
  bool InheritsFrom(const TypeInfo& type) const;

  // Copies `source` into this object. The base asks the source to assign itself (AssignTo); a
  // class that can take from some sources overrides this and calls the base for the others.
  virtual void Assign(const Persistent& source);

  // Declares stored data that is not a published property (binary blocks, values written only
  // sometimes). Overrides call the base first.
  virtual void DefineProperties(PropertyFiler& filer);

  // The object as a collection, if it is one: the reader asks of every nested object.
  virtual Collection* AsCollection() { return nullptr; }

 protected:
  // The base raises AssignError naming both classes.
  virtual void AssignTo(Persistent& target) const;
};

}  // namespace ui

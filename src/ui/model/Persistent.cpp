#include "ui/model/Persistent.h"

#include "ui/model/Exception.h"
#include "ui/model/TypeInfo.h"

namespace ui {

const TypeInfo& Persistent::StaticType() {
  static const TypeInfo type("Persistent", nullptr, {}, nullptr);
  return type;
}

const TypeInfo& Persistent::Type() const {
  return StaticType();
}

const std::string& Persistent::ClassName() const {
  return Type().Name();
}

bool Persistent::InheritsFrom(const TypeInfo& type) const {
  return Type().InheritsFrom(type);
}

void Persistent::Assign(const Persistent& source) {
  source.AssignTo(*this);
}

void Persistent::DefineProperties(PropertyFiler&) {}

void Persistent::AssignTo(Persistent& target) const {
  throw AssignError(ClassName(), target.ClassName());
}

}  // namespace ui

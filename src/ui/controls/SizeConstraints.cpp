#include "ui/controls/SizeConstraints.h"

#include <algorithm>

#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

int32_t Limit(int32_t value, int32_t minimum, int32_t maximum) {
  if (minimum > 0) value = std::max(value, minimum);
  if (maximum > 0) value = std::min(value, maximum);
  return std::max(value, 0);
}

}  // namespace

const TypeInfo& SizeConstraints::StaticType() {
  using T = SizeConstraints;
  static const TypeInfo type = TypeBuilder<T>("SizeConstraints", Persistent::StaticType())
                                   .Integer("MaxHeight", &T::MaxHeight, &T::SetMaxHeight)
                                   .Default(0)
                                   .Integer("MaxWidth", &T::MaxWidth, &T::SetMaxWidth)
                                   .Default(0)
                                   .Integer("MinHeight", &T::MinHeight, &T::SetMinHeight)
                                   .Default(0)
                                   .Integer("MinWidth", &T::MinWidth, &T::SetMinWidth)
                                   .Default(0)
                                   .Build();
  return type;
}

void SizeConstraints::Apply(int32_t& width, int32_t& height) const {
  width = Limit(width, m_MinWidth, m_MaxWidth);
  height = Limit(height, m_MinHeight, m_MaxHeight);
}

void SizeConstraints::Change(int32_t& field, int32_t value) {
  value = std::max(value, 0);
  if (field == value) return;
  field = value;
  if (m_OnChange) m_OnChange();
}

void SizeConstraints::Assign(const Persistent& source) {
  if (const auto* other = dynamic_cast<const SizeConstraints*>(&source)) {
    m_MinWidth = other->m_MinWidth;
    m_MinHeight = other->m_MinHeight;
    m_MaxWidth = other->m_MaxWidth;
    m_MaxHeight = other->m_MaxHeight;
    if (m_OnChange) m_OnChange();
    return;
  }
  Persistent::Assign(source);
}

}  // namespace ui

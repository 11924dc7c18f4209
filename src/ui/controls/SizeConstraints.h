#pragma once
// Limits on a control's width and height; 0 means no limit.

#include <cstdint>
#include <functional>

#include "ui/model/Persistent.h"

namespace ui {

class SizeConstraints : public Persistent {
 public:
  explicit SizeConstraints(std::function<void()> onChange = {}) : m_OnChange(std::move(onChange)) {}

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  int32_t MinWidth() const { return m_MinWidth; }
  void SetMinWidth(int32_t value) { Change(m_MinWidth, value); }
  int32_t MinHeight() const { return m_MinHeight; }
  void SetMinHeight(int32_t value) { Change(m_MinHeight, value); }
  int32_t MaxWidth() const { return m_MaxWidth; }
  void SetMaxWidth(int32_t value) { Change(m_MaxWidth, value); }
  int32_t MaxHeight() const { return m_MaxHeight; }
  void SetMaxHeight(int32_t value) { Change(m_MaxHeight, value); }

  // Brings a size within the limits (a maximum wins over a larger minimum) and above 0.
  void Apply(int32_t& width, int32_t& height) const;

  void Assign(const Persistent& source) override;

 private:
  void Change(int32_t& field, int32_t value);

  int32_t m_MinWidth = 0;
  int32_t m_MinHeight = 0;
  int32_t m_MaxWidth = 0;
  int32_t m_MaxHeight = 0;
  std::function<void()> m_OnChange;
};

}  // namespace ui

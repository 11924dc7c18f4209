#pragma once
// A control's font as a stored object (Name, Height, Color, Style); it tells its control when
// it changes.

#include <cstdint>
#include <functional>
#include <string>

#include "ui/graphics/Font.h"
#include "ui/model/Persistent.h"

namespace ui {

inline constexpr uint8_t fsBold = 1;
inline constexpr uint8_t fsItalic = 2;

class ControlFont : public Persistent {
 public:
  explicit ControlFont(std::function<void()> onChange = {}) : m_OnChange(std::move(onChange)) {}

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  const ui::Font& Value() const { return m_Font; }
  void SetValue(const ui::Font& font);

  const std::string& Name() const { return m_Font.name; }
  void SetName(const std::string& name);
  int32_t Height() const { return m_Font.height; }
  void SetHeight(int32_t height);
  ui::Color Color() const { return m_Font.color; }
  void SetColor(ui::Color color);
  uint8_t Style() const;  // fsBold, fsItalic
  void SetStyle(uint8_t style);

  void Assign(const Persistent& source) override;

 private:
  ui::Font m_Font;
  std::function<void()> m_OnChange;
};

}  // namespace ui

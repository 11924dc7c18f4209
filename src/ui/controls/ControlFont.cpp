#include "ui/controls/ControlFont.h"

#include "ui/model/TypeBuilder.h"

namespace ui {

const TypeInfo& ControlFont::StaticType() {
  using T = ControlFont;
  static const TypeInfo type = TypeBuilder<T>("ControlFont", Persistent::StaticType())
                                   .String("Name", &T::Name, &T::SetName)
                                   .Integer("Height", &T::Height, &T::SetHeight)
                                   .Integer("Color", &T::Color, &T::SetColor)
                                   .Idents(ColorIdents())
                                   .Default(clWindowText)
                                   .Set("Style", &T::Style, &T::SetStyle, {"fsBold", "fsItalic"})
                                   .Default(0)
                                   .Build();
  return type;
}

void ControlFont::SetValue(const ui::Font& font) {
  if (font == m_Font) return;
  m_Font = font;
  if (m_OnChange) m_OnChange();
}

void ControlFont::SetName(const std::string& name) {
  ui::Font font = m_Font;
  font.name = name;
  SetValue(font);
}

void ControlFont::SetHeight(int32_t height) {
  ui::Font font = m_Font;
  font.height = height;
  SetValue(font);
}

void ControlFont::SetColor(ui::Color color) {
  ui::Font font = m_Font;
  font.color = color;
  SetValue(font);
}

uint8_t ControlFont::Style() const {
  return static_cast<uint8_t>((m_Font.bold ? fsBold : 0) | (m_Font.italic ? fsItalic : 0));
}

void ControlFont::SetStyle(uint8_t style) {
  ui::Font font = m_Font;
  font.bold = (style & fsBold) != 0;
  font.italic = (style & fsItalic) != 0;
  SetValue(font);
}

void ControlFont::Assign(const Persistent& source) {
  if (const auto* font = dynamic_cast<const ControlFont*>(&source)) {
    SetValue(font->m_Font);
    return;
  }
  Persistent::Assign(source);
}

}  // namespace ui

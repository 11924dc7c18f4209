#include "ui/graphics/Surface.h"

#include <algorithm>

namespace ui {

Surface::Surface(int32_t width, int32_t height) {
  SetSize(width, height);
}

void Surface::SetSize(int32_t width, int32_t height) {
  m_Width = std::max(width, 0);
  m_Height = std::max(height, 0);
  m_Bits.assign(static_cast<std::size_t>(m_Width) * static_cast<std::size_t>(m_Height), 0);
}

void Surface::Reshape(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  m_Bits.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  m_Width = width;
  m_Height = height;
}

}  // namespace ui

#pragma once
// Class, component and property names: ASCII identifiers compared without regard to case.

#include <string>
#include <string_view>

namespace ui {

bool SameText(std::string_view a, std::string_view b) noexcept;
std::string LowerCase(std::string_view text);
// A letter or underscore, then letters, digits or underscores.
bool IsIdentifier(std::string_view text) noexcept;

}  // namespace ui

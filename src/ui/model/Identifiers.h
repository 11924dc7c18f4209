#pragma once
// Class, component and property names: ASCII identifiers compared without regard to case.

#include <string>
#include <string_view>

namespace ui {

bool SameText(std::string_view a, std::string_view b) noexcept;
std::string LowerCase(std::string_view text);
char LowerCase(char c) noexcept;  // A to Z become a to z; anything else stays
// A letter or underscore, then letters, digits or underscores.
bool IsIdentifier(std::string_view text) noexcept;

}  // namespace ui

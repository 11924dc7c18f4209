#include "ui/model/Identifiers.h"

namespace ui {
namespace {

bool IsLetter(char c) noexcept {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerCase(a[i]) != LowerCase(b[i])) return false;
  }
  return true;
}

char LowerCase(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = LowerCase(c);
  return result;
}

bool IsIdentifier(std::string_view text) noexcept {
  if (text.empty() || !IsLetter(text.front())) return false;
  for (char c : text) {
    if (!IsLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}

}  // namespace ui

#include "TextFormat.h"

#include <cstdarg>
#include <cstdio>

namespace fluxhost {

std::string FormatText(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, pattern, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, pattern, args);
  va_end(args);
  return text;
}

}  // namespace fluxhost

#include "plugin/ParameterFormat.h"

#include <charconv>

#if defined(_WIN32)
#include <windows.h>
#else
#include <clocale>
#endif

namespace {

char UserDecimalSeparator() {
#if defined(_WIN32)
  char text[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0 && text[0])
    return text[0];
  return '.';
#else
  // The numeric locale the host process has chosen.
  const std::lconv* conventions = std::localeconv();
  if (conventions && conventions->decimal_point && conventions->decimal_point[0])
    return conventions->decimal_point[0];
  return '.';
#endif
}

}  // namespace

void formatParameterValue(float value, char* buffer) {
  char text[32];
  // to_chars rounds the exact binary value, whatever locale or rounding mode
  // the host has set.
  const auto result = std::to_chars(text, text + sizeof text - 1, static_cast<double>(value),
                                    std::chars_format::fixed, 2);
  *result.ptr = '\0';
  const char separator = UserDecimalSeparator();
  int out = 0;
  for (const char* c = text; *c; ++c) buffer[out++] = (*c == '.') ? separator : *c;
  buffer[out] = '\0';
}

#pragma once
// printf-style formatting into a std::string, checked by the compiler.

#include <string>

namespace fluxhost {

#if defined(__MINGW32__)
#define FLUX_PRINTF_STYLE gnu_printf  // the C++ runtime there uses the standard printf
#else
#define FLUX_PRINTF_STYLE printf
#endif

std::string FormatText(const char* pattern, ...) __attribute__((format(FLUX_PRINTF_STYLE, 1, 2)));

}  // namespace fluxhost

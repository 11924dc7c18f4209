#pragma once
// The mouse actions given on the command line (--click X,Y and --drag X1,Y1:X2,Y2),
// in the editor's coordinates and in the order given.

#include <cstdint>
#include <vector>

#include "CommandLine.h"

namespace fluxhost {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
};

struct MouseAction {
  Point from;
  Point to;  // equal to `from` for a click
};

// Throws UsageError for a malformed position.
std::vector<MouseAction> MouseScriptFrom(const ParsedOptions& options);

}  // namespace fluxhost

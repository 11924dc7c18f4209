#include "MouseScript.h"

namespace fluxhost {

namespace {

constexpr long kLargestCoordinate = 32767;  // the window system's limit

Point PointFrom(const std::string& text, const std::string& option) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos)
    throw UsageError(option + " needs positions as X,Y, not '" + text + "'");
  const std::string what = "a coordinate of " + option;
  return {static_cast<int32_t>(ParseInteger(text.substr(0, comma), what, 0, kLargestCoordinate)),
          static_cast<int32_t>(ParseInteger(text.substr(comma + 1), what, 0, kLargestCoordinate))};
}

}  // namespace

std::vector<MouseAction> MouseScriptFrom(const ParsedOptions& options) {
  std::vector<MouseAction> script;
  for (const auto& [name, value] : options.InOrder({"click", "drag"})) {
    if (name == "click") {
      const Point at = PointFrom(value, "--click");
      script.push_back({at, at});
      continue;
    }
    const size_t colon = value.find(':');
    if (colon == std::string::npos)
      throw UsageError("--drag needs X1,Y1:X2,Y2, not '" + value + "'");
    script.push_back({PointFrom(value.substr(0, colon), "--drag"),
                      PointFrom(value.substr(colon + 1), "--drag")});
  }
  return script;
}

}  // namespace fluxhost

#include "CommandSupport.h"
#include "Commands.h"
#include "PluginInfo.h"

namespace fluxhost {

namespace {

constexpr const char* kInfoHelp =
    "Usage: fluxhost info PLUGIN [--json]\n"
    "Loads the plug-in library PLUGIN, opens one instance and prints its descriptor (flags\n"
    "spelled out), effect, vendor and product names, every parameter (index, name, display,\n"
    "label, value), every program name, its pins and its answers to common can-do questions.\n"
    "\n"
    "Options:\n"
    "      --json               print the same as one JSON object\n";

}  // namespace

void runInfo(std::span<const std::string> args, std::ostream& out, std::ostream&) {
  const ParsedOptions options(args, withLoadOptions({{"json", false}}));
  if (options.has("help")) {
    out << kInfoHelp << kLoadOptionsHelp;
    return;
  }
  const std::string path = onePluginPath(options);
  PluginInstance plugin(path, loadOptionsFrom(options));
  const PluginInfo info = describePlugin(plugin);
  out << (options.has("json") ? formatInfoJson(info) : formatInfo(info));
}

}  // namespace fluxhost

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

void RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream&) {
  const ParsedOptions options(args, WithLoadOptions({{"json", false}}));
  if (options.Has("help")) {
    out << kInfoHelp << kLoadOptionsHelp;
    return;
  }
  const std::string path = OnePluginPath(options);
  PluginInstance plugin(path, LoadOptionsFrom(options));
  const PluginInfo info = DescribePlugin(plugin);
  out << (options.Has("json") ? FormatInfoJson(info) : FormatInfo(info));
}

}  // namespace fluxhost

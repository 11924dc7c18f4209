#pragma once
// What the subcommands share: loading options and settings.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "PluginInstance.h"

namespace fluxhost {

// A command's own options and those of every command that loads a plug-in.
std::vector<OptionSpec> WithLoadOptions(std::initializer_list<OptionSpec> own);
constexpr const char* kLoadOptionsHelp =
    "      --shell-id ID        create this sub-plug-in of a shell library (number or 4 chars)\n"
    "      --load-timeout SEC   give up when loading takes longer (default 30)\n"
    "      --help               show this help\n";

LoadOptions LoadOptionsFrom(const ParsedOptions& options);
std::string OnePluginPath(const ParsedOptions& options);

// --program N and every INDEX=VALUE of the parameter option (--param for play),
// checked before anything is loaded.
struct PluginSettings {
  long program = -1;  // none
  std::vector<std::pair<long, float>> parameters;
};
PluginSettings SettingsFrom(const ParsedOptions& options,
                            const std::string& parameterOption = "param");
// The program first, then the parameters in order; fails for indices the plug-in lacks.
void ApplySettings(const PluginInstance& plugin, const PluginSettings& settings);

}  // namespace fluxhost

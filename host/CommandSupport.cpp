#include "CommandSupport.h"

#include <cctype>
#include <cstdint>

#include "vst/VstRecords.h"

namespace fluxhost {

std::vector<OptionSpec> WithLoadOptions(std::initializer_list<OptionSpec> own) {
  std::vector<OptionSpec> specs(own);
  specs.insert(specs.end(), {{"shell-id", true}, {"load-timeout", true}, {"help", false}});
  return specs;
}

LoadOptions LoadOptionsFrom(const ParsedOptions& options) {
  LoadOptions load;
  if (options.Has("shell-id")) {
    const std::string id = options.Value("shell-id");
    load.shellId =
        id.size() == 4 && !std::isdigit(static_cast<unsigned char>(id[0]))
            ? FourCharCode(id[0], id[1], id[2], id[3])
            : static_cast<VstInt32>(ParseInteger(id, "--shell-id", INT32_MIN, INT32_MAX));
  }
  load.timeout = std::chrono::milliseconds(
      static_cast<int64_t>(options.Number("load-timeout", 30.0, 0.1, 3600.0) * 1000.0));
  return load;
}

std::string OnePluginPath(const ParsedOptions& options) {
  const auto& positionals = options.Positionals();
  if (positionals.empty()) throw UsageError("no plug-in given");
  if (positionals.size() > 1) throw UsageError("unexpected argument '" + positionals[1] + "'");
  return positionals[0];
}

PluginSettings SettingsFrom(const ParsedOptions& options, const std::string& parameterOption) {
  PluginSettings settings;
  settings.program = options.Integer("program", -1, 0, INT32_MAX);
  const std::string option = "--" + parameterOption;
  for (const std::string& setting : options.All(parameterOption)) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos)
      throw UsageError(option + " needs INDEX=VALUE, not '" + setting + "'");
    const long index =
        ParseInteger(setting.substr(0, equals), "a " + option + " index", 0, INT32_MAX);
    const double value =
        ParseNumber(setting.substr(equals + 1), "a " + option + " value", 0.0, 1.0);
    settings.parameters.emplace_back(index, static_cast<float>(value));
  }
  return settings;
}

void ApplySettings(const PluginInstance& plugin, const PluginSettings& settings) {
  const AEffect& effect = plugin.Effect();
  if (settings.program >= effect.numPrograms) {
    throw std::runtime_error("the plug-in has " + std::to_string(effect.numPrograms) +
                             " programs: there is no program " + std::to_string(settings.program));
  }
  if (settings.program >= 0) plugin.Dispatch(effSetProgram, 0, settings.program);
  for (const auto& [index, value] : settings.parameters) {
    if (index >= effect.numParams) {
      throw std::runtime_error("the plug-in has " + std::to_string(effect.numParams) +
                               " parameters: there is no parameter " + std::to_string(index));
    }
    plugin.SetParameter(static_cast<VstInt32>(index), value);
  }
}

}  // namespace fluxhost

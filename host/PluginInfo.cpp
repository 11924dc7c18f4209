#include "PluginInfo.h"

#include <cmath>

#include "TextFormat.h"

namespace fluxhost {

namespace {

constexpr const char* kCommonAbilities[] = {
    "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
    "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass"};

constexpr struct {
  int bit;
  const char* name;
} kFlagNames[] = {{effFlagsHasEditor, "hasEditor"},
                  {effFlagsHasClip, "hasClip"},
                  {effFlagsHasVu, "hasVu"},
                  {effFlagsCanMono, "canMono"},
                  {effFlagsCanReplacing, "canReplacing"},
                  {effFlagsProgramChunks, "programChunks"},
                  {effFlagsIsSynth, "isSynth"},
                  {effFlagsNoSoundInStop, "noSoundInStop"},
                  {effFlagsExtIsAsync, "extIsAsync"},
                  {effFlagsExtHasBuffer, "extHasBuffer"}};

std::vector<std::string> ProgramNames(const PluginInstance& plugin) {
  const int count = plugin.Effect().numPrograms;
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char buffer[512] = {};
    if (plugin.Dispatch(effGetProgramNameIndexed, i, 0, buffer) == 0) break;
    buffer[sizeof buffer - 1] = '\0';
    names.emplace_back(buffer);
  }
  if (static_cast<int>(names.size()) == count) return names;
  // Without indexed names, switch to each program and ask, then switch back.
  names.clear();
  const VstIntPtr current = plugin.Dispatch(effGetProgram);
  for (int i = 0; i < count; ++i) {
    plugin.Dispatch(effSetProgram, 0, i);
    names.push_back(plugin.Text(effGetProgramName));
  }
  plugin.Dispatch(effSetProgram, 0, current);
  return names;
}

std::vector<PinInfo> Pins(const PluginInstance& plugin, VstInt32 opcode, int count) {
  std::vector<PinInfo> result;
  for (int i = 0; i < count; ++i) {
    VstPinProperties properties{};
    PinInfo pin;
    if (plugin.Dispatch(opcode, i, 0, &properties) != 0) {
      properties.label[sizeof properties.label - 1] = '\0';
      properties.shortLabel[sizeof properties.shortLabel - 1] = '\0';
      pin.label = properties.label;
      pin.shortLabel = properties.shortLabel;
      pin.flags = properties.flags;
    }
    result.push_back(pin);
  }
  return result;
}

const char* CategoryName(long category) {
  static constexpr const char* kNames[] = {"unknown",     "effect",  "instrument", "analysis",
                                           "mastering",   "spatial", "room",       "surround",
                                           "restoration", "offline", "shell",      "generator"};
  return category >= 0 && category < 12 ? kNames[category] : "not defined";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x80) {
      out += FormatText("\\u%04x", u);  // plug-in strings are 8-bit: keep JSON plain ASCII
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  return std::isfinite(value) ? FormatText("%.9g", value) : std::string("null");
}

std::string PinFlagText(int flags) {
  std::string text = (flags & kVstPinIsActive) ? "active" : "";
  if (flags & kVstPinIsStereo) text += text.empty() ? "stereo" : ", stereo";
  return text;
}

}  // namespace

std::string FourCharText(int code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<char>((static_cast<unsigned>(code) >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) return std::to_string(code);
    text += c;
  }
  return text;
}

std::vector<std::string> FlagNames(int flags) {
  std::vector<std::string> names;
  for (const auto& flag : kFlagNames) {
    if (flags & flag.bit) names.emplace_back(flag.name);
  }
  return names;
}

PluginInfo DescribePlugin(PluginInstance& plugin) {
  const AEffect& e = plugin.Effect();
  PluginInfo info;
  info.path = plugin.Path();
  info.uniqueId = e.uniqueID;
  info.version = e.version;
  info.flags = e.flags;
  info.numPrograms = e.numPrograms;
  info.numParams = e.numParams;
  info.numInputs = e.numInputs;
  info.numOutputs = e.numOutputs;
  info.initialDelay = e.initialDelay;
  info.vstVersion = static_cast<long>(plugin.Dispatch(effGetVstVersion));
  info.category = static_cast<long>(plugin.Dispatch(effGetPlugCategory));
  info.vendorVersion = static_cast<long>(plugin.Dispatch(effGetVendorVersion));
  info.effectName = plugin.Text(effGetEffectName);
  info.vendor = plugin.Text(effGetVendorString);
  info.product = plugin.Text(effGetProductString);
  for (int i = 0; i < e.numParams; ++i) {
    info.parameters.push_back({i, plugin.Text(effGetParamName, i), plugin.Text(effGetParamLabel, i),
                               plugin.Text(effGetParamDisplay, i), plugin.Parameter(i)});
  }
  info.programs = ProgramNames(plugin);
  info.inputs = Pins(plugin, effGetInputProperties, e.numInputs);
  info.outputs = Pins(plugin, effGetOutputProperties, e.numOutputs);
  for (const char* ability : kCommonAbilities) {
    info.canDo.push_back(
        {ability, static_cast<long>(plugin.Dispatch(effCanDo, 0, 0, const_cast<char*>(ability)))});
  }
  plugin.Start(44100.0, 512);
  plugin.Stop();
  info.wantsMidi = plugin.Host().WantsMidi();
  return info;
}

std::string FormatInfo(const PluginInfo& info) {
  std::string flags;
  for (const std::string& name : FlagNames(info.flags)) flags += " " + name;
  std::string text = FormatText("Plug-in      %s\n", info.path.c_str());
  text += FormatText("Effect       %s\nVendor       %s\nProduct      %s\n", info.effectName.c_str(),
                     info.vendor.c_str(), info.product.c_str());
  text += FormatText("Unique ID    %s (%d)\nVersion      %d (vendor version %ld, VST %ld)\n",
                     FourCharText(info.uniqueId).c_str(), info.uniqueId, info.version,
                     info.vendorVersion, info.vstVersion);
  text += FormatText("Category     %ld (%s)\nFlags        %d:%s\n", info.category,
                     CategoryName(info.category), info.flags, flags.c_str());
  text += FormatText("Audio        %d in, %d out, latency %d frames\n", info.numInputs,
                     info.numOutputs, info.initialDelay);
  text += FormatText("Wants MIDI   %s\n", info.wantsMidi ? "yes" : "no");
  text += FormatText("\nParameters (%d)\n", info.numParams);
  for (const ParameterInfo& p : info.parameters) {
    text += FormatText("  %3d  %-24s %12s %-8s value %.6f\n", p.index, p.name.c_str(),
                       p.display.c_str(), p.label.c_str(), static_cast<double>(p.value));
  }
  text += FormatText("\nPrograms (%d)\n", info.numPrograms);
  for (size_t i = 0; i < info.programs.size(); ++i) {
    text += FormatText("  %3zu  %s\n", i, info.programs[i].c_str());
  }
  const auto pinLines = [&text](const char* title, const std::vector<PinInfo>& list) {
    text += FormatText("\n%s (%zu)\n", title, list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      text += FormatText("  %3zu  %-24s %-8s %s\n", i, list[i].label.c_str(),
                         list[i].shortLabel.c_str(), PinFlagText(list[i].flags).c_str());
    }
  };
  pinLines("Inputs", info.inputs);
  pinLines("Outputs", info.outputs);
  text += "\nCan do\n";
  for (const CanDoAnswer& a : info.canDo) {
    text += FormatText("  %-22s %s\n", a.ability.c_str(),
                       a.answer > 0   ? "yes"
                       : a.answer < 0 ? "no"
                                      : "does not say");
  }
  return text;
}

std::string FormatInfoJson(const PluginInfo& info) {
  std::string j = "{\n";
  j += "  \"path\": " + JsonString(info.path) + ",\n";
  j += "  \"effectName\": " + JsonString(info.effectName) + ",\n";
  j += "  \"vendor\": " + JsonString(info.vendor) + ",\n";
  j += "  \"product\": " + JsonString(info.product) + ",\n";
  j += FormatText("  \"uniqueId\": %d,\n  \"uniqueIdText\": %s,\n", info.uniqueId,
                  JsonString(FourCharText(info.uniqueId)).c_str());
  j += FormatText("  \"version\": %d,\n  \"vendorVersion\": %ld,\n  \"vstVersion\": %ld,\n",
                  info.version, info.vendorVersion, info.vstVersion);
  j += FormatText("  \"category\": %ld,\n  \"flags\": %d,\n  \"flagNames\": [", info.category,
                  info.flags);
  const auto names = FlagNames(info.flags);
  for (size_t i = 0; i < names.size(); ++i) j += (i ? ", " : "") + JsonString(names[i]);
  j += FormatText("],\n  \"numPrograms\": %d,\n  \"numParams\": %d,\n", info.numPrograms,
                  info.numParams);
  j += FormatText("  \"numInputs\": %d,\n  \"numOutputs\": %d,\n  \"initialDelay\": %d,\n",
                  info.numInputs, info.numOutputs, info.initialDelay);
  j += FormatText("  \"wantsMidi\": %s,\n  \"parameters\": [", info.wantsMidi ? "true" : "false");
  for (size_t i = 0; i < info.parameters.size(); ++i) {
    const ParameterInfo& p = info.parameters[i];
    j += FormatText(
        "%s\n    {\"index\": %d, \"name\": %s, \"label\": %s, \"display\": %s, \"value\": %s}",
        i ? "," : "", p.index, JsonString(p.name).c_str(), JsonString(p.label).c_str(),
        JsonString(p.display).c_str(), JsonNumber(static_cast<double>(p.value)).c_str());
  }
  j += "\n  ],\n  \"programs\": [";
  for (size_t i = 0; i < info.programs.size(); ++i)
    j += (i ? ", " : "") + JsonString(info.programs[i]);
  const auto pinList = [&j](const char* key, const std::vector<PinInfo>& list) {
    j += FormatText("],\n  \"%s\": [", key);
    for (size_t i = 0; i < list.size(); ++i) {
      j += FormatText("%s\n    {\"label\": %s, \"shortLabel\": %s, \"flags\": %d}", i ? "," : "",
                      JsonString(list[i].label).c_str(), JsonString(list[i].shortLabel).c_str(),
                      list[i].flags);
    }
  };
  pinList("inputs", info.inputs);
  pinList("outputs", info.outputs);
  j += "],\n  \"canDo\": {";
  for (size_t i = 0; i < info.canDo.size(); ++i) {
    j += FormatText("%s\n    %s: %ld", i ? "," : "", JsonString(info.canDo[i].ability).c_str(),
                    info.canDo[i].answer);
  }
  return j + "\n  }\n}\n";
}

}  // namespace fluxhost

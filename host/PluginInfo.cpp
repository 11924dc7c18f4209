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

std::vector<std::string> programNames(const PluginInstance& plugin) {
  const int count = plugin.effect().numPrograms;
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char buffer[512] = {};
    if (plugin.dispatch(effGetProgramNameIndexed, i, 0, buffer) == 0) break;
    buffer[sizeof buffer - 1] = '\0';
    names.emplace_back(buffer);
  }
  if (static_cast<int>(names.size()) == count) return names;
  // Without indexed names, switch to each program and ask, then switch back.
  names.clear();
  const VstIntPtr current = plugin.dispatch(effGetProgram);
  for (int i = 0; i < count; ++i) {
    plugin.dispatch(effSetProgram, 0, i);
    names.push_back(plugin.text(effGetProgramName));
  }
  plugin.dispatch(effSetProgram, 0, current);
  return names;
}

std::vector<PinInfo> pins(const PluginInstance& plugin, VstInt32 opcode, int count) {
  std::vector<PinInfo> result;
  for (int i = 0; i < count; ++i) {
    VstPinProperties properties{};
    PinInfo pin;
    if (plugin.dispatch(opcode, i, 0, &properties) != 0) {
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

const char* categoryName(long category) {
  static constexpr const char* kNames[] = {"unknown",     "effect",  "instrument", "analysis",
                                           "mastering",   "spatial", "room",       "surround",
                                           "restoration", "offline", "shell",      "generator"};
  return category >= 0 && category < 12 ? kNames[category] : "not defined";
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x80) {
      out += formatText("\\u%04x", u);  // plug-in strings are 8-bit: keep JSON plain ASCII
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string jsonNumber(double value) {
  return std::isfinite(value) ? formatText("%.9g", value) : std::string("null");
}

std::string pinFlagText(int flags) {
  std::string text = (flags & kVstPinIsActive) ? "active" : "";
  if (flags & kVstPinIsStereo) text += text.empty() ? "stereo" : ", stereo";
  return text;
}

}  // namespace

std::string fourCharText(int code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto c = static_cast<char>((static_cast<unsigned>(code) >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) return std::to_string(code);
    text += c;
  }
  return text;
}

std::vector<std::string> flagNames(int flags) {
  std::vector<std::string> names;
  for (const auto& flag : kFlagNames) {
    if (flags & flag.bit) names.emplace_back(flag.name);
  }
  return names;
}

PluginInfo describePlugin(PluginInstance& plugin) {
  const AEffect& e = plugin.effect();
  PluginInfo info;
  info.path = plugin.path();
  info.uniqueId = e.uniqueID;
  info.version = e.version;
  info.flags = e.flags;
  info.numPrograms = e.numPrograms;
  info.numParams = e.numParams;
  info.numInputs = e.numInputs;
  info.numOutputs = e.numOutputs;
  info.initialDelay = e.initialDelay;
  info.vstVersion = static_cast<long>(plugin.dispatch(effGetVstVersion));
  info.category = static_cast<long>(plugin.dispatch(effGetPlugCategory));
  info.vendorVersion = static_cast<long>(plugin.dispatch(effGetVendorVersion));
  info.effectName = plugin.text(effGetEffectName);
  info.vendor = plugin.text(effGetVendorString);
  info.product = plugin.text(effGetProductString);
  for (int i = 0; i < e.numParams; ++i) {
    info.parameters.push_back({i, plugin.text(effGetParamName, i), plugin.text(effGetParamLabel, i),
                               plugin.text(effGetParamDisplay, i), plugin.parameter(i)});
  }
  info.programs = programNames(plugin);
  info.inputs = pins(plugin, effGetInputProperties, e.numInputs);
  info.outputs = pins(plugin, effGetOutputProperties, e.numOutputs);
  for (const char* ability : kCommonAbilities) {
    info.canDo.push_back(
        {ability, static_cast<long>(plugin.dispatch(effCanDo, 0, 0, const_cast<char*>(ability)))});
  }
  plugin.start(44100.0, 512);
  plugin.stop();
  info.wantsMidi = plugin.host().wantsMidi();
  return info;
}

std::string formatInfo(const PluginInfo& info) {
  std::string flags;
  for (const std::string& name : flagNames(info.flags)) flags += " " + name;
  std::string text = formatText("Plug-in      %s\n", info.path.c_str());
  text += formatText("Effect       %s\nVendor       %s\nProduct      %s\n", info.effectName.c_str(),
                     info.vendor.c_str(), info.product.c_str());
  text += formatText("Unique ID    %s (%d)\nVersion      %d (vendor version %ld, VST %ld)\n",
                     fourCharText(info.uniqueId).c_str(), info.uniqueId, info.version,
                     info.vendorVersion, info.vstVersion);
  text += formatText("Category     %ld (%s)\nFlags        %d:%s\n", info.category,
                     categoryName(info.category), info.flags, flags.c_str());
  text += formatText("Audio        %d in, %d out, latency %d frames\n", info.numInputs,
                     info.numOutputs, info.initialDelay);
  text += formatText("Wants MIDI   %s\n", info.wantsMidi ? "yes" : "no");
  text += formatText("\nParameters (%d)\n", info.numParams);
  for (const ParameterInfo& p : info.parameters) {
    text += formatText("  %3d  %-24s %12s %-8s value %.6f\n", p.index, p.name.c_str(),
                       p.display.c_str(), p.label.c_str(), static_cast<double>(p.value));
  }
  text += formatText("\nPrograms (%d)\n", info.numPrograms);
  for (size_t i = 0; i < info.programs.size(); ++i) {
    text += formatText("  %3zu  %s\n", i, info.programs[i].c_str());
  }
  const auto pinLines = [&text](const char* title, const std::vector<PinInfo>& list) {
    text += formatText("\n%s (%zu)\n", title, list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      text += formatText("  %3zu  %-24s %-8s %s\n", i, list[i].label.c_str(),
                         list[i].shortLabel.c_str(), pinFlagText(list[i].flags).c_str());
    }
  };
  pinLines("Inputs", info.inputs);
  pinLines("Outputs", info.outputs);
  text += "\nCan do\n";
  for (const CanDoAnswer& a : info.canDo) {
    text += formatText("  %-22s %s\n", a.ability.c_str(),
                       a.answer > 0   ? "yes"
                       : a.answer < 0 ? "no"
                                      : "does not say");
  }
  return text;
}

std::string formatInfoJson(const PluginInfo& info) {
  std::string j = "{\n";
  j += "  \"path\": " + jsonString(info.path) + ",\n";
  j += "  \"effectName\": " + jsonString(info.effectName) + ",\n";
  j += "  \"vendor\": " + jsonString(info.vendor) + ",\n";
  j += "  \"product\": " + jsonString(info.product) + ",\n";
  j += formatText("  \"uniqueId\": %d,\n  \"uniqueIdText\": %s,\n", info.uniqueId,
                  jsonString(fourCharText(info.uniqueId)).c_str());
  j += formatText("  \"version\": %d,\n  \"vendorVersion\": %ld,\n  \"vstVersion\": %ld,\n",
                  info.version, info.vendorVersion, info.vstVersion);
  j += formatText("  \"category\": %ld,\n  \"flags\": %d,\n  \"flagNames\": [", info.category,
                  info.flags);
  const auto names = flagNames(info.flags);
  for (size_t i = 0; i < names.size(); ++i) j += (i ? ", " : "") + jsonString(names[i]);
  j += formatText("],\n  \"numPrograms\": %d,\n  \"numParams\": %d,\n", info.numPrograms,
                  info.numParams);
  j += formatText("  \"numInputs\": %d,\n  \"numOutputs\": %d,\n  \"initialDelay\": %d,\n",
                  info.numInputs, info.numOutputs, info.initialDelay);
  j += formatText("  \"wantsMidi\": %s,\n  \"parameters\": [", info.wantsMidi ? "true" : "false");
  for (size_t i = 0; i < info.parameters.size(); ++i) {
    const ParameterInfo& p = info.parameters[i];
    j += formatText(
        "%s\n    {\"index\": %d, \"name\": %s, \"label\": %s, \"display\": %s, \"value\": %s}",
        i ? "," : "", p.index, jsonString(p.name).c_str(), jsonString(p.label).c_str(),
        jsonString(p.display).c_str(), jsonNumber(static_cast<double>(p.value)).c_str());
  }
  j += "\n  ],\n  \"programs\": [";
  for (size_t i = 0; i < info.programs.size(); ++i)
    j += (i ? ", " : "") + jsonString(info.programs[i]);
  const auto pinList = [&j](const char* key, const std::vector<PinInfo>& list) {
    j += formatText("],\n  \"%s\": [", key);
    for (size_t i = 0; i < list.size(); ++i) {
      j += formatText("%s\n    {\"label\": %s, \"shortLabel\": %s, \"flags\": %d}", i ? "," : "",
                      jsonString(list[i].label).c_str(), jsonString(list[i].shortLabel).c_str(),
                      list[i].flags);
    }
  };
  pinList("inputs", info.inputs);
  pinList("outputs", info.outputs);
  j += "],\n  \"canDo\": {";
  for (size_t i = 0; i < info.canDo.size(); ++i) {
    j += formatText("%s\n    %s: %ld", i ? "," : "", jsonString(info.canDo[i].ability).c_str(),
                    info.canDo[i].answer);
  }
  return j + "\n  }\n}\n";
}

}  // namespace fluxhost

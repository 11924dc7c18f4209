#pragma once
// Everything a host can learn about a plug-in without playing it.

#include <string>
#include <vector>

#include "PluginInstance.h"

namespace fluxhost {

struct ParameterInfo {
  int index = 0;
  std::string name, label, display;
  float value = 0.0f;
};

struct PinInfo {
  std::string label, shortLabel;
  int flags = 0;
};

struct CanDoAnswer {
  std::string ability;
  long answer = 0;  // 1 yes, -1 no, 0 does not tell
};

struct PluginInfo {
  std::string path;
  int uniqueId = 0, version = 0, flags = 0;
  int numPrograms = 0, numParams = 0, numInputs = 0, numOutputs = 0;
  int initialDelay = 0;
  long vstVersion = 0, category = 0, vendorVersion = 0;
  std::string effectName, vendor, product;
  bool wantsMidi = false;  // asked for MIDI while opened and resumed
  std::vector<ParameterInfo> parameters;
  std::vector<std::string> programs;
  std::vector<PinInfo> inputs, outputs;
  std::vector<CanDoAnswer> canDo;
};

// Queries the opened instance, then resumes and suspends it once, since many
// plug-ins ask for MIDI only when resumed.
PluginInfo DescribePlugin(PluginInstance& plugin);

std::string FourCharText(int code);              // "QB02", or the number for non-printables
std::vector<std::string> FlagNames(int flags);   // "hasEditor", "canReplacing", ...
std::string FormatInfo(const PluginInfo& info);  // for people
std::string FormatInfoJson(const PluginInfo& info);

}  // namespace fluxhost

#include "CommandLine.h"

#include <algorithm>
#include <charconv>

#include "TextFormat.h"

namespace fluxhost {

ParsedOptions::ParsedOptions(std::span<const std::string> args, std::span<const OptionSpec> specs) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option '" + arg + "'");
      m_Positionals.push_back(arg);
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const auto known = std::find_if(specs.begin(), specs.end(),
                                    [&name](const OptionSpec& s) { return name == s.name; });
    if (known == specs.end()) throw UsageError("unknown option '--" + name + "'");
    if (!known->takesValue) {
      if (equals != std::string::npos) throw UsageError("option '--" + name + "' takes no value");
      m_Values[name].emplace_back();
    } else if (equals != std::string::npos) {
      m_Values[name].push_back(arg.substr(equals + 1));
    } else if (i + 1 < args.size()) {
      m_Values[name].push_back(args[++i]);
    } else {
      throw UsageError("option '--" + name + "' needs a value");
    }
    m_Sequence.emplace_back(name, m_Values[name].back());
  }
}

std::string ParsedOptions::Value(const std::string& name) const {
  const auto found = m_Values.find(name);
  if (found == m_Values.end()) throw UsageError("option '--" + name + "' is required");
  return found->second.back();
}

std::string ParsedOptions::ValueOr(const std::string& name, const std::string& fallback) const {
  return Has(name) ? Value(name) : fallback;
}

std::vector<std::string> ParsedOptions::All(const std::string& name) const {
  const auto found = m_Values.find(name);
  return found == m_Values.end() ? std::vector<std::string>{} : found->second;
}

std::vector<std::pair<std::string, std::string>> ParsedOptions::InOrder(
    std::initializer_list<const char*> names) const {
  std::vector<std::pair<std::string, std::string>> chosen;
  for (const auto& option : m_Sequence) {
    if (std::find(names.begin(), names.end(), option.first) != names.end())
      chosen.push_back(option);
  }
  return chosen;
}

double ParsedOptions::Number(const std::string& name, double fallback, double min,
                             double max) const {
  return Has(name) ? ParseNumber(Value(name), "--" + name, min, max) : fallback;
}

long ParsedOptions::Integer(const std::string& name, long fallback, long min, long max) const {
  return Has(name) ? ParseInteger(Value(name), "--" + name, min, max) : fallback;
}

double ParseNumber(const std::string& text, const std::string& what, double min, double max) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !(value >= min && value <= max)) {
    throw UsageError(what + " must be a number from " + FormatText("%g", min) + " to " +
                     FormatText("%g", max) + ", not '" + text + "'");
  }
  return value;
}

long ParseInteger(const std::string& text, const std::string& what, long min, long max) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < min || value > max) {
    throw UsageError(what + " must be a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", not '" + text + "'");
  }
  return value;
}

}  // namespace fluxhost

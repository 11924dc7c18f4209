#pragma once
// Long options for the subcommands: --name VALUE, --name=VALUE and flags.

#include <initializer_list>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace fluxhost {

// Bad usage: reported with a pointer to --help, exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  const char* name;  // without the dashes
  bool takesValue;
};

class ParsedOptions {
 public:
  ParsedOptions(std::span<const std::string> args, std::span<const OptionSpec> specs);

  const std::vector<std::string>& positionals() const { return m_positionals; }
  bool has(const std::string& name) const { return m_values.count(name) != 0; }
  // The last value given; throws UsageError when required and absent.
  std::string value(const std::string& name) const;
  std::string valueOr(const std::string& name, const std::string& fallback) const;
  std::vector<std::string> all(const std::string& name) const;
  // Every value of the named options, each with its option's name, in the order given.
  std::vector<std::pair<std::string, std::string>> inOrder(
      std::initializer_list<const char*> names) const;

  // Numbers are checked against their range; the message names the option.
  double number(const std::string& name, double fallback, double min, double max) const;
  long integer(const std::string& name, long fallback, long min, long max) const;

 private:
  std::vector<std::string> m_positionals;
  std::map<std::string, std::vector<std::string>> m_values;
  std::vector<std::pair<std::string, std::string>> m_sequence;  // every option as given
};

double parseNumber(const std::string& text, const std::string& what, double min, double max);
long parseInteger(const std::string& text, const std::string& what, long min, long max);

}  // namespace fluxhost

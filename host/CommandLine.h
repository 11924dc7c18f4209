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

  const std::vector<std::string>& Positionals() const { return m_Positionals; }
  bool Has(const std::string& name) const { return m_Values.count(name) != 0; }
  // The last value given; throws UsageError when required and absent.
  std::string Value(const std::string& name) const;
  std::string ValueOr(const std::string& name, const std::string& fallback) const;
  std::vector<std::string> All(const std::string& name) const;
  // Every value of the named options, each with its option's name, in the order given.
  std::vector<std::pair<std::string, std::string>> InOrder(
      std::initializer_list<const char*> names) const;

  // Numbers are checked against their range; the message names the option.
  double Number(const std::string& name, double fallback, double min, double max) const;
  long Integer(const std::string& name, long fallback, long min, long max) const;

 private:
  std::vector<std::string> m_Positionals;
  std::map<std::string, std::vector<std::string>> m_Values;
  std::vector<std::pair<std::string, std::string>> m_Sequence;  // every option as given
};

double ParseNumber(const std::string& text, const std::string& what, double min, double max);
long ParseInteger(const std::string& text, const std::string& what, long min, long max);

}  // namespace fluxhost

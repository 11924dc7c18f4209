#pragma once
// What fluxhost editor prints on standard output, read back: one line per automation call.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace fluxhost::test {

struct Automation {
  int index;
  double value;
};

// Every line of the output, each of which must be an automation line.
inline std::vector<Automation> AutomationIn(const std::string& out) {
  std::vector<Automation> calls;
  std::istringstream lines(out);
  std::string word;
  Automation call{};
  while (lines >> word >> call.index >> call.value) {
    EXPECT_EQ(word, "automate");
    calls.push_back(call);
  }
  EXPECT_TRUE(lines.eof()) << "not an automation line in:\n" << out;
  return calls;
}

}  // namespace fluxhost::test

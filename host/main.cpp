#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Platform.h"

int main(int argc, char** argv) {
  fluxhost::platform::InstallCrashReport();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return fluxhost::RunFluxhost(args, std::cout, std::cerr);
}

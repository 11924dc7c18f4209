#include <exception>

#include "CommandLine.h"
#include "Commands.h"

namespace fluxhost {

namespace {

constexpr const char* kUsage =
    "Usage: fluxhost COMMAND [OPTIONS]\n"
    "A VST 2 host on the command line.\n"
    "\n"
    "Commands:\n"
    "  info PLUGIN   what the plug-in says about itself: names, parameters, programs, pins\n"
    "  play PLUGIN   stream a MIDI file (and a WAV file) through the plug-in and write\n"
    "                what it sends and plays\n"
    "  demo          play a short phrase through the Fluxomatic plug-in and show the\n"
    "                Control Changes it sends\n"
    "\n"
    "'fluxhost COMMAND --help' describes each command's options.\n";

}  // namespace

int runFluxhost(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return 0;
  }
  const auto rest = args.subspan(1);
  try {
    if (command == "info") {
      runInfo(rest, out, err);
    } else if (command == "play") {
      runPlay(rest, out, err);
    } else if (command == "demo") {
      runDemo(rest, out, err);
    } else {
      err << "fluxhost: unknown command '" << command << "'\n" << kUsage;
      return 2;
    }
  } catch (const UsageError& e) {
    err << "fluxhost " << command << ": " << e.what() << "\nTry 'fluxhost " << command
        << " --help'.\n";
    return 2;
  } catch (const std::exception& e) {
    out.flush();
    err << "fluxhost " << command << ": " << e.what() << "\n";
    return 1;
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace fluxhost

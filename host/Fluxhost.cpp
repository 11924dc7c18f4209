#include <cerrno>
#include <exception>

#include "CommandLine.h"
#include "Commands.h"
#include "FileIo.h"

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
    "  editor PLUGIN open the plug-in's editor in a window (X11), script the mouse, save\n"
    "                a picture and print the automation it makes\n"
    "\n"
    "'fluxhost COMMAND --help' describes each command's options.\n";

// Output still buffered goes out last: a full disk must not pass for success.
int FinishOutput(std::ostream& out, std::ostream& err, const std::string& who) {
  errno = 0;  // a reason given is the flush's own
  out.flush();
  if (out) return 0;
  err << who << ": " << StreamWriteError("to standard output").what() << "\n";
  return 1;
}

}  // namespace

int RunFluxhost(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return FinishOutput(out, err, "fluxhost");
  }
  const auto rest = args.subspan(1);
  try {
    if (command == "info") {
      RunInfo(rest, out, err);
    } else if (command == "play") {
      RunPlay(rest, out, err);
    } else if (command == "demo") {
      RunDemo(rest, out, err);
    } else if (command == "editor") {
      RunEditor(rest, out, err);
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
  return FinishOutput(out, err, "fluxhost " + command);
}

}  // namespace fluxhost

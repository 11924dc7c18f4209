#pragma once
// fluxhost's subcommands. Each returns the process's exit code: 0 done,
// 1 failed (the message on `err`), 2 bad usage.

#include <ostream>
#include <span>
#include <string>

namespace fluxhost {

int runFluxhost(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The subcommands take their arguments after the subcommand's name and throw
// UsageError or another exception, which runFluxhost reports.
void runInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void runPlay(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void runDemo(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void runEditor(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace fluxhost

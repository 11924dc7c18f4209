#pragma once
// fluxhost's subcommands. Each returns the process's exit code: 0 done,
// 1 failed (the message on `err`), 2 bad usage.

#include <ostream>
#include <span>
#include <string>

namespace fluxhost {

int RunFluxhost(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The subcommands take their arguments after the subcommand's name and throw
// UsageError or another exception, which runFluxhost reports.
void RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void RunPlay(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void RunDemo(std::span<const std::string> args, std::ostream& out, std::ostream& err);
void RunEditor(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace fluxhost

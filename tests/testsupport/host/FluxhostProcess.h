#pragma once
// fluxhost run as a process of its own, for what only a process shows: crashes,
// hangs, exit codes with real standard streams, and the memory it takes.
// POSIX only; the tests that need it are left out of the Windows build.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "testsupport/host/HostTestSupport.h"

namespace fluxhost::test {

// Sanitizers reserve terabytes of address space up front: no limit on it can apply.
#if defined(FLUX_SANITIZED)
constexpr bool kAddressSpaceLimitApplies = false;
#else
constexpr bool kAddressSpaceLimitApplies = true;
#endif

struct ProcessSetup {
  std::string input;                  // fed to its standard input through a pipe
  std::string outPath = "/dev/null";  // where its standard output goes
  rlim_t addressSpace = RLIM_INFINITY;
};

struct ProcessResult {
  int exitCode = -1;  // -1 when a signal ended it
  std::string err;    // all it wrote on standard error
  long peakKiB = 0;   // its largest resident size
};

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline ProcessResult RunFluxhostProcess(const ScratchDir& dir, std::vector<std::string> args,
                                        const ProcessSetup& setup = {}) {
  args.insert(args.begin(), FLUXHOST_EXECUTABLE);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string errPath = dir.File("stderr");
  int input[2];
  if (pipe(input) != 0) throw std::runtime_error("no pipe for fluxhost's input");
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls until exec.
    const int out = open(setup.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const rlimit limit{setup.addressSpace, setup.addressSpace};
    if (out < 0 || err < 0 || dup2(input[0], 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        (setup.addressSpace != RLIM_INFINITY && setrlimit(RLIMIT_AS, &limit) != 0)) {
      _exit(126);
    }
    close(input[1]);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(input[0]);
  // A child that exits without reading must not end the test with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  for (size_t done = 0; pid > 0 && done < setup.input.size();) {
    const ssize_t n = write(input[1], setup.input.data() + done, setup.input.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(input[1]);
  if (pid < 0) throw std::runtime_error("cannot start fluxhost");
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("lost fluxhost's process");
  ProcessResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = FileText(errPath);
  result.peakKiB = usage.ru_maxrss;
  return result;
}

}  // namespace fluxhost::test

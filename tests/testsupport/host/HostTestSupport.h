#pragma once
// Shared by the host's tests: where the test plug-ins are, scratch files, and
// running fluxhost's commands in process.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "HostContext.h"
#include "MidiFile.h"
#include "Platform.h"

namespace fluxhost::test {

// The test plug-ins are built beside the test executables.
inline std::string BesideExecutable(const std::string& baseName) {
  const std::filesystem::path dir = std::filesystem::path(platform::ExecutablePath()).parent_path();
  return (dir / (baseName + platform::LibraryExtension())).string();
}

inline std::string TestPlugin() {
  return BesideExecutable("fluxhost_test_plugin");
}

#if defined(FLUXOMATIC_FILE_NAME)
// Fluxomatic's library, built beside the tests; empty when this build makes none.
inline std::string FluxomaticPath() {
  if (std::string(FLUXOMATIC_FILE_NAME).empty()) return {};
  const std::filesystem::path dir = std::filesystem::path(platform::ExecutablePath()).parent_path();
  return (dir / FLUXOMATIC_FILE_NAME).string();
}
#endif

// A folder of its own for each test, removed afterwards. Other build trees on the same
// machine run the same tests at the same time: the name carries a random part.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_Path = std::filesystem::temp_directory_path() /
             (std::string("fluxhost-") + info->test_suite_name() + "-" + info->name() + "-" +
              std::to_string(std::random_device{}()));
    std::filesystem::remove_all(m_Path);
    std::filesystem::create_directories(m_Path);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
  }
  std::string File(const std::string& name) const { return (m_Path / name).string(); }

 private:
  std::filesystem::path m_Path;
};

// Keeps what the plug-in sends, for tests that look at every event.
class SentEventLog {
 public:
  explicit SentEventLog(HostContext& host)
      : m_Listening(host, [this](const SentEvent& e) { m_Events.push_back(e); }) {}
  const std::vector<SentEvent>& Events() const { return m_Events; }

 private:
  std::vector<SentEvent> m_Events;
  ListeningScope m_Listening;
};

struct CommandResult {
  int exitCode;
  std::string out;
  std::string err;
};

inline CommandResult RunCommand(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = RunFluxhost(args, out, err);
  return {code, out.str(), err.str()};
}

// A channel message or meta event at a tick.
inline MidiEvent At(uint64_t tick, std::vector<uint8_t> bytes) {
  return {tick, std::move(bytes)};
}

inline MidiEvent TempoEvent(uint64_t tick, uint32_t microsPerQuarter) {
  return At(tick,
            {0xFF, kMetaTempo, static_cast<uint8_t>(microsPerQuarter >> 16),
             static_cast<uint8_t>(microsPerQuarter >> 8), static_cast<uint8_t>(microsPerQuarter)});
}

}  // namespace fluxhost::test

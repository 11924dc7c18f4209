#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace fluxhost {

Watchdog::Watchdog(std::chrono::milliseconds limit, std::string message) {
  m_thread = std::thread([this, limit, text = std::move(message)] {
    std::unique_lock lock(m_mutex);
    if (!m_disarmed.wait_for(lock, limit, [this] { return m_done; })) {
      std::fprintf(stderr, "fluxhost: %s\n", text.c_str());
      std::fflush(stderr);
      std::_Exit(1);
    }
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
  }
  m_disarmed.notify_one();
  m_thread.join();
}

}  // namespace fluxhost

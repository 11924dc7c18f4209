#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace fluxhost {

Watchdog::Watchdog(std::chrono::milliseconds limit, std::string message) {
  m_Thread = std::thread([this, limit, text = std::move(message)] {
    std::unique_lock lock(m_Mutex);
    if (!m_Disarmed.wait_for(lock, limit, [this] { return m_Done; })) {
      std::fprintf(stderr, "fluxhost: %s\n", text.c_str());
      std::fflush(stderr);
      std::_Exit(1);
    }
  });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(m_Mutex);
    m_Done = true;
  }
  m_Disarmed.notify_one();
  m_Thread.join();
}

}  // namespace fluxhost

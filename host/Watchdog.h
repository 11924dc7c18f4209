#pragma once
// Ends the process with a message when a call into a plug-in does not return
// within its time: a plug-in that hangs while loading must not hang the host.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace fluxhost {

class Watchdog {
 public:
  Watchdog(std::chrono::milliseconds limit, std::string message);  // armed at once
  ~Watchdog();                                                     // disarms
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex m_Mutex;
  std::condition_variable m_Disarmed;
  bool m_Done = false;
  std::thread m_Thread;
};

}  // namespace fluxhost

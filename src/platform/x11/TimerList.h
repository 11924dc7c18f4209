#pragma once
// The window timers of one thread's windows, kept in the process: a host runs no loop for us,
// so the pump fires them. A timer that fell behind (a host that stalled) fires once and then
// keeps its period from that moment: no burst of the ticks it missed.

#include <cstdint>
#include <vector>

#include "platform/Backend.h"

namespace platform::x11 {

class TimerList {
 public:
  // Starting a running id again restarts its period.
  void Start(WindowPeer& peer, uintptr_t id, uint32_t milliseconds, uint64_t now);
  void Stop(const WindowPeer& peer, uintptr_t id);
  void StopAll(const WindowPeer& peer);
  // WM_TIMER for each timer due at `now` (milliseconds of a monotonic clock), at most once.
  // Handlers may start, stop and destroy timers and windows.
  void FireDue(uint64_t now);
  bool Empty() const { return m_Timers.empty(); }

 private:
  struct Timer {
    WindowPeer* peer;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
    uint64_t serial;  // tells a timer from a later one with the same peer address and id
  };

  std::vector<Timer> m_Timers;
  uint64_t m_NextSerial = 0;
};

}  // namespace platform::x11

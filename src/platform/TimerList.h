#pragma once
// Window timers kept in the process, for window systems that run no loop for us (X11 under a
// plug-in host, the headless backend): their pump fires them. A tick served a little late keeps
// the timer's phase (pumps every 20 ms still give a 50 ms timer twenty ticks a second); a timer
// that fell a whole period behind (a host that stalled) fires once and counts its period from
// then: no burst of the missed ticks.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Backend.h"

namespace platform {

class TimerList {
 public:
  // Starting a running id again restarts its period.
  void Start(WindowPeer& peer, uintptr_t id, uint32_t milliseconds, uint64_t now);
  void Stop(const WindowPeer& peer, uintptr_t id);
  void StopAll(const WindowPeer& peer);
  // HandleTimer for each timer due at `now` (milliseconds of a monotonic clock), at most once.
  // Handlers may start, stop and destroy timers and windows.
  void FireDue(uint64_t now);
  bool Empty() const { return m_Timers.empty(); }
  std::size_t Count() const { return m_Timers.size(); }
  std::optional<uint64_t> NextDue() const;  // the earliest due time, if any timer runs

 private:
  struct Timer {
    WindowPeer* peer;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
    uint64_t serial;  // tells a timer from a later one with the same peer address and id
  };

  std::vector<Timer> m_Timers;
  std::vector<uint64_t> m_DueStorage;  // storage for FireDue's list
  uint64_t m_NextSerial = 0;
};

}  // namespace platform

#include "platform/TimerList.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

constexpr uint32_t kMinimumPeriod = 10;

}  // namespace

void TimerList::Start(WindowPeer& peer, uintptr_t id, uint32_t milliseconds, uint64_t now) {
  Stop(peer, id);
  const uint32_t period = std::max(milliseconds, kMinimumPeriod);
  m_Timers.push_back({&peer, id, period, now + period, m_NextSerial++});
}

void TimerList::Stop(const WindowPeer& peer, uintptr_t id) {
  std::erase_if(m_Timers, [&](const Timer& t) { return t.peer == &peer && t.id == id; });
}

void TimerList::StopAll(const WindowPeer& peer) {
  std::erase_if(m_Timers, [&](const Timer& t) { return t.peer == &peer; });
}

std::optional<uint64_t> TimerList::NextDue() const {
  const auto next = std::min_element(m_Timers.begin(), m_Timers.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (next == m_Timers.end()) return std::nullopt;
  return next->due;
}

void TimerList::FireDue(uint64_t now) {
  // The serials' storage is kept from one call to the next; a handler that fires timers again
  // finds it taken and makes its own.
  std::vector<uint64_t> due = std::exchange(m_DueStorage, {});
  due.clear();
  for (const Timer& t : m_Timers) {
    if (t.due <= now) due.push_back(t.serial);
  }
  for (const uint64_t serial : due) {
    const auto at = std::find_if(m_Timers.begin(), m_Timers.end(),
                                 [serial](const Timer& t) { return t.serial == serial; });
    if (at == m_Timers.end()) continue;              // stopped by an earlier handler
    at->due += at->period;                           // on time: the ticks keep their phase
    if (at->due <= now) at->due = now + at->period;  // fell behind: no burst to catch up
    WindowPeer& peer = *at->peer;
    peer.HandleTimer(at->id);
  }
  m_DueStorage = std::move(due);
}

}  // namespace platform

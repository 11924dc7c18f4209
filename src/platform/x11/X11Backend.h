#pragma once
// The backend on the X Window System. Each thread that makes windows gets a connection of its
// own, opened with its first child window and closed with its last, so a host that opens and
// closes the editor many times keeps nothing of ours. The host runs no loop for us: Pump (the
// editor's idle) delivers the calling thread's events, due timers and paints. Every window
// goes before its backend.

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Backend.h"
#include "platform/x11/X11Thread.h"

namespace platform::x11 {

class X11Backend final : public Backend {
 public:
  // With `sharedMemory`, frames go through memory shared with a server on this machine.
  explicit X11Backend(bool sharedMemory = true) : m_SharedMemory(sharedMemory) {}
  X11Backend(const X11Backend&) = delete;
  X11Backend& operator=(const X11Backend&) = delete;

  // `parent` is the host's X window id. None when there is no server, no such window, or the
  // server refuses.
  std::unique_ptr<WindowPeer> CreateChildWindow(void* parent, PeerClient& client) override;
  std::unique_ptr<WindowPeer> CreateMessageWindow(PeerClient& client) override;
  void Pump() override;

  uint32_t TickCount() const override { return static_cast<uint32_t>(Now()); }
  TimeOfDay UtcTimeOfDay() const override;
  int16_t KeyState(int32_t virtualKey) const override;
  int32_t ScreenBitsPerPixel() const override { return 32; }
  Point CursorPos() const override;

  // Whether the calling thread holds a connection (a child window of its own exists).
  bool Connected() const;
  // Waits until the server has handled all that the calling thread's windows sent (a round
  // trip); for measurements and tools that read the screen back.
  void Sync();

  // For the windows: milliseconds of a monotonic clock, and the end of a window's life on its
  // thread (closes the connection with the last child window).
  uint64_t Now() const;
  void Leave(X11Thread& thread);

 private:
  X11Thread* Find() const;
  X11Thread& FindOrAdd();
  X11Window* WindowOf(X11Thread& thread, xcb_window_t id) const;
  void DeliverEvents(X11Thread& thread);
  void Deliver(X11Thread& thread, const xcb_generic_event_t& event);
  void DeliverButton(X11Thread& thread, const xcb_generic_event_t& event, bool down);
  void DeliverKey(X11Thread& thread, const xcb_generic_event_t& event, bool down);
  void PaintPending(X11Thread& thread);

  const bool m_SharedMemory;
  mutable std::mutex m_Mutex;  // guards the map; each thread's state is its own
  std::map<std::thread::id, std::unique_ptr<X11Thread>> m_Threads;
};

}  // namespace platform::x11

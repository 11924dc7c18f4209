#pragma once
// What one thread's windows share: the connection (open while a child window exists), the
// child windows, the timers of all its windows and the keys it has seen go down. Only that
// thread reads or changes it; a thread's pump never touches another thread's windows.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/TimerList.h"
#include "platform/x11/X11Connection.h"

namespace platform::x11 {

class X11Window;

struct X11Thread {
  std::unique_ptr<X11Connection> connection;
  std::vector<X11Window*> windows;
  std::size_t messageWindows = 0;
  TimerList timers;
  std::array<uint8_t, 256> keys{};     // by virtual key: bit 7 down, bit 0 toggled
  int pumping = 0;                     // nested pumps: tidying up waits for the outermost
  std::vector<xcb_window_t> paintDue;  // storage for the windows a pump paints

  bool Unused() const { return windows.empty() && messageWindows == 0 && timers.Empty(); }
};

}  // namespace platform::x11

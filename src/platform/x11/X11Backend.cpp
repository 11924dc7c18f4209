#include "platform/x11/X11Backend.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/x11/X11Input.h"
#include "platform/x11/X11Window.h"

namespace platform::x11 {

using namespace messages;

namespace {

constexpr int kMaxEventsPerPump = 4096;  // a flood of events waits for the next pump
constexpr int kMaxPaintRounds = 4;       // a client that keeps re-invalidating stops here
constexpr uint16_t kButtonsHeld = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2 |
                                  XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_BUTTON_4 |
                                  XCB_KEY_BUT_MASK_BUTTON_5;
constexpr uint32_t kChildEvents =
    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
    XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_KEY_PRESS |
    XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&free)>;

// A window that only receives timers: no X window at all.
class MessageWindow final : public WindowPeer {
 public:
  MessageWindow(X11Backend& backend, X11Thread& thread, PeerClient& client)
      : WindowPeer(client), m_Backend(backend), m_Thread(thread) {
    ++m_Thread.messageWindows;
  }
  ~MessageWindow() override {
    m_Thread.timers.StopAll(*this);
    --m_Thread.messageWindows;
    m_Backend.Leave(m_Thread);
  }

  void* NativeHandle() const override { return const_cast<MessageWindow*>(this); }
  void SetBounds(const Rect&) override {}
  void SetVisible(bool) override {}
  void RequestPaint() override {}
  void Present(const flux::PixelView&, const Rect&) override {}
  void SetCapture(bool) override {}
  void SetCursor(int16_t) override {}
  void TakeFocus() override {}
  bool StartTimer(uintptr_t id, uint32_t milliseconds) override {
    try {
      m_Thread.timers.Start(*this, id, milliseconds, m_Backend.Now());
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  void StopTimer(uintptr_t id) override { m_Thread.timers.Stop(*this, id); }
  Point ClientOrigin() const override { return {}; }

 private:
  X11Backend& m_Backend;
  X11Thread& m_Thread;
};

void SetKey(X11Thread& thread, uint16_t virtualKey, bool down) {
  uint8_t& state = thread.keys[virtualKey & 0xFF];
  if (down && !(state & 0x80)) state ^= 1;
  state = static_cast<uint8_t>(down ? (state | 0x80) : (state & 0x7F));
}

}  // namespace

uint64_t X11Backend::Now() const {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

TimeOfDay X11Backend::UtcTimeOfDay() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return {static_cast<uint16_t>(utc.tm_hour), static_cast<uint16_t>(utc.tm_min),
          static_cast<uint16_t>(utc.tm_sec), static_cast<uint16_t>(milliseconds)};
}

X11Thread* X11Backend::Find() const {
  const std::lock_guard lock(m_Mutex);
  const auto at = m_Threads.find(std::this_thread::get_id());
  return at == m_Threads.end() ? nullptr : at->second.get();
}

X11Thread& X11Backend::FindOrAdd() {
  const std::lock_guard lock(m_Mutex);
  auto& slot = m_Threads[std::this_thread::get_id()];
  if (!slot) slot = std::make_unique<X11Thread>();
  return *slot;
}

void X11Backend::Leave(X11Thread& thread) {
  if (thread.pumping > 0) return;  // the pump tidies up when it is done
  if (thread.windows.empty()) thread.connection.reset();
  if (!thread.Unused()) return;
  const std::lock_guard lock(m_Mutex);
  m_Threads.erase(std::this_thread::get_id());
}

bool X11Backend::Connected() const {
  const X11Thread* thread = Find();
  return thread && thread->connection;
}

void X11Backend::Sync() {
  X11Thread* thread = Find();
  if (thread && thread->connection && !thread->connection->Failed()) thread->connection->Sync();
}

int16_t X11Backend::KeyState(int32_t virtualKey) const {
  const X11Thread* thread = Find();
  if (!thread) return 0;
  const uint8_t state = thread->keys[static_cast<std::size_t>(virtualKey) & 0xFF];
  return static_cast<int16_t>(((state & 0x80) ? 0x8000 : 0) | (state & 1));
}

Point X11Backend::CursorPos() const {
  const X11Thread* thread = Find();
  if (!thread || !thread->connection || thread->connection->Failed()) return {};
  xcb_connection_t* connection = thread->connection->Get();
  const Reply<xcb_query_pointer_reply_t> reply(
      xcb_query_pointer_reply(
          connection, xcb_query_pointer(connection, thread->connection->Screen().root), nullptr),
      &free);
  return reply ? Point{reply->root_x, reply->root_y} : Point{};
}

std::unique_ptr<WindowPeer> X11Backend::CreateChildWindow(void* parent, PeerClient& client) {
  const auto parentId = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(parent));
  if (parentId == 0 || reinterpret_cast<uintptr_t>(parent) > UINT32_MAX) return nullptr;
  X11Thread* thread = nullptr;
  try {
    thread = &FindOrAdd();
    if (!thread->connection) thread->connection = X11Connection::Open(m_SharedMemory);
    if (!thread->connection || thread->connection->Failed()) {
      Leave(*thread);
      return nullptr;
    }
    const X11Connection& connection = *thread->connection;
    xcb_connection_t* c = connection.Get();
    const xcb_window_t id = xcb_generate_id(c);
    // No background: the server leaves exposed areas alone until we present them.
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kChildEvents, connection.Colormap()};
    const xcb_void_cookie_t cookie = xcb_create_window_checked(
        c, 24, id, parentId, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, connection.Visual(),
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
      free(error);  // no such parent, most likely
      Leave(*thread);
      return nullptr;
    }
    return std::make_unique<X11Window>(*this, *thread, client, id);
  } catch (const std::bad_alloc&) {
    if (thread) Leave(*thread);
    return nullptr;
  }
}

std::unique_ptr<WindowPeer> X11Backend::CreateMessageWindow(PeerClient& client) {
  try {
    return std::make_unique<MessageWindow>(*this, FindOrAdd(), client);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

X11Window* X11Backend::WindowOf(X11Thread& thread, xcb_window_t id) const {
  for (X11Window* window : thread.windows) {
    if (window->Id() == id && !window->Gone()) return window;
  }
  return nullptr;
}

void X11Backend::Pump() {
  X11Thread* thread = Find();
  if (!thread) return;
  ++thread->pumping;
  try {
    DeliverEvents(*thread);
    thread->timers.FireDue(Now());
    PaintPending(*thread);
    if (thread->connection) xcb_flush(thread->connection->Get());
  } catch (...) {
    // Nothing may reach the host's idle call; what was not delivered comes at the next pump.
  }
  --thread->pumping;
  Leave(*thread);
}

void X11Backend::DeliverEvents(X11Thread& thread) {
  if (!thread.connection) return;
  xcb_connection_t* connection = thread.connection->Get();  // kept open until the pump ends
  for (int count = 0; count < kMaxEventsPerPump; ++count) {
    const Reply<xcb_generic_event_t> event(xcb_poll_for_event(connection), &free);
    if (!event) break;
    Deliver(thread, *event);
  }
  if (xcb_connection_has_error(connection)) {
    // The server went away: every window is as good as destroyed.
    const std::vector<X11Window*> lost = thread.windows;
    for (X11Window* window : lost) {
      if (std::find(thread.windows.begin(), thread.windows.end(), window) != thread.windows.end())
        window->Lost();
    }
  }
}

void X11Backend::Deliver(X11Thread& thread, const xcb_generic_event_t& event) {
  switch (event.response_type & 0x7F) {
    case XCB_EXPOSE: {
      const auto& e = reinterpret_cast<const xcb_expose_event_t&>(event);
      if (X11Window* window = WindowOf(thread, e.window)) {
        window->AddLost({e.x, e.y, e.x + e.width, e.y + e.height});
      }
      break;
    }
    case XCB_BUTTON_PRESS:
      DeliverButton(thread, event, true);
      break;
    case XCB_BUTTON_RELEASE:
      DeliverButton(thread, event, false);
      break;
    case XCB_MOTION_NOTIFY: {
      const auto& e = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
      if (X11Window* window = WindowOf(thread, e.event)) {
        window->HandleMouse(
            {MouseAction::Move, MouseButton::Left, {e.event_x, e.event_y}, MouseKeys(e.state)});
      }
      break;
    }
    case XCB_LEAVE_NOTIFY: {
      // While a button is held the window keeps the pointer (the implicit grab); the server
      // tells of leaving again when the button goes up outside.
      const auto& e = reinterpret_cast<const xcb_leave_notify_event_t&>(event);
      if (e.state & kButtonsHeld) break;
      if (X11Window* window = WindowOf(thread, e.event)) window->HandleMouseLeave();
      break;
    }
    case XCB_KEY_PRESS:
      DeliverKey(thread, event, true);
      break;
    case XCB_KEY_RELEASE:
      DeliverKey(thread, event, false);
      break;
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
      const auto& e = reinterpret_cast<const xcb_focus_in_event_t&>(event);
      const bool in = (event.response_type & 0x7F) == XCB_FOCUS_IN;
      if (e.detail == XCB_NOTIFY_DETAIL_POINTER) break;
      X11Window* window = WindowOf(thread, e.event);
      if (window && window->SetFocused(in)) window->HandleFocus(in);
      break;
    }
    case XCB_DESTROY_NOTIFY: {
      // Our own windows leave the list before we destroy them: this one went without us.
      const auto& e = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
      if (X11Window* window = WindowOf(thread, e.window)) window->Lost();
      break;
    }
    default:
      break;  // errors of requests we did not check, and events we did not ask for
  }
}

void X11Backend::DeliverButton(X11Thread& thread, const xcb_generic_event_t& event, bool down) {
  const auto& e = reinterpret_cast<const xcb_button_press_event_t&>(event);
  X11Window* window = WindowOf(thread, e.event);
  if (!window) return;
  if (e.detail == 4 || e.detail == 5) {
    if (!down) return;
    const int16_t delta = e.detail == 4 ? WHEEL_DELTA : -WHEEL_DELTA;
    window->HandleWheel({{e.root_x, e.root_y}, delta, MouseKeys(e.state)});
    return;
  }
  const std::optional<MouseButton> pressed = PointerButton(e.detail);
  if (!pressed) return;
  // The state is the one before the event: the button itself is added or taken away.
  const auto button = static_cast<uint16_t>(XCB_KEY_BUT_MASK_BUTTON_1 << (e.detail - 1));
  const uint16_t after = down ? (e.state | button) : (e.state & ~button);
  SetKey(thread, ButtonKey(e.detail), down);
  window->HandleMouse({down ? MouseAction::Press : MouseAction::Release,
                       *pressed,
                       {e.event_x, e.event_y},
                       MouseKeys(after)});
}

void X11Backend::DeliverKey(X11Thread& thread, const xcb_generic_event_t& event, bool down) {
  const auto& e = reinterpret_cast<const xcb_key_press_event_t&>(event);
  X11Window* window = WindowOf(thread, e.event);
  if (!window || !thread.connection) return;
  const bool shift = (e.state & XCB_KEY_BUT_MASK_SHIFT) != 0;
  const bool alt = (e.state & XCB_KEY_BUT_MASK_MOD_1) != 0;
  const uint16_t key = VirtualKey(thread.connection->KeySym(e.detail, false));
  const char typed = TypedChar(thread.connection->KeySym(e.detail, shift));
  const xcb_window_t id = window->Id();
  if (key != 0) {
    const bool repeat = down && (thread.keys[key & 0xFF] & 0x80) != 0;
    SetKey(thread, key, down);
    window->HandleKey({down ? KeyAction::Down : KeyAction::Up, key, alt, repeat, alt});
  }
  const bool control = (e.state & XCB_KEY_BUT_MASK_CONTROL) != 0;
  if (!down || typed == 0 || control) return;
  window = WindowOf(thread, id);
  if (window) {
    window->HandleKey({KeyAction::Char, static_cast<unsigned char>(typed), alt, false, alt});
  }
}

void X11Backend::PaintPending(X11Thread& thread) {
  // The ids' storage stays with the thread from one pump to the next, so that a steady idle
  // allocates nothing; a pump from inside a paint finds it taken and makes its own.
  std::vector<xcb_window_t> due = std::exchange(thread.paintDue, {});
  for (int round = 0; round < kMaxPaintRounds; ++round) {
    due.clear();
    for (X11Window* window : thread.windows) due.push_back(window->Id());
    bool painted = false;
    for (const xcb_window_t id : due) {
      X11Window* window = WindowOf(thread, id);
      if (!window) continue;
      Rect lost;
      if (!window->TakePendingPaint(lost)) continue;
      window->HandlePaint(lost);
      painted = true;
    }
    if (!painted) break;
  }
  thread.paintDue = std::move(due);
}

}  // namespace platform::x11

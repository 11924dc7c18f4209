#pragma once
// The one interface between the window framework and a window system. A backend implements
// the pure virtual "do" operations; it converts what happens in the window system once into
// the typed "handle" entry points of a peer (input, focus, timers, paint requests). Handles pass
// as void*; no window-system header is needed to use this one.

#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "common/EntryScope.h"
#include "common/Lifetime.h"
#include "common/PixelView.h"
#include "platform/Geometry.h"

namespace platform {

// One colour of a logical palette, in the window system's byte order.
struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct TimeOfDay {
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

enum class MouseButton : uint8_t { Left, Right, Middle };
enum class MouseAction : uint8_t { Move, Press, Release, DoubleClick };

// The pointer moved or a button changed over a window, or anywhere while it holds the capture.
struct MouseEvent {
  MouseAction action = MouseAction::Move;
  MouseButton button = MouseButton::Left;  // the one pressed or released; unused by a move
  Point position;                          // client coordinates
  uint32_t keys = 0;                       // MK_* buttons and modifiers held after the event
};

// The wheel turned over a window.
struct WheelEvent {
  Point position;     // screen coordinates: the window under it may not be this one's client
  int16_t delta = 0;  // WHEEL_DELTA per notch; turned away from the user: positive
  uint32_t keys = 0;  // MK_* held
};

enum class KeyAction : uint8_t { Down, Up, Char };

// A key went down or up in the focus window, or typed a character there.
struct KeyEvent {
  KeyAction action = KeyAction::Down;
  uint16_t code = 0;    // the virtual key; for Char the character code
  bool alt = false;     // Alt held
  bool repeat = false;  // the key was down already: auto-repeat
  // The window system's own keys (with Alt, or F10 on Windows), which its menu also sees.
  bool system = false;
};

// What a window's owner in the framework answers to; the backend reaches it through the peer.
// No handler may throw. The handlers that not every client needs ignore the call by default.
class PeerClient {
 public:
  virtual void HandleMouse(const MouseEvent& /*event*/) {}  // in the order they happened
  virtual void HandleWheel(const WheelEvent& /*event*/) {}  // over the window or its capture
  // The pointer left the window; no button is held (leaving while one is comes after it).
  virtual void HandleMouseLeave() {}
  // A key's Char, if it types one, comes between its Down and its Up.
  virtual void HandleKey(const KeyEvent& /*event*/) {}
  virtual void HandleFocus(bool /*gained*/) {}  // the keyboard came to the window or left it
  // The window lost the mouse capture; the window system may also say so when the window let
  // it go itself.
  virtual void HandleCaptureLost() {}
  virtual void HandleTimer(uintptr_t /*id*/) {}  // a timer of WindowPeer::StartTimer ticked
  // Time to paint what is invalid and present what changed. `lost` (client coordinates) is
  // what the window system no longer shows (uncovered, resized, mapped): present it whatever
  // was painted. It is empty when only RequestPaint asked.
  virtual void HandlePaint(const Rect& /*lost*/) {}
  // Someone else destroyed the native window (its parent went first). Nothing comes any
  // more, every operation of the peer does nothing, and destroying the peer only tidies up.
  // (A message-only window has no parent, and nobody else destroys it.)
  virtual void HandleDestroyed() {}
  // The DLGC_* flags of the keys the window wants for itself rather than a dialog around it;
  // `virtualKey` the key in question, 0 for none.
  virtual intptr_t HandleDialogCode(uint16_t /*virtualKey*/) { return 0; }
  // The window is about to get the focus: realise its palette now. Non-zero when it realised
  // one (the number of system entries that changed).
  virtual intptr_t HandleQueryNewPalette() { return 0; }
  // A window (`changer`, a native handle: maybe this one) changed the system palette.
  virtual void HandlePaletteChanged(void* /*changer*/) {}

 protected:
  ~PeerClient() = default;
};

// A native window (a child of a host's window, or a hidden window that only receives
// timers). Destroying the peer destroys the native window; nothing reaches the client
// afterwards. A peer belongs to the thread that made it: only that thread uses it. The client
// may destroy the peer from inside any Handle call: a backend that still has work after one
// holds the peer through a WeakRef.
class WindowPeer {
 public:
  explicit WindowPeer(PeerClient& client) : m_Client(client) {}  // client not owned
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;
  virtual ~WindowPeer() = default;

  virtual void* NativeHandle() const = 0;
  virtual void SetBounds(const Rect& boundsInParent) = 0;
  virtual void SetVisible(bool visible) = 0;
  // Asks for HandlePaint at the window system's next chance. The client knows what it wants
  // painted; the window system is told nothing is lost, so it presents nothing of its own.
  virtual void RequestPaint() = 0;
  // Puts `area` of `pixels` (client coordinates, the surface the size of the client) on screen.
  virtual void Present(const flux::PixelView& pixels, const Rect& area) = 0;
  virtual void SetCapture(bool capture) = 0;
  virtual void SetCursor(int16_t cursor) = 0;  // a cursor number of platform/WindowMessages.h
  virtual void TakeFocus() = 0;                // HandleFocus follows
  // HandleTimer(id) every `milliseconds`; false when the window system refuses.
  // Starting a running id again restarts its period.
  virtual bool StartTimer(uintptr_t id, uint32_t milliseconds) = 0;
  virtual void StopTimer(uintptr_t id) = 0;
  virtual Point ClientOrigin() const = 0;  // screen position of the client's top-left corner
  // Asks the window system whether the native window still exists, for window systems that
  // tell of a destruction by someone else only later, in an event; when it is gone the client
  // hears HandleDestroyed first. The default has nothing to ask.
  virtual bool ConfirmExists() { return true; }
  // On a palette display: maps `entries` into the system palette, as the foreground palette
  // (its colours take the free system entries) or in the background (only entries nobody
  // claimed); the number of system entries that changed. Other displays change nothing.
  virtual uint32_t RealizePalette(std::span<const PaletteEntry> /*entries*/, bool /*background*/) {
    return 0;
  }

  // Entry points for the backend: the window system calling into us, each passed to the
  // client's handler of the same name, whose contract the backend keeps (client or screen
  // coordinates, keys held). What the client destroys on the way (a host that closes the
  // plug-in from a callback) goes when the outermost entry returns.
  void HandleMouse(const MouseEvent& event) { Enter(&PeerClient::HandleMouse, event); }
  void HandleWheel(const WheelEvent& event) { Enter(&PeerClient::HandleWheel, event); }
  void HandleMouseLeave() { Enter(&PeerClient::HandleMouseLeave); }
  void HandleKey(const KeyEvent& event) { Enter(&PeerClient::HandleKey, event); }
  void HandleFocus(bool gained) { Enter(&PeerClient::HandleFocus, gained); }
  void HandleCaptureLost() { Enter(&PeerClient::HandleCaptureLost); }
  void HandleTimer(uintptr_t id) { Enter(&PeerClient::HandleTimer, id); }
  void HandlePaint(const Rect& lost) { Enter(&PeerClient::HandlePaint, lost); }
  void HandleDestroyed() { Enter(&PeerClient::HandleDestroyed); }
  intptr_t HandleDialogCode(uint16_t virtualKey) {
    return Enter(&PeerClient::HandleDialogCode, virtualKey);
  }
  intptr_t HandleQueryNewPalette() { return Enter(&PeerClient::HandleQueryNewPalette); }
  void HandlePaletteChanged(void* changer) { Enter(&PeerClient::HandlePaletteChanged, changer); }

  const flux::Lifetime& Life() const noexcept { return m_Life; }

 protected:
  // First thing in a destructor that makes the window system call back (destroying the native
  // window does): from here on weak references read none.
  void EndLife() noexcept { m_Life.End(); }

 private:
  template <class Result, class... Params, class... Args>
  Result Enter(Result (PeerClient::*handler)(Params...), Args&&... args) {
    const flux::EntryScope entry;
    return (m_Client.*handler)(std::forward<Args>(args)...);
  }

  flux::Lifetime m_Life;
  PeerClient& m_Client;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The backend in use, or none; the caller of Install keeps it alive while installed.
  // Installing and reading may happen on different threads (two plug-in instances).
  static Backend* Current() noexcept;
  static void Install(Backend* backend) noexcept;

  // A hidden child window of `parent` (a host's window handle); none when the window system
  // refuses (no such parent, for one).
  virtual std::unique_ptr<WindowPeer> CreateChildWindow(void* parent, PeerClient& client) = 0;
  // A window that is never shown and only receives timers.
  virtual std::unique_ptr<WindowPeer> CreateMessageWindow(PeerClient& client) = 0;
  // For window systems that run no loop for the plug-in (the host only calls its idle): delivers
  // what is pending for the calling thread's windows: events, then each due timer at most once,
  // then the paints they caused. Backends whose window system delivers on its own do nothing.
  virtual void Pump() {}

  virtual uint32_t TickCount() const = 0;  // milliseconds, wrapping
  virtual TimeOfDay UtcTimeOfDay() const = 0;
  // As the window system reports a key: bit 15 set while down, bit 0 toggled.
  virtual int16_t KeyState(int32_t virtualKey) const = 0;
  virtual int32_t ScreenBitsPerPixel() const = 0;
  virtual Point CursorPos() const = 0;  // screen coordinates
};

// Installs a backend for the life of this object and then puts back the previous one.
class ScopedBackend {
 public:
  explicit ScopedBackend(Backend& backend) : m_Previous(Backend::Current()) {
    Backend::Install(&backend);
  }
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;
  ~ScopedBackend() { Backend::Install(m_Previous); }

 private:
  Backend* m_Previous;
};

}  // namespace platform

#pragma once
// A complete backend in memory, for tests and tools: host windows are made on request, time
// stands still until Advance moves it, mouse and keyboard input is synthetic, and each window's
// presented pixels are kept as a frame that can be read back.
//
// Shaped like X11 under a plug-in host: input waits in a queue and time-outs wait for Pump
// (which the editor's idle calls), which delivers the queued events, then each due timer at
// most once, then the paints they caused. A backend made to deliver AtOnce ends every input
// call and Advance with a pump, and Advance fires every tick that falls in its time, as a
// window system with a loop of its own: for tests of the framework, which have no host.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Assert.h"
#include "platform/Backend.h"
#include "platform/TimerList.h"

namespace platform {

// What a window presented: 32-bit pixels, rows bottom-up as in flux::PixelView.
struct Frame {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> bits;
  uint32_t Pixel(int32_t x, int32_t y) const {  // y = 0: top row
    FLUX_ASSERT(x >= 0 && x < width && y >= 0 && y < height);
    FLUX_ASSERT(bits.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return bits[static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
  }
};

class HeadlessBackend final : public Backend {
 public:
  enum class Delivery { HostIdle, AtOnce };
  explicit HeadlessBackend(Delivery delivery = Delivery::HostIdle);
  ~HeadlessBackend() override;

  std::unique_ptr<WindowPeer> CreateChildWindow(void* parent, PeerClient& client) override;
  std::unique_ptr<WindowPeer> CreateMessageWindow(PeerClient& client) override;
  uint32_t TickCount() const override { return static_cast<uint32_t>(m_Now); }
  TimeOfDay UtcTimeOfDay() const override;
  int16_t KeyState(int32_t virtualKey) const override;
  int32_t ScreenBitsPerPixel() const override { return m_BitsPerPixel; }
  Point CursorPos() const override { return m_Cursor; }

  // A host's window at `screenBounds`, visible; its handle is what a host passes to a plug-in.
  void* CreateHostWindow(const Rect& screenBounds);
  // As a host that destroys its window: the child windows inside it go too, and each one's
  // client hears HandleDestroyed.
  void DestroyHostWindow(void* host);

  // Time.
  void Advance(uint32_t milliseconds);
  void SetTimeOfDay(const TimeOfDay& utcAtZero) { m_TimeAtZero = utcAtZero; }
  // A refusing window system: StartTimer answers false while set.
  void SetRefuseTimers(bool refuse) { m_RefuseTimers = refuse; }
  std::size_t RunningTimerCount() const { return m_Timers.Count(); }

  // Input, in screen coordinates, delivered by the next pump. Moves go to the window under the
  // cursor, or to the one holding the capture; a window the cursor leaves hears so.
  void MouseMove(int32_t x, int32_t y);
  void MouseDown(MouseButton button, int32_t x, int32_t y);
  void MouseUp(MouseButton button, int32_t x, int32_t y);
  void Click(int32_t x, int32_t y, MouseButton button = MouseButton::Left);
  void Wheel(int32_t x, int32_t y, int16_t delta);  // WHEEL_DELTA per notch; away: positive
  // Keys go to the focus window, with `alt` set while Alt is down.
  void KeyDown(uint16_t virtualKey);
  void KeyUp(uint16_t virtualKey);
  void Char(char character);
  // Down, the character the key types (if any), up.
  void PressKey(uint16_t virtualKey);

  // Delivers the input queued so far, then each due timer once, then serves repaint requests
  // (HandlePaint) until none is left.
  void Pump() override;
  // What the window system does to one window at once, past the queue; nothing (or 0) for a
  // handle that is gone.
  // Another program takes the mouse capture that `window` holds: it hears so.
  void StealCapture(void* window);
  // `window` is about to get the focus: its answer, as the window system asks it.
  intptr_t QueryNewPalette(void* window);
  // `changer` (a window handle) changed the system palette.
  void PaletteChanged(void* window, void* changer);
  // A pointer event as it reaches `window` (client coordinates): for measuring the framework's
  // own handling of input, without the pump's paint.
  void SendMouse(void* window, const MouseEvent& event);

  // Observation.
  bool IsWindow(void* window) const { return Find(window) != nullptr; }
  std::size_t WindowCount() const { return m_Windows.size(); }  // host windows included
  const Frame* FrameOf(void* window) const;
  // The areas presented since the last call, in order, and forgotten.
  std::vector<Rect> TakePresented(void* window);
  void* FocusWindow() const;
  void* CaptureWindow() const;
  int16_t Cursor() const { return m_CursorShape; }
  Rect ScreenBoundsOf(void* window) const;  // empty for a handle that is gone

  // 32 or 8; anything else is taken as 32. Each switch to 8 bits starts the system palette
  // afresh: the 20 static colours, 10 at each end, and the 236 entries between them free.
  void SetScreenBitsPerPixel(int32_t bits);
  // The 8-bit display's colours. A foreground realisation gives the free entries to its
  // palette, in entry order, and tells every window (HandlePaletteChanged) when any changed; a
  // background one takes only entries no palette holds. Presented pixels show as the nearest
  // of these colours.
  const std::array<PaletteEntry, 256>& SystemPalette() const { return m_SystemPalette; }

 private:
  class Peer;
  struct Window;

  Window* Find(const void* handle) const;
  Window* FindId(uint32_t id) const;
  Window& AddWindow(Window* parent, PeerClient* client);
  void RemoveWindow(uint32_t id);
  Rect ScreenArea(const Window& window) const;
  bool IsShown(const Window& window) const;
  Window* WindowAt(Point screen) const;
  WindowPeer* PeerOf(uint32_t id) const;  // none for a window that is gone or has no client
  void Post(std::function<void()> event);
  void PaintPending();
  // What the queued events do when they are delivered.
  // The pointer is at `screen` now: the window it left hears so; the window under it, or the
  // one holding the capture, if any.
  Window* PointerAt(Point screen);
  void DeliverPointer(MouseAction action, MouseButton button, Point screen);
  void DeliverButton(MouseButton button, bool down, Point screen);
  void DeliverKey(uint16_t virtualKey, bool down);
  void DeliverChar(char character);
  uint32_t MouseKeys() const;
  void SetKey(uint16_t virtualKey, bool down);
  void SetFocusWindow(uint32_t id);
  uint32_t RealizePalette(uint32_t window, std::span<const PaletteEntry> entries, bool background);
  uint32_t ShownColor(uint32_t pixel) const;  // the nearest system colour on an 8-bit display

  const Delivery m_Delivery;
  std::map<uint32_t, std::unique_ptr<Window>> m_Windows;
  uint32_t m_NextId = 1;
  // Queued input; a vector, since an empty one costs an idle pump no allocation.
  std::vector<std::function<void()>> m_Events;
  TimerList m_Timers;  // started in the order they run: equal due times fire in it
  uint64_t m_Now = 0;
  TimeOfDay m_TimeAtZero{12, 0, 0, 0};
  bool m_RefuseTimers = false;
  int32_t m_BitsPerPixel = 32;
  std::array<PaletteEntry, 256> m_SystemPalette{};
  std::array<bool, 256> m_Claimed{};  // free entries that a realised palette holds
  uint8_t m_Keys[256] = {};           // bit 7 down, bit 0 toggled
  Point m_Cursor;
  int16_t m_CursorShape = 0;
  uint32_t m_Focus = 0;  // window ids; 0 for none
  uint32_t m_Capture = 0;
  uint32_t m_Hover = 0;
};

}  // namespace platform

// The headless backend on its own: windows in host windows, the clock, input delivery and
// presented frames, seen through a recording client.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/headless/HeadlessBackend.h"
#include "testsupport/platform/RecordingClient.h"

namespace {

using namespace platform;
using namespace platform::messages;
using platformtest::RecordingClient;

struct Recorder : RecordingClient {
  std::unique_ptr<WindowPeer>* self = nullptr;  // reset on a tick when set
  void HandleTimer(uintptr_t id) override {
    RecordingClient::HandleTimer(id);
    if (self) self->reset();
  }
};

// A shown child window at (10, 20)-(60, 70) in a host window at (100, 100): the screen's
// (110, 120) is its client origin.
std::unique_ptr<WindowPeer> ShownWindow(HeadlessBackend& backend, void* host, PeerClient& client) {
  auto window = backend.CreateChildWindow(host, client);
  window->SetBounds({10, 20, 60, 70});
  window->SetVisible(true);
  return window;
}

TEST(HeadlessBackend, ChildWindowsNeedALiveHostWindow) {
  HeadlessBackend backend;
  Recorder client;
  client.paletteAnswer = 7;
  EXPECT_EQ(backend.CreateChildWindow(nullptr, client), nullptr);
  void* host = backend.CreateHostWindow({0, 0, 100, 100});
  auto window = backend.CreateChildWindow(host, client);
  ASSERT_NE(window, nullptr);
  void* handle = window->NativeHandle();
  EXPECT_EQ(backend.QueryNewPalette(handle), 7);  // the client's answer
  window.reset();
  EXPECT_FALSE(backend.IsWindow(handle));
  EXPECT_EQ(backend.QueryNewPalette(handle), 0);  // gone: nothing is delivered
  backend.PaletteChanged(handle, nullptr);
  backend.SendMouse(handle, {});
  EXPECT_EQ(client.calls, (std::vector<std::string>{"query palette"}));
}

TEST(HeadlessBackend, DeliveredAtOnceTimersFireEveryTickInTimeOrderAndStopWithTheirWindow) {
  HeadlessBackend backend(HeadlessBackend::Delivery::AtOnce);
  Recorder a, b;
  auto first = backend.CreateMessageWindow(a);
  auto second = backend.CreateMessageWindow(b);
  ASSERT_TRUE(first->StartTimer(1, 0));  // rounded up to the minimum period of 10
  ASSERT_TRUE(second->StartTimer(2, 25));
  b.self = &second;  // destroys its window on the first tick
  backend.Advance(30);
  EXPECT_EQ(a.timers, (std::vector<uintptr_t>{1, 1, 1}));
  EXPECT_EQ(b.timers, (std::vector<uintptr_t>{2}));
  EXPECT_EQ(backend.RunningTimerCount(), 1u);
  EXPECT_EQ(backend.TickCount(), 30u);
  backend.SetRefuseTimers(true);
  EXPECT_FALSE(first->StartTimer(3, 10));
}

TEST(HeadlessBackend, InputGoesToTheWindowUnderTheMouseOrWithFocus) {
  HeadlessBackend backend;
  Recorder client;
  void* host = backend.CreateHostWindow({100, 100, 300, 300});
  auto window = ShownWindow(backend, host, client);
  backend.MouseMove(115, 125);
  backend.Wheel(116, 126, -WHEEL_DELTA);
  backend.MouseMove(400, 400);        // off the window
  EXPECT_TRUE(client.calls.empty());  // until the host's idle pumps
  backend.Pump();
  // The window just sized shows nothing yet: it is painted after the input.
  EXPECT_EQ(client.calls, (std::vector<std::string>{"mouse", "wheel", "leave", "paint"}));
  EXPECT_EQ(client.mice[0].position, (Point{5, 5}));        // client coordinates
  EXPECT_EQ(client.wheels[0].position, (Point{116, 126}));  // the screen's
  EXPECT_EQ(client.wheels[0].delta, -WHEEL_DELTA);

  window->TakeFocus();
  EXPECT_EQ(client.calls.back(), "focus");
  backend.KeyDown(VK_MENU);
  backend.PressKey('X');
  backend.KeyUp(VK_MENU);
  backend.KeyDown(VK_SHIFT);
  backend.KeyDown(VK_SHIFT);  // held: the keyboard repeats it
  backend.Pump();
  ASSERT_EQ(client.keys.size(), 7u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_TRUE(client.keys[i].alt) << i;
  EXPECT_EQ(client.keys[1].code, 'X');
  EXPECT_EQ(client.keys[2].action, KeyAction::Char);
  EXPECT_EQ(client.keys[2].code, 'x');
  EXPECT_EQ(client.keys[4].action, KeyAction::Up);  // Alt's own release still counts as Alt
  EXPECT_EQ(client.keys[4].code, VK_MENU);
  EXPECT_FALSE(client.keys[5].alt);
  EXPECT_FALSE(client.keys[5].repeat);
  EXPECT_TRUE(client.keys[6].repeat);
  EXPECT_GE(backend.KeyState(VK_MENU), 0);      // released
  EXPECT_EQ(backend.KeyState(VK_MENU) & 1, 1);  // toggled once
}

TEST(HeadlessBackend, TheCaptureHolderGetsTheMouseEverywhereUntilItLosesIt) {
  HeadlessBackend backend;
  Recorder client, other;
  void* host = backend.CreateHostWindow({100, 100, 300, 300});
  auto window = ShownWindow(backend, host, client);
  auto second = backend.CreateChildWindow(host, other);
  window->SetCapture(true);
  backend.MouseDown(MouseButton::Right, 50, 60);  // outside every window
  backend.Pump();
  ASSERT_EQ(client.mice.size(), 1u);
  EXPECT_EQ(client.mice[0].position, (Point{-60, -60}));
  EXPECT_EQ(client.mice[0].button, MouseButton::Right);
  EXPECT_EQ(client.mice[0].keys, MK_RBUTTON);
  void* handle = window->NativeHandle();
  backend.StealCapture(handle);
  EXPECT_EQ(backend.CaptureWindow(), nullptr);
  backend.StealCapture(handle);  // not held any more: nothing to tell
  EXPECT_EQ(client.Count("capture lost"), 1u);
  window->SetCapture(true);
  second->SetCapture(true);  // taken by another window: the holder hears it too
  EXPECT_EQ(client.Count("capture lost"), 2u);
  EXPECT_EQ(other.Count("capture lost"), 0u);
}

// As X11 under a host: a pump delivers the queued events, then each due timer once (a stalled
// timer does not burst), then the paints; what handlers queue waits for the next pump.
TEST(HeadlessBackend, APumpDeliversEventsThenDueTimersOnceThenPaints) {
  HeadlessBackend backend;
  struct Ordered : Recorder {
    WindowPeer* peer = nullptr;
    HeadlessBackend* backend = nullptr;
    void HandleMouse(const MouseEvent& event) override {
      peer->RequestPaint();
      backend->MouseMove(121, 131);  // queued for the next pump
      Recorder::HandleMouse(event);
    }
  } client;
  void* host = backend.CreateHostWindow({100, 100, 300, 300});
  auto window = ShownWindow(backend, host, client);
  client.peer = window.get();
  client.backend = &backend;
  ASSERT_TRUE(window->StartTimer(5, 50));
  backend.MouseMove(115, 125);
  backend.Advance(175);  // three periods and a half late
  EXPECT_TRUE(client.calls.empty());
  backend.Pump();
  EXPECT_EQ(client.calls, (std::vector<std::string>{"mouse", "timer", "paint"}));
  backend.Advance(20);  // the next tick comes a period after the late one
  backend.Pump();
  EXPECT_EQ(client.calls.size(), 5u);  // the queued move, and its paint
  backend.Advance(40);
  backend.Pump();
  EXPECT_EQ(client.calls[5], "mouse");
  EXPECT_EQ(client.calls[6], "timer");
}

TEST(HeadlessBackend, PresentedPixelsMakeTheFrame) {
  HeadlessBackend backend;
  Recorder client;
  void* host = backend.CreateHostWindow({0, 0, 10, 10});
  auto window = backend.CreateChildWindow(host, client);
  window->SetBounds({0, 0, 4, 2});
  window->RequestPaint();
  backend.Pump();
  EXPECT_EQ(client.paints, (std::vector<Rect>{{0, 0, 4, 2}}));
  const std::vector<uint32_t> pixels{1, 2, 3, 4, 5, 6, 7, 8};  // bottom row first
  window->Present({pixels.data(), 4, 2}, {1, 0, 3, 2});
  const Frame& frame = *backend.FrameOf(window->NativeHandle());
  EXPECT_EQ(frame.Pixel(1, 0), 6u);
  EXPECT_EQ(frame.Pixel(2, 1), 3u);
  EXPECT_EQ(frame.Pixel(0, 0), 0u);
  EXPECT_EQ(backend.TakePresented(window->NativeHandle()), (std::vector<Rect>{{1, 0, 3, 2}}));
}

}  // namespace

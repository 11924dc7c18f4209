// The headless backend on its own: windows in host windows, the clock, input delivery and
// presented frames, seen through a recording client.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

using namespace platform;
using namespace platform::messages;

struct Recorder : PeerClient {
  std::vector<uint32_t> messages;
  std::vector<uintptr_t> wParams;
  std::vector<intptr_t> lParams;
  std::vector<Rect> paints;
  std::unique_ptr<WindowPeer>* self = nullptr;  // reset on WM_TIMER when set
  virtual ~Recorder() = default;
  intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    messages.push_back(message);
    wParams.push_back(wParam);
    lParams.push_back(lParam);
    if (message == WM_TIMER && self) self->reset();
    return 7;
  }
  void HandlePaint(const Rect& area) override { paints.push_back(area); }
};

TEST(HeadlessBackend, ChildWindowsNeedALiveHostWindow) {
  HeadlessBackend backend;
  Recorder client;
  EXPECT_EQ(backend.CreateChildWindow(nullptr, client), nullptr);
  void* host = backend.CreateHostWindow({0, 0, 100, 100});
  auto window = backend.CreateChildWindow(host, client);
  ASSERT_NE(window, nullptr);
  void* handle = window->NativeHandle();
  EXPECT_EQ(backend.Send(handle, WM_USER, 1, 2), 7);
  window.reset();
  EXPECT_FALSE(backend.IsWindow(handle));
  EXPECT_EQ(backend.Send(handle, WM_USER, 1, 2), 0);  // gone: nothing is delivered
  EXPECT_EQ(client.messages.size(), 1u);
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
  EXPECT_EQ(a.messages, (std::vector<uint32_t>{WM_TIMER, WM_TIMER, WM_TIMER}));
  EXPECT_EQ(b.wParams, (std::vector<uintptr_t>{2}));
  EXPECT_EQ(backend.RunningTimerCount(), 1u);
  EXPECT_EQ(backend.TickCount(), 30u);
  backend.SetRefuseTimers(true);
  EXPECT_FALSE(first->StartTimer(3, 10));
}

TEST(HeadlessBackend, InputGoesToTheWindowUnderTheMouseOrWithFocus) {
  HeadlessBackend backend;
  Recorder client;
  void* host = backend.CreateHostWindow({100, 100, 300, 300});
  auto window = backend.CreateChildWindow(host, client);
  window->SetBounds({10, 20, 60, 70});
  window->SetVisible(true);
  backend.MouseMove(115, 125);
  backend.MouseMove(400, 400);           // off the window
  EXPECT_TRUE(client.messages.empty());  // until the host's idle pumps
  backend.Pump();
  EXPECT_EQ(client.messages, (std::vector<uint32_t>{WM_MOUSEMOVE, WM_MOUSELEAVE}));
  EXPECT_EQ(client.lParams[0], 5 | 5 << 16);
  window->TakeFocus();
  backend.KeyDown(VK_MENU);
  backend.PressKey('X');
  backend.KeyUp(VK_MENU);
  backend.Pump();
  EXPECT_EQ(client.messages.back(), WM_SYSKEYUP);
  EXPECT_EQ(client.messages[client.messages.size() - 3], WM_SYSCHAR);
  EXPECT_EQ(client.wParams[client.wParams.size() - 3], uintptr_t{'x'});
  EXPECT_GE(backend.KeyState(VK_MENU), 0);      // released
  EXPECT_EQ(backend.KeyState(VK_MENU) & 1, 1);  // toggled once
}

// As X11 under a host: a pump delivers the queued events, then each due timer once (a stalled
// timer does not burst), then the paints; what handlers queue waits for the next pump.
TEST(HeadlessBackend, APumpDeliversEventsThenDueTimersOnceThenPaints) {
  HeadlessBackend backend;
  struct Ordered : Recorder {
    WindowPeer* peer = nullptr;
    HeadlessBackend* backend = nullptr;
    intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
      if (message == WM_MOUSEMOVE) {
        peer->RequestRepaint({0, 0, 1, 1});
        backend->MouseMove(121, 131);  // queued for the next pump
      }
      return Recorder::HandleMessage(message, wParam, lParam);
    }
    void HandlePaint(const Rect& area) override {
      messages.push_back(WM_PAINT);
      Recorder::HandlePaint(area);
    }
  } client;
  void* host = backend.CreateHostWindow({100, 100, 300, 300});
  auto window = backend.CreateChildWindow(host, client);
  client.peer = window.get();
  client.backend = &backend;
  window->SetBounds({10, 20, 60, 70});
  window->SetVisible(true);
  ASSERT_TRUE(window->StartTimer(5, 50));
  backend.MouseMove(115, 125);
  backend.Advance(175);  // three periods and a half late
  EXPECT_TRUE(client.messages.empty());
  backend.Pump();
  EXPECT_EQ(client.messages, (std::vector<uint32_t>{WM_MOUSEMOVE, WM_TIMER, WM_PAINT}));
  backend.Advance(20);  // the next tick comes a period after the late one
  backend.Pump();
  EXPECT_EQ(client.messages.size(), 5u);  // the queued move, and its paint
  backend.Advance(40);
  backend.Pump();
  EXPECT_EQ(client.messages[5], WM_MOUSEMOVE);
  EXPECT_EQ(client.messages[6], WM_TIMER);
}

TEST(HeadlessBackend, PresentedPixelsMakeTheFrame) {
  HeadlessBackend backend;
  Recorder client;
  void* host = backend.CreateHostWindow({0, 0, 10, 10});
  auto window = backend.CreateChildWindow(host, client);
  window->SetBounds({0, 0, 4, 2});
  window->RequestRepaint({0, 0, 100, 100});
  backend.Pump();
  EXPECT_EQ(client.paints, (std::vector<Rect>{{0, 0, 4, 2}}));
  const std::vector<uint32_t> pixels{1, 2, 3, 4, 5, 6, 7, 8};  // bottom row first
  window->Present({pixels.data(), 4, 2}, {1, 0, 3, 2});
  const Frame& frame = *backend.FrameOf(window->NativeHandle());
  EXPECT_EQ(frame.Pixel(1, 0), 6u);
  EXPECT_EQ(frame.Pixel(2, 1), 3u);
  EXPECT_EQ(frame.Pixel(0, 0), 0u);
  EXPECT_EQ(backend.TakePresented(window->NativeHandle()), (std::vector<Rect>{{1, 0, 3, 2}}));
#ifdef FLUX_HAVE_PNG
  const std::string file = ::testing::TempDir() + "headless_frame.png";
  EXPECT_TRUE(backend.SaveFramePng(window->NativeHandle(), file));
  std::remove(file.c_str());
#endif
}

}  // namespace

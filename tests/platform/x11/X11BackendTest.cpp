// The X11 backend driven directly, as the window framework drives it: connections that live
// exactly as long as the calling thread's child windows, real input through XTEST arriving as
// the framework's messages, and a pump that serves only the calling thread.

#include <gtest/gtest.h>
#include <xcb/xcb_keysyms.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/x11/X11Backend.h"
#include "platform/x11/X11TestHost.h"

namespace {

using namespace platform::messages;
using platform::x11::X11Backend;

struct Received {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

struct Recorder final : platform::PeerClient {
  intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message != WM_MOUSEMOVE) received.push_back({message, wParam, lParam});
    return 0;
  }
  void HandlePaint(const platform::Rect& area) override { painted.push_back(area); }
  void HandleDestroyed() override { destroyed = true; }
  std::vector<Received> Take(uint32_t message) {
    std::vector<Received> found;
    for (const Received& r : received) {
      if (r.message == message) found.push_back(r);
    }
    return found;
  }
  std::vector<Received> received;
  std::vector<platform::Rect> painted;
  bool destroyed = false;
};

class X11BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(x.Connected()) << "no X server on DISPLAY";
    host = x.CreateWindow(kHostX, kHostY, 200, 100);
  }
  void* Parent(xcb_window_t window) const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
  }
  std::unique_ptr<platform::WindowPeer> Shown(Recorder& client) {
    auto peer = backend.CreateChildWindow(Parent(host), client);
    if (!peer) return peer;
    peer->SetBounds({0, 0, 200, 100});
    peer->SetVisible(true);
    return peer;
  }
  // Pumps until `done` holds; false after two seconds.
  template <typename Done>
  bool PumpUntil(Done done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
      backend.Pump();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  static constexpr int16_t kHostX = 50;
  static constexpr int16_t kHostY = 60;
  x11test::X11TestHost x;
  X11Backend backend;
  xcb_window_t host = 0;
};

TEST_F(X11BackendTest, TheConnectionLivesAsLongAsTheThreadsChildWindows) {
  Recorder client;
  EXPECT_EQ(backend.CreateChildWindow(Parent(0x7FFFFF0), client), nullptr);
  EXPECT_FALSE(backend.Connected());
  auto timers = backend.CreateMessageWindow(client);
  EXPECT_FALSE(backend.Connected());  // timers need no server
  auto first = backend.CreateChildWindow(Parent(host), client);
  auto second = backend.CreateChildWindow(Parent(host), client);
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(backend.Connected());
  EXPECT_EQ(x.Children(host).size(), 2u);
  first.reset();
  EXPECT_TRUE(backend.Connected());
  second.reset();
  EXPECT_FALSE(backend.Connected());
  EXPECT_TRUE(x.Children(host).empty());
}

TEST_F(X11BackendTest, AnExposurePaintsOnce) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(peer);
  ASSERT_TRUE(PumpUntil([&] { return !client.painted.empty(); }));
  backend.Pump();
  EXPECT_EQ(client.painted.size(), 1u);
  EXPECT_EQ(client.painted[0], (platform::Rect{0, 0, 200, 100}));
  EXPECT_EQ(peer->ClientOrigin(), (platform::Point{kHostX, kHostY}));
}

TEST_F(X11BackendTest, PresentedPixelsReachTheServerTopDownThroughEitherPath) {
  // Bottom-up rows with a clear mask byte, a different colour on each row.
  std::vector<uint32_t> pixels(200 * 100);
  for (uint32_t row = 0; row < 100; ++row) {
    std::fill_n(pixels.begin() + row * 200, 200, 0x00010203u * row);
  }
  const auto expected = [&](std::size_t x0, std::size_t y0) {
    return pixels[(99 - y0) * 200 + x0] & 0xFFFFFF;
  };
  for (const bool sharedMemory : {true, false}) {
    X11Backend own(sharedMemory);
    Recorder client;
    auto peer = own.CreateChildWindow(Parent(host), client);
    ASSERT_TRUE(peer);
    peer->SetBounds({0, 0, 200, 100});
    peer->SetVisible(true);
    for (int round = 0; round < 2; ++round) {  // the shared block is written again
      peer->Present({pixels.data(), 200, 100}, {10, 20, 110, 70});
      own.Sync();
      const auto shown = x.Pixels(
          static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(peer->NativeHandle())), 200, 100);
      ASSERT_EQ(shown.size(), pixels.size());
      EXPECT_EQ(shown[20 * 200 + 10], expected(10, 20)) << sharedMemory;
      EXPECT_EQ(shown[69 * 200 + 109], expected(109, 69)) << sharedMemory;
      EXPECT_EQ(shown[45 * 200 + 60], expected(60, 45)) << sharedMemory;
      for (uint32_t& pixel : pixels) pixel ^= 0x00FFFFFFu;
    }
  }
}

TEST_F(X11BackendTest, RealInputArrivesAsTheFrameworksMessages) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(PumpUntil([&] { return !client.painted.empty(); }));
  x.MoveTo(kHostX + 30, kHostY + 40);
  x.Button(1, true);
  x.MoveTo(kHostX + 250, kHostY + 40);  // outside, held by the implicit grab
  x.Button(1, false);
  x.Button(4, true);
  x.Button(4, false);
  ASSERT_TRUE(PumpUntil([&] { return !client.Take(WM_MOUSELEAVE).empty(); }));
  const auto downs = client.Take(WM_LBUTTONDOWN);
  const auto ups = client.Take(WM_LBUTTONUP);
  ASSERT_EQ(downs.size(), 1u);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
  EXPECT_EQ(LParamToPoint(downs[0].lParam), (platform::Point{30, 40}));
  EXPECT_EQ(ups[0].wParam, 0u);
  EXPECT_EQ(LParamToPoint(ups[0].lParam), (platform::Point{250, 40}));
  // The pointer left while held: the window hears it once the button is up, not before.
  EXPECT_EQ(client.Take(WM_MOUSELEAVE).size(), 1u);

  client.received.clear();
  x.MoveTo(kHostX + 30, kHostY + 40);
  x.Button(4, true);
  x.Button(4, false);
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(x.connection);
  xcb_keycode_t* a = xcb_key_symbols_get_keycode(symbols, 'a');
  ASSERT_TRUE(a && *a);
  xcb_test_fake_input(x.connection, XCB_KEY_PRESS, *a, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  x.Sync();
  ASSERT_TRUE(PumpUntil([&] { return !client.Take(WM_CHAR).empty(); }));
  EXPECT_LT(backend.KeyState('A'), 0);  // down
  xcb_test_fake_input(x.connection, XCB_KEY_RELEASE, *a, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  x.Sync();
  free(a);
  xcb_key_symbols_free(symbols);
  ASSERT_TRUE(PumpUntil([&] { return !client.Take(WM_KEYUP).empty(); }));
  EXPECT_GE(backend.KeyState('A'), 0);

  const auto wheel = client.Take(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(static_cast<int16_t>(wheel[0].wParam >> 16), WHEEL_DELTA);
  EXPECT_EQ(LParamToPoint(wheel[0].lParam), (platform::Point{kHostX + 30, kHostY + 40}));
  EXPECT_EQ(client.Take(WM_KEYDOWN)[0].wParam, 'A');
  EXPECT_EQ(client.Take(WM_CHAR)[0].wParam, uintptr_t{'a'});
}

TEST_F(X11BackendTest, AWindowTheHostDestroyedDoesNothingAnyMore) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(peer);
  EXPECT_TRUE(peer->StartTimer(1, 10));
  x.DestroyWindow(host);
  ASSERT_TRUE(PumpUntil([&] { return client.destroyed; }));
  client.received.clear();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  peer->SetBounds({0, 0, 50, 50});
  peer->RequestRepaint({0, 0, 50, 50});
  backend.Pump();
  EXPECT_TRUE(client.Take(WM_TIMER).empty());
  EXPECT_TRUE(peer->StartTimer(2, 10) == false);
  peer.reset();
  EXPECT_FALSE(backend.Connected());
  EXPECT_EQ(x.TakeErrors(), 0);
}

TEST_F(X11BackendTest, APumpServesOnlyTheCallingThreadsWindows) {
  Recorder client;
  auto timers = backend.CreateMessageWindow(client);
  ASSERT_TRUE(timers->StartTimer(9, 10));
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  std::thread([&] { backend.Pump(); }).join();
  EXPECT_TRUE(client.received.empty());
  backend.Pump();
  ASSERT_EQ(client.Take(WM_TIMER).size(), 1u);
  EXPECT_EQ(client.received[0].wParam, 9u);
}

}  // namespace

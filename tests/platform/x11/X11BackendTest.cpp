// The X11 backend driven directly, as the window framework drives it: connections that live
// exactly as long as the calling thread's child windows, real input through XTEST arriving as
// typed calls of the window's client, and a pump that serves only the calling thread.

#include <gtest/gtest.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/WindowMessages.h"
#include "platform/x11/X11Backend.h"
#include "testsupport/platform/RecordingClient.h"
#include "testsupport/platform/x11/X11Probe.h"

namespace {

using namespace platform::messages;
using platform::KeyAction;
using platform::MouseAction;
using platform::x11::X11Backend;
using Recorder = platformtest::RecordingClient;

class X11BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_X.Connected()) << "no X server on DISPLAY";
    fluxhost::EditorWindowOptions options;
    options.position = fluxhost::ScreenPoint{kHostX, kHostY};
    m_HostWindow = fluxhost::OpenEditorWindow("host", 200, 100, options);
    m_Host = m_HostWindow->NativeHandle();
  }
  void* Parent(xcb_window_t window) const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
  }
  std::unique_ptr<platform::WindowPeer> Shown(Recorder& client) {
    auto peer = m_Backend.CreateChildWindow(m_Host, client);
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
      m_Backend.Pump();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }

  static constexpr int16_t kHostX = 50;
  static constexpr int16_t kHostY = 60;
  // Real input that a host's window has no call for: the wheel, as button 4 going down and up.
  void TurnWheel() {
    for (const int type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
      xcb_test_fake_input(m_X.connection, static_cast<uint8_t>(type), 4, XCB_CURRENT_TIME, XCB_NONE,
                          0, 0, 0);
    }
    m_X.Sync();
  }

  x11test::X11Probe m_X;
  std::unique_ptr<fluxhost::EditorWindow> m_HostWindow;
  X11Backend m_Backend;
  void* m_Host = nullptr;
};

TEST_F(X11BackendTest, TheConnectionLivesAsLongAsTheThreadsChildWindows) {
  Recorder client;
  EXPECT_EQ(m_Backend.CreateChildWindow(Parent(0x7FFFFF0), client), nullptr);
  EXPECT_FALSE(m_Backend.Connected());
  auto timers = m_Backend.CreateMessageWindow(client);
  EXPECT_FALSE(m_Backend.Connected());  // timers need no server
  auto first = m_Backend.CreateChildWindow(m_Host, client);
  auto second = m_Backend.CreateChildWindow(m_Host, client);
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(m_Backend.Connected());
  EXPECT_EQ(m_X.Children(x11test::IdOf(*m_HostWindow)).size(), 2u);
  first.reset();
  EXPECT_TRUE(m_Backend.Connected());
  second.reset();
  EXPECT_FALSE(m_Backend.Connected());
  EXPECT_TRUE(m_X.Children(x11test::IdOf(*m_HostWindow)).empty());
}

TEST_F(X11BackendTest, AnExposurePaintsOnce) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(peer);
  ASSERT_TRUE(PumpUntil([&] { return !client.paints.empty(); }));
  m_Backend.Pump();
  EXPECT_EQ(client.paints.size(), 1u);
  EXPECT_EQ(client.paints[0], (platform::Rect{0, 0, 200, 100}));
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
    auto peer = own.CreateChildWindow(m_Host, client);
    ASSERT_TRUE(peer);
    peer->SetBounds({0, 0, 200, 100});
    peer->SetVisible(true);
    for (int round = 0; round < 2; ++round) {  // the shared block is written again
      peer->Present({pixels.data(), 200, 100}, {10, 20, 110, 70});
      own.Sync();
      const auto shown = m_X.Pixels(
          static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(peer->NativeHandle())), 200, 100);
      ASSERT_EQ(shown.size(), pixels.size());
      EXPECT_EQ(shown[20 * 200 + 10], expected(10, 20)) << sharedMemory;
      EXPECT_EQ(shown[69 * 200 + 109], expected(109, 69)) << sharedMemory;
      EXPECT_EQ(shown[45 * 200 + 60], expected(60, 45)) << sharedMemory;
      for (uint32_t& pixel : pixels) pixel ^= 0x00FFFFFFu;
    }
  }
}

TEST_F(X11BackendTest, RealInputArrivesAsTypedCallsInClientCoordinates) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(PumpUntil([&] { return !client.paints.empty(); }));
  m_HostWindow->MovePointer(30, 40);
  m_HostWindow->PressButton();
  m_HostWindow->MovePointer(250, 40);  // outside, held by the implicit grab
  m_HostWindow->ReleaseButton();
  TurnWheel();
  ASSERT_TRUE(PumpUntil([&] { return client.Count("leave") > 0; }));
  const auto downs = client.Mouse(MouseAction::Press);
  const auto ups = client.Mouse(MouseAction::Release);
  ASSERT_EQ(downs.size(), 1u);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(downs[0].button, platform::MouseButton::Left);
  EXPECT_EQ(downs[0].keys, MK_LBUTTON);
  EXPECT_EQ(downs[0].position, (platform::Point{30, 40}));
  EXPECT_EQ(ups[0].keys, 0u);
  EXPECT_EQ(ups[0].position, (platform::Point{250, 40}));
  EXPECT_EQ(client.Mouse(MouseAction::Move).back().position, (platform::Point{250, 40}));
  // The pointer left while held: the window hears it once the button is up, not before.
  EXPECT_EQ(client.Count("leave"), 1u);

  client.Clear();
  m_HostWindow->MovePointer(30, 40);
  TurnWheel();
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_X.connection);
  xcb_keycode_t* a = xcb_key_symbols_get_keycode(symbols, 'a');
  ASSERT_TRUE(a && *a);
  xcb_test_fake_input(m_X.connection, XCB_KEY_PRESS, *a, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  m_X.Sync();
  ASSERT_TRUE(PumpUntil([&] { return !client.Keys(KeyAction::Char).empty(); }));
  EXPECT_LT(m_Backend.KeyState('A'), 0);  // down
  xcb_test_fake_input(m_X.connection, XCB_KEY_RELEASE, *a, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  m_X.Sync();
  free(a);
  xcb_key_symbols_free(symbols);
  ASSERT_TRUE(PumpUntil([&] { return !client.Keys(KeyAction::Up).empty(); }));
  EXPECT_GE(m_Backend.KeyState('A'), 0);

  ASSERT_EQ(client.wheels.size(), 1u);  // the wheel's release is no second turn
  EXPECT_EQ(client.wheels[0].delta, WHEEL_DELTA);
  EXPECT_EQ(client.wheels[0].position, (platform::Point{kHostX + 30, kHostY + 40}));
  const auto keyDowns = client.Keys(KeyAction::Down);
  ASSERT_EQ(keyDowns.size(), 1u);
  EXPECT_EQ(keyDowns[0].code, 'A');
  EXPECT_FALSE(keyDowns[0].alt || keyDowns[0].repeat);
  EXPECT_EQ(client.Keys(KeyAction::Char)[0].code, 'a');
  EXPECT_EQ(client.Keys(KeyAction::Up)[0].code, 'A');
}

TEST_F(X11BackendTest, AWindowTheHostDestroyedDoesNothingAnyMore) {
  Recorder client;
  auto peer = Shown(client);
  ASSERT_TRUE(peer);
  EXPECT_TRUE(peer->StartTimer(1, 10));
  m_HostWindow->Destroy();
  ASSERT_TRUE(PumpUntil([&] { return client.Count("destroyed") > 0; }));
  client.Clear();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  peer->SetBounds({0, 0, 50, 50});
  peer->RequestPaint();
  m_Backend.Pump();
  EXPECT_TRUE(client.calls.empty());
  EXPECT_TRUE(peer->StartTimer(2, 10) == false);
  peer.reset();
  EXPECT_FALSE(m_Backend.Connected());
  EXPECT_EQ(m_X.TakeErrors(), 0);
}

TEST_F(X11BackendTest, APumpServesOnlyTheCallingThreadsWindows) {
  Recorder client;
  auto timers = m_Backend.CreateMessageWindow(client);
  ASSERT_TRUE(timers->StartTimer(9, 10));
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  std::thread([&] { m_Backend.Pump(); }).join();
  EXPECT_TRUE(client.calls.empty());
  m_Backend.Pump();
  EXPECT_EQ(client.timers, std::vector<uintptr_t>{9});
}

}  // namespace

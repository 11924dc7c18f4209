// The Windows backend's windows inside a host's window, on a real desktop: the bottom-up surface
// presented the right way up, paints within BeginPaint/EndPaint or as our code returns, timers,
// mouse, capture, focus, keys and cursor as typed calls of the window's client, a window the
// host destroys first, the window class's life, and a client's exception kept inside the window
// procedure.

#include <memory>
#include <stdexcept>
#include <vector>

#include "common/EntryScope.h"
#include "platform/NativeBackend.h"
#include "testsupport/platform/RecordingClient.h"
#include "testsupport/platform/win32/DesktopHost.h"

namespace {

using platform::KeyAction;
using platform::MouseAction;
using win32test::PumpFor;

// Presents its pixels on each paint; it may also fail on each tick, or destroy its own window
// from inside a paint.
class Client final : public platformtest::RecordingClient {
 public:
  void HandleTimer(uintptr_t id) override {
    RecordingClient::HandleTimer(id);
    if (throwing) throw std::runtime_error("a handler failed");
  }
  void HandlePaint(const platform::Rect& area) override {
    RecordingClient::HandlePaint(area);
    if (peer && pixels.bits) peer->Present(pixels, area);
    if (destroyOnPaint) destroyOnPaint->reset();
  }

  platform::WindowPeer* peer = nullptr;  // presents `pixels` on each paint
  flux::PixelView pixels;
  std::unique_ptr<platform::WindowPeer>* destroyOnPaint = nullptr;  // the peer, gone in a paint
  bool throwing = false;
};

// A picture no flip or shift leaves unchanged: every pixel its own colour.
std::vector<uint32_t> BottomUpPicture(int32_t width, int32_t height, uint32_t seed) {
  std::vector<uint32_t> bits;
  for (int32_t row = 0; row < height; ++row) {  // the bottom row first
    const int32_t y = height - 1 - row;
    for (int32_t x = 0; x < width; ++x) {
      bits.push_back(0xFF000000u | (seed + static_cast<uint32_t>(y * 5)) << 16 |
                     static_cast<uint32_t>(x * 7) << 8 | static_cast<uint32_t>(y * 3 + x));
    }
  }
  return bits;
}

uint32_t TopDownPixel(const std::vector<uint32_t>& bottomUp, int32_t width, int32_t height,
                      int32_t x, int32_t y) {
  return bottomUp[static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)] &
         0xFFFFFF;
}

class Win32Window : public ::testing::Test {
 protected:
  static constexpr int32_t kWidth = 40, kHeight = 30;

  static constexpr int32_t kLeft = 10, kTop = 20;

  // A visible 40 × 30 child at (10, 20) of the host's client area.
  std::unique_ptr<platform::WindowPeer> MakeChild(Client& owner) {
    auto peer = m_Backend.CreateChildWindow(m_Host->NativeHandle(), owner);
    if (!peer) return peer;
    peer->SetBounds({kLeft, kTop, kLeft + kWidth, kTop + kHeight});
    peer->SetVisible(true);
    PumpFor(*m_Host, 20);
    return peer;
  }
  // The real mouse to (x, y) of a child that MakeChild made.
  void MoveMouseInChild(int32_t x, int32_t y) { m_Host->MovePointer(kLeft + x, kTop + y); }
  png::Picture Shown(platform::WindowPeer& peer) {
    return win32test::ShownBy(*m_Host, static_cast<HWND>(peer.NativeHandle()));
  }
  static std::wstring ClassOf(void* window) {
    wchar_t name[128] = {};
    GetClassNameW(static_cast<HWND>(window), name, 128);
    return name;
  }
  static HINSTANCE ModuleOf(void* window) {
    return reinterpret_cast<HINSTANCE>(
        GetWindowLongPtrW(static_cast<HWND>(window), GWLP_HINSTANCE));
  }
  static bool Registered(HINSTANCE module, const std::wstring& name) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return GetClassInfoExW(module, name.c_str(), &info) != 0;
  }

  platform::Backend& m_Backend = platform::NativeBackend();
  win32test::HostWindow m_Host = win32test::OpenHost();
  Client m_Client;
};

TEST_F(Win32Window, PresentsTheBottomUpSurfaceTheRightWayUpWholeAndInParts) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  EXPECT_EQ(m_Backend.ScreenBitsPerPixel(), 32);
  const platform::PaletteEntry grey[] = {{128, 128, 128, 0}};
  EXPECT_EQ(peer->RealizePalette(grey, false), 0u);  // no palette on a 32-bit display

  const std::vector<uint32_t> first = BottomUpPicture(kWidth, kHeight, 0x10);
  m_Client.peer = peer.get();
  m_Client.pixels = {first.data(), kWidth, kHeight};
  InvalidateRect(static_cast<HWND>(peer->NativeHandle()), nullptr, FALSE);  // all of it lost
  PumpFor(*m_Host, 50);
  png::Picture shown = Shown(*peer);
  ASSERT_EQ(shown.width, kWidth);
  ASSERT_EQ(shown.height, kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      ASSERT_EQ(shown.Pixel(x, y), TopDownPixel(first, kWidth, kHeight, x, y)) << x << ", " << y;
    }
  }

  // Outside a paint, a part of another picture: only that part changes.
  const std::vector<uint32_t> second = BottomUpPicture(kWidth, kHeight, 0x80);
  const platform::Rect part{3, 4, 17, 11};
  peer->Present({second.data(), kWidth, kHeight}, part);
  shown = Shown(*peer);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const auto& from = part.Contains(x, y) ? second : first;
      ASSERT_EQ(shown.Pixel(x, y), TopDownPixel(from, kWidth, kHeight, x, y)) << x << ", " << y;
    }
  }
}

TEST_F(Win32Window, APaintRequestLosesNothingWhileWhatTheSystemInvalidatesComesAsLost) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  const HWND window = static_cast<HWND>(peer->NativeHandle());
  PumpFor(*m_Host, 30);
  m_Client.paints.clear();
  peer->RequestPaint();
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));  // nothing to erase or draw for it
  PumpFor(*m_Host, 60);
  ASSERT_EQ(m_Client.paints.size(), 1u);  // and it comes once
  EXPECT_TRUE(m_Client.paints[0].IsEmpty());

  const RECT uncovered{2, 3, 12, 9};  // as the window system invalidates an uncovered part
  InvalidateRect(window, &uncovered, FALSE);
  peer->RequestPaint();
  PumpFor(*m_Host, 60);
  ASSERT_EQ(m_Client.paints.size(), 2u);  // validated by the paint: no second WM_PAINT
  EXPECT_EQ(m_Client.paints[1], (platform::Rect{2, 3, 12, 9}));
}

TEST_F(Win32Window, APaintAskedInsideOurCodeComesOnceAsTheOutermostEntryReturns) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  PumpFor(*m_Host, 30);
  m_Client.paints.clear();
  {
    const flux::EntryScope entry;
    peer->RequestPaint();
    peer->RequestPaint();
    EXPECT_TRUE(m_Client.paints.empty());
  }
  ASSERT_EQ(m_Client.paints.size(), 1u);
  EXPECT_TRUE(m_Client.paints[0].IsEmpty());
  PumpFor(*m_Host, 60);
  EXPECT_EQ(m_Client.paints.size(), 1u);  // the window system was not asked: no WM_PAINT

  // A window destroyed while its paint waits is left out; one may destroy itself in its paint.
  auto other = MakeChild(m_Client);
  ASSERT_TRUE(other);
  PumpFor(*m_Host, 30);
  m_Client.paints.clear();  // its first paint as it was shown
  m_Client.destroyOnPaint = &other;
  {
    const flux::EntryScope entry;
    other->RequestPaint();
    peer->RequestPaint();
    peer.reset();
  }
  EXPECT_EQ(m_Client.paints.size(), 1u);
  EXPECT_EQ(other, nullptr);
}

TEST_F(Win32Window, TimersTickWithTheirIdUntilStopped) {
  auto peer = m_Backend.CreateMessageWindow(m_Client);
  ASSERT_TRUE(peer);
  ASSERT_TRUE(peer->StartTimer(7, 20));
  PumpFor(*m_Host, 200);
  EXPECT_GE(m_Client.timers.size(), 3u);
  for (const uintptr_t id : m_Client.timers) EXPECT_EQ(id, 7u);
  peer->StopTimer(7);
  PumpFor(*m_Host, 20);
  m_Client.Clear();
  PumpFor(*m_Host, 100);
  EXPECT_TRUE(m_Client.timers.empty());
}

#if defined(_WIN64)
// Timer ids are pointer-sized: on 64-bit Windows one beyond 32 bits comes back whole.
TEST_F(Win32Window, ATimerIdBeyondThirtyTwoBitsComesBackWhole) {
  auto peer = m_Backend.CreateMessageWindow(m_Client);
  ASSERT_TRUE(peer);
  constexpr uintptr_t kId = 0x1234'5678'0000'0007u;
  ASSERT_TRUE(peer->StartTimer(kId, 20));
  PumpFor(*m_Host, 100);
  EXPECT_FALSE(m_Client.timers.empty());
  for (const uintptr_t id : m_Client.timers) EXPECT_EQ(id, kId);
  peer->StopTimer(kId);
}
#endif

TEST_F(Win32Window, MouseInputComesInClientCoordinatesAndLeavingIsReported) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  MoveMouseInChild(5, 6);
  PumpFor(*m_Host, 40);
  m_Host->PressButton();
  PumpFor(*m_Host, 40);
  m_Host->ReleaseButton();
  PumpFor(*m_Host, 40);
  POINT origin{kLeft, kTop};
  ClientToScreen(win32test::HandleOf(*m_Host), &origin);
  EXPECT_EQ(peer->ClientOrigin(), (platform::Point{origin.x, origin.y}));
  const auto moves = m_Client.Mouse(MouseAction::Move);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().position, (platform::Point{5, 6}));
  const auto downs = m_Client.Mouse(MouseAction::Press);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].position, (platform::Point{5, 6}));
  EXPECT_EQ(downs[0].button, platform::MouseButton::Left);
  EXPECT_TRUE(downs[0].keys & MK_LBUTTON);
  const auto ups = m_Client.Mouse(MouseAction::Release);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].button, platform::MouseButton::Left);
  EXPECT_EQ(m_Client.Count("leave"), 0u);

  MoveMouseInChild(kWidth + 20, 6);  // onto the host's window
  PumpFor(*m_Host, 300);
  EXPECT_EQ(m_Client.Count("leave"), 1u);
}

TEST_F(Win32Window, WithTheCaptureMovesOutsideStillComeAndLosingItIsReported) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  MoveMouseInChild(5, 5);
  PumpFor(*m_Host, 40);
  peer->SetCapture(true);
  MoveMouseInChild(-4, kHeight + 3);
  PumpFor(*m_Host, 40);
  const auto moves = m_Client.Mouse(MouseAction::Move);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().position, (platform::Point{-4, kHeight + 3}));

  SetCapture(win32test::HandleOf(*m_Host));  // someone else takes the mouse
  PumpFor(*m_Host, 20);
  ASSERT_EQ(m_Client.Count("capture lost"), 1u);
  ReleaseCapture();
}

TEST_F(Win32Window, FocusAndKeysComeAsTypedCalls) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  peer->TakeFocus();
  PumpFor(*m_Host, 20);
  EXPECT_EQ(m_Client.Count("focus"), 1u);
  win32test::PressKey('A');
  PumpFor(*m_Host, 60);
  const auto downs = m_Client.Keys(KeyAction::Down);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].code, 'A');
  EXPECT_FALSE(downs[0].alt || downs[0].repeat);
  const auto chars = m_Client.Keys(KeyAction::Char);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].code, 'a');
  EXPECT_EQ(m_Client.Keys(KeyAction::Up).size(), 1u);
  SetFocus(win32test::HandleOf(*m_Host));
  PumpFor(*m_Host, 20);
  EXPECT_EQ(m_Client.Count("unfocus"), 1u);
}

TEST_F(Win32Window, TheCursorOverTheWindowIsTheOneAskedFor) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  peer->SetCursor(-9);  // crSizeWE
  MoveMouseInChild(8, 8);
  PumpFor(*m_Host, 60);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
  peer->SetCursor(-21);  // crHandPoint, at once while the mouse is over the window
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
}

TEST_F(Win32Window, AWindowTheHostDestroysFirstIsNoticedAndThenLeftAlone) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  ASSERT_TRUE(peer->StartTimer(1, 10));
  const std::wstring name = ClassOf(peer->NativeHandle());
  const HINSTANCE module = ModuleOf(peer->NativeHandle());
  m_Host->Destroy();
  EXPECT_EQ(m_Client.Count("destroyed"), 1u);
  EXPECT_EQ(peer->NativeHandle(), nullptr);
  m_Client.Clear();
  // Every operation now does nothing.
  const std::vector<uint32_t> bits = BottomUpPicture(kWidth, kHeight, 0);
  peer->Present({bits.data(), kWidth, kHeight}, {0, 0, kWidth, kHeight});
  peer->RequestPaint();
  peer->SetBounds({0, 0, 10, 10});
  peer->SetCapture(true);
  peer->TakeFocus();
  EXPECT_FALSE(peer->StartTimer(2, 10));
  EXPECT_EQ(peer->ClientOrigin(), (platform::Point{0, 0}));
  PumpFor(*m_Host, 40);
  EXPECT_TRUE(m_Client.calls.empty());
  EXPECT_TRUE(Registered(module, name));  // until the peer is gone
  peer.reset();
  EXPECT_TRUE(m_Client.calls.empty());  // told once
  EXPECT_FALSE(Registered(module, name));
}

TEST_F(Win32Window, APaintHandlerMayDestroyItsOwnWindow) {
  auto peer = MakeChild(m_Client);
  ASSERT_TRUE(peer);
  const HWND window = static_cast<HWND>(peer->NativeHandle());
  m_Client.destroyOnPaint = &peer;
  peer->RequestPaint();
  PumpFor(*m_Host, 50);
  EXPECT_EQ(peer, nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(m_Client.Count("destroyed"), 0u);  // destroyed by its owner, not by someone else
  auto again = MakeChild(m_Client);            // the class and the window procedure carry on
  EXPECT_TRUE(again);
}

TEST_F(Win32Window, TheClassLivesFromTheFirstWindowToTheLastOfThisModule) {
  Client other;
  auto first = MakeChild(m_Client);
  ASSERT_TRUE(first);
  const std::wstring name = ClassOf(first->NativeHandle());
  const HINSTANCE module = ModuleOf(first->NativeHandle());
  EXPECT_EQ(module, GetModuleHandleW(nullptr));  // the module of this code: here, the program
  auto timers = m_Backend.CreateMessageWindow(other);
  ASSERT_TRUE(timers);
  EXPECT_EQ(ClassOf(timers->NativeHandle()), name);
  first.reset();
  EXPECT_TRUE(Registered(module, name));
  timers.reset();
  EXPECT_FALSE(Registered(module, name));
  auto again = MakeChild(m_Client);  // registered afresh
  ASSERT_TRUE(again);
  EXPECT_TRUE(Registered(module, name));
}

TEST_F(Win32Window, AClientsExceptionStaysInsideTheWindowProcedure) {
  auto peer = m_Backend.CreateMessageWindow(m_Client);
  ASSERT_TRUE(peer);
  m_Client.throwing = true;
  ASSERT_TRUE(peer->StartTimer(3, 10));
  PumpFor(*m_Host, 80);
  EXPECT_GE(m_Client.timers.size(), 2u);  // still alive, still ticking
}

TEST_F(Win32Window, ThereIsNoWindowInsideAParentThatDoesNotExist) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(m_Backend.CreateChildWindow(gone, m_Client), nullptr);
  EXPECT_EQ(m_Backend.CreateChildWindow(nullptr, m_Client), nullptr);
}

}  // namespace

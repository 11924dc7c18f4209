// The native backend of the Windows build. The host runs a message loop on the thread that
// owns its window (its own window would not work otherwise), and that loop dispatches our
// windows' input, timers and paints too: Pump has nothing to do, and taking messages out of
// the host's queue would bypass its accelerators and dialog keys.

#include <atomic>
#include <cstdint>

#include "platform/NativeBackend.h"
#include "platform/win32/Win32Window.h"

namespace platform {
namespace {

class Win32Backend final : public Backend {
 public:
  std::unique_ptr<WindowPeer> CreateChildWindow(void* parent, PeerClient& client) override {
    const HWND host = static_cast<HWND>(parent);
    if (!host || !IsWindow(host)) return nullptr;
    return win32::Win32Window::Create(client, host);
  }

  std::unique_ptr<WindowPeer> CreateMessageWindow(PeerClient& client) override {
    return win32::Win32Window::Create(client, HWND_MESSAGE);
  }

  uint32_t TickCount() const override { return GetTickCount(); }

  TimeOfDay UtcTimeOfDay() const override {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
  }

  int16_t KeyState(int32_t virtualKey) const override {
    return static_cast<int16_t>(GetKeyState(virtualKey));
  }

  // Every paint asks, and a screen DC is dear (under Wine it costs more than the paint); the
  // depth changes only when someone changes the display mode, and a child window is not told
  // of that. So the answer is kept for a second. Plug-in instances on several threads share it.
  int32_t ScreenBitsPerPixel() const override {
    const uint32_t now = GetTickCount();
    int32_t bits = m_Bits.load(std::memory_order_relaxed);
    if (bits == 0 || now - m_BitsAsked.load(std::memory_order_relaxed) >= kBitsKeptFor) {
      bits = AskBitsPerPixel();
      m_Bits.store(bits, std::memory_order_relaxed);
      m_BitsAsked.store(now, std::memory_order_relaxed);
    }
    return bits;
  }

  Point CursorPos() const override {
    POINT at{};
    GetCursorPos(&at);
    return {at.x, at.y};
  }

 private:
  static constexpr uint32_t kBitsKeptFor = 1000;  // milliseconds

  static int32_t AskBitsPerPixel() {
    const HDC screen = GetDC(nullptr);
    if (!screen) return 32;
    const int32_t bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
  }

  mutable std::atomic<int32_t> m_Bits{0};  // 0: never asked
  mutable std::atomic<uint32_t> m_BitsAsked{0};
};

}  // namespace

Backend& NativeBackend() {
  static Win32Backend backend;
  return backend;
}

}  // namespace platform

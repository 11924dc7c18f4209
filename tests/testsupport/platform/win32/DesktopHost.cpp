#include "testsupport/platform/win32/DesktopHost.h"

#include <chrono>

#include "testsupport/GoldenPicture.h"

namespace win32test {
namespace {

constexpr uint32_t kIdlePeriod = 20;  // as a host idles an editor: every 20 to 50 ms

uint32_t Now() {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace

HostWindow OpenHost(int32_t x, int32_t y) {
  fluxhost::EditorWindowOptions options;
  options.position = fluxhost::ScreenPoint{x, y};
  HostWindow host = fluxhost::OpenEditorWindow("Host", 500, 200, options);
  PumpFor(*host, 30);
  return host;
}

HWND HandleOf(const fluxhost::EditorWindow& host) {
  return static_cast<HWND>(host.NativeHandle());
}

void PumpFor(fluxhost::EditorWindow& host, uint32_t milliseconds,
             const std::function<void()>& idle) {
  PumpUntil(
      host, [] { return false; }, milliseconds, idle);
}

bool PumpUntil(fluxhost::EditorWindow& host, const std::function<bool()>& done, uint32_t limit,
               const std::function<void()>& idle) {
  const uint32_t start = Now();
  uint32_t nextIdle = start;
  for (;;) {
    host.PumpEvents();
    if (done()) return true;
    const uint32_t now = Now();
    if (now - start >= limit) return false;
    if (idle && now - nextIdle < 0x80000000u) {
      idle();
      nextIdle = now + kIdlePeriod;
    }
    host.WaitEvents(std::chrono::milliseconds(1));
  }
}

png::Picture ShownBy(fluxhost::EditorWindow& host, HWND window) {
  const png::Picture all = host.Capture();
  RECT area{};
  GetClientRect(window, &area);
  MapWindowPoints(window, HandleOf(host), reinterpret_cast<POINT*>(&area), 2);
  const RECT inside{0, 0, all.width, all.height};
  IntersectRect(&area, &area, &inside);
  png::Picture shown{static_cast<int32_t>(area.right - area.left),
                     static_cast<int32_t>(area.bottom - area.top),
                     {}};
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) shown.pixels.push_back(all.Pixel(x, y));
  }
  return shown;
}

::testing::AssertionResult MatchesGolden(const png::Picture& shown, const std::string& name) {
  return testsupport::MatchesGoldenFile(shown, std::string(FLUX_GOLDEN_DIR) + "/" + name + ".png");
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof inputs[0]);
}

void Drag(fluxhost::EditorWindow& host, POINT from, POINT to) {
  constexpr int kSteps = 4;
  host.MovePointer(from.x, from.y);
  PumpFor(host, 20);
  host.PressButton();
  PumpFor(host, 20);
  for (int step = 1; step <= kSteps; ++step) {
    host.MovePointer(from.x + (to.x - from.x) * step / kSteps,
                     from.y + (to.y - from.y) * step / kSteps);
    PumpFor(host, 20);
  }
  host.ReleaseButton();
  PumpFor(host, 20);
}

void Click(fluxhost::EditorWindow& host, POINT at) {
  host.MovePointer(at.x, at.y);
  PumpFor(host, 20);
  host.PressButton();
  PumpFor(host, 10);
  host.ReleaseButton();
  PumpFor(host, 20);
}

}  // namespace win32test

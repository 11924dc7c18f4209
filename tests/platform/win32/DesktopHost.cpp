#include "platform/win32/DesktopHost.h"

#include <chrono>
#include <vector>

#include "png/Png.h"

namespace win32test {
namespace {

constexpr uint32_t kIdlePeriod = 20;  // as a host idles an editor: every 20 to 50 ms

const wchar_t* HostClass() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"FluxTestHost";
    RegisterClassExW(&windowClass);
    return L"FluxTestHost";
  }();
  return name;
}

uint32_t Now() {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The mouse position in SendInput's absolute units: the middle of the pixel, whichever of
// 65535 or 65536 the system divides by.
LONG Absolute(LONG pixel, int screenSize) {
  return static_cast<LONG>((2LL * pixel + 1) * 65535 / (2LL * screenSize));
}

POINT ToScreen(HWND window, POINT at) {
  ClientToScreen(window, &at);
  return at;
}

}  // namespace

HostWindow::HostWindow(int x, int y) {
  RECT frame{x, y, x + 500, y + 200};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  AdjustWindowRect(&frame, style, FALSE);
  m_Window = CreateWindowExW(0, HostClass(), L"Host", style | WS_VISIBLE, frame.left, frame.top,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(m_Window);
  PumpFor(30);
}

HostWindow::~HostWindow() {
  Destroy();
}

void HostWindow::Destroy() {
  if (m_Window) DestroyWindow(m_Window);
  m_Window = nullptr;
}

void PumpFor(uint32_t milliseconds, const std::function<void()>& idle) {
  PumpUntil([] { return false; }, milliseconds, idle);
}

bool PumpUntil(const std::function<bool()>& done, uint32_t limit,
               const std::function<void()>& idle) {
  const uint32_t start = Now();
  uint32_t nextIdle = start;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const uint32_t now = Now();
    if (now - start >= limit) return false;
    if (idle && now - nextIdle < 0x80000000u) {
      idle();
      nextIdle = now + kIdlePeriod;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

png::Picture ReadBack(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  png::Picture shown;
  shown.width = client.right;
  shown.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shown.width;
  info.bmiHeader.biHeight = -shown.height;  // top-down, as Picture is
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(window);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shown.width, shown.height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  const std::size_t count =
      static_cast<std::size_t>(shown.width) * static_cast<std::size_t>(shown.height);
  for (std::size_t i = 0; i < count; ++i) shown.pixels.push_back(pixels[i] & 0xFFFFFF);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return shown;
}

::testing::AssertionResult MatchesGolden(const png::Picture& shown, const std::string& name) {
  png::Picture golden;
  try {
    golden = png::ReadFile(std::string(FLUX_EDITOR_GOLDEN_DIR) + "/" + name + ".png");
  } catch (const png::Error& error) {
    return ::testing::AssertionFailure() << error.what();
  }
  if (shown.width != golden.width || shown.height != golden.height) {
    return ::testing::AssertionFailure()
           << "shown " << shown.width << " x " << shown.height << ", " << name << " is "
           << golden.width << " x " << golden.height;
  }
  std::size_t differing = 0, first = 0;
  for (std::size_t i = shown.pixels.size(); i-- > 0;) {
    if (shown.pixels[i] != golden.pixels[i]) {
      ++differing;
      first = i;
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  const auto width = static_cast<std::size_t>(shown.width);
  return ::testing::AssertionFailure()
         << differing << " pixels differ from " << name << ", the first at (" << first % width
         << ", " << first / width << "): shown " << std::hex << shown.pixels[first] << ", golden "
         << golden.pixels[first];
}

void MoveMouse(POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Absolute(at.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Absolute(at.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
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

void Drag(HWND window, POINT from, POINT to) {
  constexpr int kSteps = 4;
  MoveMouse(ToScreen(window, from));
  PumpFor(20);
  LeftButton(true);
  PumpFor(20);
  for (int step = 1; step <= kSteps; ++step) {
    MoveMouse(ToScreen(window, {from.x + (to.x - from.x) * step / kSteps,
                                from.y + (to.y - from.y) * step / kSteps}));
    PumpFor(20);
  }
  LeftButton(false);
  PumpFor(20);
}

void Click(HWND window, POINT at) {
  MoveMouse(ToScreen(window, at));
  PumpFor(20);
  LeftButton(true);
  PumpFor(10);
  LeftButton(false);
  PumpFor(20);
}

}  // namespace win32test

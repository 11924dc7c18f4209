// The editor's window on Windows: a top-level window of the host's own, input made with
// SendInput so that the plug-in receives it as it would a person's, and the picture read
// back from the window's device context.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "EditorWindow.h"

namespace fluxhost {

namespace {

constexpr wchar_t kClassName[] = L"FluxhostEditorWindow";
// The editor decides the size, so the frame cannot be resized or maximised.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Where the frame's top-left corner goes unless asked otherwise: on the screen, clear of its edge.
constexpr POINT kPlace{32, 32};

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(std::max(length, 1)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), length);
  result.resize(result.size() - 1);
  return result;
}

// The frame around a client area of width × height whose top-left corner is at `inside`.
RECT FrameAround(POINT inside, int32_t width, int32_t height) {
  RECT frame{inside.x, inside.y, inside.x + width, inside.y + height};
  AdjustWindowRect(&frame, kStyle, FALSE);
  return frame;
}

SIZE FrameSize(int32_t width, int32_t height) {
  const RECT frame = FrameAround({0, 0}, width, height);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// SendInput's absolute units (0..65535 over the primary screen) for a pixel's middle.
LONG Absolute(LONG pixel, int screenSize) {
  return static_cast<LONG>((2LL * pixel + 1) * 65535 / (2LL * screenSize));
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  if (SendInput(1, &input, sizeof input) != 1)
    throw std::runtime_error("the system refused the mouse input (SendInput failed)");
}

class Win32EditorWindow final : public EditorWindow {
 public:
  Win32EditorWindow(const std::string& title, int32_t width, int32_t height,
                    const std::optional<ScreenPoint>& inside)
      : m_Width(width), m_Height(height) {
    RECT frame = FrameAround(inside ? POINT{inside->x, inside->y} : POINT{0, 0}, width, height);
    if (!inside) OffsetRect(&frame, kPlace.x - frame.left, kPlace.y - frame.top);
    m_Window = CreateWindowExW(0, RegisteredClass(), Wide(title).c_str(), kStyle, frame.left,
                               frame.top, frame.right - frame.left, frame.bottom - frame.top,
                               nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_Window == nullptr) {
      throw std::runtime_error("cannot create the editor's window (error " +
                               std::to_string(GetLastError()) + ")");
    }
    ShowWindow(m_Window, SW_SHOWNORMAL);
    SetForegroundWindow(m_Window);
    UpdateWindow(m_Window);
  }

  ~Win32EditorWindow() override { Destroy(); }

  void* NativeHandle() const override { return m_Window; }

  void Resize(int32_t width, int32_t height) override {
    m_Width = width;
    m_Height = height;
    const SIZE frame = FrameSize(width, height);
    if (m_Window != nullptr)
      SetWindowPos(m_Window, nullptr, 0, 0, frame.cx, frame.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Every window of this thread gets its messages here, the plug-in's included. A person's
  // close leaves the window in place: the editor is closed in it first.
  bool PumpEvents() override {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return m_Window != nullptr && !m_CloseAsked;
  }

  void WaitEvents(std::chrono::milliseconds timeout) override {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout.count()), QS_ALLINPUT);
  }

  // The window procedure forgets the handle once the window has gone.
  void Destroy() override {
    if (m_Window != nullptr) DestroyWindow(m_Window);
  }

  bool ShowsChildWindow() override {
    if (m_Window == nullptr) return false;
    for (HWND child = GetWindow(m_Window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child)) return true;
    }
    return false;
  }

  void MovePointer(int32_t x, int32_t y) override {
    POINT at{x, y};
    if (m_Window != nullptr) ClientToScreen(m_Window, &at);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              Absolute(at.x, GetSystemMetrics(SM_CXSCREEN)),
              Absolute(at.y, GetSystemMetrics(SM_CYSCREEN)));
  }

  void PressButton() override { SendMouse(MOUSEEVENTF_LEFTDOWN); }
  void ReleaseButton() override { SendMouse(MOUSEEVENTF_LEFTUP); }

  // The client area copied from the window's device context into a top-down 32-bit
  // section, whose pixels are 0x00RRGGBB already.
  png::Picture Capture() override {
    if (m_Window == nullptr)
      throw std::runtime_error("cannot read the window's pixels back: the window is closed");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_Width;
    info.bmiHeader.biHeight = -m_Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC window = GetDC(m_Window);
    const HDC memory = CreateCompatibleDC(window);
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = section != nullptr ? SelectObject(memory, section) : nullptr;
    const bool copied = section != nullptr &&
                        BitBlt(memory, 0, 0, m_Width, m_Height, window, 0, 0, SRCCOPY) &&
                        GdiFlush();
    png::Picture picture{m_Width, m_Height, {}};
    if (copied) {
      const auto* pixels = static_cast<const uint32_t*>(bits);
      picture.pixels.assign(pixels,
                            pixels + static_cast<size_t>(m_Width) * static_cast<size_t>(m_Height));
      for (uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
    }
    if (section != nullptr) {
      SelectObject(memory, previous);
      DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(m_Window, window);
    if (!copied) throw std::runtime_error("cannot read the window's pixels back (BitBlt failed)");
    return picture;
  }

 private:
  static const wchar_t* RegisteredClass() {
    static const bool registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof windowClass;
      windowClass.lpfnWndProc = Procedure;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      windowClass.lpszClassName = kClassName;
      return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) {
      throw std::runtime_error("cannot register the editor's window class (error " +
                               std::to_string(GetLastError()) + ")");
    }
    return kClassName;
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32EditorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_CLOSE) {
      self->m_CloseAsked = true;
      return 0;
    }
    if (self != nullptr && message == WM_NCDESTROY) self->m_Window = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND m_Window = nullptr;
  int32_t m_Width;
  int32_t m_Height;
  bool m_CloseAsked = false;
};

}  // namespace

// There is one kind of window here: the alpha visual is not asked for.
std::unique_ptr<EditorWindow> OpenEditorWindow(const std::string& title, int32_t width,
                                               int32_t height, const EditorWindowOptions& options) {
  return std::make_unique<Win32EditorWindow>(title, width, height, options.position);
}

}  // namespace fluxhost

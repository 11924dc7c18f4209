#include "platform/win32/Win32Window.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

#include "common/Assert.h"
#include "platform/win32/Cursor.h"

namespace platform::win32 {
namespace {

// A signed point as mouse messages pack it.
Point PointOf(LPARAM lParam) {
  return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

// The button messages come three to a button (down, up, double click): left, right, middle.
std::optional<MouseEvent> MouseEventOf(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < WM_MOUSEMOVE || message > WM_MBUTTONDBLCLK) return std::nullopt;
  MouseEvent event{MouseAction::Move, MouseButton::Left, PointOf(lParam), LOWORD(wParam)};
  if (message == WM_MOUSEMOVE) return event;
  constexpr MouseButton kButtons[] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle};
  constexpr MouseAction kActions[] = {MouseAction::Press, MouseAction::Release,
                                      MouseAction::DoubleClick};
  const UINT at = message - WM_LBUTTONDOWN;
  event.button = kButtons[at / 3];
  event.action = kActions[at % 3];
  return event;
}

// Alt keys: the framework sees them first, then the system (the host's menu, Alt+F4).
bool IsSystemKey(UINT message) {
  return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

std::optional<KeyEvent> KeyEventOf(UINT message, WPARAM wParam, LPARAM lParam) {
  KeyAction action = KeyAction::Down;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      action = KeyAction::Up;
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      action = KeyAction::Char;
      break;
    default:
      return std::nullopt;
  }
  const WORD flags = HIWORD(lParam);
  return KeyEvent{action, static_cast<uint16_t>(wParam), (flags & KF_ALTDOWN) != 0,
                  action != KeyAction::Up && (flags & KF_REPEAT) != 0, IsSystemKey(message)};
}

// Validates what is invalid at once: the area the window system lost. An internal paint has
// nothing invalid; the window system sends it once.
Rect ValidateLost(HWND window) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return {};
  PAINTSTRUCT paint{};
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  return {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom};
}

// The windows of this thread whose paint waits for our outermost entry to return, linked
// through m_NextDue. Plain data, as thread-local state here must be.
thread_local Win32Window* t_FirstDue = nullptr;

// A paint loop that never settles goes back to the window system after this many.
constexpr int kMaxPaintsOnReturn = 16;

}  // namespace

std::unique_ptr<Win32Window> Win32Window::Create(PeerClient& client, HWND parent) {
  std::unique_ptr<Win32Window> peer(new Win32Window(client));
  const wchar_t* className = WindowClass::Acquire(&Win32Window::Procedure);
  if (!className) return nullptr;
  peer->m_HoldsClass = true;
  const DWORD style = parent == HWND_MESSAGE ? 0 : WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  // WM_NCCREATE fills in m_Window: the window procedure knows the peer from its first message.
  CreateWindowExW(0, className, L"", style, 0, 0, 0, 0, parent, nullptr, WindowClass::Module(),
                  peer.get());
  if (!peer->m_Window) return nullptr;  // the destructor gives the class back
  return peer;
}

Win32Window::~Win32Window() {
  EndLife();
  LeaveDue();
  if (m_Window) {
    m_Destroying = true;
    DestroyWindow(m_Window);  // WM_NCDESTROY detaches
  }
  FLUX_ASSERT(!m_Window);
  if (m_Palette) DeleteObject(m_Palette);
  if (m_HoldsClass) WindowClass::Release();
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* peer =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    peer->m_Window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
  }
  auto* peer = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!peer) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return peer->Handle(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind into the window system, and through it into the host.
    return 0;
  }
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = m_Window;
  if (message == WM_NCDESTROY) {
    Detach();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (m_Destroying) return DefWindowProcW(window, message, wParam, lParam);
  // Each native message becomes one call of the client, which may destroy us.
  if (const std::optional<MouseEvent> mouse = MouseEventOf(message, wParam, lParam)) {
    if (message == WM_MOUSEMOVE && !m_TrackingLeave) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
      m_TrackingLeave = TrackMouseEvent(&track) != 0;
    }
    HandleMouse(*mouse);
    return 0;
  }
  if (const std::optional<KeyEvent> key = KeyEventOf(message, wParam, lParam)) {
    HandleKey(*key);
    return IsSystemKey(message) ? DefWindowProcW(window, message, wParam, lParam) : 0;
  }
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every pixel is presented from the surface: erasing would only flicker
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) {
        ::SetCursor(static_cast<HCURSOR>(CursorHandle(m_Cursor)));
        return TRUE;
      }
      break;
    case WM_MOUSELEAVE:
      m_TrackingLeave = false;
      HandleMouseLeave();
      return 0;
    case WM_MOUSEWHEEL:
      HandleWheel({PointOf(lParam), static_cast<int16_t>(HIWORD(wParam)), LOWORD(wParam)});
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      HandleFocus(message == WM_SETFOCUS);
      return 0;
    case WM_CAPTURECHANGED:
      HandleCaptureLost();
      return 0;
    case WM_TIMER:
      HandleTimer(wParam);
      return 0;
    case WM_GETDLGCODE:
      return HandleDialogCode(static_cast<uint16_t>(wParam));
    case WM_QUERYNEWPALETTE:
      return HandleQueryNewPalette();
    case WM_PALETTECHANGED:
      HandlePaletteChanged(reinterpret_cast<HWND>(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Window::Detach() {
  LeaveDue();
  SetWindowLongPtrW(m_Window, GWLP_USERDATA, 0);
  m_Window = nullptr;
  // Destroyed by someone else: its parent went first.
  if (!m_Destroying) HandleDestroyed();
}

// Our own requests come as an internal paint with nothing invalid; what the window system lost
// comes as the update region. Either way the paint validates first: presents use a DC of their
// own, since what changed may lie outside the update region, to which a paint DC clips.
void Win32Window::Paint() {
  HandlePaint(ValidateLost(m_Window));
}

void Win32Window::SetBounds(const Rect& boundsInParent) {
  if (!m_Window) return;
  SetWindowPos(m_Window, nullptr, boundsInParent.Left, boundsInParent.Top,
               std::max(boundsInParent.Width(), 0), std::max(boundsInParent.Height(), 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetVisible(bool visible) {
  if (m_Window) ShowWindow(m_Window, visible ? SW_SHOWNA : SW_HIDE);
}

// Asked from inside our code, the paint comes as our outermost entry returns, without a round
// trip through the window system; a paint that changes no pixel then costs no call of it at
// all. Asked from outside, an internal paint: nothing is invalidated, and the window system
// sends one WM_PAINT.
void Win32Window::RequestPaint() {
  if (!m_Window || m_Due) return;
  if (!flux::EntryScope::RunOnReturn(&Win32Window::PaintDue)) {
    RedrawWindow(m_Window, nullptr, nullptr, RDW_INTERNALPAINT);
    return;
  }
  m_Due = true;
  m_NextDue = t_FirstDue;
  t_FirstDue = this;
}

// A paint may destroy any window, its own included: each window leaves the list before its
// paint, and a destroyed one leaves it in its destructor.
void Win32Window::PaintDue() noexcept {
  for (int painted = 0; Win32Window* window = t_FirstDue; ++painted) {
    window->LeaveDue();  // a window on the list has its native window: Detach takes it off
    if (painted >= kMaxPaintsOnReturn) {
      RedrawWindow(window->m_Window, nullptr, nullptr, RDW_INTERNALPAINT);
    } else {
      window->HandlePaint({});
    }
  }
}

void Win32Window::LeaveDue() noexcept {
  if (!m_Due) return;
  Win32Window** link = &t_FirstDue;
  while (*link != this) link = &(*link)->m_NextDue;
  *link = m_NextDue;
  m_NextDue = nullptr;
  m_Due = false;
}

void Win32Window::Present(const flux::PixelView& pixels, const Rect& area) {
  if (!m_Window || !pixels.bits) return;
  const Rect part = area.Intersect({0, 0, pixels.width, pixels.height});
  if (part.IsEmpty()) return;
  const HDC dc = GetDC(m_Window);
  if (!dc) return;
  Draw(dc, pixels, part);
  ReleaseDC(m_Window, dc);
}

// The surface is a bottom-up DIB: a positive height says so, and its source rows count from
// the bottom.
void Win32Window::Draw(HDC dc, const flux::PixelView& pixels, const Rect& area) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HPALETTE previous = nullptr;
  if (m_Palette) {
    previous = SelectPalette(dc, m_Palette, TRUE);
    ::RealizePalette(dc);
  }
  SetDIBitsToDevice(dc, area.Left, area.Top, static_cast<DWORD>(area.Width()),
                    static_cast<DWORD>(area.Height()), area.Left, pixels.height - area.Bottom, 0,
                    static_cast<UINT>(pixels.height), pixels.bits, &info, DIB_RGB_COLORS);
  if (previous) SelectPalette(dc, previous, TRUE);
}

void Win32Window::SetCapture(bool capture) {
  if (!m_Window) return;
  if (capture) {
    if (GetCapture() != m_Window) ::SetCapture(m_Window);
  } else if (GetCapture() == m_Window) {
    ReleaseCapture();
  }
}

void Win32Window::SetCursor(int16_t cursor) {
  m_Cursor = cursor;
  if (!m_Window) return;
  POINT at{};
  const bool over = GetCursorPos(&at) && WindowFromPoint(at) == m_Window;
  if (over || GetCapture() == m_Window) ::SetCursor(static_cast<HCURSOR>(CursorHandle(cursor)));
}

void Win32Window::TakeFocus() {
  if (m_Window) SetFocus(m_Window);
}

bool Win32Window::StartTimer(uintptr_t id, uint32_t milliseconds) {
  return m_Window && SetTimer(m_Window, id, milliseconds, nullptr) != 0;
}

void Win32Window::StopTimer(uintptr_t id) {
  if (m_Window) KillTimer(m_Window, id);
}

Point Win32Window::ClientOrigin() const {
  POINT origin{0, 0};
  if (m_Window) ClientToScreen(m_Window, &origin);
  return {origin.x, origin.y};
}

uint32_t Win32Window::RealizePalette(std::span<const PaletteEntry> entries, bool background) {
  if (!m_Window || entries.empty()) return 0;
  const HDC dc = GetDC(m_Window);
  if (!dc) return 0;
  uint32_t changed = 0;
  if (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) {
    const std::size_t count = std::min<std::size_t>(entries.size(), 256);
    // LOGPALETTE ends in a one-entry array: room for the rest after it.
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (std::size_t i = 0; i < count; ++i) {
      const PALETTEENTRY entry{entries[i].red, entries[i].green, entries[i].blue, entries[i].flags};
      std::memcpy(block.data() + offsetof(LOGPALETTE, palPalEntry) + i * sizeof entry, &entry,
                  sizeof entry);
    }
    if (const HPALETTE palette = CreatePalette(logical)) {
      if (m_Palette) DeleteObject(m_Palette);
      m_Palette = palette;
      const HPALETTE previous = SelectPalette(dc, m_Palette, background ? TRUE : FALSE);
      const UINT mapped = ::RealizePalette(dc);
      changed = mapped == GDI_ERROR ? 0 : mapped;
      SelectPalette(dc, previous, TRUE);
    }
  }
  ReleaseDC(m_Window, dc);
  return changed;
}

}  // namespace platform::win32

#pragma once
// A native window of the Windows window system behind a framework peer: a child of a host's
// window, or a message-only window for timers. Its window procedure turns native messages into
// the client's calls and never lets an exception out.

#include <cstdint>
#include <memory>

#include "platform/Backend.h"
#include "platform/win32/WindowClass.h"

namespace platform::win32 {

class Win32Window final : public WindowPeer {
 public:
  // A hidden child of `parent` (a window handle), or a message-only window when `parent` is
  // HWND_MESSAGE; none when the window system refuses.
  static std::unique_ptr<Win32Window> Create(PeerClient& client, HWND parent);
  ~Win32Window() override;

  void* NativeHandle() const override { return m_Window; }
  void SetBounds(const Rect& boundsInParent) override;
  void SetVisible(bool visible) override;
  void RequestPaint() override;
  void Present(const flux::PixelView& pixels, const Rect& area) override;
  void SetCapture(bool capture) override;
  void SetCursor(int16_t cursor) override;
  void TakeFocus() override;
  bool StartTimer(uintptr_t id, uint32_t milliseconds) override;
  void StopTimer(uintptr_t id) override;
  Point ClientOrigin() const override;
  uint32_t RealizePalette(std::span<const PaletteEntry> entries, bool background) override;

 private:
  explicit Win32Window(PeerClient& client) : WindowPeer(client) {}

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  static void PaintDue() noexcept;
  void LeaveDue() noexcept;
  void Draw(HDC dc, const flux::PixelView& pixels, const Rect& area);
  void Detach();

  HWND m_Window = nullptr;  // none once the native window is gone
  bool m_HoldsClass = false;
  bool m_Destroying = false;         // our own DestroyWindow: the client hears nothing more
  bool m_TrackingLeave = false;      // TrackMouseEvent asked for the next WM_MOUSELEAVE
  int16_t m_Cursor = 0;              // the framework's cursor number for the client area
  HPALETTE m_Palette = nullptr;      // owned; the last palette realised, selected for presents
  bool m_Due = false;                // a paint waits for our outermost entry to return
  Win32Window* m_NextDue = nullptr;  // the next window whose paint waits
};

}  // namespace platform::win32

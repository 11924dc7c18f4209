#pragma once
// A child window of the host's window, on the connection of the thread that made it. Paint
// requests collect here until the pump serves them. Once someone else destroyed the X window
// (the host destroyed its parent), every operation does nothing.

#include <xcb/xcb.h>

#include "platform/Backend.h"

namespace platform::x11 {

class X11Backend;
struct X11Thread;

class X11Window final : public WindowPeer {
 public:
  X11Window(X11Backend& backend, X11Thread& thread, PeerClient& client, xcb_window_t id);
  ~X11Window() override;

  xcb_window_t Id() const { return m_Id; }
  bool Gone() const { return m_Gone; }
  // The X window went without us, and its timers with it: the client hears so once.
  void Lost();
  // Whether a paint is due (asked for, or something lost), and what was lost since the last
  // call; both forgotten. Nothing is due while hidden.
  bool TakePendingPaint(Rect& lost);
  // The server no longer shows `area`, or a present of it did not get there.
  void AddLost(const Rect& area);
  // Focus as the window system last told it; false when unchanged.
  bool SetFocused(bool focused);

  void* NativeHandle() const override;
  void SetBounds(const Rect& boundsInParent) override;
  void SetVisible(bool visible) override;
  void RequestPaint() override { m_PaintRequested = Usable(); }
  void Present(const flux::PixelView& pixels, const Rect& area) override;
  // The server's implicit grab holds the pointer while a button is down; nothing to ask for.
  void SetCapture(bool) override {}
  void SetCursor(int16_t cursor) override;
  void TakeFocus() override;
  bool StartTimer(uintptr_t id, uint32_t milliseconds) override;
  void StopTimer(uintptr_t id) override;
  Point ClientOrigin() const override;
  bool ConfirmExists() override;  // a round trip

 private:
  bool Usable() const;

  X11Backend& m_Backend;
  X11Thread& m_Thread;
  const xcb_window_t m_Id;
  xcb_gcontext_t m_Gc = 0;
  Rect m_Client{0, 0, 1, 1};  // the client area, at 0,0
  Rect m_Lost;
  bool m_PaintRequested = false;
  bool m_Visible = false;
  bool m_Gone = false;
  bool m_Focused = false;
  int16_t m_Cursor = 0;
};

}  // namespace platform::x11

#pragma once
// A borderless form: the one control with a native window, made inside a host's window. It
// owns the surface that every control inside it paints into, routes the native input to its
// controls (mouse to the control under it or holding the capture, with CM_MOUSEENTER and
// CM_MOUSELEAVE as the control under the mouse changes; keys reflected to the focused control
// first), keeps the focus among them, and presents only what was painted.

#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/Backend.h"
#include "ui/controls/WindowedControl.h"
#include "ui/graphics/ShownPixels.h"
#include "ui/graphics/Surface.h"

namespace ui {

class Form : public WindowedControl, private platform::PeerClient {
 public:
  // The window is made hidden inside `parentWindow`, a host window handle, with the installed
  // backend. Raises Exception when there is no backend or the window system refuses.
  Form(Component* owner, void* parentWindow);
  ~Form() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }
  Form* AsForm() override { return this; }
  const Form* AsForm() const override { return this; }

  void* Handle() const { return m_Peer ? m_Peer->NativeHandle() : nullptr; }
  // False once the native window is gone (someone else destroyed it, the host destroying its
  // own window first, or ReleaseWindow): the form shows nothing any more and is only waiting
  // to be destroyed.
  bool HasWindow() const { return m_HasWindow; }
  // HasWindow, asking the window system rather than waiting for its notice.
  bool ConfirmWindow();
  // Destroys the native window now and leaves the form without one, for a form that cannot be
  // destroyed yet because its handlers may be on the stack.
  void ReleaseWindow();
  // Whether the caller runs on the thread that made the window, the only one that may use it.
  bool OnWindowThread() const { return std::this_thread::get_id() == m_WindowThread; }
  Point WindowOrigin() const;  // the client's top-left corner on the screen

  bool KeyPreview() const { return m_KeyPreview; }
  void SetKeyPreview(bool preview) { m_KeyPreview = preview; }
  // The control that has, or gets, the keyboard when the window has it; none: the form.
  WindowedControl* ActiveControl() const { return m_ActiveControl.Get(); }
  void SetActiveControl(WindowedControl* control);
  // The control that has the keyboard now; none while the window does not have it.
  WindowedControl* FocusedControl() const { return m_FocusedControl.Get(); }
  bool HasWindowFocus() const { return m_WindowFocus; }
  // Moves the keyboard to `control` (none: the form), taking the window focus if needed.
  void FocusControl(WindowedControl* control);

  // Whether OnShortCut took the key.
  bool IsShortCut(Message& keyMessage);
  TShortCutEvent OnShortCut;
  // With KeyPreview, the form's own key handling (OnKeyDown, OnKeyUp, OnKeyPress) sees a key
  // message of one of its controls first; true when it took the key (made it 0).
  bool PreviewKey(Message& keyMessage);

  // Hover. The control under p (client coordinates): the innermost windowed control there,
  // or its topmost non-windowed child at p, disabled ones included.
  Control* ControlUnder(Point p);
  // Brings the hover up to date for the mouse at p (client coordinates; `inside` false when
  // the mouse left the window): when the control under it changed, the one that had the hover
  // gets CM_MOUSELEAVE and the new one CM_MOUSEENTER, so that each comes exactly once.
  void TrackMouse(Point p, bool inside);

  // A device context for the whole client on the form's surface, with the screen's bits per
  // pixel, that realises palettes through the form's window.
  DeviceContext GetDC();

  // Paints every invalid area now and presents what was painted.
  void PaintInvalid();
  const Surface& Pixels() const { return m_Surface; }

 protected:
  void Dispatch(Message& message) override;
  void BoundsChanged() override;
  void VisibleChanged() override;

 private:
  friend class Control;
  friend class WindowedControl;

  void HandleMouse(const platform::MouseEvent& event) override;
  void HandleWheel(const platform::WheelEvent& event) override;
  void HandleMouseLeave() override;
  void HandleKey(const platform::KeyEvent& event) override;
  void HandleFocus(bool gained) override;
  void HandleCaptureLost() override;
  void HandlePaint(const platform::Rect& area) override;
  void HandleDestroyed() override;
  intptr_t HandleDialogCode(uint16_t virtualKey) override;
  intptr_t HandleQueryNewPalette() override;
  void HandlePaletteChanged(void* changer) override;

  // A mouse message at p (client coordinates) to the control holding the capture, or else to
  // the enabled windowed control under p, packing p in that control's coordinates, or the
  // wheel's `screen` position as it is.
  void RouteMouse(uint32_t msg, uintptr_t wParam, Point p, std::optional<Point> screen);
  // A key message to the focused control (none: the form), reflected to it first as CN_*.
  void RouteKey(uint32_t msg, uintptr_t key, intptr_t keyData);
  WindowedControl* WindowedAt(Point p);
  void ApplyFocus(WindowedControl* target);
  void MoveFocus(WindowedControl* target);
  void EnterAndExit(WindowedControl* target);

  void RequestPaint();
  // A control painted `area` (form coordinates); presenting skips what it left as shown.
  void AddPainted(const Region& area);
  // The screen no longer shows `area`: the next present includes it whatever is painted.
  void AddLost(const Rect& area);
  void PresentPainted();
  void SetNativeCapture(bool capture);
  void SetNativeCursor(TCursor cursor);
  // `control` is hidden, disabled, moved away or destroyed: it loses capture, hover and focus
  // (with their messages when `notify`).
  void ForgetControl(Control& control, bool notify);

  std::unique_ptr<platform::WindowPeer> m_Peer;  // none once released
  const std::thread::id m_WindowThread = std::this_thread::get_id();
  Surface m_Surface;
  Region m_Painted;  // painted, not yet presented
  Region m_Lost;     // to be presented as it is
  ShownPixels m_Shown;
  std::vector<WeakRef<WindowedControl>> m_DirtyControls;  // storage for PaintInvalid's list
  bool m_Painting = false;
  bool m_HasWindow = true;
  bool m_KeyPreview = false;
  bool m_WindowFocus = false;
  bool m_Focusing = false;
  bool m_FocusPending = false;
  WeakRef<WindowedControl> m_PendingFocus;
  WeakRef<WindowedControl> m_ActiveControl;
  WeakRef<WindowedControl> m_FocusedControl;
  WeakRef<WindowedControl> m_EnteredControl;
  WeakRef<Control> m_MouseControl;
};

}  // namespace ui

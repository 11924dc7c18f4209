#pragma once
// The base of every control: placement in a parent, visibility, enabled state, alignment,
// auto-size within constraints, styles and states, and a window procedure. Messages go
// through Perform to WndProc (which a class overrides to see every message first), then to
// Dispatch (the class's message handlers, each calling the base for what it leaves) and end
// in DefaultHandler.
//
// A control may be destroyed by a handler it calls (a click handler that deletes its own
// label): the framework holds controls through WeakRef across such calls and touches nothing
// of a control that is gone.

#include <cstdint>
#include <memory>
#include <string>

#include "ui/controls/ControlFont.h"
#include "ui/controls/Messages.h"
#include "ui/controls/SizeConstraints.h"
#include "ui/graphics/Color.h"
#include "ui/graphics/Geometry.h"
#include "ui/model/Component.h"
#include "ui/model/Events.h"

namespace ui {

class Form;
class PopupMenu;
class WindowedControl;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
using TCursor = int16_t;  // crDefault, crArrow, crIBeam, ... (platform/WindowMessages.h)

// Control style.
inline constexpr uint32_t csAcceptsControls = 1;  // may be a parent at design time
inline constexpr uint32_t csCaptureMouse = 2;     // holds the mouse while the left button is
inline constexpr uint32_t csClickEvents = 4;      // a left press and release inside clicks
inline constexpr uint32_t csOpaque = 8;           // paints every pixel of its bounds
inline constexpr uint32_t csNoStdEvents = 16;     // no mouse and key events are fired

// Control state.
inline constexpr uint32_t csLButtonDown = 1;
inline constexpr uint32_t csClicked = 2;

class Control : public Component {
 public:
  explicit Control(Component* owner);
  ~Control() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  // Placement in the parent's client coordinates. Sizes below 0 count as 0.
  int32_t Left() const { return m_Left; }
  int32_t Top() const { return m_Top; }
  int32_t Width() const { return m_Width; }
  int32_t Height() const { return m_Height; }
  void SetLeft(int32_t left) { SetBounds(left, m_Top, m_Width, m_Height); }
  void SetTop(int32_t top) { SetBounds(m_Left, top, m_Width, m_Height); }
  void SetWidth(int32_t width) { SetBounds(m_Left, m_Top, width, m_Height); }
  void SetHeight(int32_t height) { SetBounds(m_Left, m_Top, m_Width, height); }
  // Auto-size and constraints apply first; an aligned control's parent realigns after.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  Rect BoundsRect() const { return Bounds(m_Left, m_Top, m_Width, m_Height); }
  void SetBoundsRect(const Rect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  Rect ClientRect() const { return {0, 0, m_Width, m_Height}; }
  int32_t ClientWidth() const { return m_Width; }
  int32_t ClientHeight() const { return m_Height; }
  void SetClientWidth(int32_t width) { SetWidth(width); }
  void SetClientHeight(int32_t height) { SetHeight(height); }

  // Coordinates: the client's top-left corner in the form's client, and on the screen.
  Point FormOffset() const;
  Point ClientOrigin() const;
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;

  WindowedControl* Parent() const { return m_Parent; }
  // Raises Exception for a parent that is the control itself or lies inside it. A class may
  // choose another parent or act on the change; it calls the base to move the control.
  virtual void SetParent(WindowedControl* parent);
  Form* ParentForm() const;  // the form at the top of the parents (itself for a form)
  virtual WindowedControl* AsWindowed() { return nullptr; }
  virtual const WindowedControl* AsWindowed() const { return nullptr; }
  virtual Form* AsForm() { return nullptr; }
  virtual const Form* AsForm() const { return nullptr; }

  bool Visible() const { return m_Visible; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Showing() const;  // visible, and every parent up to a form too
  bool Enabled() const { return m_Enabled; }
  void SetEnabled(bool enabled);
  TAlign Align() const { return m_Align; }
  void SetAlign(TAlign align);
  bool AutoSize() const { return m_AutoSize; }
  void SetAutoSize(bool autoSize);
  SizeConstraints& Constraints() { return m_Constraints; }
  uint32_t ControlStyle() const { return m_ControlStyle; }
  void SetControlStyle(uint32_t style);
  uint32_t ControlState() const { return m_ControlState; }

  ui::Color Color() const { return m_Color; }
  void SetColor(ui::Color color);
  ControlFont& Font() { return m_Font; }
  const ControlFont& Font() const { return m_Font; }
  const std::string& Caption() const { return m_Caption; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return m_Hint; }
  void SetHint(const std::string& hint) { m_Hint = hint; }
  TCursor Cursor() const { return m_Cursor; }
  void SetCursor(TCursor cursor) { m_Cursor = cursor; }
  ui::PopupMenu* PopupMenu() const { return m_PopupMenu; }
  void SetPopupMenu(ui::PopupMenu* menu);
  // The menu a right-button release pops up: the base gives PopupMenu.
  virtual ui::PopupMenu* GetPopupMenu() { return m_PopupMenu; }
  // Whether a key-down message is a shortcut that was taken (and run) by a popup menu of this
  // control or of a parent, by the form or by the application.
  bool IsMenuKey(Message& keyMessage);

  // Sends a message through the window procedure; 0 for a control being destroyed.
  intptr_t Perform(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  virtual void WndProc(Message& message);
  // The window procedure that Perform calls: WndProc, unless another object took it over; that
  // one keeps the procedure it replaced, passes on what it leaves and puts it back (none: WndProc).
  using TWndMethod = Delegate<Message&>;
  const TWndMethod& WindowProc() const { return m_WindowProc; }
  void SetWindowProc(const TWndMethod& proc);
  virtual void Dispatch(Message& message);
  virtual void DefaultHandler(Message& message);

  bool MouseCapture() const;
  // Taking the mouse, or letting it go without a WM_CAPTURECHANGED to itself.
  void SetMouseCapture(bool capture);
  virtual void Click();

  // Asks for a repaint of the control's area (non-windowed: through its parent).
  virtual void Invalidate();
  void Update();  // paints what is invalid in the form now
  void Repaint() {
    Invalidate();
    Update();
  }
  void BringToFront();
  void SendToBack();

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  void Loaded() override;
  void Notification(Component& component, Operation operation) override;
  bool HasParent() const override { return m_Parent != nullptr; }
  void SetParentComponent(Component* parent) override;

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // May change the size that SetBounds applies while AutoSize is on; true to use it.
  virtual bool CanAutoSize(int32_t& newWidth, int32_t& newHeight);
  void AdjustSize();  // applies AutoSize again
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  bool IsLoading() const { return HasState(ComponentState::Loading); }
  void SetControlState(uint32_t state, bool on);
  // First thing in the destructor of a class that handles messages with its own members:
  // from here on the control takes no messages and holds no capture, hover or focus.
  void BeginDestruction();

 private:
  friend class WindowedControl;
  friend void SetCaptureControl(Control* control);
  // Moves the capture without telling anyone; the native window follows.
  static void MoveCapture(Control* control);
  void ButtonDown(Message& message, TMouseButton button);
  void ButtonUp(Message& message, TMouseButton button);
  void AreaChanged(const Rect& oldBounds);

  TWndMethod m_WindowProc = Bind<&Control::WndProc>(this);
  WindowedControl* m_Parent = nullptr;
  int32_t m_Left = 0;
  int32_t m_Top = 0;
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  bool m_Visible = true;
  bool m_Enabled = true;
  bool m_AutoSize = false;
  TAlign m_Align = alNone;
  uint32_t m_ControlStyle = csCaptureMouse | csClickEvents;
  uint32_t m_ControlState = 0;
  ui::Color m_Color = clBtnFace;
  std::string m_Caption;
  std::string m_Hint;
  TCursor m_Cursor = crDefault;
  ui::PopupMenu* m_PopupMenu = nullptr;
  ControlFont m_Font;
  SizeConstraints m_Constraints;
};

// The control holding the mouse, if any (one for the whole program, as the window system
// keeps it). Setting none releases it. A holder that loses the mouse to another control (or to
// none) other than by releasing it itself gets WM_CAPTURECHANGED, lParam the new holder.
Control* GetCaptureControl();
void SetCaptureControl(Control* control);

}  // namespace ui

#include "ui/controls/Control.h"

#include "ui/controls/Application.h"
#include "ui/controls/Form.h"
#include "ui/controls/PopupMenu.h"
#include "ui/controls/WindowedControl.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

WeakRef<Control> g_Capture;

}  // namespace

Control* GetCaptureControl() {
  return g_Capture.Get();
}

void Control::MoveCapture(Control* control) {
  Control* old = g_Capture.Get();
  Form* oldForm = old ? old->ParentForm() : nullptr;
  Form* newForm = control ? control->ParentForm() : nullptr;
  g_Capture = control;
  if (oldForm && oldForm != newForm) oldForm->SetNativeCapture(false);
  if (newForm) newForm->SetNativeCapture(true);
}

void SetCaptureControl(Control* control) {
  Control* old = g_Capture.Get();
  if (old == control) return;
  Control::MoveCapture(control);
  // A control dragging something must hear that the drag is over.
  if (old) old->Perform(WM_CAPTURECHANGED, 0, PointerToLParam(control));
}

Control::Control(Component* owner)
    : Component(owner),
      m_Font([this] { Perform(CM_FONTCHANGED); }),
      m_Constraints([this] { SetBounds(m_Left, m_Top, m_Width, m_Height); }) {}

Control::~Control() {
  BeginDestruction();
  DestroyComponents();
  if (m_PopupMenu) m_PopupMenu->RemoveFreeNotification(*this);
  SetParent(nullptr);
}

void Control::BeginDestruction() {
  if (Life().Ended()) return;
  if (Form* form = ParentForm()) form->ForgetControl(*this, false);
  EndLife();
  Destroying();
}

const TypeInfo& Control::StaticType() {
  using T = Control;
  static const TypeInfo type =
      TypeBuilder<T>("Control", Component::StaticType())
          .Integer("Left", &T::Left, &T::SetLeft)
          .Integer("Top", &T::Top, &T::SetTop)
          .Integer("Width", &T::Width, &T::SetWidth)
          .Integer("Height", &T::Height, &T::SetHeight)
          .Enumeration("Align", &T::Align, &T::SetAlign,
                       {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})
          .Default(alNone)
          .Object("Constraints", [](T& c) -> SizeConstraints& { return c.Constraints(); })
          .Integer("Cursor", &T::Cursor, &T::SetCursor)
          .Default(crDefault)
          .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
          .Default(true)
          .String("Hint", &T::Hint, &T::SetHint)
          .Default("")
          .Reference("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
          .Boolean("Visible", &T::Visible, &T::SetVisible)
          .Default(true)
          .Event("OnClick")
          .Event("OnMouseDown")
          .Event("OnMouseMove")
          .Event("OnMouseUp")
          .Build();
  return type;
}

void Control::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (m_AutoSize && !IsLoading()) {
    int32_t w = width, h = height;
    if (CanAutoSize(w, h)) width = w, height = h;
  }
  m_Constraints.Apply(width, height);
  if (left == m_Left && top == m_Top && width == m_Width && height == m_Height) return;
  const Rect old = BoundsRect();
  WindowedControl::LayoutChanged();
  m_Left = left;
  m_Top = top;
  m_Width = width;
  m_Height = height;
  if (m_Visible) AreaChanged(old);
  BoundsChanged();
  if (m_Parent && m_Align != alNone) m_Parent->Realign();
}

void Control::AreaChanged(const Rect& oldBounds) {
  // What lay under the old area shows again: the parent and any windowed sibling beneath.
  if (m_Parent) m_Parent->InvalidateRect(oldBounds, true, AsWindowed() != nullptr);
  Invalidate();
}

bool Control::CanAutoSize(int32_t&, int32_t&) {
  return false;
}

void Control::AdjustSize() {
  if (m_AutoSize && !IsLoading()) SetBounds(m_Left, m_Top, m_Width, m_Height);
}

void Control::SetAutoSize(bool autoSize) {
  if (m_AutoSize == autoSize) return;
  m_AutoSize = autoSize;
  AdjustSize();
}

Point Control::FormOffset() const {
  if (!m_Parent) return {};
  const Point parent = m_Parent->FormOffset();
  return {parent.X + m_Left, parent.Y + m_Top};
}

Point Control::ClientOrigin() const {
  const Form* form = ParentForm();
  if (!form) return FormOffset();
  const Point screen = form->WindowOrigin();
  const Point offset = FormOffset();
  return {screen.X + offset.X, screen.Y + offset.Y};
}

Point Control::ClientToScreen(Point p) const {
  const Point origin = ClientOrigin();
  return {p.X + origin.X, p.Y + origin.Y};
}

Point Control::ScreenToClient(Point p) const {
  const Point origin = ClientOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

Form* Control::ParentForm() const {
  const Control* top = this;
  while (top->m_Parent) top = top->m_Parent;
  return const_cast<Control*>(top)->AsForm();
}

void Control::SetParent(WindowedControl* parent) {
  if (parent == m_Parent) return;
  if (parent && (parent == this || (AsWindowed() && AsWindowed()->ContainsControl(parent)))) {
    throw Exception("A control cannot have itself or a control inside it as its parent");
  }
  if (m_Parent) {
    if (Form* form = ParentForm(); form && !Life().Ended()) form->ForgetControl(*this, true);
    WindowedControl* old = m_Parent;
    if (m_Visible && !old->HasState(ComponentState::Destroying)) {
      old->InvalidateRect(BoundsRect(), true, AsWindowed() != nullptr);
    }
    old->RemoveControl(*this);
    m_Parent = nullptr;
    if (m_Align != alNone && !old->HasState(ComponentState::Destroying)) old->Realign();
  }
  if (!parent) return;
  m_Parent = parent;
  parent->InsertControl(*this);
  if (m_Visible) Invalidate();
  if (m_Align != alNone) parent->Realign();
}

void Control::SetParentComponent(Component* parent) {
  auto* windowed = dynamic_cast<WindowedControl*>(parent);
  if (parent && !windowed) {
    throw Exception(parent->ClassName() + " cannot hold " + ClassName());
  }
  SetParent(windowed);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->m_Parent) {
    if (!c->m_Visible) return false;
    if (!c->m_Parent) return c->AsForm() != nullptr;
  }
  return false;
}

void Control::SetVisible(bool visible) {
  if (m_Visible == visible) return;
  WeakRef<Control> self(this);
  if (!visible) {
    if (Form* form = ParentForm()) form->ForgetControl(*this, true);
    if (!self) return;
  }
  m_Visible = visible;
  WindowedControl::LayoutChanged();
  if (m_Parent) {
    if (visible) {
      Invalidate();
    } else {
      m_Parent->InvalidateRect(BoundsRect(), true, AsWindowed() != nullptr);
    }
    if (m_Align != alNone) m_Parent->Realign();
  }
  VisibleChanged();
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

void Control::SetEnabled(bool enabled) {
  if (m_Enabled == enabled) return;
  WeakRef<Control> self(this);
  if (!enabled) {
    if (Form* form = ParentForm()) form->ForgetControl(*this, true);
    if (!self) return;
  }
  m_Enabled = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void Control::SetControlStyle(uint32_t style) {
  m_ControlStyle = style;
  WindowedControl::LayoutChanged();  // whether it is opaque is part of its parent's layout
}

void Control::SetAlign(TAlign align) {
  if (m_Align == align) return;
  m_Align = align;
  if (m_Parent) m_Parent->Realign();
}

void Control::SetColor(ui::Color color) {
  if (m_Color == color) return;
  m_Color = color;
  Perform(CM_COLORCHANGED);
}

void Control::SetCaption(const std::string& caption) {
  if (m_Caption == caption) return;
  m_Caption = caption;
  Perform(CM_TEXTCHANGED);
}

void Control::SetPopupMenu(ui::PopupMenu* menu) {
  if (m_PopupMenu) m_PopupMenu->RemoveFreeNotification(*this);
  m_PopupMenu = menu;
  if (m_PopupMenu) m_PopupMenu->FreeNotification(*this);
}

void Control::Notification(Component& component, Operation operation) {
  Component::Notification(component, operation);
  if (operation == Operation::Remove && &component == m_PopupMenu) m_PopupMenu = nullptr;
}

void Control::SetControlState(uint32_t state, bool on) {
  m_ControlState = on ? (m_ControlState | state) : (m_ControlState & ~state);
}

intptr_t Control::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (Life().Ended()) return 0;
  Message message{msg, wParam, lParam, 0};
  m_WindowProc(message);
  return message.result;
}

void Control::SetWindowProc(const TWndMethod& proc) {
  m_WindowProc = proc ? proc : Bind<&Control::WndProc>(this);
}

void Control::WndProc(Message& message) {
  Dispatch(message);
}

void Control::Dispatch(Message& message) {
  switch (message.msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(message, mbLeft);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      ButtonDown(message, mbRight);
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      ButtonDown(message, mbMiddle);
      return;
    case WM_LBUTTONUP:
      ButtonUp(message, mbLeft);
      return;
    case WM_RBUTTONUP:
      ButtonUp(message, mbRight);
      return;
    case WM_MBUTTONUP:
      ButtonUp(message, mbMiddle);
      return;
    case WM_MOUSEMOVE:
      if (!(m_ControlStyle & csNoStdEvents)) {
        const Point p = LParamToPoint(message.lParam);
        MouseMove(KeysToShiftState(message.wParam), p.X, p.Y);
      }
      return;
    case CM_HITTEST:
      message.result = 1;
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case CM_CHILDKEY:
      if (m_Parent) message.result = m_Parent->Perform(CM_CHILDKEY, message.wParam, message.lParam);
      return;
    case WM_CAPTURECHANGED:
      // The press that took the mouse can no longer end in a click.
      SetControlState(csClicked | csLButtonDown, false);
      return;
    default:
      DefaultHandler(message);
  }
}

void Control::DefaultHandler(Message&) {}

void Control::ButtonDown(Message& message, TMouseButton button) {
  if (button == mbLeft) {
    if (m_ControlStyle & csCaptureMouse) SetMouseCapture(true);
    SetControlState(csLButtonDown, true);
    if (m_ControlStyle & csClickEvents) SetControlState(csClicked, true);
  }
  if (m_ControlStyle & csNoStdEvents) return;
  const Point p = LParamToPoint(message.lParam);
  MouseDown(button, KeysToShiftState(message.wParam), p.X, p.Y);
}

void Control::ButtonUp(Message& message, TMouseButton button) {
  WeakRef<Control> self(this);
  const Point p = LParamToPoint(message.lParam);
  if (button == mbLeft) {
    if (m_ControlStyle & csCaptureMouse) SetMouseCapture(false);
    const bool clicked = (m_ControlState & csClicked) != 0;
    SetControlState(csClicked | csLButtonDown, false);
    if (clicked && ClientRect().Contains(p.X, p.Y)) {
      Click();
      if (!self) return;
    }
  }
  if (!(m_ControlStyle & csNoStdEvents)) {
    MouseUp(button, KeysToShiftState(message.wParam), p.X, p.Y);
    if (!self) return;
  }
  if (button != mbRight) return;
  if (ui::PopupMenu* menu = GetPopupMenu()) menu->Popup(ClientToScreen(p), this);
}

void Control::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  OnMouseDown(this, button, shift, x, y);
}

void Control::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  OnMouseMove(this, shift, x, y);
}

void Control::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  OnMouseUp(this, button, shift, x, y);
}

void Control::Click() {
  OnClick(this);
}

bool Control::MouseCapture() const {
  return GetCaptureControl() == this;
}

void Control::SetMouseCapture(bool capture) {
  if (capture) {
    if (!Life().Ended() && Showing()) SetCaptureControl(this);
  } else if (MouseCapture()) {
    MoveCapture(nullptr);
  }
}

bool Control::IsMenuKey(Message& keyMessage) {
  for (Control* c = this; c; c = c->Parent()) {
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(keyMessage)) return true;
  }
  if (Form* form = ParentForm(); form && form->IsShortCut(keyMessage)) return true;
  return Application::Instance().Perform(CM_APPKEYDOWN, keyMessage.wParam, keyMessage.lParam) != 0;
}

void Control::Invalidate() {
  if (m_Parent && m_Visible) {
    m_Parent->InvalidateRect(BoundsRect(), !(m_ControlStyle & csOpaque), false);
  }
}

void Control::Update() {
  if (Form* form = ParentForm()) form->PaintInvalid();
}

void Control::BringToFront() {
  if (m_Parent) m_Parent->MoveControl(*this, true);
}

void Control::SendToBack() {
  if (m_Parent) m_Parent->MoveControl(*this, false);
}

void Control::Loaded() {
  Component::Loaded();
  AdjustSize();
  if (m_Parent && m_Align != alNone) m_Parent->Realign();
}

}  // namespace ui

#include "ui/controls/Form.h"

#include <algorithm>

#include "ui/controls/Application.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

constexpr int kMaxPaintPasses = 8;  // a control that invalidates itself while painting stops here
constexpr int kMaxFocusRounds = 8;  // focus requests made by focus handlers, one after another

}  // namespace

Form::Form(Component* owner, void* parentWindow) : WindowedControl(owner) {
  platform::Backend* backend = platform::Backend::Current();
  if (!backend) throw Exception("No window system is available");
  m_Peer = backend->CreateChildWindow(parentWindow, *this);
  if (!m_Peer) throw Exception("Cannot create a window inside the given parent window");
  SetVisible(false);
  Font().SetColor(clWindowText);
  Application::Instance().AddForm(*this);
}

Form::~Form() {
  BeginDestruction();
  DestroyComponents();
  DestroyChildren();  // while the surface and the window they use are still here
  Application::Instance().RemoveForm(*this);
  m_Peer.reset();
}

DeviceContext Form::GetDC() {
  DeviceContext dc(&m_Surface);
  dc.SetBitsPerPixel(Screen::BitsPerPixel());
  dc.SetWindow(m_Peer.get());  // none: palettes are realised nowhere
  return dc;
}

const TypeInfo& Form::StaticType() {
  using T = Form;
  static const TypeInfo type =
      TypeBuilder<T>("Form", WindowedControl::StaticType())
          .Reference("ActiveControl", &T::ActiveControl, &T::SetActiveControl)
          .String("Caption", &T::Caption, &T::SetCaption)
          .Default("")
          .Integer("Color", &T::Color, &T::SetColor)
          .Idents(ColorIdents())
          .Default(clBtnFace)
          .Object("Font", [](T& form) -> ControlFont& { return form.Font(); })
          .Boolean("KeyPreview", &T::KeyPreview, &T::SetKeyPreview)
          .Default(false)
          .Event("OnShortCut")
          .Build();
  return type;
}

Point Form::WindowOrigin() const {
  return m_Peer ? m_Peer->ClientOrigin() : Point{};
}

void Form::BoundsChanged() {
  if (m_Surface.Width() != Width() || m_Surface.Height() != Height()) {
    m_Surface.SetSize(Width(), Height());
    m_Painted = Region();
  }
  if (m_Peer) m_Peer->SetBounds({Left(), Top(), Left() + Width(), Top() + Height()});
  WindowedControl::BoundsChanged();
  Invalidate();
}

void Form::VisibleChanged() {
  if (m_Peer) m_Peer->SetVisible(Visible());
  if (Visible()) Invalidate();
}

void Form::Dispatch(Message& message) {
  if (message.Msg == CM_DIALOGKEY && message.WParam == VK_TAB &&
      !Application::Instance().IsKeyDown(VK_CONTROL)) {
    SelectNext(m_ActiveControl.Get(), !Application::Instance().IsKeyDown(VK_SHIFT), true);
    message.Result = 1;
    return;
  }
  WindowedControl::Dispatch(message);
}

bool Form::PreviewKey(Message& keyMessage) {
  if (!m_KeyPreview) return false;
  switch (keyMessage.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return DoKeyDown(keyMessage);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return DoKeyUp(keyMessage);
    case WM_CHAR:
    case WM_SYSCHAR:
      return DoKeyPress(keyMessage);
    default:
      return false;
  }
}

bool Form::IsShortCut(Message& keyMessage) {
  bool handled = false;
  OnShortCut(keyMessage, handled);
  return handled;
}

// Native input ----------------------------------------------------------------------------------

intptr_t Form::HandleMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  WeakRef<Form> self(this);
  Message message{msg, wParam, lParam, 0};
  try {
    if (IsMouseMessage(msg) || msg == WM_MOUSEWHEEL) {
      RouteMouse(message);
    } else {
      switch (msg) {
        case WM_MOUSELEAVE:
          TrackMouse({}, false);
          break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
          RouteKey(message);
          break;
        case WM_SETFOCUS: {
          m_WindowFocus = true;
          WindowedControl* active = m_ActiveControl.Get();
          ApplyFocus(active && active->CanFocus() ? active : this);
          break;
        }
        case WM_KILLFOCUS:
          m_WindowFocus = false;
          ApplyFocus(nullptr);
          break;
        case WM_CAPTURECHANGED:
          if (Control* capture = GetCaptureControl(); capture && capture->ParentForm() == this) {
            SetCaptureControl(nullptr);
          }
          break;
        default:
          message.Result = Perform(msg, wParam, lParam);
      }
    }
  } catch (const std::exception& error) {
    Application::Instance().HandleException(self.Get(), error);
  } catch (...) {
    Application::Instance().HandleException(self.Get(), Exception("Unknown exception"));
  }
  return message.Result;
}

void Form::HandlePaint(const platform::Rect& area) {
  WeakRef<Form> self(this);
  try {
    AddPainted(Region(area));
    PaintInvalid();
  } catch (const std::exception& error) {
    Application::Instance().HandleException(self.Get(), error);
  } catch (...) {
    Application::Instance().HandleException(self.Get(), Exception("Unknown exception"));
  }
  if (self) PresentPainted();
}

void Form::HandleDestroyed() {
  m_HasWindow = false;
}

bool Form::ConfirmWindow() {
  if (m_HasWindow) m_Peer->ConfirmExists();  // HandleDestroyed when it is gone
  return m_HasWindow;
}

void Form::ReleaseWindow() {
  m_HasWindow = false;
  m_Peer.reset();
}

WindowedControl* Form::WindowedAt(Point p) {
  if (!ClientRect().Contains(p.X, p.Y)) return nullptr;
  WindowedControl* at = this;
  for (;;) {
    Control* child = at->ControlAtPos(p, true, true);
    WindowedControl* windowed = child ? child->AsWindowed() : nullptr;
    if (!windowed) return at;
    p = {p.X - windowed->Left(), p.Y - windowed->Top()};
    at = windowed;
  }
}

Control* Form::ControlUnder(Point p) {
  WindowedControl* windowed = WindowedAt(p);
  if (!windowed) return nullptr;
  const Point offset = windowed->FormOffset();
  Control* child = windowed->ControlAtPos({p.X - offset.X, p.Y - offset.Y}, true);
  return child ? child : windowed;
}

void Form::RouteMouse(Message& message) {
  WeakRef<Form> self(this);
  const bool wheel = message.Msg == WM_MOUSEWHEEL;
  const Point p =
      wheel ? ScreenToClient(LParamToPoint(message.LParam)) : LParamToPoint(message.LParam);
  Control* capture = GetCaptureControl();
  if (capture && capture->ParentForm() != this) capture = nullptr;
  WindowedControl* target = nullptr;
  if (capture) {
    target = capture->AsWindowed() ? capture->AsWindowed() : capture->Parent();
  } else {
    target = WindowedAt(p);
    for (const Control* c = target; c; c = c->Parent()) {
      if (!c->Enabled()) target = nullptr;  // a disabled window takes no mouse input
    }
  }
  if (target) {
    WeakRef<WindowedControl> to(target);
    if (message.Msg == WM_MOUSEMOVE && !capture) {
      target->Perform(WM_SETCURSOR, PointerToWParam(target),
                      static_cast<intptr_t>(HTCLIENT | uint32_t{WM_MOUSEMOVE} << 16));
    }
    if (to) {
      const Point offset = target->FormOffset();
      message.Result =
          target->Perform(message.Msg, message.WParam,
                          wheel ? message.LParam : PointToLParam(p.X - offset.X, p.Y - offset.Y));
    }
  }
  if (!self) return;
  if (message.Msg == WM_MOUSEMOVE || message.Msg == WM_LBUTTONUP || message.Msg == WM_RBUTTONUP ||
      message.Msg == WM_MBUTTONUP) {
    TrackMouse(p, true);
  }
}

void Form::TrackMouse(Point p, bool inside) {
  Control* now = inside ? ControlUnder(p) : nullptr;
  Control* old = m_MouseControl.Get();
  if (now == old) return;
  m_MouseControl = now;
  WeakRef<Control> entering(now);
  if (old) old->Perform(CM_MOUSELEAVE);
  if (Control* c = entering.Get(); c && m_MouseControl.Get() == c) c->Perform(CM_MOUSEENTER);
}

void Form::RouteKey(Message& message) {
  WindowedControl* target = m_FocusedControl.Get();
  if (!target) target = this;
  WeakRef<WindowedControl> to(target);
  if (target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam) != 0 || !to) return;
  message.Result = target->Perform(message.Msg, message.WParam, message.LParam);
}

// Focus -----------------------------------------------------------------------------------------

void Form::SetActiveControl(WindowedControl* control) {
  if (control == this) control = nullptr;
  if (control && control->ParentForm() != this) return;
  if (IsLoading() || !m_WindowFocus) {
    m_ActiveControl = control;
    return;
  }
  FocusControl(control);
}

void Form::FocusControl(WindowedControl* control) {
  WindowedControl* target = control ? control : this;
  if (target->ParentForm() != this || !target->CanFocus()) return;
  m_ActiveControl = target == this ? nullptr : target;
  if (m_Focusing) {
    m_PendingFocus = target;
    m_FocusPending = true;
    return;
  }
  if (!m_WindowFocus) {
    if (m_Peer) m_Peer->TakeFocus();  // WM_SETFOCUS brings the keyboard to the active control
    return;
  }
  ApplyFocus(target);
}

// Focus handlers may ask for the focus elsewhere: such a request waits until the current
// move has ended and then runs, the last one winning.
void Form::ApplyFocus(WindowedControl* target) {
  WeakRef<Form> self(this);
  WeakRef<WindowedControl> next(target);
  for (int round = 0; round < kMaxFocusRounds; ++round) {
    m_Focusing = true;
    try {
      MoveFocus(next.Get());
    } catch (...) {
      if (self) m_Focusing = false;
      throw;
    }
    if (!self) return;
    m_Focusing = false;
    if (!m_FocusPending) return;
    m_FocusPending = false;
    next = m_PendingFocus;
    m_PendingFocus = {};
    if (!next || !m_WindowFocus || !next.Get()->CanFocus()) return;
  }
}

void Form::MoveFocus(WindowedControl* target) {
  WindowedControl* old = m_FocusedControl.Get();
  if (old == target) return;
  m_FocusedControl = target;
  WeakRef<Form> self(this);
  WeakRef<WindowedControl> to(target);
  if (old) old->Perform(WM_KILLFOCUS);
  if (!self || !to) return;
  target->Perform(WM_SETFOCUS);
  if (!self || !to) return;
  EnterAndExit(target);
}

// CM_EXIT up from the control entered last to the parent it shares with the target, CM_ENTER
// down from there to the target, then CM_FOCUSCHANGED to every windowed control.
void Form::EnterAndExit(WindowedControl* target) {
  WindowedControl* entered = m_EnteredControl.Get();
  if (!entered) entered = this;
  if (entered == target) return;
  std::vector<WeakRef<WindowedControl>> exits, enters;
  for (WindowedControl* c = entered; c && c != this && !c->ContainsControl(target);
       c = c->Parent()) {
    exits.emplace_back(c);
  }
  for (WindowedControl* c = target; c && c != this && !c->ContainsControl(entered);
       c = c->Parent()) {
    enters.emplace_back(c);
  }
  std::reverse(enters.begin(), enters.end());  // from the outermost down
  m_EnteredControl = target;
  WeakRef<Form> self(this);
  WeakRef<WindowedControl> to(target);
  for (const auto& c : exits) {
    if (c) c.Get()->Perform(CM_EXIT);
  }
  for (const auto& c : enters) {
    if (c) c.Get()->Perform(CM_ENTER);
  }
  if (self && to) Perform(CM_FOCUSCHANGED, 0, PointerToLParam(target));
}

void Form::ForgetControl(Control& control, bool notify) {
  const WindowedControl* windowed = control.AsWindowed();
  const auto inside = [&](const Control* c) {
    return c && (c == &control || (windowed && windowed->ContainsControl(c)));
  };
  if (Control* capture = GetCaptureControl(); inside(capture)) {
    if (notify) {
      SetCaptureControl(nullptr);
    } else {
      capture->SetMouseCapture(false);  // being destroyed: it takes no more messages
    }
  }
  if (Control* hover = m_MouseControl.Get(); inside(hover)) {
    m_MouseControl = {};
    if (notify) hover->Perform(CM_MOUSELEAVE);
  }
  if (inside(m_PendingFocus.Get())) {
    m_PendingFocus = {};
    m_FocusPending = false;
  }
  if (&control == this) return;
  if (inside(m_ActiveControl.Get())) m_ActiveControl = {};
  if (!notify && inside(m_EnteredControl.Get())) m_EnteredControl = {};
  if (inside(m_FocusedControl.Get())) {
    if (notify && m_WindowFocus) {
      FocusControl(nullptr);
    } else {
      m_FocusedControl = {};
    }
  }
}

// Painting --------------------------------------------------------------------------------------

void Form::RequestRepaint(const Rect& area) {
  if (Visible() && m_Peer) m_Peer->RequestRepaint(area);
}

void Form::AddPainted(const Region& area) {
  m_Painted = m_Painted.Union(area.Intersect(Region(m_Surface.BoundsRect())));
}

void Form::PaintInvalid() {
  if (m_Painting || !m_HasWindow) return;
  WeakRef<Form> self(this);
  const auto collect = [](auto& recurse, WindowedControl& w,
                          std::vector<WeakRef<WindowedControl>>& dirty) -> void {
    if (!w.Visible()) return;
    if (!w.m_UpdateRegion.IsEmpty()) dirty.emplace_back(&w);
    for (Control* child : w.m_Controls) {
      if (WindowedControl* windowed = child->AsWindowed()) recurse(recurse, *windowed, dirty);
    }
  };
  m_Painting = true;
  try {
    for (int pass = 0; pass < kMaxPaintPasses; ++pass) {
      std::vector<WeakRef<WindowedControl>> dirty;
      collect(collect, *this, dirty);
      if (dirty.empty()) break;
      for (const auto& ref : dirty) {
        WindowedControl* w = ref.Get();
        if (w && !w->m_UpdateRegion.IsEmpty()) w->Perform(WM_PAINT);
      }
      if (!self) return;
    }
  } catch (...) {
    if (self) m_Painting = false;
    throw;
  }
  m_Painting = false;
  PresentPainted();
}

void Form::PresentPainted() {
  if (m_Painted.IsEmpty() || !m_Peer) return;
  const platform::PixelView pixels{m_Surface.Bits(), m_Surface.Width(), m_Surface.Height()};
  for (const Rect& r : m_Painted.Rects()) m_Peer->Present(pixels, r);
  m_Painted = Region();
}

void Form::SetNativeCapture(bool capture) {
  if (m_Peer) m_Peer->SetCapture(capture);
}

void Form::SetNativeCursor(TCursor cursor) {
  if (m_Peer) m_Peer->SetCursor(cursor);
}

}  // namespace ui

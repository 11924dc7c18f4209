#include "ui/controls/Form.h"

#include <algorithm>
#include <utility>

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
    m_Shown.Reset(Width(), Height());
    AddLost(m_Surface.BoundsRect());
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
  if (message.msg == CM_DIALOGKEY && message.wParam == VK_TAB &&
      !Application::Instance().IsKeyDown(VK_CONTROL)) {
    SelectNext(m_ActiveControl.Get(), !Application::Instance().IsKeyDown(VK_SHIFT), true);
    message.result = 1;
    return;
  }
  WindowedControl::Dispatch(message);
}

bool Form::PreviewKey(Message& keyMessage) {
  if (!m_KeyPreview) return false;
  switch (keyMessage.msg) {
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

namespace {

// Runs what the window system asked of `form`: nothing may unwind into the backend, so an
// exception goes to the application's handler.
template <class Work>
void Guarded(Form& form, Work work) {
  WeakRef<Form> self(&form);
  try {
    work();
  } catch (const std::exception& error) {
    Application::Instance().HandleException(self.Get(), error);
  } catch (...) {
    Application::Instance().HandleException(self.Get(), Exception("Unknown exception"));
  }
}

uint32_t MouseMessage(const platform::MouseEvent& event) {
  using platform::MouseAction;
  if (event.action == MouseAction::Move) return WM_MOUSEMOVE;
  const uint32_t down = event.button == platform::MouseButton::Left    ? WM_LBUTTONDOWN
                        : event.button == platform::MouseButton::Right ? WM_RBUTTONDOWN
                                                                       : WM_MBUTTONDOWN;
  // Each button's up and double click follow its down.
  return down + (event.action == MouseAction::Release       ? 1
                 : event.action == MouseAction::DoubleClick ? 2
                                                            : 0);
}

uint32_t KeyMessage(const platform::KeyEvent& event) {
  const uint32_t plain = event.action == platform::KeyAction::Down ? WM_KEYDOWN
                         : event.action == platform::KeyAction::Up ? WM_KEYUP
                                                                   : WM_CHAR;
  // The system keys' three messages are the plain three, four further on.
  return event.system ? plain + (WM_SYSKEYDOWN - WM_KEYDOWN) : plain;
}

// Key data as the window system packs it: a repeat count of one, Alt, whether the key was down
// before, and whether it is going up.
intptr_t KeyData(const platform::KeyEvent& event) {
  uint32_t data = 1u | (event.alt ? KF_ALTDOWN_BIT : 0);
  if (event.action == platform::KeyAction::Up) {
    data |= KF_REPEAT_BIT | KF_UP_BIT;
  } else if (event.repeat) {
    data |= KF_REPEAT_BIT;
  }
  return static_cast<intptr_t>(static_cast<int32_t>(data));
}

}  // namespace

void Form::HandleMouse(const platform::MouseEvent& event) {
  Guarded(*this, [&] {
    WeakRef<Form> self(this);
    RouteMouse(MouseMessage(event), event.keys, event.position, std::nullopt);
    const bool tracked = event.action == platform::MouseAction::Move ||
                         event.action == platform::MouseAction::Release;
    if (self && tracked) TrackMouse(event.position, true);
  });
}

void Form::HandleWheel(const platform::WheelEvent& event) {
  const uintptr_t wParam = event.keys | static_cast<uintptr_t>(static_cast<uint16_t>(event.delta))
                                            << 16;
  Guarded(*this, [&] {
    RouteMouse(WM_MOUSEWHEEL, wParam, ScreenToClient(event.position), event.position);
  });
}

void Form::HandleMouseLeave() {
  Guarded(*this, [&] { TrackMouse({}, false); });
}

void Form::HandleKey(const platform::KeyEvent& event) {
  Guarded(*this, [&] { RouteKey(KeyMessage(event), event.code, KeyData(event)); });
}

void Form::HandleFocus(bool gained) {
  Guarded(*this, [&] {
    m_WindowFocus = gained;
    if (gained) {
      WindowedControl* active = m_ActiveControl.Get();
      ApplyFocus(active && active->CanFocus() ? active : this);
    } else {
      ApplyFocus(nullptr);
    }
  });
}

void Form::HandleCaptureLost() {
  Guarded(*this, [&] {
    if (Control* capture = GetCaptureControl(); capture && capture->ParentForm() == this) {
      SetCaptureControl(nullptr);
    }
  });
}

intptr_t Form::HandleDialogCode(uint16_t virtualKey) {
  intptr_t code = 0;
  Guarded(*this, [&] { code = Perform(WM_GETDLGCODE, virtualKey); });
  return code;
}

intptr_t Form::HandleQueryNewPalette() {
  intptr_t realised = 0;
  Guarded(*this, [&] {
    // On a palette display the same pixels may show differently now.
    if (Screen::BitsPerPixel() == 8) AddLost(m_Surface.BoundsRect());
    realised = Perform(WM_QUERYNEWPALETTE);
  });
  return realised;
}

void Form::HandlePaletteChanged(void* changer) {
  Guarded(*this, [&] {
    AddLost(m_Surface.BoundsRect());  // only palette displays tell of a change
    Perform(WM_PALETTECHANGED, PointerToWParam(changer));
  });
}

void Form::HandlePaint(const platform::Rect& lost) {
  WeakRef<Form> self(this);
  Guarded(*this, [&] {
    AddLost(lost);
    PaintInvalid();
  });
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

void Form::RouteMouse(uint32_t msg, uintptr_t wParam, Point p, std::optional<Point> screen) {
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
  if (!target) return;
  WeakRef<WindowedControl> to(target);
  if (msg == WM_MOUSEMOVE && !capture) {
    target->Perform(WM_SETCURSOR, PointerToWParam(target),
                    static_cast<intptr_t>(HTCLIENT | uint32_t{WM_MOUSEMOVE} << 16));
  }
  if (!to) return;
  const Point offset = target->FormOffset();
  target->Perform(msg, wParam,
                  screen ? PointToLParam(*screen) : PointToLParam(p.X - offset.X, p.Y - offset.Y));
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

void Form::RouteKey(uint32_t msg, uintptr_t key, intptr_t keyData) {
  WindowedControl* target = m_FocusedControl.Get();
  if (!target) target = this;
  WeakRef<WindowedControl> to(target);
  if (target->Perform(CN_BASE + msg, key, keyData) != 0 || !to) return;
  target->Perform(msg, key, keyData);
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

void Form::RequestPaint() {
  if (Visible() && m_Peer) m_Peer->RequestPaint();
}

void Form::AddPainted(const Region& area) {
  m_Painted = m_Painted.Union(area.Intersect(Region(m_Surface.BoundsRect())));
}

void Form::AddLost(const Rect& area) {
  m_Lost = m_Lost.Union(Region(area.Intersect(m_Surface.BoundsRect())));
}

void Form::PaintInvalid() {
  if (m_Painting || !m_HasWindow) return;
  WeakRef<Form> self(this);
  const auto collect = [](auto& recurse, WindowedControl& w,
                          std::vector<WeakRef<WindowedControl>>& dirty) -> void {
    if (!w.Visible()) return;
    if (!w.m_UpdateRegion.IsEmpty()) dirty.emplace_back(&w);
    for (const ChildPlace& child : w.ChildPlaces()) {
      if (child.windowed) recurse(recurse, *child.windowed, dirty);
    }
  };
  m_Painting = true;
  // The list's storage is kept from one paint to the next (no paint runs inside another).
  std::vector<WeakRef<WindowedControl>> dirty = std::exchange(m_DirtyControls, {});
  try {
    for (int pass = 0; pass < kMaxPaintPasses; ++pass) {
      dirty.clear();
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
  dirty.clear();
  m_DirtyControls = std::move(dirty);
  PresentPainted();
}

void Form::PresentPainted() {
  if (!m_Peer) return;
  const Region changed = Region(m_Shown.Changed(m_Surface, std::exchange(m_Painted, {})))
                             .Union(std::exchange(m_Lost, {}));
  const flux::PixelView pixels{m_Surface.Bits(), m_Surface.Width(), m_Surface.Height()};
  for (const Rect& r : changed.Rects()) {
    m_Peer->Present(pixels, r);
    m_Shown.Presented(m_Surface, r);
  }
}

void Form::SetNativeCapture(bool capture) {
  if (m_Peer) m_Peer->SetCapture(capture);
}

void Form::SetNativeCursor(TCursor cursor) {
  if (m_Peer) m_Peer->SetCursor(cursor);
}

}  // namespace ui

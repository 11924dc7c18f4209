#include "ui/controls/WindowedControl.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>

#include "ui/controls/Application.h"
#include "ui/controls/Form.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

// Counts layout changes. Forms on other threads bump it too, which only costs their neighbours
// a recomputation.
std::atomic<uint64_t> g_Layout{1};

}  // namespace

void WindowedControl::LayoutChanged() {
  g_Layout.fetch_add(1, std::memory_order_relaxed);
}

WindowedControl::WindowedControl(Component* owner) : Control(owner) {}

WindowedControl::~WindowedControl() {
  BeginDestruction();
  DestroyComponents();
  DestroyChildren();
  SetParent(nullptr);  // while it is still a windowed control to its parent
}

void WindowedControl::DestroyChildren() {
  while (!m_Controls.empty()) delete m_Controls.back();  // each leaves the list itself
}

const TypeInfo& WindowedControl::StaticType() {
  using T = WindowedControl;
  static const TypeInfo type = TypeBuilder<T>("WindowedControl", Control::StaticType())
                                   .Integer("TabOrder", &T::TabOrder, &T::SetTabOrder)
                                   .Default(-1)
                                   .Boolean("TabStop", &T::TabStop, &T::SetTabStop)
                                   .Default(false)
                                   .Event("OnEnter")
                                   .Event("OnExit")
                                   .Event("OnKeyDown")
                                   .Event("OnKeyPress")
                                   .Event("OnKeyUp")
                                   .Build();
  return type;
}

Control& WindowedControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) {
    throw Exception("Control index out of bounds (" + std::to_string(index) + ")");
  }
  return *m_Controls[static_cast<std::size_t>(index)];
}

bool WindowedControl::ContainsControl(const Control* control) const {
  for (const Control* c = control; c; c = c->Parent()) {
    if (c == this) return true;
  }
  return false;
}

void WindowedControl::InsertControl(Control& control) {
  LayoutChanged();
  m_Controls.push_back(&control);
  if (WindowedControl* windowed = control.AsWindowed()) m_TabList.push_back(windowed);
}

void WindowedControl::RemoveControl(Control& control) {
  LayoutChanged();
  std::erase(m_Controls, &control);
  std::erase_if(m_TabList, [&control](const Control* c) { return c == &control; });
}

void WindowedControl::MoveControl(Control& control, bool toFront) {
  const auto at = std::find(m_Controls.begin(), m_Controls.end(), &control);
  if (at == m_Controls.end()) return;
  LayoutChanged();
  m_Controls.erase(at);
  m_Controls.insert(toFront ? m_Controls.end() : m_Controls.begin(), &control);
  // Whatever overlaps the control changes order with it.
  InvalidateRect(control.BoundsRect(), true, true);
}

Control* WindowedControl::ControlAtPos(Point p, bool allowDisabled, bool allowWindowed) const {
  for (int pass = allowWindowed ? 0 : 1; pass < 2; ++pass) {
    const bool windowed = pass == 0;  // windowed children lie above the others
    for (auto it = m_Controls.rbegin(); it != m_Controls.rend(); ++it) {
      Control* c = *it;
      if ((c->AsWindowed() != nullptr) != windowed || !c->Visible()) continue;
      if (!allowDisabled && !c->Enabled()) continue;
      if (!c->BoundsRect().Contains(p.X, p.Y)) continue;
      if (c->Perform(CM_HITTEST, 0, PointToLParam(p.X - c->Left(), p.Y - c->Top())) != 0) {
        return c;
      }
    }
  }
  return nullptr;
}

void WindowedControl::Broadcast(Message& message) {
  std::vector<WeakRef<Control>> children(m_Controls.begin(), m_Controls.end());
  for (const WeakRef<Control>& child : children) {
    Control* c = child.Get();
    if (!c) continue;
    message.result = c->Perform(message.msg, message.wParam, message.lParam);
    if (message.result != 0) return;
  }
}

void WindowedControl::WndProc(Message& message) {
  if (IsMouseMessage(message.msg) && ForwardMouseToChild(message)) return;
  Control::WndProc(message);
}

// A mouse message over a non-windowed child, or for the child holding the capture, is the
// child's.
bool WindowedControl::ForwardMouseToChild(Message& message) {
  const Point p = LParamToPoint(message.lParam);
  Control* target = nullptr;
  if (Control* capture = GetCaptureControl()) {
    if (capture->Parent() == this && !capture->AsWindowed()) target = capture;
  } else {
    target = ControlAtPos(p, false);
  }
  if (!target) return false;
  message.result = target->Perform(message.msg, message.wParam,
                                   PointToLParam(p.X - target->Left(), p.Y - target->Top()));
  return true;
}

void WindowedControl::Dispatch(Message& message) {
  switch (message.msg) {
    case WM_PAINT:
      PaintMessage(message);
      return;
    case WM_ERASEBKGND:
      if (!(ControlStyle() & csOpaque)) {
        if (auto* dc = WParamToPointer<DeviceContext>(message.wParam)) {
          m_Canvas.SetHandle(dc);
          m_Canvas.brush = {Color(), BrushStyle::Solid};
          m_Canvas.FillRect(dc->ClipBox());
          m_Canvas.SetHandle(nullptr);
        }
      }
      message.result = 1;
      return;
    case WM_SETCURSOR:
      SetCursorMessage(message);
      return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      CNKeyDown(message);
      return;
    case CN_CHAR:
      CNChar(message);
      return;
    case CN_SYSCHAR: {
      Form* form = ParentForm();
      message.result =
          form && form->Perform(CM_DIALOGCHAR, message.wParam, message.lParam) != 0 ? 1 : 0;
      return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(message)) DefaultHandler(message);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(message)) DefaultHandler(message);
      return;
    case WM_CHAR:
      if (!DoKeyPress(message)) DefaultHandler(message);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_DIALOGCHAR:
      Broadcast(message);
      return;
    case CM_FOCUSCHANGED:
      Broadcast(message);
      message.result = 0;
      return;
    default:
      Control::Dispatch(message);
  }
}

// The window system's default processing, as far as framework windows have one.
void WindowedControl::DefaultHandler(Message& message) {
  switch (message.msg) {
    case WM_PAINT:
      if (message.wParam == 0) m_UpdateRegion = Region();
      return;
    case WM_SETCURSOR:
      if (Parent() && Parent()->Perform(WM_SETCURSOR, message.wParam, message.lParam) != 0) {
        message.result = 1;
        return;
      }
      if (Form* form = ParentForm()) form->SetNativeCursor(crArrow);
      message.result = 1;
      return;
    case WM_MOUSEWHEEL:
      if (Parent()) message.result = Parent()->Perform(message.msg, message.wParam, message.lParam);
      return;
    default:
      Control::DefaultHandler(message);
  }
}

void WindowedControl::SetCursorMessage(Message& message) {
  if ((static_cast<uint32_t>(message.lParam) & 0xFFFF) == HTCLIENT) {
    TCursor cursor = Cursor();
    if (Control* child = ControlAtPos(ScreenToClient(Screen::CursorPos()), false)) {
      cursor = child->Cursor();
    }
    if (cursor != crDefault) {
      if (Form* form = ParentForm()) form->SetNativeCursor(cursor);
      message.result = 1;
      return;
    }
  }
  DefaultHandler(message);
}

// Painting ------------------------------------------------------------------------------------

const WindowedControl::KeptLayout& WindowedControl::Kept() const {
  const uint64_t layout = g_Layout.load(std::memory_order_relaxed);
  if (m_Kept.layout != layout) {
    m_Kept.places.clear();
    for (Control* child : m_Controls) {
      m_Kept.places.push_back({child, child->BoundsRect(), child->AsWindowed(), child->Visible(),
                               (child->ControlStyle() & csOpaque) != 0});
    }
    m_Kept.visible = ComputeVisibleRegion();
    m_Kept.layout = layout;
  }
  return m_Kept;
}

// From the children's places kept just before, and the parents' own.
Region WindowedControl::ComputeVisibleRegion() const {
  const Form* form = ParentForm();
  if (!form || !Showing()) return {};
  const auto excludeWindowed = [](Region& visible, const ChildPlace& place, Point origin) {
    if (place.windowed && place.visible) {
      visible.Subtract(Region(place.bounds.Offset(origin.X, origin.Y)));
    }
  };
  const Point offset = FormOffset();
  Region visible(Bounds(offset.X, offset.Y, Width(), Height()));
  for (const WindowedControl* c = this; c->Parent(); c = c->Parent()) {
    const WindowedControl* parent = c->Parent();
    const Point origin = parent->FormOffset();
    visible.IntersectWith(Region(Bounds(origin.X, origin.Y, parent->Width(), parent->Height())));
    const std::vector<ChildPlace>& siblings = parent->ChildPlaces();
    const auto above = std::find_if(siblings.begin(), siblings.end(),
                                    [c](const ChildPlace& place) { return place.control == c; });
    for (auto it = above == siblings.end() ? above : above + 1; it != siblings.end(); ++it) {
      excludeWindowed(visible, *it, origin);
    }
  }
  for (const ChildPlace& child : m_Kept.places) excludeWindowed(visible, child, offset);
  return visible;
}

void WindowedControl::InvalidateRect(const Rect& rect, bool erase, bool children) {
  Form* form = ParentForm();
  if (!form || !Showing() || rect.IsEmpty()) return;
  const Point offset = FormOffset();
  const Region area = Region(rect.Offset(offset.X, offset.Y)).Intersect(VisibleRegion());
  if (!area.IsEmpty()) {
    m_UpdateRegion = m_UpdateRegion.Union(area.Offset(-offset.X, -offset.Y));
    m_EraseNeeded = m_EraseNeeded || erase;
    form->RequestPaint();
  }
  if (!children) return;
  for (Control* child : m_Controls) {
    WindowedControl* windowed = child->AsWindowed();
    if (!windowed || !windowed->Visible()) continue;
    const Rect part = rect.Intersect(windowed->BoundsRect());
    if (!part.IsEmpty()) {
      windowed->InvalidateRect(part.Offset(-windowed->Left(), -windowed->Top()), erase, true);
    }
  }
}

void WindowedControl::ValidateRect(const Rect& rect) {
  m_UpdateRegion = m_UpdateRegion.Exclude(Region(rect));
}

void WindowedControl::Invalidate() {
  InvalidateRect(ClientRect(), true, true);
}

DeviceContext& WindowedControl::BeginPaint(PaintStruct& paint) {
  Form* form = ParentForm();
  const Point offset = FormOffset();
  paint.area = m_UpdateRegion.Offset(offset.X, offset.Y).Intersect(VisibleRegion());
  paint.rcPaint =
      paint.area.IsEmpty() ? Rect{} : paint.area.BoundingBox().Offset(-offset.X, -offset.Y);
  paint.fErase = m_EraseNeeded;
  m_UpdateRegion = Region();
  m_EraseNeeded = false;
  paint.dc.SelectSurface(form ? &form->m_Surface : nullptr);
  paint.dc.SetBitsPerPixel(Screen::BitsPerPixel());
  paint.dc.SetOrigin(offset);
  paint.dc.SelectClipRegion(paint.area);
  if (paint.fErase && !paint.area.IsEmpty()) {
    paint.fErase = Perform(WM_ERASEBKGND, PointerToWParam(&paint.dc)) == 0;
    // Whatever the handler did to the context, the paint gets it as it was (without saving
    // it, which would allocate in this new context).
    paint.dc.SetOrigin(offset);
    paint.dc.SelectClipRegion(paint.area);
  }
  return paint.dc;
}

void WindowedControl::EndPaint(PaintStruct& paint) {
  if (Form* form = ParentForm()) form->AddPainted(paint.area);
  paint.area = Region();
}

void WindowedControl::PaintMessage(Message& message) {
  if (auto* dc = WParamToPointer<DeviceContext>(message.wParam)) {
    PaintHandler(*dc);
    return;
  }
  PaintStruct paint;
  BeginPaint(paint);
  WeakRef<WindowedControl> self(this);
  try {
    if (!paint.area.IsEmpty()) PaintHandler(paint.dc);
  } catch (...) {
    if (self) EndPaint(paint);
    throw;
  }
  if (self) EndPaint(paint);
}

void WindowedControl::PaintHandler(DeviceContext& dc) {
  dc.Save();
  // Taken out together: one region operation instead of one for each child. The list's storage
  // is kept for the next paint; nothing runs between filling and using it.
  m_OpaqueChildren.clear();
  for (const ChildPlace& child : ChildPlaces()) {
    if (!child.windowed && child.visible && child.opaque && dc.RectVisible(child.bounds)) {
      m_OpaqueChildren.push_back(child.bounds);
    }
  }
  dc.ExcludeClipRects(m_OpaqueChildren);
  WeakRef<WindowedControl> self(this);
  try {
    if (!dc.ClipRegion().IsEmpty()) PaintWindow(dc);
  } catch (...) {
    dc.Restore();
    throw;
  }
  dc.Restore();
  if (self) PaintControls(dc, nullptr);
}

void WindowedControl::PaintWindow(DeviceContext& dc) {
  struct Binding {
    ui::Canvas& canvas;
    ~Binding() { canvas.SetHandle(nullptr); }
  } binding{m_Canvas};
  m_Canvas.SetHandle(&dc);
  Paint();
}

void WindowedControl::PaintControls(DeviceContext& dc, Control* first) {
  const std::vector<ChildPlace>& places = ChildPlaces();
  auto from = std::find_if(places.begin(), places.end(),
                           [first](const ChildPlace& p) { return !first || p.control == first; });
  const auto painted = [&dc](const ChildPlace& c) {
    return !c.windowed && c.visible && !c.bounds.IsEmpty() && dc.RectVisible(c.bounds);
  };
  // The children to paint as they are now, for a child's paint may destroy or add controls
  // (this one included); one that it moves into the area invalidates it, and is painted in the
  // next pass. The list's storage is borrowed from the last paint and handed back to the next,
  // so that a repaint allocates nothing; a nested paint of this control makes a list of its own.
  std::vector<WeakRef<Control>> children = std::exchange(m_PaintOrder, {});
  for (auto it = from; it != places.end(); ++it) {
    if (painted(*it)) children.emplace_back(it->control);
  }
  struct HandBack {
    WeakRef<WindowedControl> owner;
    std::vector<WeakRef<Control>>& children;
    ~HandBack() {
      children.clear();
      if (WindowedControl* c = owner.Get()) c->m_PaintOrder = std::move(children);
    }
  } handBack{this, children};
  for (const WeakRef<Control>& child : children) {
    Control* c = child.Get();
    if (!c || c->AsWindowed() || !c->Visible()) continue;
    const Rect bounds = c->BoundsRect();
    if (bounds.IsEmpty() || !dc.RectVisible(bounds)) continue;
    dc.Save();
    const Point origin = dc.Origin();
    dc.SetOrigin({origin.X + bounds.Left, origin.Y + bounds.Top});
    dc.IntersectClipRect({0, 0, bounds.Width(), bounds.Height()});
    try {
      PaintControl(dc, *c);
    } catch (...) {
      dc.Restore();
      throw;
    }
    dc.Restore();
  }
}

void WindowedControl::PaintControl(DeviceContext& dc, Control& child) {
  child.Perform(WM_PAINT, PointerToWParam(&dc));
}

// Alignment -----------------------------------------------------------------------------------

void WindowedControl::AdjustClientRect(Rect&) const {}

void WindowedControl::EnableAlign() {
  if (m_AlignDisabled > 0 && --m_AlignDisabled == 0) Realign();
}

void WindowedControl::Realign() {
  if (m_Aligning || m_AlignDisabled > 0 || IsLoading()) return;
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{m_Aligning};
  m_Aligning = true;
  Rect r = ClientRect();
  AdjustClientRect(r);
  for (const TAlign align : std::array{alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<Control*> aligned;
    for (Control* c : m_Controls) {
      if (c->Visible() && c->Align() == align) aligned.push_back(c);
    }
    // Nearest to its edge first.
    std::stable_sort(aligned.begin(), aligned.end(), [align](Control* a, Control* b) {
      switch (align) {
        case alTop:
          return a->Top() < b->Top();
        case alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft:
          return a->Left() < b->Left();
        case alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    for (Control* c : aligned) {
      const int32_t width = std::max(r.Width(), 0), height = std::max(r.Height(), 0);
      switch (align) {
        case alTop:
          c->SetBounds(r.Left, r.Top, width, c->Height());
          r.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - c->Height(), width, c->Height());
          r.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, c->Width(), height);
          r.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), height);
          r.Right -= c->Width();
          break;
        default:
          c->SetBounds(r.Left, r.Top, width, height);
      }
    }
  }
}

void WindowedControl::BoundsChanged() {
  Realign();
}

void WindowedControl::Loaded() {
  Control::Loaded();
  if (m_StoredTabOrder >= 0) SetTabOrder(m_StoredTabOrder);
  Realign();
}

void WindowedControl::GetChildren(const std::function<void(Component&)>& proc, Component& root) {
  Component::GetChildren(proc, root);
  const std::vector<Control*> children = m_Controls;
  for (Control* child : children) {
    if (child->Owner() == &root) proc(*child);
  }
}

}  // namespace ui

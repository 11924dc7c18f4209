#include "DIB/cDIBPanel.h"

#include <algorithm>
#include <cstdlib>

#include "DIB/cDIBControl.h"
#include "common/Assert.h"
#include "ui/controls/Application.h"
#include "ui/controls/Form.h"
#include "ui/graphics/Blit.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/TypeBuilder.h"

namespace {

constexpr uint32_t kSourceCopy = 0x00CC0020;  // the raster operation of a plain copy

// An image side for a control side: images hold 1..65535 pixels.
uint16_t ImageSide(int32_t side) {
  return static_cast<uint16_t>(std::clamp<int32_t>(side, 0, 65535));
}

}  // namespace

TCustomDIBContainer::TCustomDIBContainer(ui::Component* owner)
    : ui::Panel(owner),
      m_ControlBuffer(std::make_unique<TWinDIB>()),
      m_BackBuffer(std::make_unique<TWinDIB>()) {
  SetBorderWidth(0);
  SetBorderStyle(ui::bsNone);
  SetBevelOuter(ui::bvNone);
  SetControlStyle(ControlStyle() | ui::csAcceptsControls);
  SetTabStop(false);
  m_BackBuffer->SetSize(ImageSide(Width()), ImageSide(Height()));
}

TCustomDIBContainer::~TCustomDIBContainer() {
  // The children leave the tab list and use the buffers while they go.
  BeginDestruction();
  DestroyComponents();
  DestroyChildren();
}

const ui::TypeInfo& TCustomDIBContainer::StaticType() {
  using T = TCustomDIBContainer;
  // Not all of a panel: it has no bevels, border or caption to show, and it is a tab stop
  // exactly while it has skinned tab stops, which a stored TabStop would contradict.
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TCustomDIBContainer", ui::Control::StaticType())
          .Event("AfterPaint")
          .Event("BeforePaint")
          .Enumeration("BorderDrawPosition", &T::BorderDrawPosition, &T::SetBorderDrawPosition,
                       {"bdOverControls", "bdUnderControls"})
          .Reference("DIBBorder", &T::DIBBorder, &T::SetDIBBorder)
          .Event("OnActiveControlChange")
          .Publish<ui::Panel>("Color")
          .Publish<ui::WindowedControl>("TabOrder")
          .Publish<ui::WindowedControl>("OnKeyDown")
          .Publish<ui::WindowedControl>("OnKeyPress")
          .Publish<ui::WindowedControl>("OnKeyUp")
          .Publish<ui::WindowedControl>("OnEnter")
          .Publish<ui::WindowedControl>("OnExit")
          .Publish<ui::Panel>("Font")
          .Build();
  return type;
}

const ui::TypeInfo& TDIBContainer::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBContainer>("TDIBContainer", TCustomDIBContainer::StaticType())
          .Creatable()
          .Build();
  return type;
}

void RegisterDIBContainerClasses() {
  ui::ClassRegistry::Register(TDIBContainer::StaticType());
}

// Placement and components ------------------------------------------------------------------

void TCustomDIBContainer::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  ui::Panel::SetBounds(left, top, width, height);
  if (!IsLoading()) m_BackBuffer->SetSize(ImageSide(Width()), ImageSide(Height()));
}

void TCustomDIBContainer::AdjustClientRect(ui::Rect& rect) const {
  ui::Panel::AdjustClientRect(rect);
  if (m_DIBBorder != nullptr) m_DIBBorder->AdjustClientRect(rect);
}

void TCustomDIBContainer::Loaded() {
  ui::Panel::Loaded();  // realigns the children
  m_BackBuffer->SetSize(ImageSide(Width()), ImageSide(Height()));
  RebuildDIBTabOrder();
}

void TCustomDIBContainer::Notification(ui::Component& component, ui::Operation operation) {
  ui::Panel::Notification(component, operation);
  if (&component == this || HasState(ui::ComponentState::Destroying)) return;
  if (operation == ui::Operation::Insert) {
    if (auto* palette = dynamic_cast<TDIBPalette*>(&component)) m_Palette = palette;
    return;
  }
  // A removed component may be partly gone: compare addresses only.
  if (&component == m_Palette) m_Palette = nullptr;
  if (&component == m_DIBBorder) SetDIBBorder(nullptr);
  const auto removed = std::find_if(
      m_DIBControls.begin(), m_DIBControls.end(), [&component](const TCustomDIBControl* control) {
        return static_cast<const ui::Component*>(control) == &component;
      });
  if (removed != m_DIBControls.end()) DIBControlRemoved(**removed);
}

TCustomDIBControl* TCustomDIBContainer::AsDIBControl(const ui::Control* child) const {
  const auto found = std::find(m_DIBControls.begin(), m_DIBControls.end(), child);
  return found != m_DIBControls.end() ? *found : nullptr;
}

void TCustomDIBContainer::DIBControlAdded(TCustomDIBControl& control) {
  m_DIBControls.push_back(&control);
}

void TCustomDIBContainer::DIBControlRemoved(TCustomDIBControl& control) {
  SetControlTabIndex(&control, -1);
  std::erase(m_DIBControls, &control);
}

void TCustomDIBContainer::SetBorderDrawPosition(TBorderDrawPosition position) {
  m_BorderDrawPosition = position;
  Invalidate();
}

void TCustomDIBContainer::SetDIBBorder(TDIBBorder* border) {
  if (m_DIBBorder != nullptr) m_DIBBorder->RemoveFreeNotification(*this);
  m_DIBBorder = border;
  if (border != nullptr) border->FreeNotification(*this);
  AdjustSize();
  Realign();
  Invalidate();
}

// Messages ----------------------------------------------------------------------------------

void TCustomDIBContainer::WndProc(ui::Message& message) {
  if (message.msg == ui::WM_LBUTTONUP) ReleaseOutside();
  ui::Panel::WndProc(message);
}

// A drag that ends outside the control holding the mouse ends its hover: it hears that the
// mouse left, the control at the cursor that the mouse came. Both go through the form's own
// hover tracking, so that neither is told twice.
void TCustomDIBContainer::ReleaseOutside() {
  ui::Control* capture = ui::GetCaptureControl();
  ui::Form* form = ParentForm();
  if (capture == nullptr || form == nullptr) return;
  const ui::Point cursor = ui::Screen::CursorPos();
  const ui::Point origin = capture->ClientOrigin();
  if (ui::Bounds(origin.X, origin.Y, capture->Width(), capture->Height())
          .Contains(cursor.X, cursor.Y)) {
    return;
  }
  form->TrackMouse(form->ScreenToClient(cursor), true);
}

void TCustomDIBContainer::Dispatch(ui::Message& message) {
  switch (message.msg) {
    case ui::WM_PAINT:
      PaintMessage(message);
      return;
    case ui::WM_ERASEBKGND:
      message.result = 1;  // the paint covers everything: erasing would only flicker
      return;
    case ui::WM_GETDLGCODE:
      message.result = ui::DLGC_WANTALLKEYS;
      return;
    case ui::WM_SETCURSOR:
      SetCursorMessage(message);
      return;
    case ui::CM_FOCUSCHANGED:
      FocusChanged(message);
      return;
    case ui::CN_KEYDOWN:
      KeyDownMessage(message);
      return;
    case ui::CN_CHAR:
      ForwardKey(message, ui::WM_CHAR);
      return;
    case ui::CN_KEYUP:
      ForwardKey(message, ui::WM_KEYUP);
      return;
    default:
      ui::Panel::Dispatch(message);
  }
}

void TCustomDIBContainer::SetCursorMessage(ui::Message& message) {
  if (!HasState(ui::ComponentState::Designing)) {
    const ui::Point p = ScreenToClient(ui::Screen::CursorPos());
    ui::Control* child = ControlAtPos(p, false);
    if (child != nullptr && child->Perform(ui::WM_SETCURSOR, message.wParam, message.lParam) == 1) {
      message.result = 1;
      return;
    }
  }
  ui::Panel::Dispatch(message);
}

// Painting ----------------------------------------------------------------------------------

void TCustomDIBContainer::PaintMessage(ui::Message& message) {
  if (auto* foreign = ui::WParamToPointer<ui::DeviceContext>(message.wParam)) {
    // Someone else's context: its clip says what to compose, and nothing is put off.
    m_UpdateRect = foreign->ClipBox();
    m_AreaHooksDone = false;
    if (!m_UpdateRect.IsEmpty()) Compose(*foreign);
    return;
  }
  ui::PaintStruct paint;
  BeginPaint(paint);
  m_UpdateRect = paint.rcPaint;
  ui::WeakRef<TCustomDIBContainer> self(this);
  try {
    if (!paint.area.IsEmpty() && !m_AreaHooksDone && ExtendedByHooks(paint.rcPaint)) {
      if (!self) return;
      // Paint the enlarged area instead, without asking the controls again.
      m_AreaHooksDone = true;
      EndPaint(paint);
      ValidateRect(paint.rcPaint);
      InvalidateRect(m_UpdateRect, false);
      return;
    }
    if (!self) return;
    m_AreaHooksDone = false;
    if (!paint.area.IsEmpty()) Compose(paint.dc);
  } catch (...) {
    if (self) EndPaint(paint);
    throw;
  }
  if (self) EndPaint(paint);
}

bool TCustomDIBContainer::ExtendedByHooks(const ui::Rect& painted) {
  for (int i = 0; i < ControlCount(); ++i) {
    if (TCustomDIBControl* control = AsDIBControl(&Controls(i))) {
      control->ExtendUpdateRect(m_UpdateRect);
    }
  }
  const ui::Rect& r = m_UpdateRect;
  return r.Left != painted.Left || r.Top != painted.Top || r.Right != painted.Right ||
         std::abs(r.Bottom - painted.Bottom) > 2;
}

// Everything drawn into the back buffer stays inside UpdateRect: its clip rectangle limits the
// images drawn into it, its context's clip the children that draw through the context.
void TCustomDIBContainer::Compose(ui::DeviceContext& dc) {
  FLUX_ASSERT(IsLoading() ||
              (m_BackBuffer->Width() == std::max<uint16_t>(ImageSide(Width()), 1) &&
               m_BackBuffer->Height() == std::max<uint16_t>(ImageSide(Height()), 1)));
  const ui::Rect& r = m_UpdateRect;
  m_BackBuffer->SetClipRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});  // inclusive edges
  ui::DeviceContext& back = m_BackBuffer->Handle();
  back.Save();
  back.SelectClipRegion(ui::Region(r));
  ui::WeakRef<TCustomDIBContainer> self(this);
  try {
    DoBeforePaint();
    if (self) PaintHandler(back);
    if (self) DoAfterPaint();
  } catch (...) {
    if (self) back.Restore();
    throw;
  }
  if (!self) return;
  back.Restore();
  Present(dc);
}

void TCustomDIBContainer::Present(ui::DeviceContext& dc) {
  const ui::Rect& r = m_UpdateRect;
  const bool paletteDisplay =
      !HasState(ui::ComponentState::Designing) && ui::Screen::BitsPerPixel() == 8;
  const ui::LogicalPalette* chosen =
      paletteDisplay && m_Palette != nullptr ? &m_Palette->PaletteHandle() : nullptr;
  const ui::LogicalPalette* previous = chosen ? dc.SelectPalette(chosen, false) : nullptr;
  if (chosen && !m_Palette->LookupTable().empty() && dc.BitsPerPixel() == 8) {
    m_BackBuffer->Render8Bit(dc, r.Left, r.Top, r.Width(), r.Height(), r.Left, r.Top, kSourceCopy,
                             *m_Palette);
  } else {
    ui::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), m_BackBuffer->Handle(), r.Left, r.Top);
  }
  if (chosen) dc.SelectPalette(previous, false);
}

void TCustomDIBContainer::Paint() {
  const ui::Color color = ui::ColorToRGB(Color());
  const ui::Rect& r = m_UpdateRect;
  if (r == ClientRect()) {
    m_BackBuffer->Fill(color);
  } else {
    m_BackBuffer->FillRect(color, r.Left, r.Top, r.Width(), r.Height());
  }
}

void TCustomDIBContainer::PaintControls(ui::DeviceContext& dc, ui::Control* first) {
  if (m_BorderDrawPosition == bdUnderControls) DrawBorder();
  ui::Panel::PaintControls(dc, first);
}

void TCustomDIBContainer::PaintControl(ui::DeviceContext& dc, ui::Control& child) {
  TCustomDIBControl* skinned = AsDIBControl(&child);
  if (skinned == nullptr) {
    ui::Panel::PaintControl(dc, child);
    return;
  }
  m_ControlBuffer->SetSize(ImageSide(child.Width()), ImageSide(child.Height()));
  m_ControlBuffer->ResetProperties();
  // Lent for this paint only.
  struct Loan {
    ui::WeakRef<TCustomDIBControl> borrower;
    ~Loan() {
      if (TCustomDIBControl* c = borrower.Get()) c->SetDIB(nullptr);
    }
  } loan{skinned};
  skinned->SetDIB(m_ControlBuffer.get());
  ui::Panel::PaintControl(dc, child);
}

void TCustomDIBContainer::DrawBorder() {
  if (m_DIBBorder != nullptr) m_DIBBorder->Draw(*m_BackBuffer, ClientRect());
}

void TCustomDIBContainer::DoBeforePaint() {
  BeforePaint(this, *m_BackBuffer);
}

void TCustomDIBContainer::DoAfterPaint() {
  if (m_BorderDrawPosition == bdOverControls) DrawBorder();
  AfterPaint(this, *m_BackBuffer);
}

// Keyboard ----------------------------------------------------------------------------------

void TCustomDIBContainer::SetActiveControl(ui::Control* control) {
  if (m_ChangingActive) return;
  m_ChangingActive = true;
  ui::WeakRef<TCustomDIBContainer> self(this);
  struct Guard {
    ui::WeakRef<TCustomDIBContainer>& self;
    ~Guard() {
      if (TCustomDIBContainer* container = self.Get()) container->m_ChangingActive = false;
    }
  } guard{self};
  // A windowed child takes the window focus itself, and loses it as the new one takes the
  // keyboard: given only focus messages, it would get no keys of its own, and the form, still
  // seeing the container focused, would move the next Tab on to that same child.
  ui::Control* old = m_ActiveControl.Get();
  if (old != nullptr && old != control && old->AsWindowed() == nullptr) {
    old->Perform(ui::WM_KILLFOCUS);
    if (!self) return;
  }
  m_ActiveControl = control;
  if (control != nullptr) {
    if (ui::WindowedControl* windowed = control->AsWindowed()) {
      windowed->SetFocus();
    } else {
      control->Perform(ui::WM_SETFOCUS);
    }
    if (!self) return;
  }
  OnActiveControlChange(this);
}

void TCustomDIBContainer::DoEnter() {
  if (m_ActiveControl) return;
  if (!m_DIBTabList.empty()) {
    const bool backward = ui::Application::Instance().IsKeyDown(ui::VK_SHIFT);
    ui::WeakRef<TCustomDIBContainer> self(this);
    SetActiveControl(backward ? LastTabControl() : FirstTabControl());
    if (!self) return;
  }
  ui::Panel::DoEnter();
}

void TCustomDIBContainer::DoExit() {
  ui::WeakRef<TCustomDIBContainer> self(this);
  SetActiveControl(nullptr);
  if (self) ui::Panel::DoExit();
}

void TCustomDIBContainer::FocusChanged(ui::Message& message) {
  auto* focused = ui::LParamToPointer<ui::WindowedControl>(message.lParam);
  ui::WeakRef<TCustomDIBContainer> self(this);
  if (focused != nullptr && focused->Parent() == this) {
    SetActiveControl(focused);
  } else if (focused == this) {
    // Shift+Tab from outside: the focus came backward, to the last tab stop before the
    // windowed children.
    ui::Control* last = LastTabControl();
    if (last != nullptr && last->AsWindowed() != nullptr &&
        ui::Application::Instance().IsKeyDown(ui::VK_SHIFT)) {
      SelectPriorTabControl();
    }
  } else {
    SetActiveControl(nullptr);  // told even when no child had the keyboard
  }
  if (self) ui::Panel::Dispatch(message);  // on to the windowed children
}

// Whether the key goes to ActiveControl; shortCut tells that a shortcut took it. Only key-downs
// are offered as shortcuts: menus match a key code whatever the message, so a release would run
// the shortcut again, and a character the shortcut of the key whose code it has.
bool TCustomDIBContainer::ControlWantsKey(ui::Message& message, bool& shortCut) {
  shortCut = false;
  ui::Control* active = m_ActiveControl.Get();
  if (active == nullptr) return false;
  message.result = 1;
  ui::WeakRef<ui::Control> alive(active);
  if (message.msg == ui::CN_KEYDOWN) {
    TCustomDIBControl* skinned = AsDIBControl(active);
    shortCut = skinned != nullptr ? skinned->IsShortCut(message) : active->IsMenuKey(message);
    if (shortCut || !alive) return false;
  }
  if (HasState(ui::ComponentState::Designing)) return true;
  if (active->Perform(ui::CM_CHILDKEY, message.wParam, ui::PointerToLParam(this)) != 0 || !alive) {
    return false;
  }
  const intptr_t mask = ui::DialogCodeFor(message.wParam);
  if (mask == 0) return true;
  const intptr_t code = active->Perform(ui::WM_GETDLGCODE);
  return code == ui::DLGC_WANTALLKEYS || (code & mask) != 0;
}

void TCustomDIBContainer::ForwardKey(ui::Message& message, uint32_t keyMessage) {
  bool shortCut = false;
  if (!ControlWantsKey(message, shortCut)) return;
  if (ui::Control* active = m_ActiveControl.Get()) {
    message.result = active->Perform(keyMessage, message.wParam, message.lParam);
  }
}

void TCustomDIBContainer::KeyDownMessage(ui::Message& message) {
  ui::WeakRef<TCustomDIBContainer> self(this);
  bool shortCut = false;
  if (ControlWantsKey(message, shortCut)) {
    if (ui::Control* active = m_ActiveControl.Get()) {
      message.result = active->Perform(ui::WM_KEYDOWN, message.wParam, message.lParam);
    }
    return;
  }
  // A shortcut that ran is done with: the standard processing would run it again.
  if (!self || shortCut) return;
  ui::Application& application = ui::Application::Instance();
  ui::Control* last = LastTabControl();
  if (last != nullptr && last == application.ActiveControl()) {
    ui::Panel::Dispatch(message);
    return;
  }
  if (message.wParam == ui::VK_TAB) {
    m_Tabbing = true;
    bool moved = false;
    try {
      moved =
          application.IsKeyDown(ui::VK_SHIFT) ? SelectPriorTabControl() : SelectNextTabControl();
    } catch (...) {
      if (self) m_Tabbing = false;
      throw;
    }
    if (!self) return;
    m_Tabbing = false;
    if (moved) {
      message.result = 1;
      return;
    }
  }
  ui::Panel::Dispatch(message);  // shortcuts, and dialog keys that move the focus on
  if (self && application.ActiveControl() == this) DoEnter();
}

// Tab order ---------------------------------------------------------------------------------

int TCustomDIBContainer::IndexOfDIBControl(const TCustomDIBControl* control) const {
  const auto at = std::find(m_DIBTabList.begin(), m_DIBTabList.end(), control);
  return at == m_DIBTabList.end() ? -1 : static_cast<int>(at - m_DIBTabList.begin());
}

void TCustomDIBContainer::SetControlTabIndex(TCustomDIBControl* control, int32_t index) {
  if (control == nullptr) return;
  const int current = IndexOfDIBControl(control);
  if (index == current) return;
  if (current >= 0) m_DIBTabList.erase(m_DIBTabList.begin() + current);
  if (index >= 0) {
    const auto at = std::min(static_cast<std::size_t>(index), m_DIBTabList.size());
    m_DIBTabList.insert(m_DIBTabList.begin() + static_cast<std::ptrdiff_t>(at), control);
  }
  SetTabStop(!m_DIBTabList.empty());
}

void TCustomDIBContainer::RebuildDIBTabOrder() {
  std::vector<TCustomDIBControl*> slots(static_cast<std::size_t>(ControlCount()), nullptr);
  for (int i = 0; i < ControlCount(); ++i) {
    TCustomDIBControl* control = AsDIBControl(&Controls(i));
    if (control == nullptr || control->StoredDIBTabOrder() < 0) continue;
    const auto slot = static_cast<std::size_t>(control->StoredDIBTabOrder());
    if (slot >= slots.size()) slots.resize(slot + 1, nullptr);
    slots[slot] = control;
  }
  for (std::size_t slot = 0; slot < slots.size(); ++slot) {
    if (slots[slot] != nullptr) SetControlTabIndex(slots[slot], static_cast<int32_t>(slot));
  }
  // Each control stores the place it got, so that applying its stored order when it is loaded
  // itself keeps it there.
  const std::vector<TCustomDIBControl*> placed = m_DIBTabList;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    placed[i]->SetDIBTabOrder(static_cast<int16_t>(i));
  }
}

int32_t TCustomDIBContainer::CombinedTabIndex(const ui::Control* control) const {
  if (control == nullptr) return -1;
  if (const TCustomDIBControl* skinned = AsDIBControl(control)) return IndexOfDIBControl(skinned);
  const ui::WindowedControl* windowed = control->AsWindowed();
  if (windowed == nullptr || windowed->Parent() != this) return -1;
  return windowed->TabOrder() + ControlCount();
}

TCustomDIBControl* TCustomDIBContainer::NextEnabledDIBControl(const TCustomDIBControl* from,
                                                              bool forward) const {
  const int count = static_cast<int>(m_DIBTabList.size());
  if (count == 0) return nullptr;
  int start = IndexOfDIBControl(from);
  if (start < 0) start = forward ? count - 1 : 0;
  int i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    TCustomDIBControl* candidate = m_DIBTabList[static_cast<std::size_t>(i)];
    if (candidate->Enabled()) return candidate;
  } while (i != start);
  return nullptr;
}

ui::Control* TCustomDIBContainer::FirstTabControl() const {
  if (!m_DIBTabList.empty()) return m_DIBTabList.front();
  std::vector<ui::WindowedControl*> order;
  GetTabOrderList(order);
  for (ui::WindowedControl* windowed : order) {
    if (windowed->Parent() == this && windowed->TabStop()) return windowed;
  }
  return nullptr;
}

ui::Control* TCustomDIBContainer::LastTabControl() const {
  std::vector<ui::WindowedControl*> order;
  GetTabOrderList(order);
  if (!order.empty()) return order.back();
  if (!m_DIBTabList.empty()) return m_DIBTabList.back();
  return nullptr;
}

ui::Control* TCustomDIBContainer::FindNextTabControl() const {
  ui::Control* active = m_ActiveControl.Get();
  ui::WindowedControl* activeWindowed = active != nullptr ? active->AsWindowed() : nullptr;
  const int32_t activeIndex = CombinedTabIndex(active);
  // Whatever lies before the active control was reached by wrapping round.
  const auto ahead = [&](ui::Control* c) {
    return c != nullptr && CombinedTabIndex(c) >= activeIndex ? c : nullptr;
  };
  ui::Control* next = nullptr;
  if (activeWindowed == nullptr) {
    next = ahead(NextEnabledDIBControl(AsDIBControl(active), true));
  }
  if (next == nullptr || activeWindowed != nullptr) {
    next = ahead(FindNextControl(activeWindowed, true, true, true));
  }
  return next;
}

ui::Control* TCustomDIBContainer::FindPriorTabControl() const {
  ui::Control* active = m_ActiveControl.Get();
  ui::WindowedControl* activeWindowed = active != nullptr ? active->AsWindowed() : nullptr;
  const int32_t activeIndex = CombinedTabIndex(active);
  const auto behind = [&](ui::Control* c) {
    const int32_t index = c != nullptr ? CombinedTabIndex(c) : -1;
    return index != -1 && index <= activeIndex ? c : nullptr;
  };
  ui::Control* prior = nullptr;
  if (activeWindowed != nullptr) {
    prior = behind(FindNextControl(activeWindowed, false, true, true));
    // Round to itself: the skinned controls before it come next. Taken again, it would get the
    // window focus back, and Shift+Tab could never leave it.
    if (prior == active) prior = nullptr;
  }
  if (prior == nullptr) {
    prior = behind(NextEnabledDIBControl(AsDIBControl(active), false));
  }
  return prior;
}

bool TCustomDIBContainer::SelectNextTabControl() {
  const int32_t from = CombinedTabIndex(m_ActiveControl.Get());
  ui::Control* next = FindNextTabControl();
  const bool moved = next != nullptr && CombinedTabIndex(next) > from;
  SetActiveControl(next);
  return moved;
}

bool TCustomDIBContainer::SelectPriorTabControl() {
  const int32_t from = CombinedTabIndex(m_ActiveControl.Get());
  ui::Control* prior = FindPriorTabControl();
  const int32_t to = CombinedTabIndex(prior);
  const bool moved = prior != nullptr && to < from && to != -1;
  SetActiveControl(prior);
  return moved;
}

#include "DIB/cDIBControl.h"

#include <algorithm>

#include "DIB/DIBControlHost.h"
#include "common/Assert.h"
#include "ui/controls/Application.h"
#include "ui/controls/Form.h"
#include "ui/controls/PopupMenu.h"
#include "ui/model/TypeBuilder.h"

namespace {

TDIBControlHost* FirstContainerAmong(const ui::Component& owner) {
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    if (auto* container = dynamic_cast<TDIBControlHost*>(&owner.Components(i))) {
      return container;
    }
  }
  return nullptr;
}

// Checked before the control joins its owner.
ui::Component* RequireContainerOwner(ui::Component* owner) {
  if (owner == nullptr) throw ui::Exception("Owner cannot be nil");
  if (dynamic_cast<TDIBControlHost*>(owner) == nullptr && !FirstContainerAmong(*owner)) {
    throw ui::Exception("Parent must be a TDIBContainer");
  }
  return owner;
}

// Where the back buffer is read from: images are at most 65535 pixels wide.
uint16_t SourceOffset(int32_t position) {
  return static_cast<uint16_t>(std::clamp<int32_t>(position, 0, 65535));
}

ui::TMouseButtons ButtonBit(ui::TMouseButton button) {
  return static_cast<ui::TMouseButtons>(1u << button);
}

// One menu for every skinned control without a popup menu of its own, filled afresh for each.
ui::PopupMenu& SharedContextMenu() {
  static ui::PopupMenu menu(nullptr);
  return menu;
}

}  // namespace

TCustomDIBControl::TCustomDIBControl(ui::Component* owner)
    : ui::WindowlessControl(RequireContainerOwner(owner)),
      m_AttachedControls(std::make_unique<TControlList>(this)),
      m_RepeatTimer(std::make_unique<TDIBTimer>(nullptr)),
      m_DIBFeatures(std::make_unique<TDIBFeatures>(this)) {
  SetBounds(0, 0, 32, 32);
  m_RepeatTimer->SetOnTimer(ui::Bind<&TCustomDIBControl::RepeatTick>(this));
  RegisterTemplateProperty("Width");
  RegisterTemplateProperty("Height");
}

TCustomDIBControl::~TCustomDIBControl() {
  BeginDestruction();
  DestroyComponents();  // its features, which serve it, go while it is whole
  if (TDIBControlHost* container = Container()) container->DIBControlRemoved(*this);
}

const ui::TypeInfo& TCustomDIBControl::StaticType() {
  using T = TCustomDIBControl;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TCustomDIBControl", ui::WindowlessControl::StaticType())
          .Character("Accelerator", &T::Accelerator, &T::SetAccelerator)
          .Object("DIBFeatures", &T::DIBFeatures)
          .Reference("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
          .Integer("Opacity", &T::Opacity, &T::SetOpacity)
          .Integer("DIBTabOrder", &T::DIBTabOrder, &T::SetDIBTabOrder)
          .Event("OnMouseEnter")
          .Event("OnMouseLeave")
          .Event("OnEnter")
          .Event("OnExit")
          .Event("OnKeyDown")
          .Event("OnKeyPress")
          .Event("OnKeyUp")
          .Build();
  return type;
}

// Parent and placement ----------------------------------------------------------------------

// Only containers become parents, and only here.
void TCustomDIBControl::SetParent(ui::WindowedControl* parent) {
  TDIBControlHost* container = nullptr;
  if (parent != nullptr) {
    container = dynamic_cast<TDIBControlHost*>(parent);
    if (container == nullptr) container = FirstContainerAmong(*parent);
    if (container == nullptr) throw ui::Exception("Parent must be a TDIBContainer");
  }
  TDIBControlHost* old = m_Container;
  if (old == container) return;
  // The old container must not keep a tab stop that lives elsewhere.
  if (old != nullptr) old->DIBControlRemoved(*this);
  ui::WindowlessControl::SetParent(container != nullptr ? &container->HostWindow() : nullptr);
  m_Container = container;
  FLUX_ASSERT(m_Container == dynamic_cast<TDIBControlHost*>(Parent()));
  if (container != nullptr) container->DIBControlAdded(*this);
  SetDIBTabOrder(m_DIBTabOrder);
}

int16_t TCustomDIBControl::DIBTabOrder() const {
  const TDIBControlHost* container = Container();
  return static_cast<int16_t>(container != nullptr ? container->IndexOfDIBControl(this) : -1);
}

void TCustomDIBControl::SetDIBTabOrder(int16_t order) {
  order = std::max<int16_t>(order, -1);  // a stored -5 must not index anything
  TDIBControlHost* container = Container();
  if (container == nullptr || HasState(ui::ComponentState::Reading)) {
    m_DIBTabOrder = order;
    return;
  }
  container->SetControlTabIndex(this, order);
  m_DIBTabOrder = static_cast<int16_t>(container->IndexOfDIBControl(this));
}

void TCustomDIBControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (m_InSetBounds) return;
  const int32_t oldLeft = Left(), oldTop = Top();
  m_SizeUnchanged = width == Width() && height == Height();
  m_InSetBounds = true;
  struct Flags {
    TCustomDIBControl& control;
    ~Flags() { control.m_InSetBounds = control.m_SizeUnchanged = false; }
  } flags{*this};
  ui::WindowlessControl::SetBounds(left, top, width, height);
  const int32_t dx = Left() - oldLeft, dy = Top() - oldTop;
  if (dx == 0 && dy == 0) return;
  for (int i = 0; i < m_AttachedControls->Count(); ++i) {
    if (ui::Control* attached = m_AttachedControls->Items(i).Control()) {
      attached->SetBounds(attached->Left() + dx, attached->Top() + dy, attached->Width(),
                          attached->Height());
    }
  }
}

void TCustomDIBControl::Invalidate() {
  ui::WindowlessControl::Invalidate();
  if (!m_SizeUnchanged) {
    m_LastInvalidated = std::max(ui::Application::Instance().TickCount(), m_LastInvalidated + 1);
  }
}

void TCustomDIBControl::Loaded() {
  m_Loading = false;
  ui::WindowlessControl::Loaded();
  m_DIBFeatures->Loaded();
  SetDIBTabOrder(m_DIBTabOrder);
}

void TCustomDIBControl::Notification(ui::Component& component, ui::Operation operation) {
  ui::WindowlessControl::Notification(component, operation);
  if (operation != ui::Operation::Remove || &component == this ||
      HasState(ui::ComponentState::Destroying)) {
    return;
  }
  if (&component == m_DIBImageList) m_DIBImageList = nullptr;  // its links are detached
  m_AttachedControls->Forget(component);
}

// Images ------------------------------------------------------------------------------------

void TCustomDIBControl::SetDIBImageList(TCustomDIBImageList* list) {
  if (m_DIBImageList != nullptr) m_DIBImageList->RemoveFreeNotification(*this);
  m_DIBImageList = list;
  for (const std::unique_ptr<TDIBImageLink>& link : m_ImageLinks) link->SetDIBImageList(list);
  if (list != nullptr) list->FreeNotification(*this);
}

TDIBImageLink& TCustomDIBControl::CreateImageLink() {
  auto link = std::make_unique<TDIBImageLink>(this);
  link->SetOnImageChange(ui::Bind<&TCustomDIBControl::LinkChanged>(this));
  m_ImageLinks.push_back(std::move(link));
  return *m_ImageLinks.back();
}

void TCustomDIBControl::LinkChanged(TDIBImageLink*, int32_t index, TDIBImageChangeKind kind) {
  if (!HasState(ui::ComponentState::Destroying)) ImageChanged(index, kind);
}

void TCustomDIBControl::ImageChanged(int32_t, TDIBImageChangeKind) {}

void TCustomDIBControl::SetOpacity(uint8_t opacity) {
  if (opacity == m_Opacity) return;
  m_Opacity = opacity;
  Invalidate();
}

void TCustomDIBControl::RegisterTemplateProperty(const std::string& name) {
  const ui::PropertyInfo* property = Type().FindProperty(name);
  if (property == nullptr) {
    throw EDIBControlError("Class " + ClassName() + " is trying to register " + name +
                           " as a template property, and that property does not exist.");
  }
  // A template holds values: no handlers, and no component that the property holds now,
  // whether held elsewhere or owned (a reference that holds nothing is a value).
  const ui::Component* held = nullptr;
  if (property->kind == ui::PropertyKind::Reference) {
    held = property->getReference(*this);
  } else if (property->kind == ui::PropertyKind::Object) {
    held = dynamic_cast<ui::Component*>(property->getObject(*this));
  }
  if (held != nullptr || property->kind == ui::PropertyKind::Event) {
    throw EDIBControlError("Attempting to template an invalid property type.");
  }
  if (std::find(m_TemplateProperties.begin(), m_TemplateProperties.end(), name) ==
      m_TemplateProperties.end()) {
    m_TemplateProperties.push_back(name);
  }
}

// Painting ----------------------------------------------------------------------------------

void TCustomDIBControl::ExtendUpdateRect(ui::Rect&) {}

// The lent image starts as what lies beneath the control; the control draws into it, and the
// result is blended into the back buffer, whose clip rectangle holds it to the area repainted.
void TCustomDIBControl::PaintInto(TDIBControlHost& container) {
  TAbstractSuperDIB& dib = *m_DIB;
  TWinDIB& back = container.BackBuffer();
  back.Draw(std::max(-Left(), 0), std::max(-Top(), 0), Width(), Height(), dib, SourceOffset(Left()),
            SourceOffset(Top()));
  auto* surface = dynamic_cast<TCustomWinDIB*>(&dib);
  ui::Canvas& canvas = Canvas();
  canvas.SetHandle(surface != nullptr ? &surface->Handle() : nullptr);
  try {
    DoPaintStart();
    Paint();
    DoPaintEnd();
    if (Designing()) {
      canvas.pen = {ui::clBlack, ui::PenStyle::Dash};
      canvas.brush.style = ui::BrushStyle::Clear;
      canvas.Rectangle({0, 0, Width(), Height()});
    }
  } catch (...) {
    canvas.SetHandle(nullptr);
    throw;
  }
  canvas.SetHandle(nullptr);
  dib.SetOpacity(m_Opacity);
  dib.Draw(Left(), Top(), dib.Width(), dib.Height(), back, 0, 0);
}

void TCustomDIBControl::DoPaintStart() {
  OnPaintStart(this);
}

void TCustomDIBControl::Paint() {
  OnPaint(this);
}

void TCustomDIBControl::DoPaintEnd() {
  OnPaintEnd(this);
}

// Messages ----------------------------------------------------------------------------------

void TCustomDIBControl::WndProc(ui::Message& message) {
  if (Designing()) {
    ui::WindowlessControl::WndProc(message);
    return;
  }
  ui::WeakRef<TCustomDIBControl> self(this);
  bool handled = false;
  m_DIBFeatures->Dispatch(message, handled);
  if (!self) return;
  switch (message.msg) {
    case ui::WM_LBUTTONDOWN:
      m_SavedPress = message;
      if (m_AutoRepeat && !m_RepeatTimer->Enabled()) StartRepeat();
      break;
    case ui::WM_MOUSEMOVE:
      m_SavedPress.wParam = message.wParam;
      m_SavedPress.lParam = message.lParam;
      m_MousePosition = ui::LParamToPoint(message.lParam);
      if (m_MouseInside && !m_Hot) Perform(ui::CM_MOUSEENTER);
      break;
    case ui::WM_LBUTTONUP:
      m_RepeatTimer->SetEnabled(false);
      if (m_Hot && !m_MouseInside) Perform(ui::CM_MOUSELEAVE);
      break;
    case ui::CM_MOUSEENTER:
      MouseEnter();
      if (self && MouseCapture()) {
        // Back over the control with the button held: the repetition goes on.
        if (m_AutoRepeat) m_RepeatTimer->SetEnabled(true);
        return;
      }
      break;
    case ui::CM_MOUSELEAVE:
      m_RepeatTimer->SetEnabled(false);
      MouseLeave();
      break;
    default:
      break;
  }
  if (self && !handled) ui::WindowlessControl::WndProc(message);
}

void TCustomDIBControl::Dispatch(ui::Message& message) {
  switch (message.msg) {
    case ui::WM_PAINT:
      if (TDIBControlHost* container = Container(); container && m_DIB && message.wParam) {
        PaintInto(*container);
      }
      return;
    case ui::WM_SETFOCUS:
      if (Enabled() && !m_Focused) GotFocus();
      return;
    case ui::WM_KILLFOCUS:
      LostFocus();
      return;
    case ui::WM_KEYDOWN:
      if (!DoKeyDown(message)) DefaultHandler(message);
      return;
    case ui::WM_KEYUP:
      if (!DoKeyUp(message)) DefaultHandler(message);
      return;
    case ui::WM_CHAR:
      if (!DoKeyPress(message)) DefaultHandler(message);
      return;
    case ui::WM_GETDLGCODE:
      if (m_WantKeys & (1 << wkAllKeys)) {
        message.result = ui::DLGC_WANTALLKEYS;
      } else {
        message.result = ((m_WantKeys & (1 << wkTab)) ? ui::DLGC_WANTTAB : 0) |
                         ((m_WantKeys & (1 << wkArrows)) ? ui::DLGC_WANTARROWS : 0);
      }
      return;
    case ui::CM_ENABLEDCHANGED:
      ui::WindowlessControl::Dispatch(message);
      EnabledChanged();
      return;
    case ui::CM_DIALOGCHAR:
      DialogChar(message);
      return;
    case ui::WM_CAPTURECHANGED:
      ui::WindowlessControl::Dispatch(message);
      CaptureLost();
      return;
    default:
      ui::WindowlessControl::Dispatch(message);
  }
}

// Losing the mouse in the middle of a press ends the press as a release would, so that
// nothing goes on dragging or repeating with no button held.
void TCustomDIBControl::CaptureLost() {
  if (m_MouseButtons & ButtonBit(ui::mbLeft)) {
    Perform(ui::WM_LBUTTONUP, 0, m_SavedPress.lParam);
  }
}

// A disabled control gives up the keyboard altogether: as its container's active control it
// would go on being sent the keys.
void TCustomDIBControl::EnabledChanged() {
  if (Enabled()) return;
  TDIBControlHost* container = Container();
  if (container != nullptr && container->ActiveControl() == this) {
    container->SetActiveControl(nullptr);  // with WM_KILLFOCUS
  } else if (m_Focused) {
    LostFocus();
  }
}

void TCustomDIBControl::DialogChar(ui::Message& message) {
  m_ShiftState = ui::KeyDataToShiftState(message.lParam);
  TDIBControlHost* container = Container();
  if (m_Accelerator != '\0' && message.wParam == static_cast<unsigned char>(m_Accelerator) &&
      Enabled() && Visible() && (m_ShiftState & ui::ssAlt) && container != nullptr &&
      container->HostWindow().CanFocus()) {
    Click();
    message.result = 0;
    return;
  }
  ui::WindowlessControl::Dispatch(message);
}

// Hover -------------------------------------------------------------------------------------

// Every entry is told, also the mouse coming back to the control that holds it (which kept
// it hot while the mouse was away): only the highlight is kept from happening twice.
void TCustomDIBControl::MouseEnter() {
  const bool highlight = !m_Focused && !m_Hot;
  m_MouseInside = true;
  m_Hot = true;
  ui::WeakRef<TCustomDIBControl> self(this);
  if (highlight) Highlight();
  if (self) OnMouseEnter(this);
}

// While the control holds the mouse it stays hot; the release ends the hover.
void TCustomDIBControl::MouseLeave() {
  m_MouseInside = false;
  if (MouseCapture()) return;
  m_Hot = false;
  ui::WeakRef<TCustomDIBControl> self(this);
  OnMouseLeave(this);
  if (self && !m_Focused) Unhighlight();
}

void TCustomDIBControl::Highlight() {}

void TCustomDIBControl::Unhighlight() {}

// Auto-repeat -------------------------------------------------------------------------------

// A new press repeats even when the one before asked to stop and was released before the
// timer could see it.
void TCustomDIBControl::StartRepeat() {
  m_StopRequested = false;
  m_RepeatTimer->SetInterval(static_cast<uint32_t>(std::max(m_RepeatInterval, 0)));
  m_RepeatTimer->SetEnabled(true);
}

void TCustomDIBControl::StopRepeat() {
  m_StopRequested = true;
}

void TCustomDIBControl::RepeatTick(ui::Persistent*) {
  if (m_StopRequested) {
    m_StopRequested = false;
    m_RepeatTimer->SetEnabled(false);
    return;
  }
  Perform(m_SavedPress.msg, m_SavedPress.wParam, m_SavedPress.lParam);
}

// Mouse and focus ---------------------------------------------------------------------------

bool TCustomDIBControl::InTabList() const {
  const TDIBControlHost* container = Container();
  return container != nullptr && container->IndexOfDIBControl(this) >= 0;
}

void TCustomDIBControl::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                  int32_t y) {
  m_ShiftState = shift;
  m_MouseButtons = static_cast<ui::TMouseButtons>(m_MouseButtons | ButtonBit(button));
  ui::WeakRef<TCustomDIBControl> self(this);
  if (InTabList()) Perform(ui::WM_SETFOCUS);
  if (self) ui::WindowlessControl::MouseDown(button, shift, x, y);
}

void TCustomDIBControl::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                int32_t y) {
  m_ShiftState = shift;
  m_MouseButtons = static_cast<ui::TMouseButtons>(m_MouseButtons & ~ButtonBit(button));
  ui::WeakRef<TCustomDIBControl> self(this);
  ui::WindowlessControl::MouseUp(button, shift, x, y);
  // A drag that left the control ends its hover now that the mouse is free.
  if (self && button == ui::mbLeft && m_Hot && !m_MouseInside) MouseLeave();
}

void TCustomDIBControl::Click() {
  ui::WeakRef<TCustomDIBControl> self(this);
  ui::WindowlessControl::Click();
  if (self && InTabList() && !m_Focused) Perform(ui::WM_SETFOCUS);
}

void TCustomDIBControl::GotFocus() {
  const bool highlight = !m_Focused && !m_Hot;
  m_Focused = true;
  ui::WeakRef<TCustomDIBControl> self(this);
  if (TDIBControlHost* container = Container()) {
    container->SetActiveControl(this);
    if (self) container->HostWindow().SetFocus();
    if (!self) return;
  }
  if (highlight) Highlight();
  if (self) OnEnter(this);
}

void TCustomDIBControl::LostFocus() {
  m_Focused = false;
  ui::WeakRef<TCustomDIBControl> self(this);
  OnExit(this);
  if (self && !m_Focused && !m_Hot) Unhighlight();
}

// Keys --------------------------------------------------------------------------------------

bool TCustomDIBControl::IsShortCut(ui::Message& message) {
  return !Designing() && IsMenuKey(message);
}

bool TCustomDIBControl::DoKeyDown(ui::Message& message) {
  return DoKey(message, &TCustomDIBControl::KeyDown);
}

bool TCustomDIBControl::DoKeyUp(ui::Message& message) {
  return DoKey(message, &TCustomDIBControl::KeyUp);
}

bool TCustomDIBControl::DoKey(ui::Message& message,
                              void (TCustomDIBControl::*handler)(uint16_t&, ui::TShiftState)) {
  ui::WeakRef<TCustomDIBControl> self(this);
  ui::Form* form = ParentForm();
  if (form != nullptr && form->PreviewKey(message)) return true;
  if (!self) return true;
  m_ShiftState = ui::KeyDataToShiftState(message.lParam);
  if (ControlStyle() & ui::csNoStdEvents) return false;
  auto key = static_cast<uint16_t>(message.wParam);
  (this->*handler)(key, m_ShiftState);
  if (!self) return true;
  message.wParam = key;
  return key == 0;
}

bool TCustomDIBControl::DoKeyPress(ui::Message& message) {
  ui::WeakRef<TCustomDIBControl> self(this);
  ui::Form* form = ParentForm();
  if (form != nullptr && form->PreviewKey(message)) return true;
  if (!self) return true;
  auto key = static_cast<char>(message.wParam);
  KeyPress(key);
  if (!self) return true;
  message.wParam = static_cast<unsigned char>(key);
  return key == '\0';
}

void TCustomDIBControl::KeyDown(uint16_t& key, ui::TShiftState shift) {
  OnKeyDown(this, key, shift);
}

void TCustomDIBControl::KeyUp(uint16_t& key, ui::TShiftState shift) {
  OnKeyUp(this, key, shift);
}

void TCustomDIBControl::KeyPress(char& key) {
  OnKeyPress(this, key);
}

// Context menu ------------------------------------------------------------------------------

ui::PopupMenu* TCustomDIBControl::GetPopupMenu() {
  if (ui::PopupMenu* own = PopupMenu()) return own;
  ui::PopupMenu& shared = SharedContextMenu();
  ClearContextMenu(shared);
  BuildContextMenu(shared);
  return shared.Items().Count() > 0 ? &shared : nullptr;
}

void TCustomDIBControl::ClearContextMenu(ui::PopupMenu& menu) {
  menu.Items().Clear();
}

void TCustomDIBControl::BuildContextMenu(ui::PopupMenu&) {}

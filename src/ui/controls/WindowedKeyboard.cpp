// The keyboard side of a windowed control: tab order, focus, and the key path (reflection,
// dialog keys and characters, key events).
#include <algorithm>

#include "ui/controls/Application.h"
#include "ui/controls/Form.h"
#include "ui/controls/WindowedControl.h"

namespace ui {

int16_t WindowedControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->m_TabList;
  const auto at = std::find(list.begin(), list.end(), this);
  return at == list.end() ? int16_t{-1} : static_cast<int16_t>(at - list.begin());
}

void WindowedControl::SetTabOrder(int16_t order) {
  if (IsLoading()) {
    m_StoredTabOrder = order;  // the siblings it counts among may not be read yet
    return;
  }
  if (!Parent()) return;
  auto& list = Parent()->m_TabList;
  const auto at = std::find(list.begin(), list.end(), this);
  if (at == list.end()) return;
  list.erase(at);
  const auto index = std::clamp<std::ptrdiff_t>(order, 0, static_cast<std::ptrdiff_t>(list.size()));
  list.insert(list.begin() + index, this);
}

void WindowedControl::GetTabOrderList(std::vector<WindowedControl*>& list) const {
  for (WindowedControl* child : m_TabList) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

WindowedControl* WindowedControl::FindNextControl(WindowedControl* current, bool forward,
                                                  bool checkTabStop, bool checkParent) const {
  std::vector<WindowedControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(list.size());
  std::ptrdiff_t start = std::find(list.begin(), list.end(), current) - list.begin();
  if (start == count) start = forward ? count - 1 : 0;
  std::ptrdiff_t i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    WindowedControl* candidate = list[static_cast<std::size_t>(i)];
    if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
        (!checkParent || candidate->Parent() == this)) {
      return candidate;
    }
  } while (i != start);
  return nullptr;
}

void WindowedControl::SelectNext(WindowedControl* current, bool forward, bool checkTabStop) {
  if (WindowedControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop)) {
    next->SetFocus();
  }
}

bool WindowedControl::CanFocus() const {
  if (!ParentForm()) return false;
  for (const Control* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool WindowedControl::Focused() const {
  const Form* form = ParentForm();
  return form && form->FocusedControl() == this;
}

void WindowedControl::SetFocus() {
  if (Form* form = ParentForm()) form->FocusControl(this);
}

void WindowedControl::DoEnter() {
  OnEnter(this);
}

void WindowedControl::DoExit() {
  OnExit(this);
}

void WindowedControl::KeyDown(uint16_t& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}

void WindowedControl::KeyUp(uint16_t& key, TShiftState shift) {
  OnKeyUp(this, key, shift);
}

void WindowedControl::KeyPress(char& key) {
  OnKeyPress(this, key);
}

// Reflected key-down: a shortcut, a parent's CM_CHILDKEY, or a dialog key (Tab, arrows,
// Return, Escape) that the control does not ask for with WM_GETDLGCODE takes the key;
// otherwise (result 0) WM_KEYDOWN follows.
void WindowedControl::CNKeyDown(Message& message) {
  message.result = 1;
  WeakRef<WindowedControl> self(this);
  if (IsMenuKey(message) || !self) return;
  if (Perform(CM_CHILDKEY, message.wParam, PointerToLParam(this)) != 0 || !self) return;
  const intptr_t mask = DialogCodeFor(message.wParam);
  if (mask != 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
    Form* form = ParentForm();
    if (form && form->Perform(CM_DIALOGKEY, message.wParam, message.lParam) != 0) return;
  }
  message.result = 0;
}

// Reflected character: one the control does not want is offered to the form's controls as
// an accelerator (CM_DIALOGCHAR).
void WindowedControl::CNChar(Message& message) {
  message.result = 1;
  if ((Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) == 0) {
    Form* form = ParentForm();
    if (form && form->Perform(CM_DIALOGCHAR, message.wParam, message.lParam) != 0) return;
  }
  message.result = 0;
}

// Every key message takes one path: the form's preview, then the control's handler, which
// takes the key by leaving it 0. `handle` gives the key to one handler and returns what it left.
bool WindowedControl::DoKey(Message& message, KeyHandler handle) {
  WeakRef<WindowedControl> self(this);
  Form* form = ParentForm();
  if (form && form != this && form->PreviewKey(message)) return true;
  if (!self) return true;
  if (ControlStyle() & csNoStdEvents) return false;
  const uint16_t key = handle(*this, static_cast<uint16_t>(message.wParam), message.lParam);
  if (!self) return true;
  message.wParam = key;
  return key == 0;
}

bool WindowedControl::DoKeyDown(Message& message) {
  return DoKey(message, [](WindowedControl& control, uint16_t key, intptr_t keyData) {
    control.KeyDown(key, KeyDataToShiftState(keyData));
    return key;
  });
}

bool WindowedControl::DoKeyUp(Message& message) {
  return DoKey(message, [](WindowedControl& control, uint16_t key, intptr_t keyData) {
    control.KeyUp(key, KeyDataToShiftState(keyData));
    return key;
  });
}

// A character handler sees the key's low byte.
bool WindowedControl::DoKeyPress(Message& message) {
  return DoKey(message, [](WindowedControl& control, uint16_t key, intptr_t) {
    auto character = static_cast<char>(key);
    control.KeyPress(character);
    return uint16_t{static_cast<unsigned char>(character)};
  });
}

}  // namespace ui

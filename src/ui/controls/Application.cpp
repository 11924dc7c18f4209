#include "ui/controls/Application.h"

#include <algorithm>
#include <chrono>
#include <iostream>

#include "ui/controls/Form.h"

namespace ui {

Application& Application::Instance() {
  static Application application;
  return application;
}

void Application::HandleException(Persistent* sender, const std::exception& error) noexcept {
  try {
    if (OnException) {
      OnException(sender, error);
    } else {
      std::cerr << "Exception: " << error.what() << '\n';
    }
  } catch (...) {
    // A failing handler has nowhere left to report to.
  }
}

intptr_t Application::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg != CM_APPKEYDOWN || !OnShortCut) return 0;
  Message key{WM_KEYDOWN, wParam, lParam, 0};
  bool handled = false;
  OnShortCut(key, handled);
  return handled ? 1 : 0;
}

uint32_t Application::TickCount() const {
  if (const platform::Backend* backend = platform::Backend::Current()) return backend->TickCount();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

platform::TimeOfDay Application::UtcTimeOfDay() const {
  if (const platform::Backend* backend = platform::Backend::Current()) {
    return backend->UtcTimeOfDay();
  }
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  const auto ms = static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() %
      (24 * 60 * 60 * 1000));
  return {static_cast<uint16_t>(ms / 3600000), static_cast<uint16_t>(ms / 60000 % 60),
          static_cast<uint16_t>(ms / 1000 % 60), static_cast<uint16_t>(ms % 1000)};
}

int16_t Application::KeyState(int32_t virtualKey) const {
  const platform::Backend* backend = platform::Backend::Current();
  return backend ? backend->KeyState(virtualKey) : int16_t{0};
}

TShiftState Application::ShiftState() const {
  TShiftState state = 0;
  if (IsKeyDown(VK_SHIFT)) state |= ssShift;
  if (IsKeyDown(VK_CONTROL)) state |= ssCtrl;
  if (IsKeyDown(VK_MENU)) state |= ssAlt;
  return state;
}

void Application::AddForm(Form& form) {
  m_Forms.push_back(&form);
}

void Application::RemoveForm(Form& form) {
  std::erase(m_Forms, &form);
}

Form* Application::ActiveForm() const {
  const auto active = std::find_if(m_Forms.begin(), m_Forms.end(),
                                   [](const Form* form) { return form->HasWindowFocus(); });
  return active == m_Forms.end() ? nullptr : *active;
}

WindowedControl* Application::ActiveControl() const {
  const Form* form = ActiveForm();
  return form ? form->FocusedControl() : nullptr;
}

int32_t Screen::BitsPerPixel() {
  const platform::Backend* backend = platform::Backend::Current();
  return backend ? backend->ScreenBitsPerPixel() : 32;
}

Point Screen::CursorPos() {
  const platform::Backend* backend = platform::Backend::Current();
  if (!backend) return {};
  return backend->CursorPos();
}

TShiftState KeysToShiftState(uintptr_t keys) {
  TShiftState state = 0;
  if (keys & MK_SHIFT) state |= ssShift;
  if (keys & MK_CONTROL) state |= ssCtrl;
  if (keys & MK_LBUTTON) state |= ssLeft;
  if (keys & MK_RBUTTON) state |= ssRight;
  if (keys & MK_MBUTTON) state |= ssMiddle;
  if (Application::Instance().IsKeyDown(VK_MENU)) state |= ssAlt;
  return state;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
  const Application& application = Application::Instance();
  TShiftState state = 0;
  if (application.IsKeyDown(VK_SHIFT)) state |= ssShift;
  if (application.IsKeyDown(VK_CONTROL)) state |= ssCtrl;
  if (static_cast<uint32_t>(keyData) & KF_ALTDOWN_BIT) state |= ssAlt;
  return state;
}

}  // namespace ui

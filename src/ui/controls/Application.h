#pragma once
// What the framework keeps for the whole program: the exception handler that message and
// timer handlers report to, the application's key-down hook, the clock and keyboard state
// (from the window system when a backend is installed), and which form has the keyboard.
// User-interface thread only.

#include <cstdint>
#include <exception>
#include <vector>

#include "platform/Backend.h"
#include "ui/controls/Messages.h"
#include "ui/graphics/Geometry.h"
#include "ui/model/Events.h"

namespace ui {

class Form;
class WindowedControl;

class Application {
 public:
  static Application& Instance();

  // Reports an exception that left a handler. With OnException set it alone hears of it;
  // otherwise the message goes to standard error. Never throws.
  void HandleException(Persistent* sender, const std::exception& error) noexcept;
  TExceptionEvent OnException;
  // The application key-down hook: asked with CM_APPKEYDOWN whether a key is a shortcut.
  TShortCutEvent OnShortCut;

  // CM_APPKEYDOWN answers 1 when OnShortCut took the key; every other message 0.
  intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  uint32_t TickCount() const;
  platform::TimeOfDay UtcTimeOfDay() const;
  int16_t KeyState(int32_t virtualKey) const;  // bit 15: down
  bool IsKeyDown(int32_t virtualKey) const { return KeyState(virtualKey) < 0; }
  TShiftState ShiftState() const;  // Shift, Ctrl and Alt as they are held now

  Form* ActiveForm() const;  // the form whose window has the keyboard, if any
  WindowedControl* ActiveControl() const;

 private:
  friend class Form;
  void AddForm(Form& form);
  void RemoveForm(Form& form);
  std::vector<Form*> m_Forms;  // not owned: each form registers for its life
};

class Screen {
 public:
  static int32_t BitsPerPixel();  // 32 without a backend
  static Point CursorPos();       // screen coordinates
};

// Shift states of mouse message keys (MK_*) and of key message data (Alt in bit 29).
TShiftState KeysToShiftState(uintptr_t keys);
TShiftState KeyDataToShiftState(intptr_t keyData);

}  // namespace ui

#pragma once
// The skinned controls' repeat timer: the framework's timer (a hidden message window and a
// window-system timer exist exactly while it runs; every change restarts the period; a refused
// start switches it off; a throwing handler is reported to the application and the timer goes
// on), published as the library's own class, off until it is enabled.

#include "ui/controls/Timer.h"

class TDIBTimer : public ui::Timer {
 public:
  explicit TDIBTimer(ui::Component* owner);  // owner may be none

  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

 protected:
  // Calls OnTimer with this timer as sender.
  virtual void Timer();

 private:
  void DoTimer() final { Timer(); }
};

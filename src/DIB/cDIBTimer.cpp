#include "DIB/cDIBTimer.h"

#include "ui/model/TypeBuilder.h"

TDIBTimer::TDIBTimer(ui::Component* owner) : ui::Timer(owner) {
  SetEnabled(false);
}

const ui::TypeInfo& TDIBTimer::StaticType() {
  using T = TDIBTimer;
  // Not below the framework timer's type: the same properties, but Enabled defaults to false.
  static const ui::TypeInfo type = ui::TypeBuilder<T>("TDIBTimer", ui::Component::StaticType())
                                       .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                       .Default(false)
                                       .Integer("Interval", &T::Interval, &T::SetInterval)
                                       .Default(1000)
                                       .Event("OnTimer")
                                       .Creatable()
                                       .Build();
  return type;
}

void TDIBTimer::Timer() {
  ui::Timer::DoTimer();
}

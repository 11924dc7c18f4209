#include "DIB/cDIBTimer.h"

#include "ui/model/TypeBuilder.h"

TDIBTimer::TDIBTimer(ui::Component* owner) : ui::Timer(owner) {
  SetEnabled(false);
}

const ui::TypeInfo& TDIBTimer::StaticType() {
  using T = TDIBTimer;
  // Not below the framework timer's type, whose properties it lists with Enabled off by
  // default.
  static const ui::TypeInfo type = ui::TypeBuilder<T>("TDIBTimer", ui::Component::StaticType())
                                       .Publish<ui::Timer>("Enabled")
                                       .Default(false)
                                       .Publish<ui::Timer>("Interval")
                                       .Publish<ui::Timer>("OnTimer")
                                       .Creatable()
                                       .Build();
  return type;
}

void TDIBTimer::Timer() {
  ui::Timer::DoTimer();
}

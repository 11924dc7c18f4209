#include "ui/controls/Timer.h"

#include "ui/controls/Application.h"
#include "ui/model/TypeBuilder.h"

namespace ui {
namespace {

constexpr uintptr_t kTimerId = 1;

}  // namespace

Timer::Timer(Component* owner) : Component(owner) {}

Timer::~Timer() {
  EndLife();
  m_Window.reset();
}

const TypeInfo& Timer::StaticType() {
  using T = Timer;
  static const TypeInfo type = TypeBuilder<T>("Timer", Component::StaticType())
                                   .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                   .Default(true)
                                   .Integer("Interval", &T::Interval, &T::SetInterval)
                                   .Default(1000)
                                   .Event("OnTimer")
                                   .Creatable()
                                   .Build();
  return type;
}

void Timer::SetEnabled(bool enabled) {
  if (m_Enabled == enabled) return;
  m_Enabled = enabled;
  UpdateTimer();
}

void Timer::SetInterval(uint32_t interval) {
  if (m_Interval == interval) return;
  m_Interval = interval;
  UpdateTimer();
}

void Timer::SetOnTimer(const TNotifyEvent& handler) {
  m_OnTimer = handler;
  UpdateTimer();
}

void Timer::Loaded() {
  Component::Loaded();
  UpdateTimer();
}

void Timer::UpdateTimer() {
  m_Window.reset();  // stops the running timer with its window
  if (!m_Enabled || m_Interval == 0 || !m_OnTimer || HasState(ComponentState::Loading)) return;
  platform::Backend* backend = platform::Backend::Current();
  if (backend) m_Window = backend->CreateMessageWindow(*this);
  if (!m_Window || !m_Window->StartTimer(kTimerId, m_Interval)) {
    m_Window.reset();
    m_Enabled = false;
  }
}

void Timer::DoTimer() {
  m_OnTimer(this);
}

void Timer::HandleTimer(uintptr_t id) {
  if (id != kTimerId) return;
  const WeakRef<Timer> self(this);  // the handler may destroy the timer
  try {
    DoTimer();
  } catch (const std::exception& error) {
    Application::Instance().HandleException(self.Get(), error);
  } catch (...) {
    Application::Instance().HandleException(self.Get(), Exception("Unknown exception"));
  }
}

}  // namespace ui

#pragma once
// Calls OnTimer every Interval milliseconds on the user-interface thread. It holds a hidden
// message window only while it runs, which is exactly when Enabled is set, Interval is not 0
// and OnTimer is set. Every change of these restarts the period: the first tick after a change
// comes one full Interval later. When the window system refuses a timer, Enabled turns false.
// An exception from the handler goes to the application's handler; the timer keeps running.

#include <cstdint>
#include <memory>

#include "platform/Backend.h"
#include "ui/model/Component.h"
#include "ui/model/Events.h"

namespace ui {

class Timer : public Component, private platform::PeerClient {
 public:
  explicit Timer(Component* owner);
  ~Timer() override;

  static const TypeInfo& StaticType();
  const TypeInfo& Type() const override { return StaticType(); }

  bool Enabled() const { return m_Enabled; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return m_Interval; }
  void SetInterval(uint32_t interval);
  const TNotifyEvent& OnTimer() const { return m_OnTimer; }
  void SetOnTimer(const TNotifyEvent& handler);  // restarts even for the same handler
  bool Running() const { return m_Window != nullptr; }

  void Loaded() override;

 protected:
  virtual void DoTimer();  // calls OnTimer

 private:
  void HandleTimer(uintptr_t id) override;
  void UpdateTimer();

  bool m_Enabled = true;
  uint32_t m_Interval = 1000;
  TNotifyEvent m_OnTimer;
  std::unique_ptr<platform::WindowPeer> m_Window;
};

}  // namespace ui

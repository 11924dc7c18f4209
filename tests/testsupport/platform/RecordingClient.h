#pragma once
// A window's client for tests of the backends: it keeps every call it gets, in order, so that a
// test sees what a backend made of the window system's input. Tests that must react to a call
// override its handler and call this one's.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Backend.h"

namespace platformtest {

class RecordingClient : public platform::PeerClient {
 public:
  virtual ~RecordingClient() = default;

  void HandleMouse(const platform::MouseEvent& event) override { Record("mouse", mice, event); }
  void HandleWheel(const platform::WheelEvent& event) override { Record("wheel", wheels, event); }
  void HandleMouseLeave() override { calls.emplace_back("leave"); }
  void HandleKey(const platform::KeyEvent& event) override { Record("key", keys, event); }
  void HandleFocus(bool gained) override { calls.emplace_back(gained ? "focus" : "unfocus"); }
  void HandleCaptureLost() override { calls.emplace_back("capture lost"); }
  void HandleTimer(uintptr_t id) override { Record("timer", timers, id); }
  void HandlePaint(const platform::Rect& area) override { Record("paint", paints, area); }
  void HandleDestroyed() override { calls.emplace_back("destroyed"); }
  intptr_t HandleQueryNewPalette() override {
    calls.emplace_back("query palette");
    return paletteAnswer;
  }

  std::size_t Count(std::string_view call) const {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
  }
  std::vector<platform::MouseEvent> Mouse(platform::MouseAction action) const {
    return WithAction(mice, action);
  }
  std::vector<platform::KeyEvent> Keys(platform::KeyAction action) const {
    return WithAction(keys, action);
  }
  void Clear() {
    calls.clear();
    mice.clear();
    wheels.clear();
    keys.clear();
    timers.clear();
    paints.clear();
  }

  std::vector<std::string> calls;  // the handlers called, in order
  std::vector<platform::MouseEvent> mice;
  std::vector<platform::WheelEvent> wheels;
  std::vector<platform::KeyEvent> keys;
  std::vector<uintptr_t> timers;  // the ids that ticked
  std::vector<platform::Rect> paints;
  intptr_t paletteAnswer = 0;

 private:
  template <class Event, class Action>
  static std::vector<Event> WithAction(const std::vector<Event>& events, Action action) {
    std::vector<Event> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [action](const Event& e) { return e.action == action; });
    return found;
  }
  template <class Event>
  void Record(const char* call, std::vector<Event>& into, const Event& event) {
    calls.emplace_back(call);
    into.push_back(event);
  }
};

}  // namespace platformtest

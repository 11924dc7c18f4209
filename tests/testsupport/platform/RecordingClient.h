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

  void HandleMouse(const platform::MouseEvent& event) override {
    calls.emplace_back("mouse");
    mice.push_back(event);
  }
  void HandleWheel(const platform::WheelEvent& event) override {
    calls.emplace_back("wheel");
    wheels.push_back(event);
  }
  void HandleMouseLeave() override { calls.emplace_back("leave"); }
  void HandleKey(const platform::KeyEvent& event) override {
    calls.emplace_back("key");
    keys.push_back(event);
  }
  void HandleFocus(bool gained) override { calls.emplace_back(gained ? "focus" : "unfocus"); }
  void HandleCaptureLost() override { calls.emplace_back("capture lost"); }
  void HandleTimer(uintptr_t id) override {
    calls.emplace_back("timer");
    timers.push_back(id);
  }
  void HandlePaint(const platform::Rect& area) override {
    calls.emplace_back("paint");
    paints.push_back(area);
  }
  void HandleDestroyed() override { calls.emplace_back("destroyed"); }
  intptr_t HandleQueryNewPalette() override {
    calls.emplace_back("query palette");
    return paletteAnswer;
  }

  std::size_t Count(std::string_view call) const {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
  }
  std::vector<platform::MouseEvent> Mouse(platform::MouseAction action) const {
    std::vector<platform::MouseEvent> found;
    std::copy_if(mice.begin(), mice.end(), std::back_inserter(found),
                 [action](const platform::MouseEvent& e) { return e.action == action; });
    return found;
  }
  std::vector<platform::KeyEvent> Keys(platform::KeyAction action) const {
    std::vector<platform::KeyEvent> found;
    std::copy_if(keys.begin(), keys.end(), std::back_inserter(found),
                 [action](const platform::KeyEvent& e) { return e.action == action; });
    return found;
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
};

}  // namespace platformtest

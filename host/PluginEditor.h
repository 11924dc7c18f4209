#pragma once
// A plug-in's editor open in a window of the host's own, driven as hosts drive
// one: effEditIdle every 20 ms on this thread, the window's events handled between.

#include <chrono>
#include <memory>

#include "EditorWindow.h"
#include "MouseScript.h"
#include "PluginInstance.h"

namespace fluxhost {

class PluginEditor {
 public:
  static constexpr std::chrono::milliseconds kIdlePeriod{20};

  // Sizes a new window from effEditGetRect, opens the editor in it, then asks the
  // size again (plug-ins often know it only once open) and resizes to that answer.
  explicit PluginEditor(PluginInstance& plugin);
  ~PluginEditor();  // effEditClose, then the window goes
  PluginEditor(const PluginEditor&) = delete;
  PluginEditor& operator=(const PluginEditor&) = delete;

  // Idles for `duration`; false as soon as the window is closed.
  bool RunFor(std::chrono::milliseconds duration);
  // Idles until the plug-in's window shows and its picture holds still (within
  // limits, for editors that never do); false when the window was closed.
  bool Settle();
  // Moves the pointer to the start, presses, moves in small steps to the end and
  // releases, idling after each step; false when the window was closed.
  bool Perform(const MouseAction& action);
  png::Picture Capture() { return m_Window->Capture(); }

 private:
  bool Idle();  // one round of the window's events and effEditIdle
  bool MoveTo(Point point);

  PluginInstance& m_Plugin;
  std::unique_ptr<EditorWindow> m_Window;
  std::chrono::steady_clock::time_point m_NextIdle;
};

}  // namespace fluxhost

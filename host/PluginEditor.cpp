#include "PluginEditor.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "Platform.h"

namespace fluxhost {

namespace {

// For a plug-in that gives no size before its editor is open.
constexpr Point kSizeUntilKnown{320, 240};
constexpr int32_t kLargestSide = 16384;
// Pointer steps of a drag, in pixels, and at most this many of them.
constexpr int32_t kDragStep = 4;
constexpr int32_t kMostDragSteps = 64;
constexpr auto kChildWindowWait = std::chrono::seconds(5);
constexpr auto kStillPictureWait = std::chrono::seconds(3);
constexpr auto kStillPictureGap = std::chrono::milliseconds(100);

// The editor's size as the plug-in answers effEditGetRect; none when it gives no
// rectangle or one no window could have.
std::optional<Point> editorSize(const PluginInstance& plugin) {
  ERect* rect = nullptr;
  plugin.dispatch(effEditGetRect, 0, 0, &rect);
  if (rect == nullptr) return std::nullopt;
  const Point size{rect->right - rect->left, rect->bottom - rect->top};
  if (size.x <= 0 || size.y <= 0 || size.x > kLargestSide || size.y > kLargestSide)
    return std::nullopt;
  return size;
}

std::string windowTitle(const PluginInstance& plugin) {
  const std::string name = plugin.text(effGetEffectName);
  return "fluxhost: " + (name.empty() ? plugin.path() : name);
}

}  // namespace

PluginEditor::PluginEditor(PluginInstance& plugin) : m_plugin(plugin) {
  platform::setCrashContext("opening the editor", m_plugin.path().c_str());
  const Point size = editorSize(plugin).value_or(kSizeUntilKnown);
  m_window = openEditorWindow(windowTitle(plugin), size.x, size.y);
  plugin.dispatch(effEditOpen, 0, 0, m_window->nativeHandle());
  if (const auto opened = editorSize(plugin)) m_window->resize(opened->x, opened->y);
  m_nextIdle = std::chrono::steady_clock::now();
  platform::setCrashContext("running the editor", m_plugin.path().c_str());
}

PluginEditor::~PluginEditor() {
  platform::setCrashContext("closing the editor", m_plugin.path().c_str());
  m_plugin.dispatch(effEditClose);
  m_window.reset();
  platform::setCrashContext("talking to the plug-in", m_plugin.path().c_str());
}

bool PluginEditor::idle() {
  for (auto now = std::chrono::steady_clock::now(); now < m_nextIdle;
       now = std::chrono::steady_clock::now()) {
    if (!m_window->pumpEvents()) return false;
    m_window->waitEvents(std::chrono::ceil<std::chrono::milliseconds>(m_nextIdle - now));
  }
  if (!m_window->pumpEvents()) return false;
  m_plugin.dispatch(effEditIdle);
  // After a stall the next idle comes a period later, not in a burst.
  m_nextIdle = std::max(m_nextIdle + kIdlePeriod, std::chrono::steady_clock::now());
  return true;
}

bool PluginEditor::runFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    if (!idle()) return false;
  } while (std::chrono::steady_clock::now() < end);
  return true;
}

bool PluginEditor::settle() {
  const auto start = std::chrono::steady_clock::now();
  while (!m_window->showsChildWindow()) {
    if (!idle()) return false;
    if (std::chrono::steady_clock::now() - start > kChildWindowWait) return true;
  }
  const auto stillSince = std::chrono::steady_clock::now();
  png::Picture last = m_window->capture();
  while (std::chrono::steady_clock::now() - stillSince < kStillPictureWait) {
    if (!runFor(kStillPictureGap)) return false;
    png::Picture now = m_window->capture();
    if (now == last) return true;
    last = std::move(now);
  }
  return true;
}

bool PluginEditor::moveTo(Point point) {
  m_window->movePointer(point.x, point.y);
  return idle();
}

bool PluginEditor::perform(const MouseAction& action) {
  if (!moveTo(action.from)) return false;
  m_window->pressButton();
  if (!idle()) return false;
  const int32_t distance =
      std::max(std::abs(action.to.x - action.from.x), std::abs(action.to.y - action.from.y));
  const int32_t steps = std::min((distance + kDragStep - 1) / kDragStep, kMostDragSteps);
  for (int32_t step = 1; step <= steps; ++step) {
    const Point along{action.from.x + (action.to.x - action.from.x) * step / steps,
                      action.from.y + (action.to.y - action.from.y) * step / steps};
    if (!moveTo(along)) return false;
  }
  m_window->releaseButton();
  return idle() && idle();
}

}  // namespace fluxhost

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
std::optional<Point> EditorSize(const PluginInstance& plugin) {
  ERect* rect = nullptr;
  plugin.Dispatch(effEditGetRect, 0, 0, &rect);
  if (rect == nullptr) return std::nullopt;
  const Point size{rect->right - rect->left, rect->bottom - rect->top};
  if (size.x <= 0 || size.y <= 0 || size.x > kLargestSide || size.y > kLargestSide)
    return std::nullopt;
  return size;
}

std::string WindowTitle(const PluginInstance& plugin) {
  const std::string name = plugin.Text(effGetEffectName);
  return "fluxhost: " + (name.empty() ? plugin.Path() : name);
}

}  // namespace

PluginEditor::PluginEditor(PluginInstance& plugin) : m_Plugin(plugin) {
  platform::SetCrashContext("opening the editor", m_Plugin.Path().c_str());
  const Point size = EditorSize(plugin).value_or(kSizeUntilKnown);
  m_Window = OpenEditorWindow(WindowTitle(plugin), size.x, size.y);
  plugin.Dispatch(effEditOpen, 0, 0, m_Window->NativeHandle());
  if (const auto opened = EditorSize(plugin)) m_Window->Resize(opened->x, opened->y);
  m_NextIdle = std::chrono::steady_clock::now();
  platform::SetCrashContext("running the editor", m_Plugin.Path().c_str());
}

PluginEditor::~PluginEditor() {
  platform::SetCrashContext("closing the editor", m_Plugin.Path().c_str());
  m_Plugin.Dispatch(effEditClose);
  m_Window.reset();
  platform::SetCrashContext("talking to the plug-in", m_Plugin.Path().c_str());
}

bool PluginEditor::Idle() {
  for (auto now = std::chrono::steady_clock::now(); now < m_NextIdle;
       now = std::chrono::steady_clock::now()) {
    if (!m_Window->PumpEvents()) return false;
    m_Window->WaitEvents(std::chrono::ceil<std::chrono::milliseconds>(m_NextIdle - now));
  }
  if (!m_Window->PumpEvents()) return false;
  m_Plugin.Dispatch(effEditIdle);
  // After a stall the next idle comes a period later, not in a burst.
  m_NextIdle = std::max(m_NextIdle + kIdlePeriod, std::chrono::steady_clock::now());
  return true;
}

bool PluginEditor::RunFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    if (!Idle()) return false;
  } while (std::chrono::steady_clock::now() < end);
  return true;
}

bool PluginEditor::Settle() {
  const auto start = std::chrono::steady_clock::now();
  while (!m_Window->ShowsChildWindow()) {
    if (!Idle()) return false;
    if (std::chrono::steady_clock::now() - start > kChildWindowWait) return true;
  }
  const auto stillSince = std::chrono::steady_clock::now();
  png::Picture last = m_Window->Capture();
  while (std::chrono::steady_clock::now() - stillSince < kStillPictureWait) {
    if (!RunFor(kStillPictureGap)) return false;
    png::Picture now = m_Window->Capture();
    if (now == last) return true;
    last = std::move(now);
  }
  return true;
}

bool PluginEditor::MoveTo(Point point) {
  m_Window->MovePointer(point.x, point.y);
  return Idle();
}

bool PluginEditor::Perform(const MouseAction& action) {
  if (!MoveTo(action.from)) return false;
  m_Window->PressButton();
  if (!Idle()) return false;
  const int32_t distance =
      std::max(std::abs(action.to.x - action.from.x), std::abs(action.to.y - action.from.y));
  const int32_t steps = std::min((distance + kDragStep - 1) / kDragStep, kMostDragSteps);
  for (int32_t step = 1; step <= steps; ++step) {
    const Point along{action.from.x + (action.to.x - action.from.x) * step / steps,
                      action.from.y + (action.to.y - action.from.y) * step / steps};
    if (!MoveTo(along)) return false;
  }
  m_Window->ReleaseButton();
  return Idle() && Idle();
}

}  // namespace fluxhost

#include "editor/uPluginEditor.h"

#include <algorithm>
#include <exception>
#include <string>

#include "common/EntryScope.h"
#include "platform/Backend.h"

APluginEditor::APluginEditor(APlugin& owner) : AEffEditor(&owner), m_Plugin(owner) {}

APluginEditor::~APluginEditor() {
  if (window) m_Plugin.SetEditorClosed(true);
  window.reset();
}

VstInt32 APluginEditor::getRect(ERect** r) {
  rect.top = 0;
  rect.left = 0;
  if (window) {
    rect.bottom = static_cast<int16_t>(window->ClientHeight());
    rect.right = static_cast<int16_t>(window->ClientWidth());
  }
  *r = &rect;
  return 1;
}

VstInt32 APluginEditor::open(void* parent) {
  if (window && !window->OnWindowThread()) return 0;  // the window belongs to another thread
  if (!parent) return 0;  // a window without a parent would float on its own
  if (window && !window->ConfirmWindow()) {
    // The host destroyed its window, and ours with it, without closing the editor: those
    // opens are over, and this one starts afresh.
    DestroyWindow();
    openCount = 0;
  }
  parentWindow = parent;
  ++openCount;
  if (openCount == 1 || !window) {
    try {
      window = std::make_unique<TPluginEditorWindow>(parentWindow, m_ParamValues);
    } catch (const std::exception&) {
      // Nothing is open: the host hears so rather than a success with no window.
      --openCount;
      parentWindow = nullptr;
      return 0;
    }
    window->SetBounds(0, 0, window->Width(), window->Height());
    CopyParameters();
    window->Plugin = &m_Plugin;
  }
  m_Plugin.SetEditorClosed(false);
  window->PaintInvalid();
  window->Updater.SetEnabled(true);
  window->UpdaterTimer(window.get());
  return 1;
}

void APluginEditor::close() {
  if (window && !window->OnWindowThread()) return;
  openCount = std::max(openCount - 1, 0);
  if (openCount > 0) return;
  m_Plugin.SetEditorClosed(true);
  DestroyWindow();
}

void APluginEditor::HostClosing() {
  if (window && !window->OnWindowThread()) return;
  openCount = 0;
  m_Plugin.SetEditorClosed(true);
  DestroyWindow();
}

// The host may close from inside one of the window's handlers (a slider telling it of a move),
// which is still running: the window leaves the screen and stops now, and goes once the host's
// outermost call into the plug-in has returned.
void APluginEditor::DestroyWindow() {
  parentWindow = nullptr;
  if (!window) return;
  window->Plugin = nullptr;
  window->Updater.SetEnabled(false);
  window->ReleaseWindow();
  flux::EntryScope::DestroyOnReturn(std::move(window));
}

void APluginEditor::idle() {
  if (window && !window->OnWindowThread()) return;
  // A host runs no loop for us: the window system's events, timers and paints come now.
  if (platform::Backend* backend = platform::Backend::Current()) backend->Pump();
  if (m_Plugin.IsEditorClosed() || !window || !window->HasWindow()) return;
  window->CC1GUI.SetCaption(std::to_string(PositionOf(m_Plugin.Param(2))));
  window->CC2GUI.SetCaption(std::to_string(PositionOf(m_Plugin.Param(5))));
  window->indicate1.SetPosition(m_Plugin.LastValue(1));
  window->indicate2.SetPosition(m_Plugin.LastValue(2));
}

void APluginEditor::update() {
  if (!m_Plugin.IsEditorClosed()) CopyParameters();
}

void APluginEditor::CopyParameters() {
  for (int i = 0; i < kNumParams; ++i) {
    m_ParamValues[static_cast<size_t>(i)].store(m_Plugin.Param(i), std::memory_order_relaxed);
  }
}

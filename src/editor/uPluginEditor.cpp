#include "editor/uPluginEditor.h"

#include <algorithm>
#include <exception>
#include <string>

#include "common/EntryScope.h"
#include "platform/Backend.h"

APluginEditor::APluginEditor(APlugin& owner) : AEffEditor(&owner), plugin(owner) {}

APluginEditor::~APluginEditor() {
  if (window) plugin.setEditorClosed(true);
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
      window = std::make_unique<TPluginEditorWindow>(parentWindow, paramValues);
    } catch (const std::exception&) {
      // Nothing is open: the host hears so rather than a success with no window.
      --openCount;
      parentWindow = nullptr;
      return 0;
    }
    window->SetBounds(0, 0, window->Width(), window->Height());
    CopyParameters();
    window->Plugin = &plugin;
  }
  plugin.setEditorClosed(false);
  window->PaintInvalid();
  window->Updater.SetEnabled(true);
  window->UpdaterTimer(window.get());
  return 1;
}

void APluginEditor::close() {
  if (window && !window->OnWindowThread()) return;
  openCount = std::max(openCount - 1, 0);
  if (openCount > 0) return;
  plugin.setEditorClosed(true);
  DestroyWindow();
}

void APluginEditor::hostClosing() {
  if (window && !window->OnWindowThread()) return;
  openCount = 0;
  plugin.setEditorClosed(true);
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
  if (plugin.isEditorClosed() || !window || !window->HasWindow()) return;
  window->CC1GUI.SetCaption(std::to_string(PositionOf(plugin.param(2))));
  window->CC2GUI.SetCaption(std::to_string(PositionOf(plugin.param(5))));
  window->indicate1.SetPosition(plugin.lastValue(1));
  window->indicate2.SetPosition(plugin.lastValue(2));
}

void APluginEditor::update() {
  if (!plugin.isEditorClosed()) CopyParameters();
}

void APluginEditor::CopyParameters() {
  for (int i = 0; i < kNumParams; ++i) {
    paramValues[static_cast<size_t>(i)].store(plugin.param(i), std::memory_order_relaxed);
  }
}

#pragma once
// The bridge between the host's editor requests and the editor window: it answers the
// editor's size, makes the window inside the host's window on open and destroys it on the
// last close, keeps the values the window shows current, and refreshes the controller numbers
// and the indicators on each idle request.
//
// The six values the window shows belong to the bridge, not to the window: setParameter may
// call update on the audio thread while the user-interface thread closes the editor, so update
// writes only these words and never looks at the window.

#include <memory>

#include "editor/uEditor.h"
#include "vst/AEffEditor.h"

class APluginEditor : public AEffEditor {
 public:
  explicit APluginEditor(APlugin& plugin);
  ~APluginEditor() override;

  // Answers 1 with the rectangle's address; bottom and right are the window's size while it
  // exists, otherwise what they were (0 before the first open).
  VstInt32 getRect(ERect** rect) override;
  // Makes the window on the first open (answering 0 when there is no parent or the window
  // cannot be made); every open syncs the sliders at once and starts the timer.
  VstInt32 open(void* parent) override;
  void close() override;   // the last close destroys the window
  void idle() override;    // writes the controller numbers and the indicators
  void update() override;  // any thread: copies the parameters into the values shown
  void HostClosing() override;

  int32_t OpenCount() const { return openCount; }
  TPluginEditorWindow* Window() const { return window.get(); }
  void* ParentWindow() const { return parentWindow; }

 private:
  void DestroyWindow();
  void CopyParameters();

  APlugin& m_Plugin;
  ERect rect{};
  int32_t openCount = 0;
  std::unique_ptr<TPluginEditorWindow> window;
  void* parentWindow = nullptr;
  ParameterValues m_ParamValues{};
};

#pragma once
// A host on the headless window system with one instance of the plug-in built with its editor,
// driven through the descriptor as a host drives it: editor requests, parameters, programs,
// events and audio. Time stands still until the test advances the backend's clock; input and
// timers reach the window in the editor's idle, as on Linux.

#include <algorithm>
#include <string>

#include "editor/uPluginEditor.h"
#include "platform/headless/HeadlessBackend.h"
#include "testsupport/editor/DescriptorCalls.h"
#include "testsupport/vst/FakeHost.h"

namespace editortest {

class EditorHost : public DescriptorCalls {
 public:
  EditorHost() {
    FakeHost::Instance().Reset();
    effect = (new APlugin(FakeHost::Callback))->getAeffect();
  }
  ~EditorHost() {
    if (effect) Dispatch(effClose);
  }
  EditorHost(const EditorHost&) = delete;
  EditorHost& operator=(const EditorHost&) = delete;

  VstIntPtr Open(void* parent) { return Dispatch(effEditOpen, 0, 0, parent); }
  VstIntPtr Open() { return Open(hostWindow); }

  APlugin& Plugin() { return *static_cast<APlugin*>(effect->object); }
  APluginEditor& Editor() { return static_cast<APluginEditor&>(*Plugin().GetEditor()); }
  TPluginEditorWindow& Window() { return *Editor().Window(); }
  FakeHost& Host() { return FakeHost::Instance(); }
  int Automations() { return static_cast<int>(Host().CallsWith(audioMasterAutomate).size()); }

  // Clicks the editor window at client coordinates; the next idle delivers the click.
  void Click(int x, int y) {
    const auto origin = Window().WindowOrigin();
    backend.Click(origin.X + x, origin.Y + y);
    Idle();
  }
  // Lets time pass as a host does, idling every 20 ms.
  void Advance(uint32_t milliseconds) {
    for (uint32_t passed = 0; passed < milliseconds; passed += 20) {
      backend.Advance(std::min<uint32_t>(20, milliseconds - passed));
      Idle();
    }
  }

  platform::HeadlessBackend backend;
  platform::ScopedBackend installed{backend};
  void* hostWindow = backend.CreateHostWindow({100, 50, 600, 250});
};

}  // namespace editortest

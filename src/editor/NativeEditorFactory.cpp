// The shipped plug-in with its editor: the window goes onto the window system the build
// targets, unless a backend is already in use.

#include "editor/uPluginEditor.h"
#include "platform/NativeBackend.h"
#include "plugin/PluginEditorFactory.h"

std::unique_ptr<AEffEditor> createPluginEditor(APlugin& plugin) {
  if (!platform::Backend::Current()) platform::Backend::Install(&platform::NativeBackend());
  return std::make_unique<APluginEditor>(plugin);
}

// The plug-in with its editor window. The window goes onto the backend in use; where there is
// none yet (a host loaded the library), onto the window system the build targets.

#include "editor/uPluginEditor.h"
#include "platform/NativeBackend.h"
#include "plugin/PluginEditorFactory.h"

std::unique_ptr<AEffEditor> CreatePluginEditor(APlugin& plugin) {
  if (!platform::Backend::Current()) platform::Backend::Install(&platform::NativeBackend());
  return std::make_unique<APluginEditor>(plugin);
}

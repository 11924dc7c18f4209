// The build of the plug-in with its editor window.

#include "editor/uPluginEditor.h"
#include "plugin/PluginEditorFactory.h"

std::unique_ptr<AEffEditor> createPluginEditor(APlugin& plugin) {
  return std::make_unique<APluginEditor>(plugin);
}

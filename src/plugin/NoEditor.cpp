// The headless build of the plug-in: no editor, so the host sees no
// effFlagsHasEditor and every editor request answers 0.

#include "plugin/PluginEditorFactory.h"

std::unique_ptr<AEffEditor> CreatePluginEditor(APlugin&) {
  return nullptr;
}

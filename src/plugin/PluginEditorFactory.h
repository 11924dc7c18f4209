#pragma once
// The one edge from the plug-in core to its editor: the core asks for an
// editor object here and never includes window code. Each build of the
// plug-in links exactly one definition.

#include <memory>

#include "vst/AEffEditor.h"

class APlugin;

// The editor for this plug-in, or null for a build without an editor.
std::unique_ptr<AEffEditor> CreatePluginEditor(APlugin& plugin);

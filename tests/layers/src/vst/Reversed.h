#pragma once
// Reaches up from the interface layer into the plug-in core.
#include "plugin/uPlugin.h"

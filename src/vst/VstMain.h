#pragma once
// The library's entry point asks the plug-in layer for an instance through
// this one function, so that the interface layer knows nothing above it.

#include "vst/DAudioEffect.h"

// Creates the plug-in object for a host; null when none can be made.
AudioEffect* CreateEffectInstance(audioMasterCallback audioMaster);

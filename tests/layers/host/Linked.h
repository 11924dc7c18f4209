#pragma once
// Reaches into the interface layer beyond its records.
#include "vst/DAudioEffect.h"

#pragma once
// Reaches past the platform interface into a backend.
#include "platform/headless/HeadlessBackend.h"

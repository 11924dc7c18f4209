#pragma once
// Reaches from the pixel routines up into the images built on them.
#include "DIB/cDIB.h"

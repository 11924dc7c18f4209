#pragma once
// Reaches from the object model up into the controls built on it.
#include "ui/controls/Form.h"

#pragma once
// GUIDs for control templates: new random ones and their text form.

#include <optional>
#include <string>

#include "DIB/cDIB.h"

namespace dib {

// A new random GUID (version 4, variant 1) in its binary form; none when the system has no
// randomness to give.
std::optional<TDIBId> NewGuid();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in capitals: the first three groups are the
// little-endian numbers of bytes 0-3, 4-5 and 6-7, the rest the bytes in order.
std::string GuidToString(const TDIBId& id);

// Where NewGuid takes its GUIDs from; tests stand in a source that fails. Returns the source
// it replaces.
using TGuidSource = std::optional<TDIBId> (*)();
TGuidSource SetGuidSource(TGuidSource source);

}  // namespace dib

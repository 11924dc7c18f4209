#pragma once
// The error the picture decoders raise, so that a caller can tell a bad picture from other
// failures.

#include "ui/model/Exception.h"

namespace ui {

// A picture that cannot be read: unknown format, corrupt or truncated data, a missing file.
class GraphicError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace ui

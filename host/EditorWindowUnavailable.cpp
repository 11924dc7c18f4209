// Systems whose window system has no implementation here yet (Windows): the editor
// command says so instead of opening anything.
#include <stdexcept>

#include "EditorWindow.h"

namespace fluxhost {

std::unique_ptr<EditorWindow> openEditorWindow(const std::string&, int32_t, int32_t) {
  throw std::runtime_error(
      "the editor window is not available on this system (fluxhost shows editors on Linux with "
      "X11 only)");
}

}  // namespace fluxhost

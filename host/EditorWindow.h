#pragma once
// A top-level window of the host's own in which a plug-in shows its editor, one
// implementation per window system in native/. Nothing here includes a system header.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "png/Picture.h"

namespace fluxhost {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// How a window opens beyond its title and size.
struct EditorWindowOptions {
  // Where the top-left corner of the window's inside goes on the screen; the window system's
  // usual place when not given.
  std::optional<ScreenPoint> position;
  // On a 32-bit visual with alpha, as a compositing host may make its windows (the X Window
  // System only; elsewhere there is one kind of window). Opening throws when there is none.
  bool alphaVisual = false;
};

class EditorWindow {
 public:
  virtual ~EditorWindow() = default;

  // What effEditOpen takes as the parent: the window system's own handle.
  virtual void* NativeHandle() const = 0;
  virtual void Resize(int32_t width, int32_t height) = 0;

  // Handles the window's pending events without waiting; false once the user
  // closed the window (or someone destroyed it).
  virtual bool PumpEvents() = 0;
  // Waits until events arrive for the window or `timeout` has passed.
  virtual void WaitEvents(std::chrono::milliseconds timeout) = 0;
  // Destroys the native window now, with whatever the plug-in put into it, as a host does that
  // closes its window before the editor; pumpEvents answers false from then on.
  virtual void Destroy() = 0;
  // Whether the plug-in has put a visible window of its own into ours.
  virtual bool ShowsChildWindow() = 0;

  // Real input through the window system, at the window's own coordinates, as a
  // person's mouse would make it: the pointer moves there, a left button goes down or up.
  virtual void MovePointer(int32_t x, int32_t y) = 0;
  virtual void PressButton() = 0;
  virtual void ReleaseButton() = 0;

  // The window's pixels as the window system shows them, the plug-in's included:
  // 0xRRGGBB, rows from the top.
  virtual png::Picture Capture() = 0;
};

// A shown window of the given size; throws with a message a person can act on when
// the system offers no window (no display, or no support on this system yet).
std::unique_ptr<EditorWindow> OpenEditorWindow(const std::string& title, int32_t width,
                                               int32_t height,
                                               const EditorWindowOptions& options = {});

}  // namespace fluxhost

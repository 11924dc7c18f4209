#pragma once
// What a test reads from the X server beside the host's window (fluxhost's EditorWindow), on a
// connection of its own: the windows a plug-in put into it and their pixels as the server shows
// them.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "EditorWindow.h"

namespace x11test {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&free)>;

inline xcb_window_t IdOf(const fluxhost::EditorWindow& window) {
  return static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(window.NativeHandle()));
}

class X11Probe {
 public:
  X11Probe() : connection(xcb_connect(nullptr, nullptr)) {}
  ~X11Probe() { xcb_disconnect(connection); }
  X11Probe(const X11Probe&) = delete;
  X11Probe& operator=(const X11Probe&) = delete;

  bool Connected() const { return !xcb_connection_has_error(connection); }

  std::vector<xcb_window_t> Children(xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &free);
    if (!tree) return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
  }

  // A window's own pixels, where its parent's may not hold them (a parent of another depth),
  // top-down, red-green-blue in the low 24 bits; empty when the server refuses.
  std::vector<uint32_t> Pixels(xcb_window_t window, uint16_t width, uint16_t height) {
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u),
            nullptr),
        &free);
    if (!image) return {};
    const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image.get()));
    const auto count = static_cast<std::size_t>(width) * height;
    if (static_cast<std::size_t>(xcb_get_image_data_length(image.get())) < count * 4) return {};
    std::vector<uint32_t> pixels(data, data + count);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

  // Errors that reached this connection (requests of ours the server refused).
  int TakeErrors() {
    int errors = 0;
    while (auto* event = xcb_poll_for_event(connection)) {
      if (event->response_type == 0) ++errors;
      free(event);
    }
    return errors;
  }

  void Sync() {
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  }

  xcb_connection_t* connection;
};

}  // namespace x11test

#pragma once
// The X side of a host, as a test plays it: a connection of its own, top-level windows to
// embed editors in, pixels read back from the server, and real input through XTEST.

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace x11test {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&free)>;

class X11TestHost {
 public:
  X11TestHost() : connection(xcb_connect(nullptr, nullptr)) {
    if (!xcb_connection_has_error(connection)) {
      screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    }
  }
  ~X11TestHost() { xcb_disconnect(connection); }
  X11TestHost(const X11TestHost&) = delete;
  X11TestHost& operator=(const X11TestHost&) = delete;

  bool Connected() const { return screen != nullptr; }

  // A mapped top-level window on the root visual, or on `visual` of `depth` (with a colormap
  // of its own) when given.
  xcb_window_t CreateWindow(int16_t x, int16_t y, uint16_t width, uint16_t height,
                            uint8_t depth = 0, xcb_visualid_t visual = 0) {
    const xcb_window_t window = xcb_generate_id(connection);
    if (depth == 0) {
      const uint32_t values[] = {screen->black_pixel};
      xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, x, y, width, height,
                        0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                        values);
    } else {
      const xcb_colormap_t colormap = xcb_generate_id(connection);
      xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
      const uint32_t values[] = {0, 0, colormap};
      xcb_create_window(connection, depth, window, screen->root, x, y, width, height, 0,
                        XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_COLORMAP, values);
    }
    xcb_map_window(connection, window);
    Sync();
    return window;
  }
  void DestroyWindow(xcb_window_t window) {
    xcb_destroy_window(connection, window);
    Sync();
  }

  // A 32-bit true-colour visual with alpha, if the server has one.
  xcb_visualid_t ArgbVisual() const {
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
      if (d.data->depth != 32) continue;
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
        if (v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return v.data->visual_id;
      }
    }
    return 0;
  }

  std::vector<xcb_window_t> Children(xcb_window_t window) {
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &free);
    if (!tree) return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
  }

  // The window's pixels as the server shows them, top-down, red-green-blue in the low 24 bits;
  // empty when the server refuses.
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

  // Real input, in screen coordinates.
  void MoveTo(int16_t x, int16_t y) {
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root, x, y, 0);
    Sync();
  }
  void Button(uint8_t button, bool down) {
    xcb_test_fake_input(connection, down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button,
                        XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
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
  const xcb_screen_t* screen = nullptr;
};

}  // namespace x11test

#include "platform/x11/X11Connection.h"

#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>

#include "common/Assert.h"
#include "platform/WindowMessages.h"

namespace platform::x11 {

using namespace messages;

namespace {

constexpr std::size_t kPutImageHeader = 24;  // bytes before a PutImage request's data

bool IsRgb24(const xcb_visualtype_t& visual) {
  return visual._class == XCB_VISUAL_CLASS_TRUE_COLOR && visual.red_mask == 0xFF0000 &&
         visual.green_mask == 0x00FF00 && visual.blue_mask == 0x0000FF;
}

// A 24-bit true-colour visual with 32 bits per pixel in images: the root visual when it is one.
xcb_visualid_t FindVisual(xcb_connection_t* connection, const xcb_screen_t& screen) {
  bool padded = false;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
    if (f.data->depth == 24 && f.data->bits_per_pixel == 32) padded = true;
  }
  if (!padded) return 0;
  xcb_visualid_t found = 0;
  for (auto d = xcb_screen_allowed_depths_iterator(&screen); d.rem; xcb_depth_next(&d)) {
    if (d.data->depth != 24) continue;
    for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
      if (!IsRgb24(*v.data)) continue;
      if (v.data->visual_id == screen.root_visual) return screen.root_visual;
      if (!found) found = v.data->visual_id;
    }
  }
  return found;
}

// Glyphs of the server's standard cursor font.
uint16_t CursorGlyph(int16_t cursor) {
  switch (cursor) {
    case crCross:
      return 34;
    case crIBeam:
      return 152;
    case crSizeNS:
      return 116;
    case crSizeWE:
      return 108;
    case crHandPoint:
      return 60;
    default:
      return 68;  // the arrow
  }
}

}  // namespace

std::unique_ptr<X11Connection> X11Connection::Open(bool sharedMemory) {
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) {
    xcb_disconnect(connection);
    return nullptr;
  }
  std::unique_ptr<X11Connection> opened(new X11Connection(connection, *screens.data, sharedMemory));
  if (opened->m_Visual == 0 || opened->m_KeySymbols == nullptr) return nullptr;
  return opened;
}

X11Connection::X11Connection(xcb_connection_t* connection, const xcb_screen_t& screen,
                             bool sharedMemory)
    : m_Connection(connection), m_Screen(&screen), m_TryShared(sharedMemory) {
  m_SwapBytes = xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  m_Visual = FindVisual(connection, screen);
  if (m_Visual == screen.root_visual) {
    m_Colormap = screen.default_colormap;
  } else if (m_Visual != 0) {
    m_Colormap = xcb_generate_id(connection);
    xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, m_Colormap, screen.root, m_Visual);
    m_OwnColormap = true;
  }
  m_KeySymbols = xcb_key_symbols_alloc(connection);
}

X11Connection::~X11Connection() {
  m_Shared.reset();
  // The server handles what we sent before it sees us go: a host that looks at its window
  // right after our last child window closed finds that child gone.
  if (!Failed()) Sync();
  if (m_KeySymbols) xcb_key_symbols_free(m_KeySymbols);
  // Everything the server holds for us goes with the connection: colormap, cursors, font.
  xcb_disconnect(m_Connection);
}

void X11Connection::CopyRows(const flux::PixelView& pixels, const Rect& area, int32_t top,
                             int32_t rows, uint32_t* to) const {
  const auto width = static_cast<std::size_t>(area.Width());
  for (int32_t y = top; y < top + rows; ++y, to += width) {
    const uint32_t* from =
        pixels.bits +
        static_cast<std::size_t>(pixels.height - 1 - y) * static_cast<std::size_t>(pixels.width) +
        static_cast<std::size_t>(area.Left);
    for (std::size_t x = 0; x < width; ++x) {
      const uint32_t opaque = from[x] | 0xFF000000u;
      to[x] = m_SwapBytes ? __builtin_bswap32(opaque) : opaque;
    }
  }
}

SharedPixels* X11Connection::Shared(std::size_t count) {
  if (!m_TryShared) return nullptr;
  if (!m_Shared || m_Shared->Capacity() < count) {
    m_Shared.reset();
    m_Shared = SharedPixels::Attach(m_Connection, count);
    m_TryShared = m_Shared != nullptr;  // refused once, refused for good
  }
  return m_Shared.get();
}

void X11Connection::PutImage(xcb_window_t window, xcb_gcontext_t gc, const flux::PixelView& pixels,
                             const Rect& area) {
  FLUX_ASSERT(area.Left >= 0 && area.Top >= 0 && area.Right <= pixels.width &&
              area.Bottom <= pixels.height);
  const auto width = static_cast<std::size_t>(area.Width());
  const auto height = static_cast<std::size_t>(area.Height());
  if (SharedPixels* shared = Shared(width * height)) {
    CopyRows(pixels, area, area.Top, area.Height(), shared->Fill());
    shared->Put(window, gc, static_cast<uint16_t>(width), static_cast<uint16_t>(height),
                static_cast<int16_t>(area.Left), static_cast<int16_t>(area.Top));
    return;
  }
  const std::size_t maxBytes = std::size_t{xcb_get_maximum_request_length(m_Connection)} * 4;
  const std::size_t rowsPerRequest =
      std::max<std::size_t>(1, (maxBytes - kPutImageHeader) / (width * sizeof(uint32_t)));
  for (int32_t top = area.Top; top < area.Bottom;) {
    const auto rows = static_cast<int32_t>(
        std::min<std::size_t>(rowsPerRequest, static_cast<std::size_t>(area.Bottom - top)));
    m_Rows.resize(width * static_cast<std::size_t>(rows));
    CopyRows(pixels, area, top, rows, m_Rows.data());
    xcb_put_image(m_Connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, static_cast<uint16_t>(width),
                  static_cast<uint16_t>(rows), static_cast<int16_t>(area.Left),
                  static_cast<int16_t>(top), 0, 24,
                  static_cast<uint32_t>(m_Rows.size() * sizeof(uint32_t)),
                  reinterpret_cast<const uint8_t*>(m_Rows.data()));
    top += rows;
  }
}

uint32_t X11Connection::KeySym(uint8_t keycode, bool shifted) const {
  return xcb_key_symbols_get_keysym(m_KeySymbols, keycode, shifted ? 1 : 0);
}

xcb_cursor_t X11Connection::Cursor(int16_t cursor) {
  if (cursor == crDefault) return XCB_NONE;
  const uint16_t glyph = CursorGlyph(cursor);
  if (const auto at = m_Cursors.find(glyph); at != m_Cursors.end()) return at->second;
  if (m_CursorFont == 0) {
    m_CursorFont = xcb_generate_id(m_Connection);
    xcb_open_font(m_Connection, m_CursorFont, 6, "cursor");
  }
  const xcb_cursor_t made = xcb_generate_id(m_Connection);
  xcb_create_glyph_cursor(m_Connection, made, m_CursorFont, m_CursorFont, glyph, glyph + 1, 0, 0, 0,
                          0xFFFF, 0xFFFF, 0xFFFF);
  m_Cursors.emplace(glyph, made);
  return made;
}

void X11Connection::Sync() {
  free(xcb_get_input_focus_reply(m_Connection, xcb_get_input_focus(m_Connection), nullptr));
}

}  // namespace platform::x11

#include "platform/x11/X11Window.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/x11/X11Backend.h"
#include "platform/x11/X11Thread.h"

namespace platform::x11 {

X11Window::X11Window(X11Backend& backend, X11Thread& thread, PeerClient& client, xcb_window_t id)
    : WindowPeer(client), m_Backend(backend), m_Thread(thread), m_Id(id) {
  xcb_connection_t* connection = m_Thread.connection->Get();
  m_Gc = xcb_generate_id(connection);
  const uint32_t noExposures = 0;
  xcb_create_gc(connection, m_Gc, m_Id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  m_Thread.windows.push_back(this);
}

X11Window::~X11Window() {
  std::erase(m_Thread.windows, this);
  m_Thread.timers.StopAll(*this);
  if (m_Thread.connection && !m_Thread.connection->Failed()) {
    xcb_connection_t* connection = m_Thread.connection->Get();
    // A window the host destroyed first is gone already; the server's error for the second
    // destroy comes back to us as a value and goes unread.
    if (!m_Gone) xcb_destroy_window(connection, m_Id);
    xcb_free_gc(connection, m_Gc);
    xcb_flush(connection);
  }
  m_Backend.Leave(m_Thread);
}

void X11Window::Lost() {
  if (m_Gone) return;
  m_Gone = true;
  m_Lost = {};
  m_PaintRequested = false;
  m_Thread.timers.StopAll(*this);  // its timers went with it
  HandleDestroyed();
}

bool X11Window::ConfirmExists() {
  if (!Usable()) return !m_Gone;
  xcb_connection_t* connection = m_Thread.connection->Get();
  xcb_generic_error_t* error = nullptr;
  const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> reply(
      xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, m_Id),
                                      &error),
      &free);
  const bool gone = error && error->error_code == XCB_WINDOW;
  free(error);
  if (gone) Lost();  // the destroy notice still on its way is then ignored
  return !m_Gone;
}

bool X11Window::Usable() const {
  return !m_Gone && m_Thread.connection && !m_Thread.connection->Failed();
}

bool X11Window::TakePendingPaint(Rect& lost) {
  if (!m_Visible || !Usable()) return false;
  lost = std::exchange(m_Lost, {});
  return std::exchange(m_PaintRequested, false) || !lost.IsEmpty();
}

void X11Window::AddLost(const Rect& area) {
  if (Usable()) m_Lost = m_Lost.Union(area.Intersect(m_Client));
}

bool X11Window::SetFocused(bool focused) {
  return std::exchange(m_Focused, focused) != focused;
}

void* X11Window::NativeHandle() const {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(m_Id));
}

void X11Window::SetBounds(const Rect& boundsInParent) {
  if (!Usable()) return;
  const uint32_t values[] = {static_cast<uint32_t>(boundsInParent.Left),
                             static_cast<uint32_t>(boundsInParent.Top),
                             static_cast<uint32_t>(std::max(boundsInParent.Width(), 1)),
                             static_cast<uint32_t>(std::max(boundsInParent.Height(), 1))};
  xcb_configure_window(m_Thread.connection->Get(), m_Id,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  m_Client = {0, 0, std::max(boundsInParent.Width(), 0), std::max(boundsInParent.Height(), 0)};
  m_Lost = m_Lost.Intersect(m_Client);
}

void X11Window::SetVisible(bool visible) {
  if (!Usable() || m_Visible == visible) return;
  m_Visible = visible;
  xcb_connection_t* connection = m_Thread.connection->Get();
  if (visible) {
    xcb_map_window(connection, m_Id);
  } else {
    xcb_unmap_window(connection, m_Id);
  }
  xcb_flush(connection);
}

void X11Window::Present(const flux::PixelView& pixels, const Rect& area) {
  if (!Usable() || !pixels.bits) return;
  const Rect part = area.Intersect(m_Client).Intersect({0, 0, pixels.width, pixels.height});
  if (part.IsEmpty()) return;
  try {
    m_Thread.connection->PutImage(m_Id, m_Gc, pixels, part);
  } catch (const std::bad_alloc&) {
    AddLost(part);  // unshown: the next paint presents it again
    return;
  }
  xcb_flush(m_Thread.connection->Get());
}

void X11Window::SetCursor(int16_t cursor) {
  if (!Usable() || cursor == m_Cursor) return;
  m_Cursor = cursor;
  try {
    const uint32_t shape = m_Thread.connection->Cursor(cursor);
    xcb_change_window_attributes(m_Thread.connection->Get(), m_Id, XCB_CW_CURSOR, &shape);
  } catch (const std::bad_alloc&) {
    m_Cursor = 0;  // the shape stays as it was
  }
}

void X11Window::TakeFocus() {
  if (!Usable()) return;
  xcb_set_input_focus(m_Thread.connection->Get(), XCB_INPUT_FOCUS_PARENT, m_Id, XCB_CURRENT_TIME);
  xcb_flush(m_Thread.connection->Get());
}

bool X11Window::StartTimer(uintptr_t id, uint32_t milliseconds) {
  if (m_Gone) return false;
  try {
    m_Thread.timers.Start(*this, id, milliseconds, m_Backend.Now());
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void X11Window::StopTimer(uintptr_t id) {
  m_Thread.timers.Stop(*this, id);
}

Point X11Window::ClientOrigin() const {
  if (!Usable()) return {};
  xcb_connection_t* connection = m_Thread.connection->Get();
  const auto cookie =
      xcb_translate_coordinates(connection, m_Id, m_Thread.connection->Screen().root, 0, 0);
  std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> reply(
      xcb_translate_coordinates_reply(connection, cookie, nullptr), &free);
  return reply ? Point{reply->dst_x, reply->dst_y} : Point{};
}

}  // namespace platform::x11

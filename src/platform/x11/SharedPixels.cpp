#include "platform/x11/SharedPixels.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <cstdlib>

namespace platform::x11 {

std::unique_ptr<SharedPixels> SharedPixels::Attach(xcb_connection_t* connection,
                                                   std::size_t pixels) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (!extension || !extension->present || pixels == 0) return nullptr;
  const int id = shmget(IPC_PRIVATE, pixels * sizeof(uint32_t), IPC_CREAT | 0600);
  if (id < 0) return nullptr;
  void* memory = shmat(id, nullptr, 0);
  if (memory == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return nullptr;
  }
  const uint32_t segment = xcb_generate_id(connection);
  xcb_generic_error_t* error = xcb_request_check(
      connection, xcb_shm_attach_checked(connection, segment, static_cast<uint32_t>(id), 1));
  // Attached or not, the segment goes once both sides have let go of it.
  shmctl(id, IPC_RMID, nullptr);
  if (error) {
    free(error);  // a server on another machine, most likely
    shmdt(memory);
    return nullptr;
  }
  return std::unique_ptr<SharedPixels>(
      new SharedPixels(connection, static_cast<uint32_t*>(memory), pixels, segment));
}

SharedPixels::SharedPixels(xcb_connection_t* connection, uint32_t* memory, std::size_t capacity,
                           uint32_t segment)
    : m_Connection(connection), m_Memory(memory), m_Capacity(capacity), m_Segment(segment) {}

SharedPixels::~SharedPixels() {
  // The server keeps its own attachment until it handles the detach; ours goes now.
  if (m_Reading) xcb_discard_reply(m_Connection, m_Read.sequence);
  xcb_shm_detach(m_Connection, m_Segment);
  shmdt(m_Memory);
}

uint32_t* SharedPixels::Fill() {
  if (m_Reading) {
    free(xcb_get_input_focus_reply(m_Connection, m_Read, nullptr));
    m_Reading = false;
  }
  return m_Memory;
}

void SharedPixels::Put(xcb_drawable_t drawable, xcb_gcontext_t gc, uint16_t width, uint16_t height,
                       int16_t x, int16_t y) {
  xcb_shm_put_image(m_Connection, drawable, gc, width, height, 0, 0, width, height, x, y, 24,
                    XCB_IMAGE_FORMAT_Z_PIXMAP, 0, m_Segment, 0);
  m_Read = xcb_get_input_focus(m_Connection);
  m_Reading = true;
}

}  // namespace platform::x11

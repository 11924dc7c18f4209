#pragma once
// A block of memory that the X server reads pixels from directly (the MIT-SHM extension), so
// that a frame does not travel through the socket. Only a server on this machine that offers
// the extension can attach it; elsewhere pixels go with PutImage.

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform::x11 {

class SharedPixels {
 public:
  // Room for `pixels` 32-bit pixels; none when the server or the system refuses.
  static std::unique_ptr<SharedPixels> Attach(xcb_connection_t* connection, std::size_t pixels);
  ~SharedPixels();
  SharedPixels(const SharedPixels&) = delete;
  SharedPixels& operator=(const SharedPixels&) = delete;

  std::size_t Capacity() const { return m_Capacity; }
  // The memory to fill, once the server has read what the last Put gave it.
  uint32_t* Fill();
  // Puts the first width × height pixels (rows top-down) at x, y of the drawable.
  void Put(xcb_drawable_t drawable, xcb_gcontext_t gc, uint16_t width, uint16_t height, int16_t x,
           int16_t y);

 private:
  SharedPixels(xcb_connection_t* connection, uint32_t* memory, std::size_t capacity,
               uint32_t segment);

  xcb_connection_t* m_Connection;
  uint32_t* m_Memory;
  std::size_t m_Capacity;
  uint32_t m_Segment;
  bool m_Reading = false;                 // the server may still be reading the last Put
  xcb_get_input_focus_cookie_t m_Read{};  // answered once it has
};

}  // namespace platform::x11

#pragma once
// One connection of ours to the X server, opened when a thread makes its first window and
// closed with its last one. Errors come back as values (XCB): nothing here installs a
// process-wide handler, so a host's own X error handling never sees what we cause.

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/Backend.h"
#include "platform/x11/SharedPixels.h"

struct _XCBKeySymbols;

namespace platform::x11 {

class X11Connection {
 public:
  // None when there is no server, or no 24-bit true-colour visual to draw on. With
  // `sharedMemory`, pixels go through memory shared with the server where it can attach it.
  static std::unique_ptr<X11Connection> Open(bool sharedMemory);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  xcb_connection_t* Get() const { return m_Connection; }
  bool Failed() const { return xcb_connection_has_error(m_Connection) != 0; }
  const xcb_screen_t& Screen() const { return *m_Screen; }
  // Windows are made on this visual whatever their parent's (a 32-bit ARGB parent included):
  // pixels then go out as they are, with no conversion.
  xcb_visualid_t Visual() const { return m_Visual; }
  xcb_colormap_t Colormap() const { return m_Colormap; }

  // Puts `area` of `pixels` into `window` (drawn with `gc`) at the same place, top-down and
  // opaque, in requests no longer than the server accepts.
  void PutImage(xcb_window_t window, xcb_gcontext_t gc, const flux::PixelView& pixels,
                const Rect& area);
  // The keysym of a key as typed with the shift state given (column 0 or 1).
  uint32_t KeySym(uint8_t keycode, bool shifted) const;
  // The pointer shape for a framework cursor number; none (the parent's) for crDefault.
  xcb_cursor_t Cursor(int16_t cursor);
  // Waits until the server has handled every request sent so far.
  void Sync();

 private:
  X11Connection(xcb_connection_t* connection, const xcb_screen_t& screen, bool sharedMemory);
  // Rows top..top+rows of `area`, top-down and opaque, in the server's byte order.
  void CopyRows(const flux::PixelView& pixels, const Rect& area, int32_t top, int32_t rows,
                uint32_t* to) const;
  // Shared memory with room for `count` pixels, while the server accepts it.
  SharedPixels* Shared(std::size_t count);

  xcb_connection_t* m_Connection;
  const xcb_screen_t* m_Screen;
  xcb_visualid_t m_Visual = 0;
  xcb_colormap_t m_Colormap = 0;
  bool m_OwnColormap = false;
  bool m_SwapBytes = false;  // a server that wants pixels most significant byte first
  _XCBKeySymbols* m_KeySymbols = nullptr;
  xcb_font_t m_CursorFont = 0;
  std::map<uint16_t, xcb_cursor_t> m_Cursors;  // by glyph
  std::vector<uint32_t> m_Rows;                // the area being put, top-down
  bool m_TryShared;
  std::unique_ptr<SharedPixels> m_Shared;
};

}  // namespace platform::x11

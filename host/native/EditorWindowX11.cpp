// The editor's window on the X Window System, through Xlib, with input made by the
// XTEST extension so that the plug-in receives it as it would a person's.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <cstdlib>
#include <stdexcept>

#include "EditorWindow.h"

namespace fluxhost {

namespace {

// Xlib's default error handler ends the process, and the handler is the whole
// process's: a plug-in's mistake on its own connection would end the host. Errors are
// ignored instead; the calls here that can fail check their results.
int IgnoreError(Display*, XErrorEvent*) {
  return 0;
}

constexpr auto kMapTimeout = std::chrono::seconds(2);

class X11EditorWindow final : public EditorWindow {
 public:
  // On the root's visual, or on `alpha` when given.
  X11EditorWindow(Display* display, const std::string& title, int32_t width, int32_t height,
                  ScreenPoint place, const XVisualInfo* alpha)
      : m_Display(display), m_Width(width), m_Height(height) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes{};
    attributes.event_mask = StructureNotifyMask;
    unsigned long valueMask = CWBackPixel | CWEventMask;
    int depth = CopyFromParent;
    Visual* visual = nullptr;  // the parent's
    if (alpha != nullptr) {
      // Another visual than the root's needs a colormap and a border of its own; the server
      // frees the colormap with the connection.
      attributes.colormap = XCreateColormap(display, root, alpha->visual, AllocNone);
      valueMask |= CWColormap | CWBorderPixel;
      depth = alpha->depth;
      visual = alpha->visual;
    } else {
      attributes.background_pixel = BlackPixel(display, screen);
    }
    m_Window = XCreateWindow(display, root, place.x, place.y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                             valueMask, &attributes);
    XStoreName(display, m_Window, title.c_str());
    m_DeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, m_Window, &m_DeleteWindow, 1);
    FixSize();
    XMapWindow(display, m_Window);
    AwaitMapped();
  }

  ~X11EditorWindow() override {
    Destroy();
    XCloseDisplay(m_Display);
  }

  void* NativeHandle() const override {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(m_Window));
  }

  void Resize(int32_t width, int32_t height) override {
    m_Width = width;
    m_Height = height;
    FixSize();
    XResizeWindow(m_Display, m_Window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(m_Display, False);
  }

  // A person's close leaves the window in place: the editor is closed in it first.
  bool PumpEvents() override {
    while (XPending(m_Display) > 0) {
      XEvent event;
      XNextEvent(m_Display, &event);
      if (event.type == ClientMessage &&
          static_cast<Atom>(event.xclient.data.l[0]) == m_DeleteWindow) {
        m_CloseAsked = true;
      } else if (event.type == DestroyNotify && event.xdestroywindow.window == m_Window) {
        m_Exists = false;
      }
    }
    return m_Exists && !m_CloseAsked;
  }

  void WaitEvents(std::chrono::milliseconds timeout) override {
    if (XPending(m_Display) > 0) return;
    pollfd connection{ConnectionNumber(m_Display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(timeout.count()));
  }

  void Destroy() override {
    if (!m_Exists) return;
    XDestroyWindow(m_Display, m_Window);
    XSync(m_Display, False);
    m_Exists = false;
  }

  bool ShowsChildWindow() override {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!m_Exists || !XQueryTree(m_Display, m_Window, &root, &parent, &children, &count))
      return false;
    bool shown = false;
    for (unsigned i = 0; i < count && !shown; ++i) {
      XWindowAttributes child{};
      shown = XGetWindowAttributes(m_Display, children[i], &child) && child.map_state == IsViewable;
    }
    if (children != nullptr) XFree(children);
    return shown;
  }

  void MovePointer(int32_t x, int32_t y) override {
    RequireTestExtension();
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(m_Display, m_Window, DefaultRootWindow(m_Display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(m_Display, DefaultScreen(m_Display), rootX, rootY, CurrentTime);
    XSync(m_Display, False);
  }

  void PressButton() override { SendButton(True); }
  void ReleaseButton() override { SendButton(False); }

  png::Picture Capture() override {
    XImage* image = m_Exists ? XGetImage(m_Display, m_Window, 0, 0, static_cast<unsigned>(m_Width),
                                         static_cast<unsigned>(m_Height), AllPlanes, ZPixmap)
                             : nullptr;
    if (image == nullptr) {
      throw std::runtime_error(
          "cannot read the window's pixels back from the X server (the window is closed or not "
          "fully on the screen)");
    }
    png::Picture picture{m_Width, m_Height, {}};
    picture.pixels.reserve(static_cast<size_t>(m_Width) * static_cast<size_t>(m_Height));
    for (int32_t y = 0; y < m_Height; ++y) {
      for (int32_t x = 0; x < m_Width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        picture.pixels.push_back(Channel(pixel, image->red_mask) << 16 |
                                 Channel(pixel, image->green_mask) << 8 |
                                 Channel(pixel, image->blue_mask));
      }
    }
    XDestroyImage(image);
    return picture;
  }

 private:
  // A channel scaled to 8 bits from wherever its mask puts it.
  static uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    unsigned long value = pixel & mask;
    while ((mask & 1) == 0) {
      mask >>= 1;
      value >>= 1;
    }
    return static_cast<uint32_t>(value * 255 / mask);
  }

  // The editor decides the size, not the person: a window manager is asked to keep it.
  void FixSize() {
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = m_Width;
    hints.min_height = hints.max_height = m_Height;
    XSetWMNormalHints(m_Display, m_Window, &hints);
  }

  void AwaitMapped() {
    const auto deadline = std::chrono::steady_clock::now() + kMapTimeout;
    XEvent event;
    while (std::chrono::steady_clock::now() < deadline) {
      if (XCheckTypedWindowEvent(m_Display, m_Window, MapNotify, &event)) return;
      WaitEvents(std::chrono::milliseconds(20));
    }
  }

  void RequireTestExtension() {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_Display, &eventBase, &errorBase, &major, &minor)) {
      throw std::runtime_error("the X server has no XTEST extension: no input can be sent");
    }
  }

  void SendButton(Bool down) {
    RequireTestExtension();
    XTestFakeButtonEvent(m_Display, Button1, down, CurrentTime);
    XSync(m_Display, False);
  }

  Display* m_Display;
  Window m_Window = 0;
  Atom m_DeleteWindow = 0;
  int32_t m_Width;
  int32_t m_Height;
  bool m_Exists = true;
  bool m_CloseAsked = false;
};

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(const std::string& title, int32_t width,
                                               int32_t height, const EditorWindowOptions& options) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    const char* name = std::getenv("DISPLAY");
    throw std::runtime_error(
        name != nullptr && *name != '\0'
            ? "cannot open the X display '" + std::string(name) + "': the editor needs one"
            : std::string("no X display (DISPLAY is not set): the editor needs one"));
  }
  XSetErrorHandler(IgnoreError);
  XVisualInfo alpha{};
  if (options.alphaVisual &&
      !XMatchVisualInfo(display, DefaultScreen(display), 32, TrueColor, &alpha)) {
    XCloseDisplay(display);
    throw std::runtime_error("the X server offers no 32-bit visual with alpha");
  }
  return std::make_unique<X11EditorWindow>(display, title, width, height,
                                           options.position.value_or(ScreenPoint{}),
                                           options.alphaVisual ? &alpha : nullptr);
}

}  // namespace fluxhost

// fluxhost's editor window on the build's X server: where it opens and on which visual, and a
// window destroyed at once, as by a host that closes it before the editor.

#include <gtest/gtest.h>

// After the test framework, whose names Xlib's macros (None, Bool) would replace.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>

#include "EditorWindow.h"

namespace {

int IgnoreError(Display*, XErrorEvent*) {
  return 0;  // a window that is gone is what some cases look for
}

class EditorWindowX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(m_Display, nullptr) << "no X server on DISPLAY";
    XSetErrorHandler(IgnoreError);
  }
  ~EditorWindowX11() override {
    if (m_Display != nullptr) XCloseDisplay(m_Display);
  }

  // The window's attributes as the server has them; false once it is gone.
  bool Attributes(const fluxhost::EditorWindow& window, XWindowAttributes& attributes) {
    const auto id = static_cast<Window>(reinterpret_cast<uintptr_t>(window.NativeHandle()));
    return XGetWindowAttributes(m_Display, id, &attributes) != 0;
  }

  Display* m_Display = XOpenDisplay(nullptr);
};

TEST_F(EditorWindowX11, OpensWhereAskedOnTheVisualAskedFor) {
  fluxhost::EditorWindowOptions options;
  options.position = fluxhost::ScreenPoint{70, 90};
  const auto plain = fluxhost::OpenEditorWindow("plain", 60, 40, options);
  XWindowAttributes attributes{};
  ASSERT_TRUE(Attributes(*plain, attributes));
  EXPECT_EQ((std::pair{attributes.x, attributes.y}), (std::pair{70, 90}));
  EXPECT_EQ(attributes.depth, DefaultDepth(m_Display, DefaultScreen(m_Display)));

  options.alphaVisual = true;
  std::unique_ptr<fluxhost::EditorWindow> alpha;
  try {
    alpha = fluxhost::OpenEditorWindow("alpha", 60, 40, options);
  } catch (const std::runtime_error& error) {
    GTEST_SKIP() << error.what();
  }
  ASSERT_TRUE(Attributes(*alpha, attributes));
  EXPECT_EQ(attributes.depth, 32);
  EXPECT_EQ(attributes.visual->c_class, TrueColor);
  EXPECT_EQ(alpha->Capture().pixels.size(), 60u * 40u);
}

TEST_F(EditorWindowX11, ADestroyedWindowIsOffTheServerAtOnce) {
  const auto window = fluxhost::OpenEditorWindow("gone", 60, 40);
  XWindowAttributes attributes{};
  ASSERT_TRUE(Attributes(*window, attributes));
  EXPECT_TRUE(window->PumpEvents());
  window->Destroy();
  EXPECT_FALSE(Attributes(*window, attributes));  // with no event awaited first
  EXPECT_FALSE(window->PumpEvents());
  EXPECT_FALSE(window->ShowsChildWindow());
  EXPECT_THROW(window->Capture(), std::runtime_error);
  window->Destroy();  // again: nothing left to do
}

}  // namespace

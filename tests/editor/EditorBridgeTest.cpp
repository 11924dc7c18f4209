// The host's editor requests, through the descriptor: the rectangle before, during and after
// opening, the window's life over nested and unmatched opens and closes, the idle refresh, and
// the opens that cannot succeed.

#include <gtest/gtest.h>

#include <thread>

#include "testsupport/editor/EditorHost.h"

namespace {

using editortest::EditorHost;

class EditorBridge : public ::testing::Test, public EditorHost {
 protected:
  struct Answer {
    VstIntPtr result;
    ERect rect;
  };
  Answer GetRect() {
    ERect* rect = nullptr;
    const VstIntPtr result = Dispatch(effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect, GetRectAddress());
    return {result, *rect};
  }
  ERect* GetRectAddress() {
    ERect* rect = nullptr;
    Dispatch(effEditGetRect, 0, 0, &rect);
    return rect;
  }
  void ExpectRect(const ERect& rect, int bottom, int right) {
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.bottom, bottom);
    EXPECT_EQ(rect.right, right);
  }
};

TEST_F(EditorBridge, TheLibraryBuiltWithTheEditorSaysSo) {
  EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
}

TEST_F(EditorBridge, RectangleIsZeroBeforeOpeningTheWindowsSizeWhileOpenAndKeptAfterClosing) {
  Answer before = GetRect();
  EXPECT_EQ(before.result, 1);
  ExpectRect(before.rect, 0, 0);

  const std::size_t windows = backend.WindowCount();
  EXPECT_EQ(Open(), 1);
  ExpectRect(GetRect().rect, 135, 432);
  EXPECT_EQ(backend.ScreenBoundsOf(Window().Handle()).Left, 100);  // at 0, 0 of the host's window
  EXPECT_EQ(backend.ScreenBoundsOf(Window().Handle()).Top, 50);

  Close();
  EXPECT_EQ(Editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);  // the window and its timer are gone
  ExpectRect(GetRect().rect, 135, 432);
}

TEST_F(EditorBridge, OnlyTheLastOfNestedClosesDestroysTheWindow) {
  ASSERT_EQ(Open(), 1);
  TPluginEditorWindow* first = Editor().Window();
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Editor().Window(), first);
  Close();
  EXPECT_EQ(Editor().OpenCount(), 1);
  EXPECT_EQ(Editor().Window(), first);
  EXPECT_FALSE(Plugin().IsEditorClosed());
  void* handle = first->Handle();
  Close();
  EXPECT_EQ(Editor().OpenCount(), 0);
  EXPECT_FALSE(backend.IsWindow(handle));
  EXPECT_EQ(Editor().ParentWindow(), nullptr);
  EXPECT_TRUE(Plugin().IsEditorClosed());
}

TEST_F(EditorBridge, CloseWithoutOpenMakesAndDestroysNothing) {
  const std::size_t windows = backend.WindowCount();
  Close();
  Close();
  EXPECT_EQ(Editor().OpenCount(), 0);
  EXPECT_TRUE(Plugin().IsEditorClosed());
  EXPECT_EQ(backend.WindowCount(), windows);
  EXPECT_EQ(Open(), 1);  // and the count does not stay below the next open
  Close();
  EXPECT_EQ(Editor().Window(), nullptr);
}

TEST_F(EditorBridge, ASecondOpenElsewhereKeepsTheWindowWhereItIsAndSyncsTheSliders) {
  ASSERT_EQ(Open(), 1);
  TPluginEditorWindow* first = Editor().Window();
  const platform::Rect bounds = backend.ScreenBoundsOf(first->Handle());
  void* otherHost = backend.CreateHostWindow({700, 400, 1200, 600});
  first->Updater.SetEnabled(false);
  SetParameter(1, 0.5f);
  const std::size_t windows = backend.WindowCount();

  ASSERT_EQ(Open(otherHost), 1);
  EXPECT_EQ(Editor().Window(), first);
  EXPECT_EQ(Editor().ParentWindow(), otherHost);
  EXPECT_EQ(backend.ScreenBoundsOf(first->Handle()), bounds);
  EXPECT_EQ(backend.WindowCount(), windows + 1);  // only the timer's window is new
  EXPECT_TRUE(first->Updater.Enabled());
  EXPECT_EQ(first->par1.Position(), 64);  // at once, before any tick
  EXPECT_EQ(Editor().OpenCount(), 2);
}

TEST_F(EditorBridge, IdleWritesControllerNumbersAndIndicatorsOnlyWhileOpen) {
  SetParameter(4, 0.0f);  // unit 2 sends its CC Value as it is
  SetParameter(3, 20.0f / 127.0f);
  PlayNote();
  Idle();  // closed: nothing to write, nothing breaks
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Window().CC1GUI.Caption(), "0");
  EXPECT_EQ(Window().indicate2.Position(), 50);

  SetParameter(2, 0.5f);
  Idle();
  EXPECT_EQ(Window().CC1GUI.Caption(), "64");  // 63.5 goes to the even 64
  EXPECT_EQ(Window().CC2GUI.Caption(), "15");  // program 0's CC Out of unit 2
  EXPECT_EQ(Window().indicate1.Position(), Plugin().LastValue(1));
  EXPECT_EQ(Window().indicate2.Position(), 20);

  Close();
  SetParameter(2, 1.0f);
  Idle();
  EXPECT_EQ(Editor().Window(), nullptr);
}

TEST_F(EditorBridge, OpenWithoutAParentOrAWindowAnswersZeroAndCountsNothing) {
  const std::size_t windows = backend.WindowCount();
  EXPECT_EQ(Open(nullptr), 0);
  EXPECT_EQ(Editor().OpenCount(), 0);

  void* goneHost = backend.CreateHostWindow({0, 0, 10, 10});
  backend.DestroyHostWindow(goneHost);
  EXPECT_EQ(Open(goneHost), 0);  // the window system refuses a child of a window that is gone
  EXPECT_EQ(Editor().OpenCount(), 0);
  EXPECT_EQ(Editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);

  EXPECT_EQ(Open(), 1);  // one close ends the one open that worked
  Close();
  EXPECT_EQ(Editor().Window(), nullptr);
}

TEST_F(EditorBridge, AHostThatDestroysItsWindowFirstLeavesTheEditorOnlyToTidyUp) {
  ASSERT_EQ(Open(), 1);
  backend.DestroyHostWindow(hostWindow);
  EXPECT_FALSE(Window().HasWindow());
  SetParameter(0, 0.25f);
  Idle();  // nothing to show, nothing shown
  Close();
  EXPECT_EQ(Editor().Window(), nullptr);

  hostWindow = backend.CreateHostWindow({0, 0, 500, 200});
  ASSERT_EQ(Open(), 1);
  EXPECT_TRUE(Window().HasWindow());
  EXPECT_EQ(Window().par0.Position(), 32);

  // Destroyed again, and opened again without a close in between: a new window, and a single
  // close ends it.
  backend.DestroyHostWindow(hostWindow);
  hostWindow = backend.CreateHostWindow({0, 0, 500, 200});
  ASSERT_EQ(Open(), 1);
  EXPECT_TRUE(Window().HasWindow());
  EXPECT_EQ(Editor().OpenCount(), 1);
  Close();
  EXPECT_EQ(Editor().Window(), nullptr);
}

TEST_F(EditorBridge, RequestsFromAThreadOtherThanTheWindowsAreIgnored) {
  ASSERT_EQ(Open(), 1);
  const std::size_t windows = backend.WindowCount();
  std::thread other([&] {
    Close();
    Idle();
    EXPECT_EQ(Open(), 0);
  });
  other.join();
  EXPECT_EQ(Editor().OpenCount(), 1);
  ASSERT_NE(Editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);
  Close();
  EXPECT_EQ(Editor().Window(), nullptr);
}

TEST_F(EditorBridge, KeyAndKnobModeRequestsKeepTheirDefaultAnswers) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Dispatch(effEditKeyDown, 'a', 0), -1);
  EXPECT_EQ(Dispatch(effEditKeyUp, 'a', 0), -1);
  EXPECT_EQ(Dispatch(effSetEditKnobMode, 0, 2), 0);
}

}  // namespace

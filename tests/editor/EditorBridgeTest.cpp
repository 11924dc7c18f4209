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
  Answer getRect() {
    ERect* rect = nullptr;
    const VstIntPtr result = dispatch(effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect, getRectAddress());
    return {result, *rect};
  }
  ERect* getRectAddress() {
    ERect* rect = nullptr;
    dispatch(effEditGetRect, 0, 0, &rect);
    return rect;
  }
  void expectRect(const ERect& rect, int bottom, int right) {
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
  Answer before = getRect();
  EXPECT_EQ(before.result, 1);
  expectRect(before.rect, 0, 0);

  const std::size_t windows = backend.WindowCount();
  EXPECT_EQ(open(), 1);
  expectRect(getRect().rect, 135, 432);
  EXPECT_EQ(backend.ScreenBoundsOf(window().Handle()).Left, 100);  // at 0, 0 of the host's window
  EXPECT_EQ(backend.ScreenBoundsOf(window().Handle()).Top, 50);

  close();
  EXPECT_EQ(editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);  // the window and its timer are gone
  expectRect(getRect().rect, 135, 432);
}

TEST_F(EditorBridge, OnlyTheLastOfNestedClosesDestroysTheWindow) {
  ASSERT_EQ(open(), 1);
  TPluginEditorWindow* first = editor().Window();
  ASSERT_EQ(open(), 1);
  EXPECT_EQ(editor().Window(), first);
  close();
  EXPECT_EQ(editor().OpenCount(), 1);
  EXPECT_EQ(editor().Window(), first);
  EXPECT_FALSE(plugin().isEditorClosed());
  void* handle = first->Handle();
  close();
  EXPECT_EQ(editor().OpenCount(), 0);
  EXPECT_FALSE(backend.IsWindow(handle));
  EXPECT_EQ(editor().ParentWindow(), nullptr);
  EXPECT_TRUE(plugin().isEditorClosed());
}

TEST_F(EditorBridge, CloseWithoutOpenMakesAndDestroysNothing) {
  const std::size_t windows = backend.WindowCount();
  close();
  close();
  EXPECT_EQ(editor().OpenCount(), 0);
  EXPECT_TRUE(plugin().isEditorClosed());
  EXPECT_EQ(backend.WindowCount(), windows);
  EXPECT_EQ(open(), 1);  // and the count does not stay below the next open
  close();
  EXPECT_EQ(editor().Window(), nullptr);
}

TEST_F(EditorBridge, ASecondOpenElsewhereKeepsTheWindowWhereItIsAndSyncsTheSliders) {
  ASSERT_EQ(open(), 1);
  TPluginEditorWindow* first = editor().Window();
  const platform::Rect bounds = backend.ScreenBoundsOf(first->Handle());
  void* otherHost = backend.CreateHostWindow({700, 400, 1200, 600});
  first->Updater.SetEnabled(false);
  setParameter(1, 0.5f);
  const std::size_t windows = backend.WindowCount();

  ASSERT_EQ(open(otherHost), 1);
  EXPECT_EQ(editor().Window(), first);
  EXPECT_EQ(editor().ParentWindow(), otherHost);
  EXPECT_EQ(backend.ScreenBoundsOf(first->Handle()), bounds);
  EXPECT_EQ(backend.WindowCount(), windows + 1);  // only the timer's window is new
  EXPECT_TRUE(first->Updater.Enabled());
  EXPECT_EQ(first->par1.Position(), 64);  // at once, before any tick
  EXPECT_EQ(editor().OpenCount(), 2);
}

TEST_F(EditorBridge, IdleWritesControllerNumbersAndIndicatorsOnlyWhileOpen) {
  setParameter(4, 0.0f);  // unit 2 sends its CC Value as it is
  setParameter(3, 20.0f / 127.0f);
  playNote();
  idle();  // closed: nothing to write, nothing breaks
  ASSERT_EQ(open(), 1);
  EXPECT_EQ(window().CC1GUI.Caption(), "0");
  EXPECT_EQ(window().indicate2.Position(), 50);

  setParameter(2, 0.5f);
  idle();
  EXPECT_EQ(window().CC1GUI.Caption(), "64");  // 63.5 goes to the even 64
  EXPECT_EQ(window().CC2GUI.Caption(), "15");  // program 0's CC Out of unit 2
  EXPECT_EQ(window().indicate1.Position(), plugin().lastValue(1));
  EXPECT_EQ(window().indicate2.Position(), 20);

  close();
  setParameter(2, 1.0f);
  idle();
  EXPECT_EQ(editor().Window(), nullptr);
}

TEST_F(EditorBridge, OpenWithoutAParentOrAWindowAnswersZeroAndCountsNothing) {
  const std::size_t windows = backend.WindowCount();
  EXPECT_EQ(open(nullptr), 0);
  EXPECT_EQ(editor().OpenCount(), 0);

  void* goneHost = backend.CreateHostWindow({0, 0, 10, 10});
  backend.DestroyHostWindow(goneHost);
  EXPECT_EQ(open(goneHost), 0);  // the window system refuses a child of a window that is gone
  EXPECT_EQ(editor().OpenCount(), 0);
  EXPECT_EQ(editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);

  EXPECT_EQ(open(), 1);  // one close ends the one open that worked
  close();
  EXPECT_EQ(editor().Window(), nullptr);
}

TEST_F(EditorBridge, AHostThatDestroysItsWindowFirstLeavesTheEditorOnlyToTidyUp) {
  ASSERT_EQ(open(), 1);
  backend.DestroyHostWindow(hostWindow);
  EXPECT_FALSE(window().HasWindow());
  setParameter(0, 0.25f);
  idle();  // nothing to show, nothing shown
  close();
  EXPECT_EQ(editor().Window(), nullptr);

  hostWindow = backend.CreateHostWindow({0, 0, 500, 200});
  ASSERT_EQ(open(), 1);
  EXPECT_TRUE(window().HasWindow());
  EXPECT_EQ(window().par0.Position(), 32);

  // Destroyed again, and opened again without a close in between: a new window, and a single
  // close ends it.
  backend.DestroyHostWindow(hostWindow);
  hostWindow = backend.CreateHostWindow({0, 0, 500, 200});
  ASSERT_EQ(open(), 1);
  EXPECT_TRUE(window().HasWindow());
  EXPECT_EQ(editor().OpenCount(), 1);
  close();
  EXPECT_EQ(editor().Window(), nullptr);
}

TEST_F(EditorBridge, RequestsFromAThreadOtherThanTheWindowsAreIgnored) {
  ASSERT_EQ(open(), 1);
  const std::size_t windows = backend.WindowCount();
  std::thread other([&] {
    close();
    idle();
    EXPECT_EQ(open(), 0);
  });
  other.join();
  EXPECT_EQ(editor().OpenCount(), 1);
  ASSERT_NE(editor().Window(), nullptr);
  EXPECT_EQ(backend.WindowCount(), windows);
  close();
  EXPECT_EQ(editor().Window(), nullptr);
}

TEST_F(EditorBridge, KeyAndKnobModeRequestsKeepTheirDefaultAnswers) {
  ASSERT_EQ(open(), 1);
  EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0), -1);
  EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0), -1);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 0);
}

}  // namespace

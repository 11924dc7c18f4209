// The skinned-control container: what a repaint composes and presents, the border and the
// palette it uses, the keyboard routed to its active child, the joint tab order of skinned and
// windowed children, and containers read from stored descriptions.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DIB/cDIBBorder.h"
#include "DIB/cDIBImageList.h"
#include "DIB/cDIBSlider.h"
#include "testsupport/DIB/ContainerFixture.h"
#include "testsupport/DIB/PaletteTestSupport.h"
#include "ui/controls/Application.h"
#include "ui/controls/Label.h"
#include "ui/controls/PopupMenu.h"
#include "ui/model/Exception.h"
#include "ui/model/TextForm.h"

namespace dibtest {
namespace {

using LabelProbe = uitest::Probe<ui::Label>;
using platform::messages::VK_CONTROL;
using platform::messages::VK_LEFT;
using platform::messages::VK_RETURN;
using platform::messages::VK_SHIFT;
using platform::messages::VK_TAB;

uint32_t BackPixel(const TCustomDIBContainer& container, int32_t x, int32_t y) {
  return container.BackBuffer().ScanLine(y)[x] & dib::kColorBits;
}

uint32_t PixelOf(ui::Color color) {
  return ui::ColorToPixel(ui::ColorToRGB(color));
}

// Painting -------------------------------------------------------------------------------------

class Painting : public ContainerFixture {
 protected:
  Painting() {
    m_Label.SetParent(&m_Container);
    m_Label.SetBounds(30, 20, 0, 0);
    m_Label.SetCaption("Value");
    m_Backend.Pump();
    PresentedInContainer();
    ResetCounts();
  }
  void ResetCounts() {
    m_A.paints = m_B.paints = m_Label.paints = m_Container.paints = 0;
    m_A.hookCalls = m_B.hookCalls = 0;
  }

  SkinnedProbe& m_A = AddSkinned("a", ui::Bounds(10, 10, 40, 20));
  SkinnedProbe& m_B = AddSkinned("b", ui::Bounds(100, 10, 40, 20));
  LabelProbe& m_Label = ui::Create<LabelProbe>(*m_Form, m_Log, "label");  // overlaps a
};

TEST_F(Painting, InvalidatingOneControlRepaintsOnlyItsBoundsWithWhatOverlapsIt) {
  m_A.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(m_Container.paints, 1);
  EXPECT_EQ(m_A.paints, 1);
  EXPECT_EQ(m_Label.paints, 1);
  EXPECT_EQ(m_B.paints, 0);
  EXPECT_TRUE(PresentedInContainer().empty());  // composed as it was: nothing to show anew
  // What was composed is what the form shows.
  EXPECT_EQ(m_Form->Pixels().Pixel(kContainerX + 12, kContainerY + 12) & dib::kColorBits,
            PixelOf(ui::clRed));
}

TEST_F(Painting, AWholeRepaintFillsTheBackgroundOnceAndAPartOneOnlyItsPart) {
  int changes = 0;
  struct Counter {
    int* changes;
    void Changed(ui::Persistent*) { ++*changes; }
  } counter{&changes};
  m_Container.BackBuffer().SetOnChange(ui::Bind<&Counter::Changed>(&counter));
  // Besides each skinned control's drawing, only the one fill of the whole area changes it.
  m_Container.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(changes, 1 + 2);
  changes = 0;
  m_B.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(BackPixel(m_Container, 0, 0), PixelOf(ui::clSilver));
}

TEST_F(Painting, APartialRepaintLeavesEverythingOutsideItsArea) {
  m_A.SetOpacity(128);  // blending twice over the same pixel would show
  m_Container.Invalidate();
  m_Backend.Pump();
  std::vector<uint32_t> whole;
  for (int32_t y = 0; y < 80; ++y) {
    for (int32_t x = 0; x < 180; ++x) whole.push_back(BackPixel(m_Container, x, y));
  }
  m_Container.InvalidateRect({15, 12, 30, 18}, false);
  m_Backend.Pump();
  std::vector<uint32_t> after;
  for (int32_t y = 0; y < 80; ++y) {
    for (int32_t x = 0; x < 180; ++x) after.push_back(BackPixel(m_Container, x, y));
  }
  EXPECT_EQ(after, whole);
}

TEST_F(Painting, ControlsMayEnlargeTheAreaWhichIsThenPaintedOnceMore) {
  m_A.extendBy = 4;
  m_A.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(m_Container.paints, 2);  // the first one put off, the second without the hooks
  EXPECT_EQ(m_A.hookCalls, 1);
  EXPECT_EQ(m_B.hookCalls, 1);
  EXPECT_EQ(m_A.paints, 1);
  for (const ui::Rect& area : PresentedInContainer()) {
    EXPECT_EQ(area.Intersect(ui::Bounds(6, 6, 48, 28)), area);
  }
  ResetCounts();
  m_A.extendBy = 0;
  m_A.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(m_Container.paints, 1);
  EXPECT_EQ(m_A.hookCalls, 1);
}

TEST_F(Painting, ASuppliedContextIsComposedWithinItsClipAndNeverPutOff) {
  m_A.extendBy = 10;
  ui::Surface surface(180, 80);
  ui::DeviceContext dc(&surface);
  dc.IntersectClipRect({0, 0, 30, 25});
  m_Container.Perform(ui::WM_PAINT, ui::PointerToWParam(&dc));
  m_Backend.Pump();
  EXPECT_EQ(m_Container.paints, 1);
  EXPECT_EQ(m_A.hookCalls, 0);
  EXPECT_EQ(m_A.paints, 1);
  EXPECT_EQ(m_B.paints, 0);
  EXPECT_EQ(surface.Pixel(12, 12) & dib::kColorBits, PixelOf(ui::clRed));
  EXPECT_EQ(surface.Pixel(2, 2) & dib::kColorBits, PixelOf(ui::clSilver));
  EXPECT_EQ(surface.Pixel(35, 12), 0u);  // outside the clip
  EXPECT_TRUE(PresentedInContainer().empty());
}

TEST_F(Painting, BeforeAndAfterPaintSeeTheBackBufferAroundTheControls) {
  struct Watcher {
    std::vector<uint32_t> seen;
    void Look(ui::Persistent*, const TAbstractSuperDIB& dib) {
      seen.push_back(dib.ScanLine(12)[12] & dib::kColorBits);
    }
  } watcher;
  m_Container.BeforePaint = ui::Bind<&Watcher::Look>(&watcher);
  m_Container.AfterPaint = ui::Bind<&Watcher::Look>(&watcher);
  m_A.Invalidate();
  m_Backend.Pump();
  ASSERT_EQ(watcher.seen.size(), 2u);
  EXPECT_EQ(watcher.seen[1], PixelOf(ui::clRed));
}

TEST_F(Painting, AFailingPaintHandlerStillEndsThePaint) {
  struct Thrower {
    std::string reported;
    void Fail(ui::Persistent*, const TAbstractSuperDIB&) { throw ui::Exception("no paint"); }
    void Report(ui::Persistent*, const std::exception& e) { reported = e.what(); }
  } thrower;
  ui::Application::Instance().OnException = ui::Bind<&Thrower::Report>(&thrower);
  m_Container.BeforePaint = ui::Bind<&Thrower::Fail>(&thrower);
  m_A.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(thrower.reported, "no paint");
  EXPECT_TRUE(m_Container.UpdateRegion().IsEmpty());
  m_Container.BeforePaint = {};
  m_A.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(m_A.paints, 1);
}

// A control's paint may destroy the controls after it and add new ones: the paint goes on with
// the children it began with that are still there, and the new ones are painted after it.
TEST_F(Painting, APaintMayDestroyControlsAfterItAndAddNewOnes) {
  struct Rebuild {
    ui::Component* owner;
    TDIBContainer* container;
    SkinnedProbe* doomed;
    TTestDIBControl* added = nullptr;
    void Paint(ui::Persistent*) {
      if (!doomed) return;
      delete std::exchange(doomed, nullptr);
      added = &ui::Create<TTestDIBControl>(*owner);
      added->SetParent(container);
      added->SetBoundsRect(ui::Bounds(100, 10, 40, 20));
      added->SetColor(ui::clLime);
    }
  } rebuild{m_Form.get(), &m_Container, &m_B};
  m_A.OnPaint = ui::Bind<&Rebuild::Paint>(&rebuild);
  m_Container.Invalidate();
  m_Backend.Pump();  // the new control's area is painted once more in the same pump
  ASSERT_NE(rebuild.added, nullptr);
  EXPECT_GE(rebuild.added->paints, 1);
  EXPECT_EQ(BackPixel(m_Container, 101, 11), PixelOf(ui::clLime));
  m_A.paints = m_Label.paints = rebuild.added->paints = 0;  // b is gone
  m_Container.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(m_A.paints, 1);
  EXPECT_EQ(m_Label.paints, 1);
  EXPECT_EQ(rebuild.added->paints, 1);
}

TEST_F(Painting, TheBorderLiesUnderOrOverTheControlsAndShrinksTheClientArea) {
  TDIBImageList& list = ui::Create<TDIBImageList>(*m_Form);
  TMemoryDIB& edge = list.DIBImages().Add().DIB();
  edge.SetSize(12, 4);
  edge.Fill(ui::clBlue);
  TDIBBorder& border = ui::Create<TDIBBorder>(*m_Form);
  border.SetDIBImageList(&list);
  border.BorderLeft().ImageMiddle().SetDIBIndex(0);
  SkinnedProbe& filler = AddSkinned("filler", {});
  filler.SetAlign(ui::alClient);
  m_Container.SetDIBBorder(&border);
  EXPECT_EQ(filler.BoundsRect(), ui::Bounds(12, 0, 168, 80));
  m_A.SetBounds(0, 50, 20, 20);  // over the border
  m_A.BringToFront();
  m_Container.SetBorderDrawPosition(bdUnderControls);
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(m_Container, 2, 52), PixelOf(ui::clRed));
  m_Container.SetBorderDrawPosition(bdOverControls);
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(m_Container, 2, 52), PixelOf(ui::clBlue));
  delete &border;  // forgotten: the client area grows back
  EXPECT_EQ(m_Container.DIBBorder(), nullptr);
  EXPECT_EQ(filler.BoundsRect(), ui::Bounds(0, 0, 180, 80));
}

TEST_F(Painting, OnAPaletteDisplayThePalettesTableDrawsTheArea) {
  TDIBPalette& palette = ui::Create<TDIBPalette>(*m_Form);
  EXPECT_EQ(m_Container.Palette(), &palette);
  m_Backend.SetScreenBitsPerPixel(8);
  ReadStored(palette, "DIBPaletteTable", std::vector<uint8_t>(262144, 7));  // all entry 7
  m_Container.Invalidate();
  m_Backend.Pump();
  const ui::PaletteEntry seven = palette.Colors()[7];
  EXPECT_EQ(m_Form->Pixels().Pixel(kContainerX + 1, kContainerY + 1) & dib::kColorBits,
            uint32_t{seven.red} << 16 | uint32_t{seven.green} << 8 | seven.blue);
  delete &palette;
  EXPECT_EQ(m_Container.Palette(), nullptr);
  m_Container.Invalidate();
  m_Backend.Pump();  // copied as it is
  EXPECT_EQ(m_Form->Pixels().Pixel(kContainerX + 1, kContainerY + 1) & dib::kColorBits,
            PixelOf(ui::clSilver));
}

// Keyboard ---------------------------------------------------------------------------------------

// Form tab order: before, the container (skinned c0, c1, c2, then its windowed child inner),
// after.
class Keyboard : public ContainerFixture {
 protected:
  Keyboard() {
    for (uitest::WindowedProbe* p : {&m_Before, &m_Inner, &m_After}) p->SetTabStop(true);
    m_Before.SetTabOrder(0);
    m_After.SetTabOrder(2);
    m_Log.Take();
  }
  // Where the keyboard is: the focused window, or the container's active skinned control.
  std::string Holder() const {
    const ui::WindowedControl* focused = m_Form->FocusedControl();
    if (focused == &m_Container && m_Container.ActiveControl() != nullptr) {
      return m_Container.ActiveControl()->Name();
    }
    return focused != nullptr ? focused->Name() : "none";
  }
  std::vector<std::string> Press(uint16_t key, int times) {
    std::vector<std::string> visited;
    for (int i = 0; i < times; ++i) {
      m_Backend.PressKey(key);
      visited.push_back(Holder());
    }
    return visited;
  }
  // The logged messages of one kind.
  std::vector<std::string> Logged(const std::string& kind) {
    std::vector<std::string> found;
    for (const std::string& entry : m_Log.Take()) {
      if (entry.starts_with(kind + ":")) found.push_back(entry);
    }
    return found;
  }

  uitest::WindowedProbe& m_Before =
      Add<uitest::WindowedProbe>(*m_Form, "before", ui::Bounds(0, 0, 8, 8));
  SkinnedProbe& m_C0 = AddSkinned("c0", ui::Bounds(0, 0, 20, 20), 0);
  SkinnedProbe& m_C1 = AddSkinned("c1", ui::Bounds(30, 0, 20, 20), 1);
  SkinnedProbe& m_C2 = AddSkinned("c2", ui::Bounds(60, 0, 20, 20), 2);
  SkinnedProbe& m_Untabbed = AddSkinned("untabbed", ui::Bounds(90, 0, 20, 20));
  uitest::WindowedProbe& m_Inner =
      Add<uitest::WindowedProbe>(m_Container, "inner", ui::Bounds(0, 40, 40, 30));
  uitest::WindowedProbe& m_After =
      Add<uitest::WindowedProbe>(*m_Form, "after", ui::Bounds(190, 0, 8, 8));
};

TEST_F(Keyboard, TabAndShiftTabWalkSkinnedThenWindowedChildrenInOneOrder) {
  m_Before.SetFocus();
  EXPECT_EQ(Press(VK_TAB, 6),
            (std::vector<std::string>{"c0", "c1", "c2", "inner", "after", "before"}));
  m_After.SetFocus();
  m_Backend.KeyDown(VK_SHIFT);  // from the only windowed child back to the last skinned one
  EXPECT_EQ(Press(VK_TAB, 6),
            (std::vector<std::string>{"inner", "c2", "c1", "c0", "before", "after"}));
  m_Backend.KeyUp(VK_SHIFT);
  m_C1.SetEnabled(false);  // passed over
  m_Before.SetFocus();
  EXPECT_EQ(Press(VK_TAB, 2), (std::vector<std::string>{"c0", "c2"}));
}

TEST_F(Keyboard, ShiftTabIntoAContainerOfSkinnedControlsSelectsTheLast) {
  delete &m_Inner;
  m_After.SetFocus();
  m_Backend.KeyDown(VK_SHIFT);
  EXPECT_EQ(Press(VK_TAB, 1), (std::vector<std::string>{"c2"}));
  m_Backend.KeyUp(VK_SHIFT);
  EXPECT_EQ(Press(VK_TAB, 1), (std::vector<std::string>{"after"}));  // past the last: out
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  EXPECT_FALSE(m_C2.Focused());
}

TEST_F(Keyboard, TabWhileTheOnlyWindowedChildIsActiveLeavesTheContainer) {
  m_Inner.SetFocus();
  m_Container.SetFocus();  // the keyboard inside stays with inner
  EXPECT_EQ(m_Container.ActiveControl(), &m_Inner);
  EXPECT_EQ(Press(VK_TAB, 1), (std::vector<std::string>{"after"}));
}

TEST_F(Keyboard, FocusMessagesComeInOrderAsTheKeyboardEntersMovesAndLeaves) {
  m_Before.SetFocus();
  m_Log.Take();
  m_Backend.PressKey(VK_TAB);
  std::vector<std::string> focus;
  for (const std::string& entry : m_Log.Take()) {
    if (entry.find("FOCUS:") != std::string::npos || entry.starts_with("CM_")) {
      focus.push_back(entry);
    }
  }
  EXPECT_EQ(focus,
            (std::vector<std::string>{"KILLFOCUS:before", "SETFOCUS:container", "CM_EXIT:before",
                                      "CM_ENTER:container", "SETFOCUS:c0"}));
  EXPECT_TRUE(m_C0.Focused());
  m_Backend.PressKey(VK_TAB);
  EXPECT_EQ(Logged("KILLFOCUS"), (std::vector<std::string>{"KILLFOCUS:c0"}));
  EXPECT_FALSE(m_C0.Focused());
  EXPECT_TRUE(m_C1.Focused());
  m_Backend.PressKey(VK_TAB);
  m_Backend.PressKey(VK_TAB);  // to the windowed child: c2 gives up the keyboard
  EXPECT_EQ(Logged("KILLFOCUS"),
            (std::vector<std::string>{"KILLFOCUS:c1", "KILLFOCUS:c2", "KILLFOCUS:container"}));
  EXPECT_EQ(m_Container.ActiveControl(), &m_Inner);
  EXPECT_TRUE(m_Inner.Focused());          // the window focus itself: its keys go to it
  m_C0.Perform(ui::WM_LBUTTONDOWN, 0, 0);  // a press on a tab stop takes the keyboard back
  m_C0.Perform(ui::WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(Holder(), "c0");
  EXPECT_EQ(Logged("KILLFOCUS"), (std::vector<std::string>{"KILLFOCUS:inner"}));
  m_After.SetFocus();  // leaving the container takes it from the skinned control
  EXPECT_FALSE(m_C0.Focused());
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
}

TEST_F(Keyboard, FocusMovingOutsideClearsTheActiveChildAndIsToldEvenWithoutOne) {
  struct Counter {
    int changes = 0;
    void Changed(ui::Persistent*) { ++changes; }
  } counter;
  m_Container.OnActiveControlChange = ui::Bind<&Counter::Changed>(&counter);
  m_Before.SetFocus();
  EXPECT_EQ(counter.changes, 1);
  m_C1.Perform(ui::WM_SETFOCUS);
  counter.changes = 0;
  m_After.SetFocus();
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  EXPECT_FALSE(m_C1.Focused());
  m_Before.SetFocus();
  EXPECT_EQ(counter.changes, 3);  // leaving the container, then each focus move outside it
}

TEST_F(Keyboard, KeysReachTheActiveControlAsItsDialogCodeAsks) {
  m_C0.Perform(ui::WM_SETFOCUS);
  // How many key-downs the active control got (its container hears them as well).
  const auto reached = [this] {
    const std::vector<std::string> downs = Logged("KEYDOWN");
    return std::count(downs.begin(), downs.end(), "KEYDOWN:c0");
  };
  m_Backend.PressKey(VK_LEFT);  // arrows: asked for by default
  EXPECT_EQ(reached(), 1);
  m_Backend.PressKey(VK_RETURN);  // needs all keys
  EXPECT_EQ(reached(), 0);
  m_C0.SetWantKeys(1 << wkAllKeys);
  m_Backend.PressKey(VK_RETURN);
  m_Backend.PressKey(VK_TAB);  // all keys: Tab too, and the keyboard stays
  EXPECT_EQ(reached(), 2);
  EXPECT_EQ(Holder(), "c0");
  m_C0.SetWantKeys(1 << wkTab);
  m_Backend.PressKey(VK_TAB);
  m_Backend.PressKey(VK_LEFT);
  EXPECT_EQ(reached(), 1);
  m_Backend.PressKey('A');  // characters and releases follow the same rule
  const std::vector<std::string> keys = m_Log.Take();
  EXPECT_NE(std::find(keys.begin(), keys.end(), "CHAR:c0"), keys.end());
  EXPECT_NE(std::find(keys.begin(), keys.end(), "KEYUP:c0"), keys.end());
}

TEST_F(Keyboard, AControlAnsweringTheChildKeyQuestionKeepsTheKeyFromItself) {
  m_C0.Perform(ui::WM_SETFOCUS);
  m_C0.childKeyAnswer = 1;
  m_Backend.PressKey(VK_LEFT);
  EXPECT_EQ(Logged("KEYDOWN"), (std::vector<std::string>{"KEYDOWN:container"}));
}

// Menus match a key code and its shift state whatever the message: asked again by the
// container's own key-down processing, on the release or for a character, they would run the
// shortcut once more, or run the shortcut of the key whose code equals the character's.
TEST_F(Keyboard, AShortcutRunsOnceAndTheKeyGoesNoFurther) {
  ui::PopupMenu& menu = ui::Create<ui::PopupMenu>(*m_Form);
  struct Counter {
    int runs = 0;
    void Run(ui::Persistent*) { ++runs; }
  } reset, find;
  menu.Items().Add("Reset", ui::ShortCut(VK_LEFT, ui::ssCtrl)).OnClick =
      ui::Bind<&Counter::Run>(&reset);
  constexpr uint16_t kF3 = 0x72;  // also the code of 'r'
  menu.Items().Add("Find", ui::ShortCut(kF3, 0)).OnClick = ui::Bind<&Counter::Run>(&find);
  m_Container.SetPopupMenu(&menu);  // found up the parents of the active control
  m_C0.Perform(ui::WM_SETFOCUS);
  m_Backend.KeyDown(VK_CONTROL);
  m_Log.Take();
  m_Backend.PressKey(VK_LEFT);
  m_Backend.KeyUp(VK_CONTROL);
  EXPECT_TRUE(Logged("KEYDOWN").empty());
  EXPECT_EQ(reset.runs, 1);
  m_Backend.PressKey('R');  // types 'r'
  EXPECT_EQ(find.runs, 0);
  m_Backend.PressKey(kF3);
  EXPECT_EQ(find.runs, 1);
}

TEST_F(Keyboard, ADisabledOrDestroyedActiveControlLosesTheKeyboard) {
  m_C1.Perform(ui::WM_SETFOCUS);
  m_C1.SetEnabled(false);
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  EXPECT_FALSE(m_C1.Focused());
  m_Backend.PressKey(VK_LEFT);
  EXPECT_EQ(Logged("KEYDOWN"), (std::vector<std::string>{"KEYDOWN:container"}));
  m_C2.Perform(ui::WM_SETFOCUS);
  delete &m_C2;
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  EXPECT_EQ(m_Container.DIBTabList().size(), 2u);
  m_Backend.PressKey(VK_LEFT);
}

// Tab order ------------------------------------------------------------------------------------

class TabOrder : public ContainerFixture {
 protected:
  std::vector<std::string> Order() const {
    std::vector<std::string> names;
    for (const TCustomDIBControl* c : m_Container.DIBTabList()) names.push_back(c->Name());
    return names;
  }
};

TEST_F(TabOrder, TheContainerIsATabStopExactlyWhileItHasSkinnedTabStops) {
  SkinnedProbe& a = AddSkinned("a", ui::Bounds(0, 0, 10, 10));
  EXPECT_FALSE(m_Container.TabStop());
  a.SetDIBTabOrder(0);
  EXPECT_TRUE(m_Container.TabStop());
  EXPECT_EQ(a.DIBTabOrder(), 0);
  a.SetDIBTabOrder(-1);
  EXPECT_FALSE(m_Container.TabStop());
  EXPECT_EQ(a.DIBTabOrder(), -1);
}

TEST_F(TabOrder, SettingAnIndexMovesTheControlThereAndBeyondTheEndAppends) {
  SkinnedProbe& a = AddSkinned("a", {}, 0);
  SkinnedProbe& b = AddSkinned("b", {}, 1);
  SkinnedProbe& c = AddSkinned("c", {}, 7);  // beyond the end: appended
  EXPECT_EQ(Order(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(c.DIBTabOrder(), 2);
  c.SetDIBTabOrder(0);
  EXPECT_EQ(Order(), (std::vector<std::string>{"c", "a", "b"}));
  a.SetDIBTabOrder(-5);  // below -1 counts as -1
  EXPECT_EQ(Order(), (std::vector<std::string>{"c", "b"}));
  EXPECT_EQ(a.StoredDIBTabOrder(), -1);
  EXPECT_EQ(b.DIBTabOrder(), 1);
}

TEST_F(TabOrder, AControlMovedToAnotherContainerLeavesTheFirstsTabOrder) {
  SkinnedProbe& a = AddSkinned("a", {}, 0);
  TDIBContainer& other = ui::Create<TDIBContainer>(*m_Form);
  other.SetParent(m_Form.get());
  a.SetParent(&other);
  EXPECT_TRUE(m_Container.DIBTabList().empty());
  EXPECT_FALSE(m_Container.TabStop());
  EXPECT_EQ(other.DIBTabList().size(), 1u);
  EXPECT_EQ(a.DIBTabOrder(), 0);
}

TEST_F(TabOrder, StoredOrdersAreRebuiltIntoPlacesWithTheTableGrowingAsNeeded) {
  RegisterTestDIBClasses();
  auto holder = ui::ReadRootFromText(R"(TDIBContainer Stored {
  Width = 200
  Height = 60
  TTestDIBControl A {
    DIBTabOrder = 5
  }
  TTestDIBControl B {
    DIBTabOrder = 1
  }
  TTestDIBControl C {
    DIBTabOrder = -7
  }
})");
  auto& stored = dynamic_cast<TDIBContainer&>(*holder);
  std::vector<std::string> names;
  for (const TCustomDIBControl* c : stored.DIBTabList()) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(stored.TabStop());
  EXPECT_EQ(stored.BackBuffer().Width(), 200);
  EXPECT_EQ(stored.BackBuffer().Height(), 60);
  auto& a = stored.RequireComponent<TTestDIBControl>("A");
  EXPECT_EQ(a.DIBTabOrder(), 1);
  EXPECT_FALSE(a.Loading());
  // Written back with the places they now have.
  const std::string text = ui::WriteRootToText(stored);
  EXPECT_NE(text.find("DIBTabOrder = 1"), std::string::npos);
  EXPECT_EQ(text.find("DIBTabOrder = 5"), std::string::npos);
  EXPECT_EQ(text.find("DIBTabOrder = -7"), std::string::npos);
}

// Stored descriptions ------------------------------------------------------------------------

class StoredDescription : public uitest::FormFixture {
 protected:
  StoredDescription() {
    RegisterDIBSliderClasses();
    RegisterDIBImageListClasses();
    RegisterDIBBorderClasses();
  }
};

// The container stores its own list (not a panel's bevels, border, caption or tab stop), and
// a skinned control its accelerator, features, image list, opacity and tab order, in this
// order and whatever their values.
TEST_F(StoredDescription, AFormWithAContainerOfSlidersIsWrittenInThePublishedOrder) {
  const std::string text = R"(Form Editor {
  Left = 10
  Top = 5
  Width = 200
  Height = 100
  Visible = false
  TDIBImageList Images {
    DIBImages = <>
  }
  TDIBBorder Border1 {
    DIBImageList = @Images
  }
  TDIBContainer DIBContainer1 {
    Left = 0
    Top = 24
    Width = 180
    Height = 60
    BorderDrawPosition = bdUnderControls
    DIBBorder = @Border1
    Color = clSilver
    TabOrder = 0
    Font.Name = "MS Sans Serif"
    Font.Height = -11
    TDIBSlider Slider1 {
      Left = 8
      Top = 8
      Width = 40
      Height = 15
      Accelerator = 115
      DIBFeatures = <>
      DIBImageList = @Images
      Opacity = 128
      DIBTabOrder = 0
      IndexEnd1.DIBImageList = @Images
      IndexEnd1.DIBIndex = -1
      IndexEnd2.DIBImageList = @Images
      IndexEnd2.DIBIndex = -1
      IndexMain.DIBImageList = @Images
      IndexMain.DIBIndex = -1
      IndexOverlay.DIBImageList = @Images
      IndexOverlay.DIBIndex = -1
      IndexPointer.DIBImageList = @Images
      IndexPointer.DIBIndex = -1
      Min = 0
      Max = 127
      Position = 64
      SmallChange = 2
      LargeChange = 8
      PageSize = 5
      PointerOffset = 1
      PointerOpacityLow = 255
      SliderType = stHorizontal
      StretchBackground = false
      AutoSize = true
    }
  }
}
)";
  ui::ReadRootFromText(text, *m_Form);
  auto& container = m_Form->RequireComponent<TDIBContainer>("DIBContainer1");
  auto& slider1 = m_Form->RequireComponent<TDIBSlider>("Slider1");
  EXPECT_EQ(slider1.Parent(), &container);
  EXPECT_EQ(container.DIBBorder(), &m_Form->RequireComponent<TDIBBorder>("Border1"));
  EXPECT_EQ(slider1.DIBImageList(), &m_Form->RequireComponent<TDIBImageList>("Images"));
  EXPECT_EQ(slider1.Accelerator(), 's');
  EXPECT_EQ(slider1.DIBTabOrder(), 0);
  EXPECT_TRUE(container.TabStop());
  EXPECT_EQ(container.BackBuffer().Width(), 180);
  const std::string written = ui::WriteRootToText(*m_Form);
  const std::string_view stored = "  TDIBContainer DIBContainer1 {";
  EXPECT_EQ(written.substr(written.find(stored)), text.substr(text.find(stored)));
}

TEST_F(StoredDescription, APanelsBevelsBorderCaptionAndTabStopAreNoContainerProperties) {
  for (const char* property :
       {"BevelOuter = bvNone", "BorderWidth = 0", "Caption = \"\"", "TabStop = true"}) {
    EXPECT_THROW(ui::ReadRootFromText(std::string("TDIBContainer C {\n  ") + property + "\n}"),
                 ui::InvalidPropertyError)
        << property;
  }
}

}  // namespace
}  // namespace dibtest

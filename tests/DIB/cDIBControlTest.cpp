// The skinned control base: where it may live, how it is blended into the container, its
// invalidation stamp, hover, auto-repeat, focus, keys and accelerator, its image links,
// attached controls and the shared context menu.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/DIB/ContainerFixture.h"
#include "testsupport/DIB/ErrorOf.h"
#include "ui/controls/PopupMenu.h"

namespace dibtest {
namespace {

using platform::MouseButton;

uint32_t BackPixel(const TCustomDIBContainer& container, int32_t x, int32_t y) {
  return container.BackBuffer().ScanLine(y)[x] & dib::kColorBits;
}

// Events of the controls, as "event:name".
struct EventLog {
  std::vector<std::string> events;
  void Add(const std::string& event, ui::Persistent* sender) {
    events.push_back(event + ":" + dynamic_cast<ui::Component&>(*sender).Name());
  }
  void Enter(ui::Persistent* sender) { Add("enter", sender); }
  void Leave(ui::Persistent* sender) { Add("leave", sender); }
  void Focus(ui::Persistent* sender) { Add("focus", sender); }
  void Unfocus(ui::Persistent* sender) { Add("unfocus", sender); }
  void Click(ui::Persistent* sender) { Add("click", sender); }
  void Up(ui::Persistent* sender, ui::TMouseButton, ui::TShiftState, int32_t, int32_t) {
    Add("up", sender);
  }
  void Watch(TCustomDIBControl& control) {
    control.OnMouseEnter = ui::Bind<&EventLog::Enter>(this);
    control.OnMouseLeave = ui::Bind<&EventLog::Leave>(this);
    control.OnEnter = ui::Bind<&EventLog::Focus>(this);
    control.OnExit = ui::Bind<&EventLog::Unfocus>(this);
    control.OnClick = ui::Bind<&EventLog::Click>(this);
    control.OnMouseUp = ui::Bind<&EventLog::Up>(this);
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
};

// Placement ------------------------------------------------------------------------------------

class Placement : public ContainerFixture {};

TEST_F(Placement, AControlLivesOnlyInAContainer) {
  EXPECT_EQ(ErrorOf([] { TTestDIBControl control(nullptr); }), "Owner cannot be nil");
  ui::Component plain(nullptr);
  EXPECT_EQ(ErrorOf([&] { TTestDIBControl control(&plain); }), "Parent must be a TDIBContainer");
  EXPECT_EQ(plain.ComponentCount(), 0);

  TTestDIBControl& control = ui::Create<TTestDIBControl>(*m_Form);  // the form owns a container
  control.SetParent(m_Form.get());
  EXPECT_EQ(control.Parent(), &m_Container);
  ui::Panel& panel = ui::Create<ui::Panel>(*m_Form);
  panel.SetParent(m_Form.get());
  EXPECT_EQ(ErrorOf([&] { control.SetParent(&panel); }), "Parent must be a TDIBContainer");
  EXPECT_EQ(control.Parent(), &m_Container);
  control.SetParent(nullptr);
  EXPECT_EQ(control.Parent(), nullptr);
}

TEST_F(Placement, ANewControlIsASquareThatWantsTheArrowsAndNoTabStop) {
  TTestDIBControl& control = ui::Create<TTestDIBControl>(m_Container);
  EXPECT_EQ(control.BoundsRect(), ui::Bounds(0, 0, 32, 32));
  EXPECT_EQ(control.Opacity(), 255);
  EXPECT_EQ(control.DIBTabOrder(), -1);
  EXPECT_EQ(control.RepeatInterval(), 250);
  EXPECT_FALSE(control.AutoRepeat());
  EXPECT_FALSE(control.RepeatTimer().Enabled());
  EXPECT_TRUE(control.Loading());
  EXPECT_EQ(control.Perform(ui::WM_GETDLGCODE), ui::DLGC_WANTARROWS);
  control.SetWantKeys(1 << wkTab | 1 << wkArrows);
  EXPECT_EQ(control.Perform(ui::WM_GETDLGCODE), ui::DLGC_WANTTAB | ui::DLGC_WANTARROWS);
  control.SetWantKeys(1 << wkAllKeys | 1 << wkTab);
  EXPECT_EQ(control.Perform(ui::WM_GETDLGCODE), ui::DLGC_WANTALLKEYS);
  EXPECT_EQ(control.TemplateProperties(), (std::vector<std::string>{"Width", "Height"}));
}

TEST_F(Placement, OnlyValuePropertiesCanBelongToATemplate) {
  TTestDIBControl& control = ui::Create<TTestDIBControl>(m_Container);
  TTestDIBControl& other = ui::Create<TTestDIBControl>(m_Container);
  other.SetDIBImageList(&ui::Create<TDIBImageList>(*m_Form));
  EXPECT_EQ(ErrorOf([&] { control.RegisterTemplateProperty("Colour"); }),
            "Class TTestDIBControl is trying to register Colour as a template property, and "
            "that property does not exist.");
  EXPECT_EQ(ErrorOf([&] { other.RegisterTemplateProperty("DIBImageList"); }),
            "Attempting to template an invalid property type.");  // holds a component
  EXPECT_EQ(ErrorOf([&] { control.RegisterTemplateProperty("OnMouseEnter"); }),
            "Attempting to template an invalid property type.");
  control.RegisterTemplateProperty("DIBImageList");  // holds nothing
  control.RegisterTemplateProperty("Opacity");
  control.RegisterTemplateProperty("Constraints");  // a nested object holds values too
  EXPECT_EQ(
      control.TemplateProperties(),
      (std::vector<std::string>{"Width", "Height", "DIBImageList", "Opacity", "Constraints"}));
}

TEST_F(Placement, AttachedControlsMoveWithTheControlUntilTheyGo) {
  SkinnedProbe& control = AddSkinned("control", ui::Bounds(10, 10, 20, 20));
  SkinnedProbe& buddy = AddSkinned("buddy", ui::Bounds(40, 10, 8, 8));
  control.AttachedControls().Add().SetControl(&buddy);
  EXPECT_EQ(ErrorOf([&] { control.AttachedControls().Add().SetControl(&buddy); }),
            "Control already exists in list.");
  control.AttachedControls().Delete(1);
  control.SetBounds(15, 5, 30, 30);  // moved by (5, -5) and resized
  EXPECT_EQ(buddy.BoundsRect(), ui::Bounds(45, 5, 8, 8));
  buddy.AttachedControls().Add().SetControl(&control);  // each moves the other: no loop
  buddy.SetLeft(50);
  EXPECT_EQ(control.Left(), 20);
  delete &buddy;
  EXPECT_EQ(control.AttachedControls().Count(), 0);
  control.SetLeft(0);
}

// Painting -------------------------------------------------------------------------------------

class ControlPainting : public ContainerFixture {};

TEST_F(ControlPainting, OpacityBlendsTheControlWithWhatLiesBeneath) {
  SkinnedProbe& clear = AddSkinned("clear", ui::Bounds(0, 0, 20, 20));
  SkinnedProbe& half = AddSkinned("half", ui::Bounds(30, 0, 20, 20));
  SkinnedProbe& opaque = AddSkinned("opaque", ui::Bounds(60, 0, 20, 20));
  clear.SetOpacity(0);
  half.SetOpacity(128);
  m_Backend.Pump();
  // Red over silver (192): red (255 x 128 + 192 x 127) >> 8 + 1, the others 192 x 127 >> 8 + 1.
  EXPECT_EQ(BackPixel(m_Container, 1, 1), 0xC0C0C0u);
  EXPECT_EQ(BackPixel(m_Container, 31, 1), 0xDF6060u);
  // Drawn after a half-opaque one, a plain control is copied exactly (black stays 0, not 1).
  opaque.SetColor(ui::clBlack);
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(m_Container, 61, 1), 0x000000u);
  EXPECT_EQ(BackPixel(m_Container, 70, 10), 0xFFFFFFu);  // its inner square
}

TEST_F(ControlPainting, AControlPartlyOutsideTheContainerDrawsWhatIsInside) {
  SkinnedProbe& control = AddSkinned("control", ui::Bounds(-10, -4, 40, 24));
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(m_Container, 0, 0), 0xFF0000u);
  EXPECT_EQ(BackPixel(m_Container, 10, 8), 0xFFFFFFu);  // (20, 12) of the control: inner square
  EXPECT_EQ(BackPixel(m_Container, 30, 0), 0xC0C0C0u);
  EXPECT_EQ(control.DIB(), nullptr);  // the image was lent for the paint only
}

TEST_F(ControlPainting, InADesignerAControlShowsADashedFrame) {
  SkinnedProbe& control = AddSkinned("control", ui::Bounds(0, 0, 40, 20));
  control.SetColor(ui::clWhite);
  m_Form->SetDesigning(true);
  m_Container.Invalidate();
  m_Backend.Pump();
  EXPECT_EQ(BackPixel(m_Container, 0, 0), 0x000000u);   // dashes start at the corner
  EXPECT_EQ(BackPixel(m_Container, 20, 0), 0xFFFFFFu);  // and pause after 18 pixels
  EXPECT_EQ(BackPixel(m_Container, 10, 19), 0x000000u);
  EXPECT_EQ(BackPixel(m_Container, 5, 5), 0xFFFFFFu);
  m_Form->SetDesigning(false);
}

TEST_F(ControlPainting, ThePaintEventsSurroundThePaint) {
  SkinnedProbe& control = AddSkinned("control", ui::Bounds(0, 0, 10, 10));
  std::vector<std::string> order;
  struct Recorder {
    std::vector<std::string>* order;
    void Start(ui::Persistent*) { order->push_back("start"); }
    void Paint(ui::Persistent*) { order->push_back("paint"); }
    void End(ui::Persistent*) { order->push_back("end"); }
  } recorder{&order};
  control.OnPaintStart = ui::Bind<&Recorder::Start>(&recorder);
  control.OnPaint = ui::Bind<&Recorder::Paint>(&recorder);
  control.OnPaintEnd = ui::Bind<&Recorder::End>(&recorder);
  m_Backend.Pump();
  EXPECT_EQ(order, (std::vector<std::string>{"start", "paint", "end"}));
}

TEST_F(ControlPainting, TheInvalidationStampRisesEvenWhenTheClockStandsStill) {
  SkinnedProbe& control = AddSkinned("control", ui::Bounds(0, 0, 10, 10));
  const uint32_t first = control.LastInvalidated();
  EXPECT_NE(first, 0u);  // 0 stays free for "never"
  control.Invalidate();
  const uint32_t second = control.LastInvalidated();
  EXPECT_GT(second, first);
  control.SetBounds(5, 5, 10, 10);  // a pure move
  EXPECT_EQ(control.LastInvalidated(), second);
  control.SetBounds(5, 5, 12, 10);
  EXPECT_GT(control.LastInvalidated(), second);
  m_Backend.Advance(100000);
  control.Invalidate();
  EXPECT_EQ(control.LastInvalidated(), m_Backend.TickCount());
}

// Mouse ----------------------------------------------------------------------------------------

class Mouse : public ContainerFixture {
 protected:
  Mouse() {
    m_Events.Watch(m_A);
    m_Events.Watch(m_B);
    m_A.SetAutoRepeat(true);
  }
  void MoveTo(int32_t x, int32_t y) { m_Backend.MouseMove(CX(x), CY(y)); }
  void Down(int32_t x, int32_t y) { m_Backend.MouseDown(MouseButton::Left, CX(x), CY(y)); }
  void Up(int32_t x, int32_t y) { m_Backend.MouseUp(MouseButton::Left, CX(x), CY(y)); }
  std::vector<std::string> Hover() {
    std::vector<std::string> hover;
    for (const std::string& e : m_Events.Take()) {
      if (e.starts_with("enter") || e.starts_with("leave")) hover.push_back(e);
    }
    return hover;
  }

  SkinnedProbe& m_A = AddSkinned("a", ui::Bounds(20, 20, 40, 20));
  SkinnedProbe& m_B = AddSkinned("b", ui::Bounds(100, 20, 40, 20));
  EventLog m_Events;
};

TEST_F(Mouse, EveryEntryIsToldAndHoverEndsOnceAlsoForADragReleasedOutside) {
  MoveTo(30, 30);
  MoveTo(35, 30);
  MoveTo(5, 5);
  EXPECT_EQ(Hover(), (std::vector<std::string>{"enter:a", "leave:a"}));

  MoveTo(30, 30);
  Down(30, 30);
  MoveTo(5, 5);  // out while held: still hot, and no leave yet
  EXPECT_TRUE(m_A.Hot());
  EXPECT_FALSE(m_A.MouseInside());
  MoveTo(30, 31);  // back, which is told although the control stayed hot, and out again
  MoveTo(110, 30);
  Up(110, 30);  // released over b: b's hover begins, then a's ends with the release
  EXPECT_EQ(Hover(), (std::vector<std::string>{"enter:a", "enter:a", "enter:b", "leave:a"}));
  EXPECT_FALSE(m_A.Hot());
  MoveTo(111, 31);
  EXPECT_TRUE(Hover().empty());
  m_A.Perform(ui::CM_MOUSELEAVE);  // told whether or not the control was hot
  EXPECT_EQ(Hover(), (std::vector<std::string>{"leave:a"}));
}

TEST_F(Mouse, AReleaseAwayFromThePressWithoutAMoveEndsHoverOnceToo) {
  MoveTo(30, 30);
  Down(30, 30);
  Up(110, 30);  // the window system's release arrives at the new place at once
  MoveTo(110, 30);
  MoveTo(112, 31);
  EXPECT_EQ(Hover(), (std::vector<std::string>{"enter:a", "enter:b", "leave:a"}));
}

TEST_F(Mouse, AHeldPressRepeatsEveryIntervalWhileTheMouseIsOverTheControl) {
  MoveTo(30, 30);
  Down(30, 30);
  EXPECT_EQ(m_A.presses, 1);
  m_Backend.Advance(249);
  EXPECT_EQ(m_A.presses, 1);
  m_Backend.Advance(1);
  EXPECT_EQ(m_A.presses, 2);
  m_Backend.Advance(500);
  EXPECT_EQ(m_A.presses, 4);
  MoveTo(5, 5);  // outside: paused
  m_Backend.Advance(1000);
  EXPECT_EQ(m_A.presses, 4);
  MoveTo(50, 35);  // back: one interval later it goes on, at the latest position
  m_Backend.Advance(250);
  EXPECT_EQ(m_A.presses, 5);
  EXPECT_EQ(m_A.MousePosition(), (ui::Point{30, 15}));
  Up(50, 35);
  m_Backend.Advance(1000);
  EXPECT_EQ(m_A.presses, 5);
  EXPECT_FALSE(m_A.RepeatTimer().Enabled());
}

TEST_F(Mouse, APressThatStopsTheRepetitionDoesNotStopTheNextPress) {
  m_A.pressStops = true;  // as a press on a slider's pointer
  MoveTo(30, 30);
  m_Backend.Click(CX(30), CY(30));  // released before any tick
  m_A.pressStops = false;
  Down(30, 30);
  m_Backend.Advance(500);
  EXPECT_EQ(m_A.presses, 4);
  Up(30, 30);
  m_A.pressStops = true;
  Down(30, 30);
  m_Backend.Advance(1000);  // the first tick ends it
  EXPECT_EQ(m_A.presses, 5);
  EXPECT_FALSE(m_A.RepeatTimer().Enabled());
}

TEST_F(Mouse, LosingTheMouseMidDragEndsThePressAsARelease) {
  MoveTo(30, 30);
  Down(30, 30);
  MoveTo(40, 32);
  m_Events.Take();
  m_Backend.StealCapture(m_Form->Handle());
  EXPECT_EQ(m_Events.Take(), (std::vector<std::string>{"up:a"}));  // and no click
  EXPECT_EQ(m_A.MouseButtons(), 0);
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  m_Backend.Advance(1000);
  EXPECT_EQ(m_A.presses, 1);
  MoveTo(5, 5);  // no capture kept it hot
  EXPECT_EQ(Hover(), (std::vector<std::string>{"leave:a"}));
}

TEST_F(Mouse, ARightReleaseOffersTheSharedContextMenuWhenTheControlFillsIt) {
  ui::PopupMenu* shown = nullptr;
  struct Watcher {
    ui::PopupMenu** shown;
    void Popup(ui::Persistent* sender) { *shown = dynamic_cast<ui::PopupMenu*>(sender); }
  } watcher{&shown};
  m_A.contextItem = "Reset";
  m_Backend.Click(CX(30), CY(30), MouseButton::Right);
  ASSERT_EQ(m_A.GetPopupMenu(), m_A.GetPopupMenu());  // one menu for all
  ui::PopupMenu& menu = *m_A.GetPopupMenu();
  menu.OnPopup = ui::Bind<&Watcher::Popup>(&watcher);
  m_Backend.Click(CX(30), CY(30), MouseButton::Right);
  EXPECT_EQ(shown, &menu);
  EXPECT_EQ(menu.PopupComponent(), &m_A);
  ASSERT_EQ(menu.Items().Count(), 1);
  EXPECT_EQ(menu.Items().Item(0).Caption(), "Reset");
  EXPECT_EQ(m_B.GetPopupMenu(), nullptr);  // b offers nothing
  EXPECT_EQ(menu.Items().Count(), 0);
  menu.OnPopup = {};
}

// Focus and keys -------------------------------------------------------------------------------

class Focus : public ContainerFixture {
 protected:
  Focus() {
    m_Events.Watch(m_Stop);
    m_Events.Watch(m_Plain);
  }
  SkinnedProbe& m_Stop = AddSkinned("stop", ui::Bounds(0, 0, 20, 20), 0);
  SkinnedProbe& m_Plain = AddSkinned("plain", ui::Bounds(30, 0, 20, 20));
  EventLog m_Events;
};

TEST_F(Focus, APressOnATabStopTakesTheKeyboardAndOnOtherControlsDoesNot) {
  m_Backend.Click(CX(35), CY(5));
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
  EXPECT_FALSE(m_Plain.Focused());
  m_Backend.MouseDown(MouseButton::Left, CX(5), CY(5));
  EXPECT_EQ(m_Container.ActiveControl(), &m_Stop);
  EXPECT_TRUE(m_Stop.Focused());
  EXPECT_EQ(m_Form->FocusedControl(), &m_Container);
  m_Backend.MouseUp(MouseButton::Left, CX(5), CY(5));
  std::vector<std::string> pressed;
  for (const std::string& e : m_Events.Take()) {
    if (!e.starts_with("enter") && !e.starts_with("leave")) pressed.push_back(e);
  }
  EXPECT_EQ(pressed, (std::vector<std::string>{"click:plain", "up:plain", "focus:stop",
                                               "click:stop", "up:stop"}));
}

TEST_F(Focus, AltWithTheAcceleratorClicksAnEnabledVisibleControl) {
  m_Plain.SetAccelerator('p');
  m_Container.SetFocus();  // entered: the tab stop takes the keyboard
  EXPECT_EQ(m_Events.Take(), (std::vector<std::string>{"focus:stop"}));
  m_Backend.KeyDown(ui::VK_MENU);
  m_Backend.PressKey('P');  // types 'p' with Alt held
  m_Plain.SetEnabled(false);
  m_Backend.PressKey('P');
  m_Plain.SetEnabled(true);
  m_Backend.KeyUp(ui::VK_MENU);
  m_Backend.PressKey('P');  // no Alt
  EXPECT_EQ(m_Events.Take(), (std::vector<std::string>{"click:plain"}));
}

TEST_F(Focus, KeysReachTheHandlersAfterTheFormsPreview) {
  m_Stop.Perform(ui::WM_SETFOCUS);
  struct Keys {
    std::vector<uint16_t> downs;
    std::string typed;
    void Down(ui::Persistent*, uint16_t& key, ui::TShiftState) { downs.push_back(key); }
    void Keep(ui::Persistent*, uint16_t& key, ui::TShiftState) {
      if (key == 'Q') key = 0;
    }
    void Press(ui::Persistent*, char& key) { typed += key; }
  } control, preview;
  m_Stop.OnKeyDown = ui::Bind<&Keys::Down>(&control);
  m_Stop.OnKeyPress = ui::Bind<&Keys::Press>(&control);
  m_Form->OnKeyDown = ui::Bind<&Keys::Keep>(&preview);
  m_Backend.PressKey('Q');
  m_Form->SetKeyPreview(true);  // the form's handler sees each key first and may keep it
  m_Backend.PressKey('Q');
  m_Backend.PressKey('W');
  EXPECT_EQ(control.downs, (std::vector<uint16_t>{'Q', 'W'}));
  EXPECT_EQ(control.typed, "qqw");
  m_Form->OnKeyDown = {};
}

TEST_F(Focus, ADisabledControlIgnoresTheFocusAndGivesItUp) {
  m_Stop.SetEnabled(false);
  m_Stop.Perform(ui::WM_SETFOCUS);
  EXPECT_FALSE(m_Stop.Focused());
  m_Stop.SetEnabled(true);
  m_Stop.Perform(ui::WM_SETFOCUS);
  m_Stop.SetEnabled(false);
  EXPECT_EQ(m_Events.Take(), (std::vector<std::string>{"focus:stop", "unfocus:stop"}));
  EXPECT_EQ(m_Container.ActiveControl(), nullptr);
}

// Images ---------------------------------------------------------------------------------------

TEST_F(ControlPainting, TheImageListReachesEveryLinkAndIsForgottenWhenItGoes) {
  struct Linked : TTestDIBControl {
    using TTestDIBControl::TTestDIBControl;
    std::vector<int32_t> changes;
    void ImageChanged(int32_t index, TDIBImageChangeKind) override { changes.push_back(index); }
  };
  Linked& control = ui::Create<Linked>(m_Container);
  TDIBImageLink& main = control.CreateImageLink();
  TDIBImageLink& pointer = control.CreateImageLink();
  main.SetDIBIndex(1);
  TDIBImageList& list = ui::Create<TDIBImageList>(*m_Form);
  list.DIBImages().Add();
  list.DIBImages().Add();
  control.changes.clear();
  control.SetDIBImageList(&list);
  EXPECT_EQ(pointer.DIBImageList(), &list);
  EXPECT_EQ(control.changes, (std::vector<int32_t>{1}));  // the main link found its image
  list.DIBImages().Items(1).DIB().Fill(ui::clRed);
  list.DIBImages().Items(0).DIB().Fill(ui::clRed);
  EXPECT_EQ(control.changes, (std::vector<int32_t>{1, 1}));
  delete &list;
  EXPECT_EQ(control.DIBImageList(), nullptr);
  EXPECT_EQ(main.DIBImageList(), nullptr);
}

}  // namespace
}  // namespace dibtest

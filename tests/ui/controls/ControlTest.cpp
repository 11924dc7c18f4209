// Mouse input through the headless backend: which control gets it, capture, hover pairs,
// clicks, and controls that vanish while they handle the mouse.

#include "testsupport/ui/FormFixture.h"
#include "ui/controls/Application.h"

namespace uitest {
namespace {

using ui::Rect;

class MouseRouting : public FormFixture {
 public:
  // form (200 x 100): panel (100, 0, 100 x 100) holding a label-like probe at (10, 10);
  // a windowless probe on the form at (10, 10).
  WindowedProbe& panel = Add<WindowedProbe>(*m_Form, "panel", ui::Bounds(100, 0, 100, 100));
  WindowlessProbe& inPanel = Add<WindowlessProbe>(panel, "inPanel", ui::Bounds(10, 10, 30, 20));
  WindowlessProbe& onForm = Add<WindowlessProbe>(*m_Form, "onForm", ui::Bounds(10, 10, 30, 20));

  std::vector<std::string> clicks;
  void Clicked(ui::Persistent* sender) {
    clicks.push_back(dynamic_cast<ui::Component&>(*sender).Name());
  }
};

// A non-windowed child's messages pass through its parent's window procedure first.
TEST_F(MouseRouting, PressesGoToTheTopmostControlUnderTheMouse) {
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  m_Backend.MouseUp(platform::MouseButton::Left, X(115), Y(15));
  m_Backend.MouseDown(platform::MouseButton::Left, X(160), Y(60));
  std::vector<std::string> presses;
  for (const std::string& entry : m_Log.Take()) {
    if (entry.starts_with("LDOWN")) presses.push_back(entry);
  }
  EXPECT_EQ(presses, (std::vector<std::string>{"LDOWN:onForm", "LDOWN:panel", "LDOWN:inPanel",
                                               "LDOWN:panel"}));
}

TEST_F(MouseRouting, CoordinatesAreTheReceiversOwn) {
  std::vector<ui::Point> points;
  struct Recorder {
    std::vector<ui::Point>* points;
    void Down(ui::Persistent*, ui::TMouseButton, ui::TShiftState, int32_t x, int32_t y) {
      points->push_back({x, y});
    }
  } recorder{&points};
  inPanel.OnMouseDown = ui::Bind<&Recorder::Down>(&recorder);
  panel.OnMouseDown = ui::Bind<&Recorder::Down>(&recorder);
  m_Backend.MouseDown(platform::MouseButton::Left, X(113), Y(17));
  m_Backend.MouseUp(platform::MouseButton::Left, X(113), Y(17));
  m_Backend.MouseDown(platform::MouseButton::Left, X(150), Y(90));
  EXPECT_EQ(points, (std::vector<ui::Point>{{3, 7}, {50, 90}}));
}

// The backend's typed input is packed for the receiver as a window system would pack it.
TEST_F(MouseRouting, InputArrivesAsTheWindowSystemsMessages) {
  const auto got = [this](uint32_t msg) {
    std::vector<ui::Message> found;
    for (const ui::Message& m : panel.received) {
      if (m.msg == msg) found.push_back(m);
    }
    return found;
  };
  m_Backend.SendMouse(m_Form->Handle(), {platform::MouseAction::DoubleClick,
                                         platform::MouseButton::Middle,
                                         {160, 70},
                                         ui::MK_MBUTTON | ui::MK_SHIFT});
  m_Backend.Wheel(X(150), Y(80), -ui::WHEEL_DELTA);
  const auto doubles = got(ui::WM_MBUTTONDBLCLK);
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].wParam, ui::MK_MBUTTON | ui::MK_SHIFT);
  EXPECT_EQ(doubles[0].lParam, ui::PointToLParam(60, 70));  // the panel's own coordinates
  const auto wheels = got(ui::WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(wheels[0].wParam, uintptr_t{0xFF88} << 16);           // -120, no keys held
  EXPECT_EQ(wheels[0].lParam, ui::PointToLParam(X(150), Y(80)));  // the screen's
}

TEST_F(MouseRouting, DisabledControlsLetTheMouseThroughOrSwallowIt) {
  onForm.SetEnabled(false);  // non-windowed: its parent gets the press
  panel.SetEnabled(false);   // windowed: nobody does
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  for (const std::string& entry : m_Log.Take()) {
    EXPECT_FALSE(entry.starts_with("LDOWN")) << entry;
  }
}

TEST_F(MouseRouting, TheCaptureHolderGetsEverythingUntilRelease) {
  std::vector<std::string> moves;
  struct Mover {
    std::vector<std::string>* moves;
    void Move(ui::Persistent* sender, ui::TShiftState, int32_t x, int32_t y) {
      moves->push_back(dynamic_cast<ui::Component&>(*sender).Name() + " " + std::to_string(x) +
                       "," + std::to_string(y));
    }
  } mover{&moves};
  onForm.OnMouseMove = ui::Bind<&Mover::Move>(&mover);
  panel.OnMouseMove = ui::Bind<&Mover::Move>(&mover);
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(ui::GetCaptureControl(), &onForm);
  EXPECT_EQ(m_Backend.CaptureWindow(), m_Form->Handle());
  m_Backend.MouseMove(X(150), Y(50));   // over the panel, still the label's
  m_Backend.MouseMove(X(-20), Y(-10));  // outside the form window, still the label's
  m_Backend.MouseUp(platform::MouseButton::Left, X(-20), Y(-10));
  m_Backend.MouseMove(X(150), Y(50));
  EXPECT_EQ(moves, (std::vector<std::string>{"onForm 140,40", "onForm -30,-20", "panel 50,50"}));
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  EXPECT_EQ(m_Backend.CaptureWindow(), nullptr);
}

TEST_F(MouseRouting, EnterAndLeaveComeInPairsAsTheMouseCrossesControls) {
  m_Backend.MouseMove(X(15), Y(15));
  m_Backend.MouseMove(X(16), Y(16));
  m_Backend.MouseMove(X(115), Y(15));
  m_Backend.MouseMove(X(150), Y(60));
  m_Backend.MouseMove(X(500), Y(500));  // leaves the form's window
  std::vector<std::string> hover;
  for (const std::string& entry : m_Log.Take()) {
    if (entry.starts_with("ENTER") || entry.starts_with("LEAVE")) hover.push_back(entry);
  }
  EXPECT_EQ(hover, (std::vector<std::string>{"ENTER:onForm", "LEAVE:onForm", "ENTER:inPanel",
                                             "LEAVE:inPanel", "ENTER:panel", "LEAVE:panel"}));
}

TEST_F(MouseRouting, AClickNeedsPressAndReleaseInsideTheSameControl) {
  onForm.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  inPanel.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  EXPECT_EQ(onForm.OnClick, inPanel.OnClick);  // the same handler
  m_Backend.Click(X(15), Y(15));
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.MouseUp(platform::MouseButton::Left, X(80), Y(15));  // released elsewhere
  m_Backend.Click(X(115), Y(15), platform::MouseButton::Right);
  m_Backend.Click(X(115), Y(15));
  EXPECT_EQ(clicks, (std::vector<std::string>{"onForm", "inPanel"}));
}

TEST_F(MouseRouting, AControlMayDestroyItselfInItsClickHandler) {
  struct Destroyer {
    void Click(ui::Persistent* sender) { delete dynamic_cast<ui::Control*>(sender); }
  } destroyer;
  onForm.OnClick = ui::Bind<&Destroyer::Click>(&destroyer);
  panel.OnClick = ui::Bind<&Destroyer::Click>(&destroyer);
  m_Backend.MouseMove(X(15), Y(15));
  m_Backend.Click(X(15), Y(15));
  m_Backend.Click(X(160), Y(60));  // the panel, its probe with it
  EXPECT_EQ(m_Form->FindComponent("onForm"), nullptr);
  EXPECT_EQ(m_Form->FindComponent("panel"), nullptr);
  EXPECT_EQ(m_Form->FindComponent("inPanel"), nullptr);
  EXPECT_EQ(m_Form->ControlCount(), 0);
  m_Backend.MouseMove(X(16), Y(16));  // nothing left to hover or capture
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
}

TEST_F(MouseRouting, HidingOrDestroyingTheCaptureHolderReleasesTheMouse) {
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  ASSERT_EQ(ui::GetCaptureControl(), &onForm);
  onForm.Hide();
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  EXPECT_EQ(m_Backend.CaptureWindow(), nullptr);
  m_Backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));

  m_Backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  ASSERT_EQ(ui::GetCaptureControl(), &inPanel);
  delete &panel;  // with the probe inside it
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  m_Backend.MouseMove(X(120), Y(20));
  m_Backend.MouseUp(platform::MouseButton::Left, X(120), Y(20));
}

TEST_F(MouseRouting, AHolderThatLosesTheMouseIsToldAndItsPressClicksNoMore) {
  onForm.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  const auto captureNotices = [this] {
    std::vector<std::string> notices;
    for (const std::string& entry : m_Log.Take()) {
      if (entry.starts_with("CAPTURECHANGED")) notices.push_back(entry);
    }
    return notices;
  };
  m_Backend.Click(X(15), Y(15));  // released by itself: no notice
  EXPECT_TRUE(captureNotices().empty());
  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  m_Backend.StealCapture(m_Form->Handle());  // the window system took it
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:onForm"}));
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  m_Backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(clicks, (std::vector<std::string>{"onForm"}));  // the first click only

  m_Backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  ui::SetCaptureControl(&inPanel);  // another control took it
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:onForm"}));
  ui::SetCaptureControl(nullptr);
  m_Backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:inPanel"}));
}

TEST_F(MouseRouting, TheCursorComesFromTheControlUnderTheMouse) {
  onForm.SetCursor(ui::crHandPoint);
  m_Backend.MouseMove(X(15), Y(15));
  EXPECT_EQ(m_Backend.Cursor(), ui::crHandPoint);
  m_Backend.MouseMove(X(60), Y(60));
  EXPECT_EQ(m_Backend.Cursor(), ui::crArrow);
}

TEST_F(MouseRouting, AnExceptionFromAHandlerGoesToTheApplicationHandler) {
  struct Thrower {
    std::string reported;
    void Click(ui::Persistent*) { throw ui::Exception("click failed"); }
    void Report(ui::Persistent*, const std::exception& error) { reported = error.what(); }
  } thrower;
  onForm.OnClick = ui::Bind<&Thrower::Click>(&thrower);
  ui::Application::Instance().OnException = ui::Bind<&Thrower::Report>(&thrower);
  m_Backend.Click(X(15), Y(15));
  EXPECT_EQ(thrower.reported, "click failed");
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
}

}  // namespace
}  // namespace uitest

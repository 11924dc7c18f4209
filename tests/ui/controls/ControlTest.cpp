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
  WindowedProbe& panel = Add<WindowedProbe>(*form, "panel", ui::Bounds(100, 0, 100, 100));
  WindowlessProbe& inPanel = Add<WindowlessProbe>(panel, "inPanel", ui::Bounds(10, 10, 30, 20));
  WindowlessProbe& onForm = Add<WindowlessProbe>(*form, "onForm", ui::Bounds(10, 10, 30, 20));

  std::vector<std::string> clicks;
  void Clicked(ui::Persistent* sender) {
    clicks.push_back(dynamic_cast<ui::Component&>(*sender).Name());
  }
};

// A non-windowed child's messages pass through its parent's window procedure first.
TEST_F(MouseRouting, PressesGoToTheTopmostControlUnderTheMouse) {
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  backend.MouseUp(platform::MouseButton::Left, X(115), Y(15));
  backend.MouseDown(platform::MouseButton::Left, X(160), Y(60));
  std::vector<std::string> presses;
  for (const std::string& entry : log.Take()) {
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
  backend.MouseDown(platform::MouseButton::Left, X(113), Y(17));
  backend.MouseUp(platform::MouseButton::Left, X(113), Y(17));
  backend.MouseDown(platform::MouseButton::Left, X(150), Y(90));
  EXPECT_EQ(points, (std::vector<ui::Point>{{3, 7}, {50, 90}}));
}

// The backend's typed input is packed for the receiver as a window system would pack it.
TEST_F(MouseRouting, InputArrivesAsTheWindowSystemsMessages) {
  const auto got = [this](uint32_t msg) {
    std::vector<ui::Message> found;
    for (const ui::Message& m : panel.received) {
      if (m.Msg == msg) found.push_back(m);
    }
    return found;
  };
  backend.SendMouse(form->Handle(), {platform::MouseAction::DoubleClick,
                                     platform::MouseButton::Middle,
                                     {160, 70},
                                     ui::MK_MBUTTON | ui::MK_SHIFT});
  backend.Wheel(X(150), Y(80), -ui::WHEEL_DELTA);
  const auto doubles = got(ui::WM_MBUTTONDBLCLK);
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].WParam, ui::MK_MBUTTON | ui::MK_SHIFT);
  EXPECT_EQ(doubles[0].LParam, ui::PointToLParam(60, 70));  // the panel's own coordinates
  const auto wheels = got(ui::WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(wheels[0].WParam, uintptr_t{0xFF88} << 16);           // -120, no keys held
  EXPECT_EQ(wheels[0].LParam, ui::PointToLParam(X(150), Y(80)));  // the screen's
}

TEST_F(MouseRouting, DisabledControlsLetTheMouseThroughOrSwallowIt) {
  onForm.SetEnabled(false);  // non-windowed: its parent gets the press
  panel.SetEnabled(false);   // windowed: nobody does
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  for (const std::string& entry : log.Take()) {
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
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(ui::GetCaptureControl(), &onForm);
  EXPECT_EQ(backend.CaptureWindow(), form->Handle());
  backend.MouseMove(X(150), Y(50));   // over the panel, still the label's
  backend.MouseMove(X(-20), Y(-10));  // outside the form window, still the label's
  backend.MouseUp(platform::MouseButton::Left, X(-20), Y(-10));
  backend.MouseMove(X(150), Y(50));
  EXPECT_EQ(moves, (std::vector<std::string>{"onForm 140,40", "onForm -30,-20", "panel 50,50"}));
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  EXPECT_EQ(backend.CaptureWindow(), nullptr);
}

TEST_F(MouseRouting, EnterAndLeaveComeInPairsAsTheMouseCrossesControls) {
  backend.MouseMove(X(15), Y(15));
  backend.MouseMove(X(16), Y(16));
  backend.MouseMove(X(115), Y(15));
  backend.MouseMove(X(150), Y(60));
  backend.MouseMove(X(500), Y(500));  // leaves the form's window
  std::vector<std::string> hover;
  for (const std::string& entry : log.Take()) {
    if (entry.starts_with("ENTER") || entry.starts_with("LEAVE")) hover.push_back(entry);
  }
  EXPECT_EQ(hover, (std::vector<std::string>{"ENTER:onForm", "LEAVE:onForm", "ENTER:inPanel",
                                             "LEAVE:inPanel", "ENTER:panel", "LEAVE:panel"}));
}

TEST_F(MouseRouting, AClickNeedsPressAndReleaseInsideTheSameControl) {
  onForm.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  inPanel.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  EXPECT_EQ(onForm.OnClick, inPanel.OnClick);  // the same handler
  backend.Click(X(15), Y(15));
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  backend.MouseUp(platform::MouseButton::Left, X(80), Y(15));  // released elsewhere
  backend.Click(X(115), Y(15), platform::MouseButton::Right);
  backend.Click(X(115), Y(15));
  EXPECT_EQ(clicks, (std::vector<std::string>{"onForm", "inPanel"}));
}

TEST_F(MouseRouting, AControlMayDestroyItselfInItsClickHandler) {
  struct Destroyer {
    void Click(ui::Persistent* sender) { delete dynamic_cast<ui::Control*>(sender); }
  } destroyer;
  onForm.OnClick = ui::Bind<&Destroyer::Click>(&destroyer);
  panel.OnClick = ui::Bind<&Destroyer::Click>(&destroyer);
  backend.MouseMove(X(15), Y(15));
  backend.Click(X(15), Y(15));
  backend.Click(X(160), Y(60));  // the panel, its probe with it
  EXPECT_EQ(form->FindComponent("onForm"), nullptr);
  EXPECT_EQ(form->FindComponent("panel"), nullptr);
  EXPECT_EQ(form->FindComponent("inPanel"), nullptr);
  EXPECT_EQ(form->ControlCount(), 0);
  backend.MouseMove(X(16), Y(16));  // nothing left to hover or capture
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
}

TEST_F(MouseRouting, HidingOrDestroyingTheCaptureHolderReleasesTheMouse) {
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  ASSERT_EQ(ui::GetCaptureControl(), &onForm);
  onForm.Hide();
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  EXPECT_EQ(backend.CaptureWindow(), nullptr);
  backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));

  backend.MouseDown(platform::MouseButton::Left, X(115), Y(15));
  ASSERT_EQ(ui::GetCaptureControl(), &inPanel);
  delete &panel;  // with the probe inside it
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  backend.MouseMove(X(120), Y(20));
  backend.MouseUp(platform::MouseButton::Left, X(120), Y(20));
}

TEST_F(MouseRouting, AHolderThatLosesTheMouseIsToldAndItsPressClicksNoMore) {
  onForm.OnClick = ui::Bind<&MouseRouting::Clicked>(this);
  const auto captureNotices = [this] {
    std::vector<std::string> notices;
    for (const std::string& entry : log.Take()) {
      if (entry.starts_with("CAPTURECHANGED")) notices.push_back(entry);
    }
    return notices;
  };
  backend.Click(X(15), Y(15));  // released by itself: no notice
  EXPECT_TRUE(captureNotices().empty());
  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  backend.StealCapture(form->Handle());  // the window system took it
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:onForm"}));
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
  backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(clicks, (std::vector<std::string>{"onForm"}));  // the first click only

  backend.MouseDown(platform::MouseButton::Left, X(15), Y(15));
  ui::SetCaptureControl(&inPanel);  // another control took it
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:onForm"}));
  ui::SetCaptureControl(nullptr);
  backend.MouseUp(platform::MouseButton::Left, X(15), Y(15));
  EXPECT_EQ(captureNotices(), (std::vector<std::string>{"CAPTURECHANGED:inPanel"}));
}

TEST_F(MouseRouting, TheCursorComesFromTheControlUnderTheMouse) {
  onForm.SetCursor(ui::crHandPoint);
  backend.MouseMove(X(15), Y(15));
  EXPECT_EQ(backend.Cursor(), ui::crHandPoint);
  backend.MouseMove(X(60), Y(60));
  EXPECT_EQ(backend.Cursor(), ui::crArrow);
}

TEST_F(MouseRouting, AnExceptionFromAHandlerGoesToTheApplicationHandler) {
  struct Thrower {
    std::string reported;
    void Click(ui::Persistent*) { throw ui::Exception("click failed"); }
    void Report(ui::Persistent*, const std::exception& error) { reported = error.what(); }
  } thrower;
  onForm.OnClick = ui::Bind<&Thrower::Click>(&thrower);
  ui::Application::Instance().OnException = ui::Bind<&Thrower::Report>(&thrower);
  backend.Click(X(15), Y(15));
  EXPECT_EQ(thrower.reported, "click failed");
  EXPECT_EQ(ui::GetCaptureControl(), nullptr);
}

}  // namespace
}  // namespace uitest

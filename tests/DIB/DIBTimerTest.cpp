// The repeat timer on the headless clock: it holds a window exactly while it runs, restarts on
// every change, switches itself off when refused, and survives handlers that throw or destroy it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DIB/cDIBTimer.h"
#include "platform/HeadlessBackend.h"
#include "ui/Application.h"
#include "ui/TypeInfo.h"

namespace {

class DIBTimerTest : public ::testing::Test {
 public:
  platform::HeadlessBackend backend;
  platform::ScopedBackend installed{backend};
  std::vector<uint32_t> ticks;  // the clock at each tick
  int reported = 0;

  void Tick(ui::Persistent*) { ticks.push_back(backend.TickCount()); }
  void Report(ui::Persistent*, const std::exception&) { ++reported; }

  // Unowned, as the controls hold theirs.
  std::unique_ptr<TDIBTimer> Make(uint32_t interval) {
    auto timer = std::make_unique<TDIBTimer>(nullptr);
    timer->SetInterval(interval);
    timer->SetOnTimer(ui::Bind<&DIBTimerTest::Tick>(this));
    return timer;
  }
  // The invariant: a window and a window-system timer exactly while running.
  void ExpectRunning(const TDIBTimer& timer, bool running) {
    EXPECT_EQ(timer.Running(), running);
    EXPECT_EQ(backend.WindowCount(), running ? 1u : 0u);
    EXPECT_EQ(backend.RunningTimerCount(), running ? 1u : 0u);
  }
  ~DIBTimerTest() override { ui::Application::Instance().OnException = {}; }
};

TEST_F(DIBTimerTest, RunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
  TDIBTimer timer(nullptr);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_TRUE(TDIBTimer::StaticType().FindProperty("Enabled")->IsDefault(timer));
  timer.SetEnabled(true);
  ExpectRunning(timer, false);  // no handler
  timer.SetInterval(0);
  timer.SetOnTimer(ui::Bind<&DIBTimerTest::Tick>(this));
  ExpectRunning(timer, false);  // interval 0
  timer.SetInterval(20);
  ExpectRunning(timer, true);
  backend.Advance(45);
  timer.SetEnabled(false);
  ExpectRunning(timer, false);
  backend.Advance(100);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{20, 40}));
}

TEST_F(DIBTimerTest, EveryChangeRestartsThePeriod) {
  auto timer = Make(50);
  timer->SetEnabled(true);
  backend.Advance(30);
  timer->SetInterval(40);  // next tick 40 after the change
  backend.Advance(45);
  timer->SetOnTimer(timer->OnTimer());  // the same handler restarts too
  backend.Advance(45);
  timer->SetInterval(40);  // unchanged: no restart
  timer->SetEnabled(true);
  backend.Advance(35);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{70, 115, 155}));
  ExpectRunning(*timer, true);
}

TEST_F(DIBTimerTest, ARefusedStartSwitchesTheTimerOff) {
  auto timer = Make(50);
  backend.SetRefuseTimers(true);
  timer->SetEnabled(true);
  EXPECT_FALSE(timer->Enabled());
  ExpectRunning(*timer, false);
  backend.SetRefuseTimers(false);
  timer->SetEnabled(true);
  ExpectRunning(*timer, true);
}

TEST_F(DIBTimerTest, AThrowingHandlerIsReportedAndTheTimerKeepsTicking) {
  struct Failing {
    int calls = 0;
    void Tick(ui::Persistent*) {
      ++calls;
      throw std::runtime_error("tick failed");
    }
  } failing;
  TDIBTimer timer(nullptr);
  timer.SetInterval(10);
  timer.SetOnTimer(ui::Bind<&Failing::Tick>(&failing));
  timer.SetEnabled(true);
  ui::Application::Instance().OnException = ui::Bind<&DIBTimerTest::Report>(this);
  backend.Advance(30);
  EXPECT_EQ(failing.calls, 3);
  EXPECT_EQ(reported, 3);
  ExpectRunning(timer, true);
}

TEST_F(DIBTimerTest, ATimerDestroyedInItsOwnHandlerStopsCleanly) {
  struct Destroying {
    std::unique_ptr<TDIBTimer> timer;
    int calls = 0;
    void Tick(ui::Persistent*) {
      ++calls;
      timer.reset();
    }
  } destroying;
  destroying.timer = std::make_unique<TDIBTimer>(nullptr);
  destroying.timer->SetInterval(10);
  destroying.timer->SetOnTimer(ui::Bind<&Destroying::Tick>(&destroying));
  destroying.timer->SetEnabled(true);
  auto other = Make(15);
  other->SetEnabled(true);
  backend.Advance(50);
  EXPECT_EQ(destroying.calls, 1);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{15, 30, 45}));
  EXPECT_EQ(backend.WindowCount(), 1u);  // only the other timer's
}

}  // namespace

// The timer on the headless clock: periods, restarts on change, the cases that do not run,
// a refusing window system, and handlers that throw or destroy the timer.

#include <gtest/gtest.h>

#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Application.h"
#include "ui/controls/Timer.h"

namespace {

class TimerTest : public ::testing::Test {
 public:
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  ui::Component owner{nullptr};
  std::vector<std::string> ticks;  // "name@time"

  void Tick(ui::Persistent* sender) {
    ticks.push_back(dynamic_cast<ui::Component&>(*sender).Name() + "@" +
                    std::to_string(backend.TickCount()));
  }
  ui::Timer& Make(const std::string& name, uint32_t interval) {
    ui::Timer& timer = ui::Create<ui::Timer>(owner);
    timer.SetName(name);
    timer.SetInterval(interval);
    timer.SetOnTimer(ui::Bind<&TimerTest::Tick>(this));
    return timer;
  }
  ~TimerTest() override { ui::Application::Instance().OnException = {}; }
};

TEST_F(TimerTest, TimersFireAtTheirPeriodsInTimeOrder) {
  Make("a", 50);
  Make("b", 40);
  backend.Advance(125);
  EXPECT_EQ(ticks, (std::vector<std::string>{"b@40", "a@50", "b@80", "a@100", "b@120"}));
}

TEST_F(TimerTest, EveryChangeRestartsThePeriod) {
  ui::Timer& timer = Make("t", 50);
  backend.Advance(30);
  timer.SetInterval(40);  // next tick 40 after the change
  backend.Advance(45);
  timer.SetOnTimer(timer.OnTimer());  // the same handler restarts too
  backend.Advance(45);
  timer.SetInterval(40);  // unchanged: no restart
  timer.SetEnabled(true);
  backend.Advance(35);
  EXPECT_EQ(ticks, (std::vector<std::string>{"t@70", "t@115", "t@155"}));
}

TEST_F(TimerTest, ATimerRunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
  ui::Timer& timer = ui::Create<ui::Timer>(owner);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(timer.Running());  // no handler
  timer.SetInterval(0);
  timer.SetOnTimer(ui::Bind<&TimerTest::Tick>(this));
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(backend.WindowCount(), 0u);
  timer.SetInterval(20);
  EXPECT_TRUE(timer.Running());
  EXPECT_EQ(backend.WindowCount(), 1u);
  EXPECT_EQ(backend.RunningTimerCount(), 1u);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(backend.WindowCount(), 0u);  // a stopped timer holds no window
  EXPECT_EQ(backend.RunningTimerCount(), 0u);
  backend.Advance(100);
  EXPECT_TRUE(ticks.empty());
}

TEST_F(TimerTest, ARefusedTimerSwitchesItselfOff) {
  backend.SetRefuseTimers(true);
  ui::Timer& timer = Make("t", 50);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(backend.WindowCount(), 0u);
  backend.SetRefuseTimers(false);
  timer.SetEnabled(true);  // switched on again, it runs
  EXPECT_TRUE(timer.Running());
}

TEST_F(TimerTest, AHandlerThatThrowsIsReportedAndTheTimerGoesOn) {
  struct Failing {
    int calls = 0;
    std::string reported;
    void Tick(ui::Persistent*) {
      ++calls;
      throw ui::Exception("tick failed");
    }
    void Report(ui::Persistent*, const std::exception& e) { reported = e.what(); }
  } failing;
  ui::Timer& timer = ui::Create<ui::Timer>(owner);
  timer.SetInterval(10);
  timer.SetOnTimer(ui::Bind<&Failing::Tick>(&failing));
  ui::Application::Instance().OnException = ui::Bind<&Failing::Report>(&failing);
  backend.Advance(30);
  EXPECT_EQ(failing.calls, 3);
  EXPECT_EQ(failing.reported, "tick failed");
}

TEST_F(TimerTest, ATimerMayDestroyOrRestartItselfInItsHandler) {
  struct SelfDestroying {
    TimerTest* test;
    void Tick(ui::Persistent* sender) {
      test->Tick(sender);
      delete dynamic_cast<ui::Timer*>(sender);
    }
    void Restart(ui::Persistent* sender) {
      test->Tick(sender);
      auto* timer = dynamic_cast<ui::Timer*>(sender);
      timer->SetInterval(timer->Interval() + 10);
    }
  } handlers{this};
  Make("gone", 20).SetOnTimer(ui::Bind<&SelfDestroying::Tick>(&handlers));
  Make("slower", 20).SetOnTimer(ui::Bind<&SelfDestroying::Restart>(&handlers));
  backend.Advance(100);
  EXPECT_EQ(ticks, (std::vector<std::string>{"gone@20", "slower@20", "slower@50", "slower@90"}));
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(backend.WindowCount(), 1u);  // the destroyed timer's window went with it
}

}  // namespace

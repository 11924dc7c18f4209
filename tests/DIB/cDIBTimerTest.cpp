// What the repeat timer adds to the framework's timer (whose behaviour the framework's tests
// cover): it is off until enabled, it is stored as its own class with Enabled off by default,
// and its ticks pass through Timer, which a control's timer may override.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DIB/cDIBTimer.h"
#include "platform/headless/HeadlessBackend.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/TextForm.h"

namespace {

class DIBTimerTest : public ::testing::Test {
 public:
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  std::vector<uint32_t> ticks;  // the clock at each tick
  std::vector<ui::Persistent*> senders;

  void Tick(ui::Persistent* sender) {
    ticks.push_back(backend.TickCount());
    senders.push_back(sender);
  }
  // A window and a window-system timer exactly while running.
  void ExpectRunning(const TDIBTimer& timer, bool running) {
    EXPECT_EQ(timer.Running(), running);
    EXPECT_EQ(backend.WindowCount(), running ? 1u : 0u);
    EXPECT_EQ(backend.RunningTimerCount(), running ? 1u : 0u);
  }
};

TEST_F(DIBTimerTest, StaysOffUntilEnabledAndTicksWithItselfAsSender) {
  TDIBTimer timer(nullptr);  // unowned, as the controls hold theirs
  EXPECT_FALSE(timer.Enabled());
  timer.SetInterval(20);
  timer.SetOnTimer(ui::Bind<&DIBTimerTest::Tick>(this));
  ExpectRunning(timer, false);
  backend.Advance(100);
  EXPECT_TRUE(ticks.empty());
  timer.SetEnabled(true);
  ExpectRunning(timer, true);
  backend.Advance(45);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{120, 140}));
  EXPECT_EQ(senders, (std::vector<ui::Persistent*>{&timer, &timer}));
}

TEST_F(DIBTimerTest, ASubclassSeesEveryTickThroughTimer) {
  class Repeating : public TDIBTimer {
   public:
    using TDIBTimer::TDIBTimer;
    int repeats = 0;

   protected:
    void Timer() override {
      ++repeats;
      TDIBTimer::Timer();
    }
  } timer(nullptr);
  timer.SetInterval(10);
  timer.SetOnTimer(ui::Bind<&DIBTimerTest::Tick>(this));
  timer.SetEnabled(true);
  backend.Advance(35);
  EXPECT_EQ(timer.repeats, 3);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{10, 20, 30}));
}

TEST_F(DIBTimerTest, IsStoredAsItsOwnClassWithEnabledOffByDefault) {
  ui::ClassRegistry::Register(TDIBTimer::StaticType());
  TDIBTimer timer(nullptr);
  timer.SetName("Repeat");
  timer.SetInterval(250);
  EXPECT_EQ(ui::WriteRootToText(timer), "TDIBTimer Repeat {\n  Interval = 250\n}\n");
  timer.SetEnabled(true);
  EXPECT_EQ(ui::WriteRootToText(timer),
            "TDIBTimer Repeat {\n  Enabled = true\n  Interval = 250\n}\n");

  const std::unique_ptr<ui::Component> read =
      ui::ReadRootFromText("TDIBTimer Repeat {\n  Interval = 250\n}\n");
  const auto* loaded = dynamic_cast<const TDIBTimer*>(read.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(loaded->Enabled());
  EXPECT_EQ(loaded->Interval(), 250u);
}

}  // namespace

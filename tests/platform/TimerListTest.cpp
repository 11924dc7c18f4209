// The timers a host's idle calls fire: at most once per call, never in a burst after a stall,
// and safe against handlers that stop timers.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/EntryScope.h"
#include "platform/TimerList.h"

namespace {

using platform::TimerList;

struct Ticks final : platform::PeerClient {
  void HandleTimer(uintptr_t id) override {
    fired.push_back(id);
    if (reaction) reaction(id);
  }
  std::vector<uintptr_t> fired;
  std::function<void(uintptr_t)> reaction;
};

class TimerPeer final : public platform::WindowPeer {
 public:
  using WindowPeer::WindowPeer;
  void* NativeHandle() const override { return nullptr; }
  void SetBounds(const platform::Rect&) override {}
  void SetVisible(bool) override {}
  void RequestPaint() override {}
  void Present(const flux::PixelView&, const platform::Rect&) override {}
  void SetCapture(bool) override {}
  void SetCursor(int16_t) override {}
  void TakeFocus() override {}
  bool StartTimer(uintptr_t, uint32_t) override { return false; }
  void StopTimer(uintptr_t) override {}
  platform::Point ClientOrigin() const override { return {}; }
};

TEST(TimerList, ADueTimerFiresOnceAndAStallBringsNoBurst) {
  Ticks ticks;
  TimerPeer peer(ticks);
  TimerList timers;
  timers.Start(peer, 7, 50, 1000);
  timers.FireDue(1049);
  EXPECT_TRUE(ticks.fired.empty());
  timers.FireDue(1050);
  EXPECT_EQ(ticks.fired, std::vector<uintptr_t>{7});
  timers.FireDue(2000);  // twenty periods late: one tick
  EXPECT_EQ(ticks.fired.size(), 2u);
  timers.FireDue(2049);  // the period counts from the late tick
  EXPECT_EQ(ticks.fired.size(), 2u);
  timers.FireDue(2050);
  EXPECT_EQ(ticks.fired.size(), 3u);
}

TEST(TimerList, TicksServedLateKeepThePhase) {
  Ticks ticks;
  TimerPeer peer(ticks);
  TimerList timers;
  timers.Start(peer, 1, 50, 0);
  for (uint64_t now = 20; now <= 1000; now += 20) timers.FireDue(now);  // a host's idle rate
  EXPECT_EQ(ticks.fired.size(), 20u);  // one per 50 ms, not one per 60
}

TEST(TimerList, RestartingStoppingAndHandlersThatStopOthers) {
  Ticks ticks;
  TimerPeer peer(ticks);
  TimerList timers;
  timers.Start(peer, 1, 5, 0);  // raised to the shortest period, 10
  timers.Start(peer, 2, 20, 0);
  timers.FireDue(9);
  EXPECT_TRUE(ticks.fired.empty());
  timers.Start(peer, 2, 20, 15);  // restarted: due at 35
  ticks.reaction = [&](uintptr_t id) {
    if (id == 1) timers.Stop(peer, 2);
  };
  timers.FireDue(40);  // both due; the first stops the second before its turn
  EXPECT_EQ(ticks.fired, std::vector<uintptr_t>{1});
  timers.StopAll(peer);
  EXPECT_TRUE(timers.Empty());
  timers.FireDue(1000);
  EXPECT_EQ(ticks.fired.size(), 1u);
}

TEST(TimerList, ATickIsAnEntryWhatItsHandlerLetsGoLivesUntilItReturns) {
  Ticks ticks;
  TimerPeer peer(ticks);
  TimerList timers;
  auto owned = std::make_shared<int>(0);
  const std::weak_ptr<int> watch = owned;
  bool aliveInHandler = false;
  ticks.reaction = [&](uintptr_t) {
    flux::EntryScope::DestroyOnReturn(std::shared_ptr<void>(std::move(owned)));
    aliveInHandler = !watch.expired();
  };
  timers.Start(peer, 1, 10, 0);
  timers.FireDue(10);
  EXPECT_TRUE(aliveInHandler);
  EXPECT_TRUE(watch.expired());
}

}  // namespace

// The headless clock and the timer (tests run on the headless backend).
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/timer.h"

using namespace platform;

namespace {

struct Ticks {
  std::vector<uint64_t> at;
};
void record(void* user) { static_cast<Ticks*>(user)->at.push_back(nowNs()); }

class HeadlessClock : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(init(BackendKind::Headless)); }
  void TearDown() override { shutdown(); }
};

TEST_F(HeadlessClock, MovesOnlyWhenTold) {
  uint64_t t0 = nowNs();
  EXPECT_EQ(nowNs(), t0);
  sleepNs(123);
  EXPECT_EQ(nowNs(), t0 + 123);
  sleepMs(16);
  EXPECT_EQ(nowNs(), t0 + 123 + 16000000);
  idleUntil(t0 + 50000000);
  EXPECT_EQ(nowNs(), t0 + 50000000);
  idleUntil(t0);  // a deadline in the past does not move the clock back
  EXPECT_EQ(nowNs(), t0 + 50000000);
  EXPECT_TRUE(headlessAdvanceClock(kNanosecondsPerSecond));
  EXPECT_EQ(nowNs(), t0 + 50000000 + kNanosecondsPerSecond);
}

TEST_F(HeadlessClock, TimerTicksAtExactDeadlinesWithoutDrift) {
  Ticks ticks;
  uint64_t start = nowNs();
  PeriodicTimer* t = timerStart(60, record, &ticks);
  ASSERT_NE(t, nullptr);
  // Ten seconds in uneven steps: exactly 600 ticks, tick k at start + k/60 s.
  for (int i = 0; i < 1000; ++i) sleepNs(10000000);
  ASSERT_EQ(ticks.at.size(), 600u);
  for (size_t k = 1; k <= ticks.at.size(); ++k)
    ASSERT_EQ(ticks.at[k - 1], start + (k * kNanosecondsPerSecond) / 60) << k;
  timerStop(t);
  sleepMs(1000);
  EXPECT_EQ(ticks.at.size(), 600u);  // no tick after stop
}

TEST_F(HeadlessClock, ARateOfZeroMeansSixtyAndTimersInterleaveInDeadlineOrder) {
  std::vector<int> order;
  struct Tag {
    std::vector<int>* order;
    int id;
  };
  Tag a{&order, 1}, b{&order, 2};
  auto proc = [](void* user) {
    auto* tag = static_cast<Tag*>(user);
    tag->order->push_back(tag->id);
  };
  PeriodicTimer* ta = timerStart(0, proc, &a);   // 60 per second
  PeriodicTimer* tb = timerStart(20, proc, &b);  // every third tick of a
  sleepMs(100);                                  // 6 ticks of a, 2 of b
  EXPECT_EQ(order, (std::vector<int>{1, 1, 1, 2, 1, 1, 1, 2}));
  timerStop(ta);
  timerStop(tb);
  timerStop(nullptr);
}

TEST_F(HeadlessClock, ACallbackMayStopItsOwnTimerAndSleepInside) {
  struct State {
    PeriodicTimer* timer = nullptr;
    int calls = 0;
  } state;
  state.timer = timerStart(100, [](void* user) {
    auto* s = static_cast<State*>(user);
    ++s->calls;
    sleepNs(1000);  // a nested move of the clock runs no ticks
    if (s->calls == 3) timerStop(s->timer);
  }, &state);
  sleepMs(1000);
  EXPECT_EQ(state.calls, 3);
}

TEST_F(HeadlessClock, TheClockSaturatesInsteadOfWrapping) {
  sleepNs(UINT64_MAX - 5);
  EXPECT_EQ(nowNs(), UINT64_MAX - 5);
  sleepNs(100);
  EXPECT_EQ(nowNs(), UINT64_MAX);
  EXPECT_TRUE(headlessAdvanceClock(1));
  EXPECT_EQ(nowNs(), UINT64_MAX);
}

TEST_F(HeadlessClock, LateTicksKeepExactDeadlinesAtAnyRate) {
  Ticks ticks;
  uint64_t start = nowNs();
  PeriodicTimer* t = timerStart(7, record, &ticks);  // a period of 142857142.857 ns
  sleepMs(3000);
  timerStop(t);
  ASSERT_EQ(ticks.at.size(), 21u);
  EXPECT_EQ(ticks.at[0], start + 142857142u);
  EXPECT_EQ(ticks.at[6], start + kNanosecondsPerSecond);
  EXPECT_EQ(ticks.at[20], start + 3 * kNanosecondsPerSecond);
}

TEST_F(HeadlessClock, ShutdownStopsRunningTimers) {
  Ticks ticks;
  timerStart(60, record, &ticks);
  shutdown();
  ASSERT_TRUE(init(BackendKind::Headless));
  sleepMs(1000);
  EXPECT_TRUE(ticks.at.empty());
}

}  // namespace

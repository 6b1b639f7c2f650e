#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "framework/qdx_time.h"
#include "platform/clock.h"
#include "platform/headless.h"

namespace {

constexpr std::uint64_t MS = 1000000ull;

void AdvanceMs(std::uint64_t uMs) { ASSERT_TRUE(platform::headlessAdvanceClock(uMs * MS)); }

// ---- Clock and rate gate ---------------------------------------------------------------

TEST(QDXClock, ReadsTheNanosecondClock) {
  std::uint64_t uOut = 0;
  const std::uint64_t u = QDXReadTSC(&uOut);
  EXPECT_EQ(u, uOut);
  AdvanceMs(5);
  EXPECT_EQ(QDXReadTSC(nullptr) - u, 5 * MS);
  EXPECT_EQ(QDXTSCPerSecond(), 1000000000ull);
  EXPECT_EQ(QDXCalibrateTSC(), 0);
}

// Calls the gate in a tight loop for one second of clock time and returns
// the clock times at which it opened, relative to the start.
std::vector<std::uint64_t> OpeningsInOneSecond(std::uint32_t uRate) {
  QDXCalibrateTSC();
  const std::uint64_t uStart = platform::nowNs();
  std::vector<std::uint64_t> oOpen;
  int cCalls = 0;
  while (platform::nowNs() - uStart < 1000 * MS && cCalls < 1000000) {
    cCalls++;
    if (QDXRateGate(uRate)) oOpen.push_back(platform::nowNs() - uStart);
  }
  return oOpen;
}

TEST(QDXRateGate, OpensOncePerPeriodHoweverOftenAsked) {
  const std::vector<std::uint64_t> oOpen = OpeningsInOneSecond(30);
  // Every 33333333 ns (the period in whole nanoseconds): the 30th opening
  // falls at 999999990 ns, still inside the second.
  ASSERT_EQ(oOpen.size(), 30u);
  for (std::size_t i = 0; i < oOpen.size(); i++) EXPECT_EQ(oOpen[i], (i + 1) * 33333333ull) << i;
}

TEST(QDXRateGate, FixedPointRateBehavesLikeTheWholeRate) {
  EXPECT_EQ(OpeningsInOneSecond(30 * 65536), OpeningsInOneSecond(30));
  // 12.5 passes a second in 16.16.
  const std::vector<std::uint64_t> oOpen = OpeningsInOneSecond(12 * 65536 + 32768);
  ASSERT_EQ(oOpen.size(), 12u);
  EXPECT_EQ(oOpen[0], 80 * MS);
}

TEST(QDXRateGate, AskedLessOftenItOpensOnEveryCall) {
  QDXCalibrateTSC();
  for (int i = 0; i < 10; i++) {
    AdvanceMs(50);
    EXPECT_EQ(QDXRateGate(30), 1) << i;
  }
}

// A closed gate idles to its opening in one wait: the clock stands at the
// opening when the call returns, and the next call opens it; a gate asked
// halfway through its period waits only for the rest of it.
TEST(QDXRateGate, AClosedGateIdlesToItsOpeningInOneCall) {
  QDXCalibrateTSC();
  const std::uint64_t uStart = platform::nowNs();
  EXPECT_EQ(QDXRateGate(25), 0);
  EXPECT_EQ(platform::nowNs() - uStart, 40 * MS);
  EXPECT_EQ(QDXRateGate(25), 1);
  EXPECT_EQ(platform::nowNs() - uStart, 40 * MS);
  AdvanceMs(15);
  EXPECT_EQ(QDXRateGate(25), 0);
  EXPECT_EQ(platform::nowNs() - uStart, 80 * MS);
  EXPECT_EQ(QDXRateGate(25), 1);
  // One pass a second in 16.16: one wait of the whole second.
  EXPECT_EQ(QDXRateGate(65536), 0);
  EXPECT_EQ(platform::nowNs() - uStart, 1080 * MS);
  EXPECT_EQ(QDXRateGate(65536), 1);
}

TEST(QDXRateGate, ExtremeRatesNeitherDivideByZeroNorStall) {
  QDXCalibrateTSC();
  const std::uint64_t uBefore = platform::nowNs();
  // No period at all: open on every call, the clock untouched.
  for (int i = 0; i < 5; i++) EXPECT_EQ(QDXRateGate(0), 1);
  EXPECT_EQ(platform::nowNs(), uBefore);
  // Far above a thousand a second.
  // Far above a thousand a second: openings every period below the second.
  const std::uint64_t uPeriod5000 = 1000000000ull / 5000;             // 200 us
  const std::uint64_t uPeriodTop = 65536000000000ull / 0xFFFFFFFFull;  // 16.16: just above 65536 a second
  EXPECT_EQ(OpeningsInOneSecond(5000).size(), 999999999ull / uPeriod5000);
  EXPECT_EQ(OpeningsInOneSecond(65535).size(), 999999999ull / (1000000000ull / 65535));
  EXPECT_EQ(OpeningsInOneSecond(0xFFFFFFFFu).size(), 999999999ull / uPeriodTop);
}

// ---- Periodic timer -----------------------------------------------------------------------

int g_cCalls = 0;
std::vector<std::uint32_t> g_oCallTicks;
QDXTimerCallback* g_poOther = nullptr;

void CountCall(QDXTimerCallback*) {
  g_cCalls++;
  g_oCallTicks.push_back(QDXTimerTotalTicks());
}

void RemoveSelfAndOther(QDXTimerCallback* poNode) {
  g_cCalls++;
  QDXTimerRemoveCallback(poNode);
  QDXTimerRemoveCallback(g_poOther);
}

void AddAnother(QDXTimerCallback* poNode) {
  QDXTimerRemoveCallback(poNode);
  QDXTimerAddCallback(CountCall, 1);
}

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_cCalls = 0;
    g_oCallTicks.clear();
    ASSERT_EQ(QDXTimerStop(), 0);
  }
  void TearDown() override { QDXTimerStop(); }
};

TEST_F(TimerTest, GetTimeBeforeStartReturnsSevenAndWritesNothing) {
  std::uint16_t h = 11, m = 22, s = 33, t = 44;
  EXPECT_EQ(QDXTimerGetTime(&h, &m, &s, &t), 7);
  EXPECT_EQ(h, 11);
  EXPECT_EQ(m, 22);
  EXPECT_EQ(s, 33);
  EXPECT_EQ(t, 44);
}

TEST_F(TimerTest, CallbackEveryThirdTickAndTheClockFields) {
  ASSERT_EQ(QDXTimerStart(60), 0);
  ASSERT_EQ(QDXTimerStart(30), 0);  // already running: nothing changes
  EXPECT_EQ(QDXTimerRateGet(), 60);
  ASSERT_NE(QDXTimerAddCallback(CountCall, 3), nullptr);
  AdvanceMs(1000);
  EXPECT_EQ(QDXTimerTotalTicks(), 60u);
  EXPECT_EQ(g_cCalls, 20);
  ASSERT_EQ(g_oCallTicks.size(), 20u);
  for (std::size_t i = 0; i < g_oCallTicks.size(); i++) EXPECT_EQ(g_oCallTicks[i], 3 * (i + 1));
  std::uint16_t h = 9, m = 9, s = 9, t = 9;
  EXPECT_EQ(QDXTimerGetTime(&h, &m, &s, &t), 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(t, 0);
  AdvanceMs(250);  // 15 ticks
  EXPECT_EQ(QDXTimerGetTime(nullptr, nullptr, &s, &t), 0);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(t, 15);
}

TEST_F(TimerTest, ClockCarriesIntoMinutesAndHours) {
  ASSERT_EQ(QDXTimerStart(60), 0);
  EXPECT_EQ(QDXTimerSetTime(0, 59, 59, 59), 0);
  AdvanceMs(17);  // one tick at 60 a second (16.67 ms)
  std::uint16_t h, m, s, t;
  ASSERT_EQ(QDXTimerGetTime(&h, &m, &s, &t), 0);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(t, 0);
}

TEST_F(TimerTest, RateZeroRunsAtSixtyWithoutDrift) {
  ASSERT_EQ(QDXTimerStart(0), 0);
  EXPECT_EQ(QDXTimerRateGet(), 60);
  AdvanceMs(60000);
  // Absolute deadlines: exactly 3600 ticks in a minute (a 16 ms delay would give 3750).
  EXPECT_EQ(QDXTimerTotalTicks(), 3600u);
  std::uint16_t m = 0, s = 9;
  QDXTimerGetTime(nullptr, &m, &s, nullptr);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(s, 0);
}

TEST_F(TimerTest, FramesPerSecondOfTheLastFullSecond) {
  ASSERT_EQ(QDXTimerStart(60), 0);
  for (int i = 0; i < 25; i++) QDXTimerFrameCount();
  EXPECT_EQ(QDXTimerFramesPerSecond(), 0);
  AdvanceMs(1000);
  EXPECT_EQ(QDXTimerFramesPerSecond(), 25);
  for (int i = 0; i < 7; i++) QDXTimerFrameCount();
  AdvanceMs(1000);
  EXPECT_EQ(QDXTimerFramesPerSecond(), 7);
}

TEST_F(TimerTest, AddingStartsTheTimerAndStopRemovesEveryCallback) {
  EXPECT_FALSE(QDXTimerIsRunning());
  ASSERT_NE(QDXTimerAddCallback(CountCall, 0), nullptr);  // divisor 0 counts as 1
  EXPECT_TRUE(QDXTimerIsRunning());
  EXPECT_EQ(QDXTimerRateGet(), 60);
  AdvanceMs(100);
  EXPECT_EQ(g_cCalls, 6);
  EXPECT_EQ(QDXTimerStop(), 0);
  EXPECT_FALSE(QDXTimerIsRunning());
  AdvanceMs(100);
  EXPECT_EQ(g_cCalls, 6);
  // A new start has an empty list.
  ASSERT_EQ(QDXTimerStart(60), 0);
  AdvanceMs(100);
  EXPECT_EQ(g_cCalls, 6);
}

TEST_F(TimerTest, CallbacksMayRemoveThemselvesAndOthersDuringATick) {
  QDXTimerCallback* poFirst = QDXTimerAddCallback(RemoveSelfAndOther, 2);
  g_poOther = QDXTimerAddCallback(CountCall, 1);
  ASSERT_NE(poFirst, nullptr);
  AdvanceMs(17);  // tick 1: only the counter runs
  EXPECT_EQ(g_cCalls, 1);
  AdvanceMs(17);  // tick 2: the first removes both; the second is not called
  EXPECT_EQ(g_cCalls, 2);
  AdvanceMs(200);
  EXPECT_EQ(g_cCalls, 2);
  // A callback may add another one.
  QDXTimerAddCallback(AddAnother, 1);
  AdvanceMs(17 * 4);
  EXPECT_GE(g_cCalls, 5);
}

TEST_F(TimerTest, RemovedCallbacksAreNotCalledAgain) {
  QDXTimerCallback* poNode = QDXTimerAddCallback(CountCall, 1);
  AdvanceMs(50);
  const int cBefore = g_cCalls;
  QDXTimerRemoveCallback(poNode);
  QDXTimerRemoveCallback(nullptr);
  AdvanceMs(500);
  EXPECT_EQ(g_cCalls, cBefore);
}

std::atomic<int> g_cThreadCalls{0};
void CountOnThread(QDXTimerCallback*) { g_cThreadCalls.fetch_add(1); }

// Ticks run on another thread (here the thread that moves the clock) while
// this one adds and removes callbacks: nothing is lost, nothing freed is
// called (the sanitizer watches).
TEST_F(TimerTest, TheCallbackListIsSafeAgainstAnotherThread) {
  ASSERT_EQ(QDXTimerStart(1000), 0);
  std::atomic<bool> bStop{false};
  std::thread oTicker([&] {
    while (!bStop.load()) platform::headlessAdvanceClock(1000000);
  });
  std::vector<QDXTimerCallback*> oNodes;
  // Bounded by wall time, not by a count of iterations: on a loaded machine
  // either thread may get no time for a while, so the loop runs until 500
  // ticks came while callbacks were in the list and some of them were called.
  const auto oDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::uint32_t uTicksAtStart = 0;
  auto bEnough = [&] {
    return QDXTimerTotalTicks() - uTicksAtStart >= 500 && g_cThreadCalls.load() > 0;
  };
  for (int i = 0; i < 2000 || (!bEnough() && std::chrono::steady_clock::now() < oDeadline); i++) {
    oNodes.push_back(QDXTimerAddCallback(CountOnThread, static_cast<std::uint16_t>(1 + i % 3)));
    if (i == 0) uTicksAtStart = QDXTimerTotalTicks();
    if (oNodes.size() > 8) {
      QDXTimerRemoveCallback(oNodes.front());
      oNodes.erase(oNodes.begin());
    }
  }
  bStop.store(true);
  oTicker.join();
  for (QDXTimerCallback* p : oNodes) QDXTimerRemoveCallback(p);
  EXPECT_GE(QDXTimerTotalTicks() - uTicksAtStart, 500u);
  EXPECT_GT(g_cThreadCalls.load(), 0);
  const int cCalls = g_cThreadCalls.load();
  AdvanceMs(100);
  EXPECT_EQ(g_cThreadCalls.load(), cCalls);  // every callback is gone
}

// ---- High-resolution timer ---------------------------------------------------------------

TEST(QDXHiResTimer, IntervalsAndTotals) {
  QDXHiResTimer oTimer{};
  QDXHiResTimerConstruct(&oTimer);
  EXPECT_EQ(oTimer.iFrequency, 1000000000);
  QDXHiResTimerStart(&oTimer);
  AdvanceMs(20);
  EXPECT_EQ(QDXHiResTimerElapsed(&oTimer), 0u);  // high word of 20 ms in ns
  EXPECT_EQ(oTimer.iLast, 20000000);
  QDXHiResTimerStart(&oTimer);
  AdvanceMs(30);
  QDXHiResTimerElapsed(&oTimer);
  EXPECT_DOUBLE_EQ(QDXHiResTimerSeconds(&oTimer, 1e9), 0.05);
  EXPECT_DOUBLE_EQ(QDXHiResTimerSecondsScaled(&oTimer, 1e6), 30.0);
  QDXHiResTimerReset(&oTimer);
  EXPECT_EQ(oTimer.iTotal, 0);
  EXPECT_EQ(oTimer.iFrequency, 1000000000);
}

}  // namespace

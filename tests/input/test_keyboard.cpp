// The keyboard: key state in the foreground only and the key-repeat generator.
#include <vector>

#include "input_fixture.h"

namespace {

constexpr uint8_t kLeftShift = 42, kRightShift = 54, kZ = 44, kA = 30, kLeftCtrl = 29, kRightAlt = 184;

using KeyboardTest = InputTest;

// Polls once a millisecond for `ms` milliseconds and returns the clock
// times (relative to the start) at which a key was reported, taking it each time.
std::vector<uint64_t> ReportTimes(uint64_t ms, std::vector<uint32_t>* keys = nullptr) {
  std::vector<uint64_t> times;
  const uint64_t start = platform::nowNs();
  for (uint64_t t = 0; t <= ms; ++t) {
    EXPECT_EQ(QKeyboardPoll(), 0);
    if (uint32_t key = QKeyboardGetLastKey()) {
      times.push_back((platform::nowNs() - start) / 1000000ull);
      if (keys) keys->push_back(key);
      QKeyboardClearLastKey();
    }
    platform::headlessAdvanceClock(1000000ull);
  }
  return times;
}

TEST_F(KeyboardTest, ZWithLeftShiftRepeatsAfterAThirdThenEveryTenth) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  platform::headlessKey(kLeftShift, true);
  platform::headlessKey(kZ, true);
  std::vector<uint32_t> keys;
  std::vector<uint64_t> times = ReportTimes(640, &keys);
  // A third of a second is 333.33 ms: the first poll at or past it is at 334.
  EXPECT_EQ(times, (std::vector<uint64_t>{0, 334, 434, 534, 634}));
  for (uint32_t key : keys) EXPECT_EQ(key, 0x22Cu);
}

TEST_F(KeyboardTest, OnlyModifiersBelowTheKeyAreIncluded) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  platform::headlessKey(kLeftShift, true);
  platform::headlessKey(kA, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 30u);

  // Right Shift (54) and right Alt (184) lie above Z: only Ctrl counts.
  platform::headlessKey(kA, false);
  platform::headlessKey(kLeftShift, false);
  platform::headlessKey(kLeftCtrl, true);
  platform::headlessKey(kRightShift, true);
  platform::headlessKey(kZ, true);
  platform::headlessKey(kRightAlt, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 44u | QKEY_MOD_CTRL);
}

// Every modifier key adds its own bit to a key above it.
TEST_F(KeyboardTest, EveryModifierKeyAddsItsBit) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  constexpr uint8_t kHigh = 0xD0;  // down arrow, above every modifier
  const struct {
    uint8_t scan;
    uint32_t bit;
  } kModifiers[] = {{29, QKEY_MOD_CTRL},   {157, QKEY_MOD_CTRL}, {42, QKEY_MOD_SHIFT}, {54, QKEY_MOD_SHIFT},
                    {56, QKEY_MOD_ALT},    {184, QKEY_MOD_ALT},  {70, QKEY_MOD_SCROLL}, {58, QKEY_MOD_CAPS},
                    {69, QKEY_MOD_NUMLOCK}};
  EXPECT_EQ(QKEY_MOD_CTRL | QKEY_MOD_SHIFT | QKEY_MOD_ALT | QKEY_MOD_SCROLL | QKEY_MOD_CAPS | QKEY_MOD_NUMLOCK, 0x3F00u);
  EXPECT_EQ(QKEY_MOD_SCROLL, 0x800u);
  EXPECT_EQ(QKEY_MOD_CAPS, 0x1000u);
  EXPECT_EQ(QKEY_MOD_NUMLOCK, 0x2000u);
  uint32_t uAll = 0;
  for (const auto& m : kModifiers) {
    platform::headlessKey(m.scan, true);
    platform::headlessKey(kHigh, true);
    ASSERT_EQ(QKeyboardPoll(), 0);
    EXPECT_EQ(QKeyboardGetLastKey(), kHigh | m.bit) << int(m.scan);
    platform::headlessKey(m.scan, false);
    platform::headlessKey(kHigh, false);
    ASSERT_EQ(QKeyboardPoll(), 0);
    // Alone, a modifier reports nothing.
    platform::headlessKey(m.scan, true);
    ASSERT_EQ(QKeyboardPoll(), 0);
    EXPECT_EQ(QKeyboardGetLastKey(), 0u) << int(m.scan);
    platform::headlessKey(m.scan, false);
    ASSERT_EQ(QKeyboardPoll(), 0);
    uAll |= m.bit;
  }
  for (const auto& m : kModifiers) platform::headlessKey(m.scan, true);
  platform::headlessKey(kHigh, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), kHigh | uAll);
}

TEST_F(KeyboardTest, ShiftAloneReportsNothingAndTheHighestKeyWins) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  platform::headlessKey(kLeftShift, true);
  EXPECT_TRUE(ReportTimes(500).empty());
  platform::headlessKey(kLeftShift, false);
  platform::headlessKey(kA, true);
  platform::headlessKey(kZ, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 44u);
  // Releasing everything empties the repeat state: the same key pressed
  // again is new at once.
  platform::headlessKey(kA, false);
  platform::headlessKey(kZ, false);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 0u);
  platform::headlessKey(kZ, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 44u);
}

TEST_F(KeyboardTest, RatesSetTheIntervals) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  QKeyboardSetRepeatRate(500);  // first repeat after half a second
  QKeyboardSetPollRate(50);     // then every twentieth
  platform::headlessKey(kZ, true);
  EXPECT_EQ(ReportTimes(600), (std::vector<uint64_t>{0, 500, 550, 600}));
  // Rates outside 1..1000 do not divide by zero.
  EXPECT_EQ(QInputIntervalFromRate(0), 0u);
  EXPECT_EQ(QInputIntervalFromRate(5000), platform::kNanosecondsPerSecond);
  EXPECT_EQ(QInputIntervalFromRate(100), platform::kNanosecondsPerSecond / 10);
}

TEST_F(KeyboardTest, StateIsClearedWhileTheApplicationIsInTheBackground) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  platform::headlessKey(kZ, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ] & 0x80, 0x80);

  platform::inputSetForeground(false);
  EXPECT_EQ(QKeyboardPoll(), 7);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 0u);

  // Back in the foreground the poll acquires again and the held key is new.
  platform::inputSetForeground(true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ] & 0x80, 0x80);
  EXPECT_EQ(QKeyboardGetLastKey(), 44u);
}

TEST_F(KeyboardTest, UnacquireClearsAndStopsPolling) {
  EXPECT_EQ(QKeyboardPoll(), 0);  // not set up: nothing to do
  ASSERT_EQ(QKeyboardSetup(0), 0);
  EXPECT_EQ(QKeyboardSetup(0), 0);  // set up already
  platform::headlessKey(kZ, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  QKeyboardUnacquire();
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
  EXPECT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
  EXPECT_EQ(QKeyboardAcquire(), 0);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ] & 0x80, 0x80);
}

TEST_F(KeyboardTest, AKeyTappedBetweenTwoPollsReadsDownOnce) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  ASSERT_EQ(QKeyboardPoll(), 0);
  platform::headlessKey(kZ, true);
  platform::headlessKey(kZ, false);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0x80);
  EXPECT_EQ(QKeyboardGetLastKey(), 44u);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);

  // A key held across polls is simply down; its release reads up at once.
  platform::headlessKey(kA, true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  platform::headlessKey(kA, true);  // no new press while held
  platform::headlessKey(kA, false);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kA], 0);

  // A tap in the background, or while the keyboard is not acquired, never counts.
  platform::inputSetForeground(false);
  platform::headlessKey(kZ, true);
  platform::headlessKey(kZ, false);
  platform::inputSetForeground(true);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
  QKeyboardUnacquire();
  platform::headlessKey(kZ, true);
  platform::headlessKey(kZ, false);
  EXPECT_EQ(QKeyboardAcquire(), 0);
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
}

TEST_F(KeyboardTest, ScriptedKeysReachTheKeyboard) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  std::string why;
  ASSERT_TRUE(LoadScript("1 keydown LSHIFT\n1 keydown 0x2C\n3 keyup z\n", &why)) << why;
  platform::pumpEvents();
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetLastKey(), 0x22Cu);
  platform::pumpEvents();
  platform::pumpEvents();
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(QKeyboardGetState()[kZ], 0);
  EXPECT_EQ(QKeyboardGetState()[kLeftShift] & 0x80, 0x80);

  EXPECT_FALSE(LoadScript("1 keydown NOSUCHKEY\n", &why));
  EXPECT_NE(why.find("line 1"), std::string::npos) << why;
}

}  // namespace

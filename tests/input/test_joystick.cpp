// Joysticks: enumeration, axes, buttons and hats, ranges, unplugging and
// plugging in again, pads that appear while the game runs.
#include <cstring>
#include <string>

#include "input_fixture.h"

namespace {

using JoystickTest = InputTest;

// One read the way the input ports do it: acquire, poll, unacquire.
void ReadOnce(QInputJoystick* pJoy) {
  QInputJoystickAcquire(pJoy, 1);
  QInputJoystickPoll(pJoy);
  QInputJoystickAcquire(pJoy, 0);
}

TEST_F(JoystickTest, EnumeratesNamedJoysticksOnceWithTheirCapabilities) {
  ASSERT_EQ(platform::headlessJoystickPlug("Pad One", 6, 40, 2), 0);
  ASSERT_EQ(platform::headlessJoystickPlug("Stick Two", 2, 4, 0), 1);
  ASSERT_EQ(QInputJoystickEnumerate(), 2);
  QInputJoystick* pOne = QInputJoystickGet(0);
  QInputJoystick* pTwo = QInputJoystickGet(1);
  ASSERT_NE(pOne, nullptr);
  ASSERT_NE(pTwo, nullptr);
  EXPECT_EQ(QInputJoystickGet(2), nullptr);
  EXPECT_STREQ(QInputJoystickGetName(pOne), "Pad One");
  EXPECT_STREQ(QInputJoystickGetProductName(pTwo), "Stick Two");
  EXPECT_EQ(QInputJoystickGetButtonCount(pOne), 40);
  EXPECT_EQ(QInputJoystickGetAxisCount(pTwo), 2);
  EXPECT_EQ(QInputJoystickGetPovCount(pOne), 2);
  // Enumeration runs once: a later call only returns the count.
  ASSERT_EQ(platform::headlessJoystickPlug("Late Pad", 6, 12, 1), 2);
  EXPECT_EQ(QInputJoystickEnumerate(), 2);
  // Pads plugged in later are added behind the others.
  EXPECT_EQ(QInputJoystickEnumerateNew(), 3);
  EXPECT_STREQ(QInputJoystickGetName(QInputJoystickGet(2)), "Late Pad");
}

TEST_F(JoystickTest, ReadsAxesButtonsAndHats) {
  ASSERT_EQ(platform::headlessJoystickPlug("Pad", 6, 40, 1), 0);
  ASSERT_EQ(QInputJoystickEnumerate(), 1);
  QInputJoystick* pJoy = QInputJoystickGet(0);
  const int32_t aiValues[6] = {32767, -32767, 1000, -1, 0, 12345};
  for (int32_t a = 0; a < 6; ++a) ASSERT_TRUE(platform::headlessJoystickAxis(0, a, aiValues[a]));
  ASSERT_TRUE(platform::headlessJoystickButton(0, 0, true));
  ASSERT_TRUE(platform::headlessJoystickButton(0, 39, true));
  ASSERT_TRUE(platform::headlessJoystickPov(0, 0, 9000));
  ReadOnce(pJoy);
  for (int32_t a = 0; a < 6; ++a) EXPECT_EQ(QInputJoystickGetAxis(pJoy, a), aiValues[a]) << "axis " << a;
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 6), 0);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 0), 0x80);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 1), 0);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 39), 0x80);  // past 32 buttons too
  EXPECT_EQ(QInputJoystickGetPov(pJoy, 0), 9000u);
  EXPECT_EQ(QInputJoystickGetPov(pJoy, 1), 0xFFFFFFFFu);
  QInputJoystickClearButtons(pJoy);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 0), 0);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), 32767);
  // Without an acquisition a poll reads all released.
  EXPECT_EQ(QInputJoystickPoll(pJoy), 0);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), 0);
}

TEST_F(JoystickTest, RangesScaleTheAxesAndKeepTheirOrder) {
  ASSERT_EQ(platform::headlessJoystickPlug("Pad", 6, 8, 0), 0);
  ASSERT_EQ(QInputJoystickEnumerate(), 1);
  QInputJoystick* pJoy = QInputJoystickGet(0);
  EXPECT_EQ(pJoy->aiRangeMin[0], -32767);
  EXPECT_EQ(pJoy->aiRangeMax[0], 32767);
  QInputJoystickSetRange(pJoy, 0, -100, 100);
  QInputJoystickSetRange(pJoy, 1, 100, -100);  // minimum above maximum
  EXPECT_EQ(pJoy->aiRangeMin[1], 100);
  EXPECT_EQ(pJoy->aiRangeMax[1], -100);
  platform::headlessJoystickAxis(0, 0, 32767);
  platform::headlessJoystickAxis(0, 1, 32767);
  ReadOnce(pJoy);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), 100);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 1), -100);  // read the other way round
  platform::headlessJoystickAxis(0, 0, -32767);
  platform::headlessJoystickAxis(0, 1, 0);
  ReadOnce(pJoy);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), -100);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 1), 0);
}

TEST_F(JoystickTest, FirstAcquireFailureLeavesItUnacquired) {
  ASSERT_EQ(platform::headlessJoystickPlug("Pad", 6, 8, 0), 0);
  ASSERT_EQ(QInputJoystickEnumerate(), 1);
  QInputJoystick* pJoy = QInputJoystickGet(0);
  platform::headlessJoystickUnplug(0);
  EXPECT_NE(QInputJoystickAcquire(pJoy, 1), 0);
  EXPECT_EQ(pJoy->bAcquired, 0);
  EXPECT_EQ(pJoy->bFirstAcquireDone, 0);
  platform::headlessJoystickPlug("Pad", 6, 8, 0);
  EXPECT_EQ(QInputJoystickAcquire(pJoy, 1), 0);
  EXPECT_EQ(pJoy->bAcquired, 1);
  // After a first success the flag stays set whatever the result.
  platform::inputSetForeground(false);
  EXPECT_NE(QInputJoystickAcquire(pJoy, 1), 0);
  EXPECT_EQ(pJoy->bAcquired, 1);
  platform::headlessJoystickButton(0, 2, true);
  EXPECT_EQ(QInputJoystickPoll(pJoy), 0);  // lost twice: all released
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 2), 0);
  platform::inputSetForeground(true);
  EXPECT_EQ(QInputJoystickPoll(pJoy), 0);  // lost, acquired again, read
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 2), 0x80);
  // Unacquiring clears both flags: the next acquire is a first one again.
  EXPECT_EQ(QInputJoystickAcquire(pJoy, 0), 0);
  EXPECT_EQ(pJoy->bAcquired, 0);
  EXPECT_EQ(pJoy->bFirstAcquireDone, 0);
  platform::inputSetForeground(false);
  EXPECT_NE(QInputJoystickAcquire(pJoy, 1), 0);
  EXPECT_EQ(pJoy->bAcquired, 0);
  platform::inputSetForeground(true);
}

// The scripted headless backend: a pad is plugged in, pressed, unplugged
// (reads as released) and plugged in again (its old slot, read again).
TEST_F(JoystickTest, UnplugAndReplugThroughTheScript) {
  std::string why;
  ASSERT_TRUE(LoadScript(
                  "1 joyplug \"Test Pad\" 6 32 1\n"
                  "2 joybutton 0 31 down\n"
                  "2 joyaxis 0 X -32767\n"
                  "2 joyhat 0 0 down-left\n"
                  "3 joyunplug 0\n"
                  "4 joyplug \"Test Pad\" 6 32 1\n"
                  "5 joybutton 0 5 down\n"
                  "5 joyaxis 0 RZ 500\n",
                  &why))
      << why;
  platform::pumpEvents();
  ASSERT_EQ(QInputJoystickEnumerate(), 1);
  QInputJoystick* pJoy = QInputJoystickGet(0);
  EXPECT_STREQ(QInputJoystickGetName(pJoy), "Test Pad");

  platform::pumpEvents();
  ReadOnce(pJoy);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 31), 0x80);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), -32767);
  EXPECT_EQ(QInputJoystickGetPov(pJoy, 0), 22500u);

  platform::pumpEvents();  // unplugged
  EXPECT_NE(QInputJoystickAcquire(pJoy, 1), 0);
  EXPECT_EQ(QInputJoystickPoll(pJoy), 0);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 31), 0);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), 0);
  EXPECT_EQ(QInputJoystickGetPov(pJoy, 0), 0xFFFFFFFFu);

  platform::pumpEvents();  // back in its old slot, nothing held
  EXPECT_EQ(platform::joystickCount(), 1);
  platform::pumpEvents();
  EXPECT_EQ(QInputJoystickEnumerateNew(), 1);
  ReadOnce(pJoy);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 31), 0);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 5), 0x80);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 5), 500);
}

TEST_F(JoystickTest, AtMostTwentyJoysticks) {
  for (int i = 0; i < 20; ++i) ASSERT_EQ(platform::headlessJoystickPlug(("Pad " + std::to_string(i)).c_str(), 6, 8, 0), i);
  EXPECT_EQ(platform::headlessJoystickPlug("One too many", 6, 8, 0), -1);
  EXPECT_EQ(QInputJoystickEnumerate(), 20);
  std::string why;
  EXPECT_FALSE(LoadScript("1 joybutton 20 0 down\n", &why));
  EXPECT_FALSE(LoadScript("1 joyaxis 0 W 10\n", &why));
  EXPECT_FALSE(LoadScript("1 joyaxis 0 X 40000\n", &why));
}

}  // namespace

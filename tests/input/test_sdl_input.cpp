// The SDL input path on SDL's dummy video driver with virtual joysticks:
// devices appear when plugged in, controllers are read through the
// controller mapping, unplugging reads as released and the same device
// plugged in again takes its old slot.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "framework/qdx_input.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/input_sdl_testing.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace {

class SdlInput : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string why;
    platform::shutdown();  // a headless layer left by other tests in this process
    ASSERT_TRUE(platform::init(platform::BackendKind::Sdl, &why)) << why;
    platform::inputSetForeground(true);
    QInputJoystickInitAll();
  }
  void TearDown() override {
    QInputJoystickCloseAll();
    platform::shutdown();
    unsetenv("SDL_VIDEODRIVER");
  }
  static platform::JoystickState Read(int slot) {
    platform::JoystickState s{};
    platform::pumpEvents();
    EXPECT_EQ(platform::joystickAcquire(slot), platform::InputResult::Ok);
    EXPECT_EQ(platform::joystickRead(slot, &s), platform::InputResult::Ok);
    platform::joystickUnacquire(slot);
    return s;
  }
};

TEST_F(SdlInput, PlainJoystickPlugReadUnplugReplug) {
  ASSERT_TRUE(platform::sdlTestJoystickAttach("Virtual Stick", false));
  platform::pumpEvents();
  ASSERT_EQ(platform::joystickCount(), 1);
  platform::JoystickInfo info{};
  ASSERT_TRUE(platform::joystickInfo(0, &info));
  EXPECT_STREQ(info.name, "Virtual Stick");
  EXPECT_FALSE(info.gameController);
  EXPECT_EQ(info.axes, 6);
  EXPECT_EQ(info.buttons, 40);
  EXPECT_EQ(info.povs, 1);

  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 35, true));
  ASSERT_TRUE(platform::sdlTestJoystickAxis(0, 0, -32768));
  ASSERT_TRUE(platform::sdlTestJoystickAxis(0, 3, 1234));
  ASSERT_TRUE(platform::sdlTestJoystickHat(0, 0, 0x02 | 0x04));  // right and down
  platform::JoystickState s = Read(0);
  EXPECT_EQ(s.buttons[35], 0x80);
  EXPECT_EQ(s.buttons[34], 0);
  EXPECT_EQ(s.axis[0], -32767);  // clamped into the symmetric range
  EXPECT_EQ(s.axis[3], 1234);
  EXPECT_EQ(s.pov[0], 13500u);

  // Through the framework: enumeration and the 32nd-and-beyond buttons.
  ASSERT_EQ(QInputJoystickEnumerate(), 1);
  QInputJoystick* pJoy = QInputJoystickGet(0);
  EXPECT_STREQ(QInputJoystickGetName(pJoy), "Virtual Stick");
  ASSERT_EQ(QInputJoystickAcquire(pJoy, 1), 0);
  ASSERT_EQ(QInputJoystickPoll(pJoy), 0);
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 35), 0x80);

  ASSERT_TRUE(platform::sdlTestJoystickDetach(0));
  platform::pumpEvents();
  EXPECT_EQ(platform::joystickAcquire(0), platform::InputResult::Lost);
  EXPECT_EQ(QInputJoystickPoll(pJoy), 0);  // lost twice: released
  EXPECT_EQ(QInputJoystickGetButton(pJoy, 35), 0);
  EXPECT_EQ(QInputJoystickGetAxis(pJoy, 0), 0);

  ASSERT_TRUE(platform::sdlTestJoystickAttach("Virtual Stick", false));
  platform::pumpEvents();
  EXPECT_EQ(platform::joystickCount(), 1);  // its old slot
  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 2, true));
  s = Read(0);
  EXPECT_EQ(s.buttons[2], 0x80);
  EXPECT_EQ(s.buttons[35], 0);

  ASSERT_TRUE(platform::sdlTestJoystickAttach("Second Stick", false));
  platform::pumpEvents();
  EXPECT_EQ(platform::joystickCount(), 2);
  EXPECT_EQ(QInputJoystickEnumerateNew(), 2);
}

TEST_F(SdlInput, GameControllerButtonsAxesAndDpad) {
  ASSERT_TRUE(platform::sdlTestJoystickAttach("Virtual Pad", true));
  platform::pumpEvents();
  ASSERT_EQ(platform::joystickCount(), 1);
  platform::JoystickInfo info{};
  ASSERT_TRUE(platform::joystickInfo(0, &info));
  ASSERT_TRUE(info.gameController);
  EXPECT_GE(info.buttons, 10);
  // SDL numbering: 0 A, 1 B, 3 Y, 6 Start, 4 Back, 11 d-pad up, 13 d-pad left.
  platform::sdlTestJoystickButton(0, 0, true);
  platform::sdlTestJoystickButton(0, 3, true);
  platform::sdlTestJoystickButton(0, 6, true);
  platform::sdlTestJoystickAxis(0, 4, -32768);  // left trigger, released
  platform::sdlTestJoystickAxis(0, 5, 32767);  // right trigger
  platform::sdlTestJoystickAxis(0, 2, -32768);  // right stick x
  platform::JoystickState s = Read(0);
  EXPECT_EQ(s.buttons[0], 0x80);  // A
  EXPECT_EQ(s.buttons[1], 0);     // B
  EXPECT_EQ(s.buttons[2], 0x80);  // Y comes third
  EXPECT_EQ(s.buttons[8], 0x80);  // Start
  EXPECT_EQ(s.buttons[9], 0);     // Back
  EXPECT_EQ(s.axis[2], 0);        // Z: the left trigger
  EXPECT_EQ(s.axis[3], -32767);   // Rx: the right stick
  EXPECT_EQ(s.axis[5], 32767);    // Rz: the right trigger
  EXPECT_EQ(s.pov[0], platform::kPovCentred);
  platform::sdlTestJoystickButton(0, 11, true);
  platform::sdlTestJoystickButton(0, 13, true);
  s = Read(0);
  EXPECT_EQ(s.pov[0], 31500u);  // up-left
  EXPECT_EQ(s.axis[0], -32767);  // the d-pad steers like the stick
  EXPECT_EQ(s.axis[1], -32767);
}

TEST_F(SdlInput, BackgroundReadsNothing) {
  ASSERT_TRUE(platform::sdlTestJoystickAttach("Virtual Stick", false));
  platform::pumpEvents();
  platform::inputSetForeground(false);
  platform::JoystickState s{};
  EXPECT_EQ(platform::joystickAcquire(0), platform::InputResult::Lost);
  EXPECT_EQ(platform::joystickRead(0, &s), platform::InputResult::Lost);
  uint8_t keys[platform::kKeyCount];
  EXPECT_EQ(platform::keyboardAcquire(), platform::InputResult::Lost);
  EXPECT_EQ(platform::keyboardRead(keys), platform::InputResult::Lost);
  platform::inputSetForeground(true);
  EXPECT_EQ(platform::keyboardAcquire(), platform::InputResult::Ok);
  EXPECT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  for (uint8_t k : keys) EXPECT_EQ(k, 0);
}

TEST_F(SdlInput, AKeyTappedBetweenTwoReadsReadsDownOnce) {
  constexpr uint8_t kNumpad2 = 0x50;
  uint8_t keys[platform::kKeyCount];
  ASSERT_EQ(platform::keyboardAcquire(), platform::InputResult::Ok);
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  ASSERT_TRUE(platform::sdlTestKeyEvent(kNumpad2, true));
  ASSERT_TRUE(platform::sdlTestKeyEvent(kNumpad2, false));
  platform::pumpEvents();
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  EXPECT_EQ(keys[kNumpad2], platform::kKeyDown);
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  EXPECT_EQ(keys[kNumpad2], 0);
  // In the background a tap is not kept for later.
  platform::inputSetForeground(false);
  ASSERT_TRUE(platform::sdlTestKeyEvent(kNumpad2, true));
  ASSERT_TRUE(platform::sdlTestKeyEvent(kNumpad2, false));
  platform::pumpEvents();
  platform::inputSetForeground(true);
  ASSERT_EQ(platform::keyboardAcquire(), platform::InputResult::Ok);
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  EXPECT_EQ(keys[kNumpad2], 0);
}

// A frame that idles on its rate gate keeps the window's events flowing: a
// key tapped during a long idle wait is seen by the next read without an
// explicit pump, and the wait still ends at its deadline.
TEST_F(SdlInput, ALongIdleWaitCollectsAKeyTappedMeanwhile) {
  constexpr uint8_t kReturn = 0x1C;
  uint8_t keys[platform::kKeyCount];
  ASSERT_EQ(platform::keyboardAcquire(), platform::InputResult::Ok);
  platform::pumpEvents();
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  ASSERT_EQ(keys[kReturn], 0);
  ASSERT_TRUE(platform::sdlTestKeyEvent(kReturn, true));
  ASSERT_TRUE(platform::sdlTestKeyEvent(kReturn, false));
  const uint64_t uDeadline = platform::nowNs() + 30000000ull;
  platform::idleUntil(uDeadline);
  EXPECT_GE(platform::nowNs(), uDeadline);
  ASSERT_EQ(platform::keyboardRead(keys), platform::InputResult::Ok);
  EXPECT_EQ(keys[kReturn], platform::kKeyDown);
}

}  // namespace

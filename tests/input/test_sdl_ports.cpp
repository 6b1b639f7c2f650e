// A game controller on the SDL backend (dummy video driver, virtual device)
// reaches an input port: plugged in while the game runs, pressed, unplugged.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "framework/qdx_input.h"
#include "platform/input.h"
#include "platform/input_sdl_testing.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "ports_fixture.h"

namespace {

class SdlPorts : public ::testing::Test, public PortHelpers {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string why;
    platform::shutdown();
    ASSERT_TRUE(platform::init(platform::BackendKind::Sdl, &why)) << why;
    platform::inputSetForeground(true);
    QInputJoystickCloseAll();
    QInputJoystickInitAll();
    PortsStart();
  }
  void TearDown() override {
    QInputRelease();
    QInputJoystickCloseAll();
    platform::shutdown();
    unsetenv("SDL_VIDEODRIVER");
  }
  // One frame after the backend's events are pumped; the port's events.
  static std::vector<int32_t> Frame(InputPort* pip) {
    platform::pumpEvents();
    PortHelpers::Frame();
    return Drain(pip);
  }
};

TEST_F(SdlPorts, ControllerPluggedInWhileRunningDrivesItsPort) {
  InputPort* pKeyboard = input_poGetPort(0);
  pKeyboard->bInUse = 1;
  input_PortBindingSet(13, pKeyboard);
  Frame(pKeyboard);
  ASSERT_EQ(input_iGetPortCount(), 1);

  ASSERT_TRUE(platform::sdlTestJoystickAttach("Virtual Pad", true));
  Frame(pKeyboard);
  ASSERT_EQ(input_iGetPortCount(), 2);
  InputPort* pip = input_poGetPort(1);
  ASSERT_EQ(input_iGetDeviceType(pip), INPUT_DEVICE_JOYSTICK);
  Use(1, 13);  // menus: 37/16 (widget 17, button 0) on release, 8/28 (up) on release
  EXPECT_TRUE(Frame(pip).empty());

  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 0, true));  // A
  EXPECT_TRUE(Frame(pip).empty());
  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 0, false));
  EXPECT_EQ(Frame(pip), std::vector<int32_t>{37});

  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 11, true));  // d-pad up: the Y axis
  EXPECT_TRUE(Frame(pip).empty());
  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 11, false));
  EXPECT_EQ(Frame(pip), std::vector<int32_t>{8});

  // Held and unplugged: the port sees a release.
  ASSERT_TRUE(platform::sdlTestJoystickButton(0, 0, true));
  Frame(pip);
  ASSERT_TRUE(platform::sdlTestJoystickDetach(0));
  EXPECT_EQ(Frame(pip), std::vector<int32_t>{37});
  EXPECT_EQ(input_iGetPortCount(), 2);
}

}  // namespace

#pragma once
// Every input test starts from the headless backend with all devices
// released, no joystick known and the application in the foreground.
#include <gtest/gtest.h>

#include <string>

#include "framework/qdx_input.h"
#include "framework/qdx_mouse.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/input_headless.h"
#include "platform/platform.h"
#include "platform/window.h"

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::init(platform::BackendKind::Headless));
    platform::headlessInputReset();
    platform::inputSetForeground(true);
    QInputRelease();
    QInputJoystickCloseAll();
    QInputJoystickInitAll();
  }
  void TearDown() override {
    QInputRelease();
    QInputJoystickCloseAll();
    platform::headlessInputReset();
  }
  // Moves the virtual clock forward by whole milliseconds.
  static void AdvanceMs(uint64_t ms) { ASSERT_TRUE(platform::headlessAdvanceClock(ms * 1000000ull)); }
  static uint64_t NowMs() { return platform::nowNs() / 1000000ull; }
  // Loads a script whose step numbers count from the next pump (1 = the next
  // pumpEvents), whatever pumps ran before in this process.
  static bool LoadScript(const std::string& text, std::string* why) {
    std::string out;
    const uint64_t base = platform::headlessStep();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(pos, end - pos);
      size_t sp = line.find(' ');
      out += std::to_string(base + std::stoull(line.substr(0, sp))) + line.substr(sp) + "\n";
      pos = end + 1;
    }
    return platform::headlessLoadScriptText(out, why);
  }
};

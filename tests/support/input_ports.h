#pragma once
// The input ports of a test program that steers the game through them: the
// headless backend, the keyboard and the ports with the default bindings.
#include <gtest/gtest.h>

#include "framework/qdx_input.h"
#include "platform/platform.h"
#include "shell/input.h"

namespace korvena_test {

inline void InputPortsUp() {
  ASSERT_TRUE(platform::init(platform::BackendKind::Headless));
  ASSERT_EQ(QKeyboardSetup(0), 0);
  input_BindingTablesClear();
  input_PortsInit();
  input_DefaultBindingsRegister();
}

}  // namespace korvena_test

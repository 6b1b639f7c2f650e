#pragma once
// Private to src/platform/: the input devices' backend operations.
#include <cstdint>

#include "platform/input.h"

namespace platform::internal {

struct InputOps {
  void (*keyboardState)(uint8_t state[kKeyCount]);  // current keys, kKeyDown or 0
  int (*joystickCount)();
  bool (*joystickInfo)(int slot, JoystickInfo* info);
  bool (*joystickPresent)(int slot);
  void (*joystickState)(int slot, JoystickState* state);
  void (*mouseTake)(MouseState* state);  // motion since the last take, buttons
  void (*mousePosition)(int32_t* x, int32_t* y);
};

extern const InputOps kSdlInputOps;
extern const InputOps kHeadlessInputOps;

// Focus changes seen by a backend (window focus events).
void inputFocusChanged(bool focused);

}  // namespace platform::internal

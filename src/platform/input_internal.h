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

// A key went down (scan code, 0 ignored): the next keyboard read reports it
// down even when it is up again by then.
void inputKeyPressed(uint8_t scanCode);
// Forgets the keys pressed since the last read (the devices were reset).
void inputKeysForget();

}  // namespace platform::internal

// Controls: the front end's own key and button set.
#include <cstdint>

#include "frontend/frontend_services.h"
#include "shell/input.h"

namespace {

enum : int32_t { PCCONTROLS_FUNCTIONS = 10 };

// The front end's active bindings, one per function in binding order: keys
// RETURN, NUMPAD6, NUMPAD8, NUMPAD4, INSERT, MULTIPLY, HOME, MINUS, SPACE,
// LEFT SHIFT on keyboard ports, and the joypad buttons counted from 0.
const uint8_t pccontrols_aFrontEndKeys[PCCONTROLS_FUNCTIONS] = {28, 77, 72, 75, 210, 55, 199, 12, 57, 42};
const uint8_t pccontrols_aFrontEndButtons[PCCONTROLS_FUNCTIONS] = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

void pccontrols_Init() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    if (pip == nullptr) continue;
    const bool bKeyboard = pip->eDeviceType == INPUT_DEVICE_KEYBOARD;
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
      pip->aoKeyMap[f] = bKeyboard ? InputKeyMapEntry{0, pccontrols_aFrontEndKeys[f], INPUT_KEYMAP_KEY}
                                   : InputKeyMapEntry{pccontrols_aFrontEndButtons[f], 0, INPUT_KEYMAP_JOYSTICK};
  }
}

#pragma once
// Controls of the headless backend's virtual input devices, for tests and
// tools. The script drives the same devices with these commands:
//   keydown <key>                 key down (name such as Z, LSHIFT, UP, NUMPAD2, or a scan code 44 / 0x2C)
//   keyup <key>                   key up
//   joyplug <name> [axes buttons povs]   plug a joystick (defaults 6 32 1); a name that
//                                 was unplugged before gets its old slot back
//   joyunplug <slot>              unplug the joystick in a slot (0 based)
//   joybutton <slot> <n> <down|up>
//   joyaxis <slot> <X|Y|Z|RX|RY|RZ|0-5> <value -32767..32767>
//   joyhat <slot> <n> <centre|up|up-right|right|down-right|down|down-left|left|up-left|degrees>
//   mousemove <dx> <dy>           relative motion; also moves the pointer and queues a mouse-move message
//   mouseat <x> <y>               pointer position; queues a mouse-move message
//   mousebutton <n> <down|up>     buttons 0 left, 1 right, 2 middle, 3 fourth; 0-2 also queue their messages
//   mousewheel <dz>
// On the SDL backend the controls do nothing and return false / -1.
#include <cstdint>

namespace platform {

bool headlessKey(uint8_t scanCode, bool down);
// Returns the slot, -1 when all 20 slots are taken (or not headless).
int headlessJoystickPlug(const char* name, int axes, int buttons, int povs);
bool headlessJoystickUnplug(int slot);
bool headlessJoystickButton(int slot, int button, bool down);
bool headlessJoystickAxis(int slot, int axis, int32_t value);
bool headlessJoystickPov(int slot, int pov, uint32_t hundredthsOfDegree);
bool headlessMouseMove(int32_t dx, int32_t dy);
bool headlessMouseAt(int32_t x, int32_t y);
bool headlessMouseButton(int button, bool down);
bool headlessMouseWheel(int32_t dz);
// Everything released, every joystick slot forgotten, the pointer at 0,0.
void headlessInputReset();

}  // namespace platform

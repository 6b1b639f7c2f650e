#pragma once
// Virtual key events and joysticks on the SDL backend, for tests of the SDL input path
// without a device (SDL's virtual joystick driver). Attaching and detaching
// take effect at the next pumpEvents, as a real plug would.
#include <cstdint>

namespace platform {

// controller: a game controller with the standard buttons and six axes;
// otherwise a plain joystick with 6 axes, 40 buttons and 1 hat.
bool sdlTestJoystickAttach(const char* name, bool controller);
// Detaches the virtual device of an opened slot.
bool sdlTestJoystickDetach(int slot);
// Controllers number their buttons as SDL does (A, B, X, Y, Back, Guide,
// Start, stick clicks, shoulders, d-pad up, down, left, right ...).
bool sdlTestJoystickButton(int slot, int button, bool down);
bool sdlTestJoystickAxis(int slot, int axis, int16_t value);
bool sdlTestJoystickHat(int slot, int hat, uint8_t sdlHatBits);
// Queues a key event for a scan code, as the window system would on a key
// press or release; it is seen at the next pumpEvents.
bool sdlTestKeyEvent(uint8_t scanCode, bool down);

}  // namespace platform

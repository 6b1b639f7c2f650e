#pragma once
// Input devices of the layer: the keyboard as a 256-entry key state indexed by
// the game's keyboard scan codes, up to 20 joysticks (plain joysticks and game
// controllers alike) with six axes, buttons and hats, and the system mouse.
//
// Devices read in the foreground only: while the application is not in the
// foreground every read reports the input as lost and the keyboard reads as
// all keys up. Game code sees plain records, never the backend's types.
//
// On the headless backend the devices are virtual and driven by the script
// (commands listed in platform/input_script.h) or by the controls there.
#include <cstdint>

namespace platform {

// ---- Keyboard -------------------------------------------------------------

constexpr int kKeyCount = 256;
constexpr uint8_t kKeyDown = 0x80;  // a key is down when its byte has the top bit set

enum class InputResult {
  Ok,
  Lost,    // the device is not available: unplugged, or the application is in the background
  Failed,  // no such device
};

// Acquiring fails (Lost) while the application is in the background.
InputResult keyboardAcquire();
void keyboardUnacquire();
// Fills state[0..255] with kKeyDown or 0. Lost (state untouched) while not
// acquired or in the background.
InputResult keyboardRead(uint8_t state[kKeyCount]);

// Tells the devices whether the application is in the foreground. The window
// system's focus changes call it too; the framework calls it from its
// activation hook so both backends follow the game's own idea of activity.
void inputSetForeground(bool foreground);
bool inputForeground();

// ---- Joysticks ------------------------------------------------------------

constexpr int kJoystickMax = 20;
constexpr int kJoystickAxes = 6;       // X, Y, Z, Rx, Ry, Rz
constexpr int kJoystickButtons = 128;  // button bytes: 0x80 pressed
constexpr int kJoystickPovs = 4;
constexpr int32_t kJoystickAxisMax = 32767;  // axes read -32767..32767
constexpr uint32_t kPovCentred = 0xFFFFFFFFu;  // hats: hundredths of a degree clockwise from up

struct JoystickInfo {
  char name[64];         // instance name
  char productName[64];  // product name
  int axes;              // axes that exist (of the six)
  int buttons;
  int povs;
  bool gameController;   // read through the game-controller mapping
};

struct JoystickState {
  int32_t axis[kJoystickAxes];
  uint32_t pov[kJoystickPovs];
  uint8_t buttons[kJoystickButtons];
};

// Slots that have ever held a joystick (0..20). A slot keeps its number for
// the whole run: a device unplugged leaves its slot empty (reads Lost) and the
// same device plugged in again fills it again; a new device takes the next
// free slot while fewer than 20 are filled.
int joystickCount();
// False for a slot that never held a device.
bool joystickInfo(int slot, JoystickInfo* info);
// Lost while the slot's device is unplugged or the application is in the background.
InputResult joystickAcquire(int slot);
void joystickUnacquire(int slot);
// The current state. Lost when unplugged, in the background or not acquired.
InputResult joystickRead(int slot, JoystickState* state);

// ---- Mouse ----------------------------------------------------------------

constexpr int kMouseButtons = 4;

struct MouseState {
  int32_t dx, dy, dz;                // motion since the last read (wheel in dz)
  uint8_t buttons[kMouseButtons];    // 0x80 down
};

InputResult mouseAcquire();
void mouseUnacquire();
// Relative motion since the last read and the buttons. Lost while in the
// background or not acquired.
InputResult mouseRead(MouseState* state);
// Pointer position in client pixels of the main window (message mode).
void mousePosition(int32_t* x, int32_t* y);

}  // namespace platform

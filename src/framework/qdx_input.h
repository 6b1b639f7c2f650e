#pragma once
// The framework's input layer: the keyboard as a 256-byte key state with a
// key-repeat generator, and up to 20 joysticks read as full joystick states.
// The message pump polls the keyboard before every pump; the game's input
// ports read keys, axes and buttons through it.
#include <cstdint>

// ---- input object ----

int32_t QInputCreate(void* pInstance);
void QInputRelease();

// ---- keyboard ----

constexpr int32_t QKEYBOARD_STATE_SIZE = 256;

// Modifier bits of the reported key.
constexpr uint32_t QKEY_MOD_CTRL = 0x100;
constexpr uint32_t QKEY_MOD_SHIFT = 0x200;
constexpr uint32_t QKEY_MOD_ALT = 0x400;
constexpr uint32_t QKEY_MOD_SCROLL = 0x800;
constexpr uint32_t QKEY_MOD_CAPS = 0x1000;
constexpr uint32_t QKEY_MOD_NUMLOCK = 0x2000;

int32_t QKeyboardSetup(int32_t iUnused);
void QKeyboardShutdown();
int32_t QKeyboardAcquire();
void QKeyboardUnacquire();            // also clears the key state
void QKeyboardSetPollRate(int32_t n);    // repeat interval from a rate
void QKeyboardSetRepeatRate(int32_t n);  // first-repeat delay from a rate
int32_t QKeyboardPoll();              // 0, or 7 when the state cannot be read

// The key state (a key is down when its byte has the top bit set).
const uint8_t* QKeyboardGetState();
// The last key pressed: scan code OR modifier bits, 0 when none is due.
uint32_t QKeyboardGetLastKey();
void QKeyboardClearLastKey();

// Interval in time-stamp ticks from a rate argument: ticks per second / (1000 / n).
uint64_t QInputIntervalFromRate(int32_t n);

// ---- joysticks ----

constexpr int32_t QINPUT_JOYSTICK_MAX = 20;
constexpr int32_t QINPUT_JOYSTICK_AXES = 6;  // X, Y, Z, Rx, Ry, Rz
constexpr int32_t QINPUT_AXIS_MIN = -32767;
constexpr int32_t QINPUT_AXIS_MAX = 32767;
constexpr uint8_t QINPUT_BUTTON_DOWN = 0x80;

// The full joystick state, laid out field by field as the device reports it
// (272 bytes).
struct QInputJoyState {
  int32_t lX, lY, lZ, lRx, lRy, lRz;
  int32_t rglSlider[2];
  uint32_t rgdwPOV[4];  // hundredths of a degree clockwise from up; 0xFFFFFFFF centred
  uint8_t rgbButtons[128];
  int32_t lVX, lVY, lVZ, lVRx, lVRy, lVRz;
  int32_t rglVSlider[2];
  int32_t lAX, lAY, lAZ, lARx, lARy, lARz;
  int32_t rglASlider[2];
  int32_t lFX, lFY, lFZ, lFRx, lFRy, lFRz;
  int32_t rglFSlider[2];
};
static_assert(sizeof(QInputJoyState) == 272, "the joystick state is 272 bytes");

// The device instance record as enumerated.
struct QInputJoystickInstance {
  int32_t iDevice;               // the platform's joystick slot
  char szInstanceName[64];
  char szProductName[64];
};

struct QInputJoystickCaps {
  int32_t cAxes;
  int32_t cButtons;
  int32_t cPovs;
};

struct QInputJoystick {
  QInputJoystickInstance oInstance;
  int32_t bCreated;              // stands for the device interface
  int32_t bAcquired;
  int32_t bFirstAcquireDone;
  QInputJoyState oState;
  QInputJoystickCaps oCaps;
  int32_t aiRangeMin[QINPUT_JOYSTICK_AXES];
  int32_t aiRangeMax[QINPUT_JOYSTICK_AXES];
};

void QInputJoystickInitAll();
int32_t QInputJoystickEnumerate();
// Adds records for joysticks plugged in after the enumeration (while fewer
// than 20 are known); returns the new count.
int32_t QInputJoystickEnumerateNew();
int32_t QInputJoystickGetCount();
void QInputJoystickPollAll();
void QInputJoystickCloseAll();
QInputJoystick* QInputJoystickGet(int32_t n);

int32_t QInputJoystickCreate(QInputJoystick* pJoy);
void QInputJoystickRelease(QInputJoystick* pJoy);
int32_t QInputJoystickSetRange(QInputJoystick* pJoy, int32_t iAxis, int32_t iMin, int32_t iMax);
int32_t QInputJoystickGetAxis(QInputJoystick* pJoy, int32_t iAxis);
int32_t QInputJoystickAcquire(QInputJoystick* pJoy, int32_t bFlag);
int32_t QInputJoystickPoll(QInputJoystick* pJoy);
uint8_t QInputJoystickGetButton(QInputJoystick* pJoy, int32_t n);
uint32_t QInputJoystickGetPov(QInputJoystick* pJoy, int32_t n);
int32_t QInputJoystickGetButtonCount(QInputJoystick* pJoy);
int32_t QInputJoystickGetAxisCount(QInputJoystick* pJoy);
int32_t QInputJoystickGetPovCount(QInputJoystick* pJoy);
const char* QInputJoystickGetName(QInputJoystick* pJoy);
const char* QInputJoystickGetProductName(QInputJoystick* pJoy);
void QInputJoystickClearButtons(QInputJoystick* pJoy);
int32_t QInputJoystickCooperate(QInputJoystick* pJoy);

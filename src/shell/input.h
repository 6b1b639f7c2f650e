#pragma once
// Input ports: port 0 is the keyboard, ports 1 and up the joysticks (at most
// 8 ports). Each frame every port in use is read into up to 27 widget states,
// and the port's active binding table turns widget changes into events queued
// on the port for the user attached to it.
#include <cstdint>

#include "shell/list.h"

struct QInputJoystick;
struct User;
struct InputPort;

constexpr int32_t INPUT_PORTS_MAX = 8;
constexpr int32_t INPUT_PORT_BINDINGS_MAX = 50;
constexpr int32_t INPUT_WIDGETS_MAX = 28;  // widget numbers 1 to 27; slot 0 is not read
constexpr int32_t INPUT_KEYMAP_SIZE = 16;
constexpr int32_t INPUT_EVENT_POOL_SIZE = 128;
constexpr uint32_t INPUT_NO_BUTTON = 0xFFFFFFFFu;
// The controls screen's own "none" for the last pressed key or button; the
// ports read it as INPUT_NO_BUTTON.
constexpr uint32_t INPUT_NO_BUTTON_CONTROLS = 100;
// The ten match functions bound per port: the key map's first ten entries
// are the active bindings, and each port keeps ten configured ones.
constexpr int32_t INPUT_PORT_FUNCTIONS = 10;

// Device types.
constexpr int32_t INPUT_DEVICE_KEYBOARD = 4;
constexpr int32_t INPUT_DEVICE_JOYSTICK = 5;

// Trigger kinds of a binding entry; kind 0 ends a table.
enum InputTrigger : uint32_t {
  INPUT_TRIGGER_END = 0,
  INPUT_TRIGGER_ALWAYS = 1,
  INPUT_TRIGGER_PRESS = 2,
  INPUT_TRIGGER_RELEASE = 3,
  INPUT_TRIGGER_HELD = 4,
  INPUT_TRIGGER_REPEAT = 5,
  INPUT_TRIGGER_DOUBLE_TAP = 6,
};

// Widgets read by the PC controller.
enum : int32_t {
  INPUT_WIDGET_NONE = 0,
  INPUT_WIDGET_LEFT = 1,
  INPUT_WIDGET_RIGHT = 2,
  INPUT_WIDGET_UP = 3,
  INPUT_WIDGET_DOWN = 4,
  INPUT_WIDGET_ANALOGUE_X = 11,
  INPUT_WIDGET_ANALOGUE_Y = 12,
  INPUT_WIDGET_STICK = 27,
};

// Key/button map entry flags.
constexpr uint8_t INPUT_KEYMAP_JOYSTICK = 1;
constexpr uint8_t INPUT_KEYMAP_KEY = 2;

struct InputWidgetState {
  int32_t iReadStamp;  // input frame of the last read
  int32_t iPrevious;
  int32_t iCurrent;
  int32_t iRepeat;     // repeat countdown
  int32_t iTapState;   // 0 idle, 1 waiting for a second tap, 2 double tap just reported
  int32_t iTapStamp;   // input frame
};

// One entry of a binding table {event code, game function, trigger kind}.
struct InputPortBinding {
  uint32_t eEvent;
  uint32_t eFunction;
  uint32_t eTrigger;
};

struct InputKeyMapEntry {
  uint8_t cJoystick;  // joystick button or axis index
  uint8_t cKey;       // keyboard scan code
  uint8_t cFlags;     // INPUT_KEYMAP_JOYSTICK, INPUT_KEYMAP_KEY
};

// An input event, taken from the pool of 128 and queued on a port.
struct InputEvent {
  ListNode oLink;
  int32_t eEvent;
  InputWidgetState* pWidget;
};

using InputReadFn = int32_t (*)(int32_t eWidget, InputPort* pip);

struct InputPort {
  int32_t iIndex;
  int32_t eBinding;  // active binding id 0..49
  int32_t bInUse;
  int32_t iDevice;      // 0 keyboard, n the n-th joystick
  int32_t eDeviceType;  // INPUT_DEVICE_KEYBOARD, INPUT_DEVICE_JOYSTICK
  InputReadFn pfnRead;
  InputWidgetState aoWidget[INPUT_WIDGETS_MAX];
  const InputPortBinding* pipbInputPortBinding;  // active table
  const InputPortBinding* pipbSaved;
  Queue oEvents;
  int32_t bEventsEnabled;
  int32_t cButtons;
  uint32_t uFirstPressed;  // last pressed key or button; INPUT_NO_BUTTON or INPUT_NO_BUTTON_CONTROLS when none
  QInputJoystick* pJoystick;
  InputKeyMapEntry aoKeyMap[INPUT_KEYMAP_SIZE];  // the first INPUT_PORT_FUNCTIONS are the active bindings
  InputKeyMapEntry aoConfigured[INPUT_PORT_FUNCTIONS];  // made active before a match; kind 0 when never set
  int32_t iPreset;  // 0..2 a preset, 3 the custom set
  User* pusr;
  int32_t iMark;
  int32_t iMarkSaved;
  int32_t cConfig;  // control configuration 0..2 of the game-widget map
};

extern const InputPortBinding* input_apipbInputBindings[INPUT_PORT_BINDINGS_MAX];

void input_PortsInit();
void input_PortsRead();
void input_EventsGenerate();

void input_PortBindingSet(int32_t eBinding, InputPort* pip);
void input_PortBindingSave(InputPort* pip);
void input_PortBindingRestore(InputPort* pip);
void input_BindingTableSet(const InputPortBinding* pipbTable, int32_t cBinding);
void input_BindingTablesClear();
void input_DefaultBindingsRegister();

// Called for each joystick port that appears after start-up, once it is set
// up (the controls give it its bindings); null for none.
using InputPortAddedFn = void (*)(InputPort* pip);
void input_PortAddedHookSet(InputPortAddedFn pfn);

void input_PortPendingSet(InputPort* pip);
void input_PortPendingClear(InputPort* pip);

int32_t input_bEventAlloc(InputEvent** ppEvent);
void input_EventFree(InputEvent** ppEvent);
void input_EventQueueFlush(Queue* pQueue);
// Free events in the pool (for tests and diagnostics).
int32_t input_iGetFreeEventCount();

int32_t input_iGetFrame();
int32_t input_iGetPortCount();
InputPort* input_poGetPort(int32_t i);
int32_t input_iGetDeviceType(const InputPort* pip);
int32_t input_iGetFirstPressedButton(InputPort* pip);

int32_t input_bAngleNear90(int32_t iAngle);
int32_t input_bAngleNear270(int32_t iAngle);

const char* input_pszGetControllerName();
int32_t input_bControllerMissing();
int32_t input_bReturn1();
void input_Nop();

void input_ActiveUsersBind(int32_t eBinding);
void input_ActiveUsersPortMarkSet();
void input_ActiveUsersPortMarkSave();
void input_ActiveUsersPortMarkRestore();
void input_PortsClear();
void input_PortsReinit();

void input_FirstFreeUserAttach();
int32_t input_bUserActivate(User* pusr);

// The PC controller's read callback and its button reader.
int32_t input_PCControllerRead(int32_t eWidget, InputPort* pip);
int32_t input_bButtonRead(const InputPort* pip, int32_t iEntry);

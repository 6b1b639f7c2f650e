// Controls: the front end's own key and button set, the three presets of
// each device kind (and the custom set) for the ten match functions, each
// port's configured bindings and their application before a match.
#include "frontend/pccontrols.h"

#include <cstdint>

#include "frontend/frontend_services.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/user.h"

namespace {

// The front end's active bindings, one per function in binding order: keys
// RETURN, NUMPAD6, NUMPAD8, NUMPAD4, INSERT, MULTIPLY, HOME, MINUS, SPACE,
// LEFT SHIFT on keyboard ports, and the joypad buttons counted from 0.
const uint8_t pccontrols_aFrontEndKeys[PCCONTROLS_FUNCTIONS] = {28, 77, 72, 75, 210, 55, 199, 12, 57, 42};
const uint8_t pccontrols_aFrontEndButtons[PCCONTROLS_FUNCTIONS] = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9};

// Configured bindings of every port, and the preset each port uses.
InputKeyMapEntry s_aaoConfigured[INPUT_PORTS_MAX][PCCONTROLS_FUNCTIONS];
int32_t s_aiPreset[INPUT_PORTS_MAX];
// The device type each port's configured bindings were made for (0 none
// yet): a joystick plugged in after start-up gets its preset when a match
// applies the bindings.
int32_t s_aiConfiguredType[INPUT_PORTS_MAX];

// The active entry of a preset byte; an empty entry reads nothing.
InputKeyMapEntry EntryOf(bool bKeyboard, uint8_t c) {
  if (c == PCCONTROLS_EMPTY) return InputKeyMapEntry{0, 0, 0};
  return bKeyboard ? InputKeyMapEntry{0, c, INPUT_KEYMAP_KEY} : InputKeyMapEntry{c, 0, INPUT_KEYMAP_JOYSTICK};
}

bool PortIsKeyboard(const InputPort* pip) { return pip->eDeviceType == INPUT_DEVICE_KEYBOARD; }

void PortConfiguredFromPreset(int32_t i) {
  InputPort* pip = input_poGetPort(i);
  if (pip == nullptr) return;
  const bool bKeyboard = PortIsKeyboard(pip);
  int32_t p = s_aiPreset[i];
  if (p < 0 || p >= PCCONTROLS_PRESETS) p = 0;
  const uint8_t* pc = bKeyboard ? pccontrols_aaKeyPresets[p] : pccontrols_aaButtonPresets[p];
  for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f) s_aaoConfigured[i][f] = EntryOf(bKeyboard, pc[f]);
  s_aiConfiguredType[i] = pip->eDeviceType;
}

}  // namespace

// Keyboard presets by function: Pass, Kick, Chip, Shoot, Long Pass/Cross,
// Sprint, Keeper Panic, Jump Challenge, Start, Select; the fourth is the
// custom set, whose first eight entries start empty.
uint8_t pccontrols_aaKeyPresets[PCCONTROLS_PRESETS][PCCONTROLS_FUNCTIONS] = {
    {36, 35, 34, 57, 21, 184, 28, 22, 1, 15},
    {31, 32, 17, 30, 16, 82, 18, 57, 1, 15},
    {32, 46, 45, 30, 16, 31, 17, 57, 1, 15},
    {255, 255, 255, 255, 255, 255, 255, 255, 1, 15},
};
uint8_t pccontrols_aaButtonPresets[PCCONTROLS_PRESETS][PCCONTROLS_FUNCTIONS] = {
    {1, 2, 6, 0, 4, 7, 5, 3, 8, 9},
    {1, 2, 4, 0, 6, 7, 3, 5, 8, 9},
    {0, 2, 5, 3, 6, 7, 1, 4, 8, 9},
    {255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
};

void pccontrols_Init() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    if (pip == nullptr) continue;
    const bool bKeyboard = PortIsKeyboard(pip);
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f)
      pip->aoKeyMap[f] = bKeyboard ? InputKeyMapEntry{0, pccontrols_aFrontEndKeys[f], INPUT_KEYMAP_KEY}
                                   : InputKeyMapEntry{pccontrols_aFrontEndButtons[f], 0, INPUT_KEYMAP_JOYSTICK};
  }
}

void pccontrols_DefaultSet() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) PortConfiguredFromPreset(i);
}

void pccontrols_BindingsApply() {
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    if (pip == nullptr) continue;
    if (s_aiConfiguredType[i] != pip->eDeviceType) PortConfiguredFromPreset(i);
    for (int32_t f = 0; f < PCCONTROLS_FUNCTIONS; ++f) pip->aoKeyMap[f] = s_aaoConfigured[i][f];
  }
}

void pccontrols_PresetSet(int32_t iPort, int32_t iPreset) {
  if (iPort < 0 || iPort >= INPUT_PORTS_MAX || iPreset < 0 || iPreset >= PCCONTROLS_PRESETS) return;
  s_aiPreset[iPort] = iPreset;
  PortConfiguredFromPreset(iPort);
}

int32_t pccontrols_PresetGet(int32_t iPort) {
  return iPort >= 0 && iPort < INPUT_PORTS_MAX ? s_aiPreset[iPort] : 0;
}

const InputKeyMapEntry* pccontrols_poConfiguredGet(int32_t iPort) {
  return iPort >= 0 && iPort < INPUT_PORTS_MAX ? s_aaoConfigured[iPort] : nullptr;
}

void pccontrols_UsersConfigApply() {
  for (const User& u : user_aUsers)
    if (u.bActive && u.pip != nullptr) gmewidg_ConfigSet(u.pip->cConfig);
}

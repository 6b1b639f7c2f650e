#pragma once
// Controls configuration: ten match functions bound per port to keys or
// buttons from one of three presets or a custom set.
#include <cstdint>

struct InputKeyMapEntry;

enum : int32_t {
  PCCONTROLS_FUNCTIONS = 10,  // Pass, Kick, Chip, Shoot, Long Pass/Cross, Sprint, Keeper Panic, Jump Challenge, Start, Select
  PCCONTROLS_PRESETS = 4,     // three presets and the custom set
  PCCONTROLS_EMPTY = 255,
};

// The presets, one table per device kind shared by every port of that kind:
// keyboard scan codes and joypad buttons counted from 0.
extern uint8_t pccontrols_aaKeyPresets[PCCONTROLS_PRESETS][PCCONTROLS_FUNCTIONS];
extern uint8_t pccontrols_aaButtonPresets[PCCONTROLS_PRESETS][PCCONTROLS_FUNCTIONS];

// Every port's active bindings to the front end's set.
void pccontrols_Init();
// Every port's configured bindings from its preset.
void pccontrols_DefaultSet();
// Before a match: every port's active bindings become its configured ones.
void pccontrols_BindingsApply();
// A port's preset (0..3), its configured bindings following it.
void pccontrols_PresetSet(int32_t iPort, int32_t iPreset);
int32_t pccontrols_PresetGet(int32_t iPort);
const InputKeyMapEntry* pccontrols_poConfiguredGet(int32_t iPort);
// Each active user's control configuration applied to the game-widget map
// (the match start's first loading step).
void pccontrols_UsersConfigApply();

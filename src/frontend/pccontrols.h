#pragma once
// Controls configuration: ten match functions bound per port to keys or
// buttons from one of three presets or a custom set, and the controls screen
// (game mode 70) that shows and edits them for one user. The key-name table
// generator includes this header for the preset keys it checks.
#include <array>
#include <cstdint>

struct InputKeyMapEntry;
struct User;

enum : int32_t {
  PCCONTROLS_FUNCTIONS = 10,  // Pass, Chip, Kick, Shoot, Long Pass/Cross, Sprint, Keeper Panic, Jump Challenge, Start, Select
  PCCONTROLS_PRESETS = 4,     // three presets and the custom set
  PCCONTROLS_CUSTOM = 3,
  PCCONTROLS_EMPTY = 255,
  PCCONTROLS_KEY_NAMES = 76,
  PCCONTROLS_MODE = 70,
  PCCONTROLS_EXIT_ROW = 10,
};

// The presets as the game starts, by row: keyboard scan codes and joypad
// buttons counted from 0; the custom set starts empty (255) but for the
// keyboard's Start (ESCAPE) and Select (TAB). The first keyboard preset:
// J passes, H chips, G kicks the ball ahead, SPACE shoots.
using PCControlsPresets = std::array<std::array<uint8_t, PCCONTROLS_FUNCTIONS>, PCCONTROLS_PRESETS>;
constexpr PCControlsPresets pccontrols_kaaKeyPresets = {{
    {36, 35, 34, 57, 21, 184, 28, 22, 1, 15},
    {31, 32, 17, 30, 16, 82, 18, 57, 1, 15},
    {32, 46, 45, 30, 16, 31, 17, 57, 1, 15},
    {255, 255, 255, 255, 255, 255, 255, 255, 1, 15},
}};
constexpr PCControlsPresets pccontrols_kaaButtonPresets = {{
    {1, 2, 6, 0, 4, 7, 5, 3, 8, 9},
    {1, 2, 4, 0, 6, 7, 3, 5, 8, 9},
    {0, 2, 5, 3, 6, 7, 1, 4, 8, 9},
    {255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
}};
// Keys a custom set may never take: Start and Select (no keyboard page can
// edit them again) and the front end's up and down (the arrows).
constexpr uint8_t pccontrols_kaRefusedKeys[4] = {1, 15, 0xC8, 0xD0};

// The presets in play, one table per device kind shared by every port of
// that kind (the custom set is edited on the controls screen).
extern PCControlsPresets pccontrols_aaKeyPresets;
extern PCControlsPresets pccontrols_aaButtonPresets;

// The key-name table (generated from assets/frontend/keynames.txt).
struct PCControlsKeyName {
  uint8_t cScanCode;
  int16_t iText;    // front-end text of the key's name
  uint8_t bAllowed;  // a custom set may take it
};
extern const PCControlsKeyName pccontrols_aoKeyNames[PCCONTROLS_KEY_NAMES];
// The name row of a scan code; null when the key has none.
const PCControlsKeyName* pccontrols_poKeyNameFind(uint8_t cScanCode);

// The front-end text that labels a row (0..9): the match function the row's
// key or button drives. A row's binding is read as a widget (rows 0 to 7 as
// widgets 17 to 24, rows 8 and 9 as 15 and 16) and the game-widget map gives
// each widget its function: Chip (function 7) reads row 1 and Kick
// (function 6) row 2, so row 1 says "Chip" and row 2 "Kick".
int32_t pccontrols_RowLabelGet(int32_t iRow);

// Every port's active bindings to the front end's set.
void pccontrols_Init();
// Every port's configured bindings from its preset.
void pccontrols_DefaultSet();
// Before a match: every port's active bindings become its configured ones.
void pccontrols_BindingsApply();
// Saves and sets the active users' port marks.
void pccontrols_ActivePortsMark();
// A port's preset (0..3), its configured bindings following it.
void pccontrols_PresetSet(int32_t iPort, int32_t iPreset);
int32_t pccontrols_PresetGet(int32_t iPort);
const InputKeyMapEntry* pccontrols_poConfiguredGet(int32_t iPort);
// Each active user's control configuration applied to the game-widget map
// (the match start's first loading step).
void pccontrols_UsersConfigApply();

// ---- The controls screen ----
struct PCControlsScreen {
  int32_t bNeedsEnter;
  int32_t iPage;  // 0 preset choice, 1 custom editing, 2 the Exit row
  int32_t iRow;   // -1 none, 0..9 a function, 10 Exit
};
extern PCControlsScreen pccontrols_oScreen;

void pccontrols_Run();
void pccontrols_Enter();
void pccontrols_Draw();
// The page's input for the configured user; each returns 70 to stay.
int32_t pccontrols_PresetInput(User* pusr);
int32_t pccontrols_CustomInput(User* pusr);
int32_t pccontrols_Page2Input(User* pusr);

#pragma once
// The history options screen (game mode 52), reached from the hub: the
// history match's length, camera, offside and fouls, saving and restoring,
// the general options, the match-option defaults and the rules pages.
#include <cstdint>

struct User;

struct MFHOptsScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iCursor;             // 0..9
  std::int32_t iFirst, iLast;       // the visible window of rows
};
extern MFHOptsScreen mfhopts_oScreen;

constexpr std::int32_t MFHOPTS_MODE = 52;
constexpr std::int32_t MFHOPTS_SHEET = 13;  // "fhops"
constexpr std::int32_t MFHOPTS_ROWS = 10;
// The value the screen's input and run give for no change: no row leads there.
constexpr std::int32_t MFHOPTS_STAY = 45;

// The history match options the match reads: camera 2, offside, fouls on,
// match length 5.
void mfhopts_DefaultsSet();
std::int32_t mfhopts_OffsideGet();
void mfhopts_Reset();
void mfhopts_Enter();
void mfhopts_Draw();
std::int32_t mfhopts_Input(User* poUser);
void mfhopts_Run();

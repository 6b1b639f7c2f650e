#pragma once
// The two movie-only screens: the start-up chain of four movies (game mode
// 73) and the history mode's intro (game mode 84). intro_Run and
// histintro_Run are in frontend_services.h.
#include <cstdint>

struct User;

// Stage of the start-up chain: 2 the first movie (172), then 1 (171), 0 (170),
// 3 (204), then the end.
enum : int32_t { INTRO_STAGE_END = -1 };

extern int32_t intro_bNeedsEnter;
extern int32_t intro_iStage;
extern int32_t histintro_bNeedsEnter;
extern int32_t histintro_bSkip;

void intro_Enter();
// The user's events; 73 to stay, else the next mode.
int32_t intro_Input(User* pusr);
void histintro_Enter();
void histintro_Input(User* pusr);

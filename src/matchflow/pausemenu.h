#pragma once
// The in-match pause menu (game mode 7): the menu "Debug" with its pages
// "Game Paused", "Camera" and "Quit Match" (or "Quit History").
#include <cstdint>

#include "matchflow/usrctl_services.h"

struct InputPortBinding;

constexpr const char* PAUSEMENU_NAME = "Debug";
constexpr std::int32_t PAUSEMENU_CAMERA_ITEM = 2;  // index of "Camera" on the first page

// In-match texts the menu shows.
enum : std::int32_t {
  PAUSEMENU_T_GAME_PAUSED = 39,
  PAUSEMENU_T_RESUME = 40,
  PAUSEMENU_T_CAMERA = 41,
  PAUSEMENU_T_REPLAY = 42,
  PAUSEMENU_T_QUIT_MATCH = 44,
  PAUSEMENU_T_QUIT_HISTORY = 45,
  PAUSEMENU_T_NORMAL = 57,
  PAUSEMENU_T_FAR = 58,
  PAUSEMENU_T_CLOSE = 59,
  PAUSEMENU_T_VERY_CLOSE = 60,
  PAUSEMENU_T_VERY_FAR = 61,
  PAUSEMENU_T_YES = 62,
  PAUSEMENU_T_NO = 63,
};

// Builds the menu at the in-match set-up.
void pausemenu_Build();
// Enter operation of mode 7: opens the menu and pauses the match.
void pausemenu_Enter();
// What pausemenu_Open notes of the menu it pushed: the user, the pause user
// and the port's binding table before it, and the stack's push flag before
// it (set: a mode pushed earlier in the tick waits for its enter).
void pausemenu_OpenNote(User* pusr, User* poPauseUserBefore, const InputPortBinding* pipbBefore,
                        std::int32_t bPushPendingBefore);
// The end of each match tick, before its mode transition: a pause menu pushed
// by the tick's Start that another mode has come over, that lies over a mode
// pushed earlier in the tick, or that is gone or about to be popped, is taken
// back; and the pause flag is cleared when no pause menu is on the game-mode
// stack.
void pausemenu_Settle();
// Mode 7's input for the user who paused.
void pausemenu_UserInput(User* pusr);
// Set when the match was left through "Quit Match" / "Quit History"; cleared
// when the menu is built for the next match.
std::int32_t pausemenu_bQuitGet();
// The page names as built (in the texts' language).
const char* pausemenu_pszPageGet(std::int32_t iPage);  // 0 paused, 1 camera, 2 quit
// Mode 7's tick (the name it has in the mode table).
void options_DebugUpdate();
// The match drawn as it stands with the camera as it was left, not moved on:
// a set-piece staging's picture while its pause menu comes up and is up.
void pausemenu_StandingFrame();
// The users' input while a set piece's players are walked to their places
// (mode 82): Start (let go) opens the pause menu, whose resume gives each
// user back the staging's binding; every other press is dropped, so that
// nothing reaches the match. True when the pause menu comes up: the tick has
// then drawn the match as it stands and the staging stands with it.
bool pausemenu_StagingInput();

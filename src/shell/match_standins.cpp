// Stand-ins for the match engine and the match flow until those subsystems are
// built. The in-match set-up stand-in starts the match-start mode, whose
// stand-in brings the 3D scene up (so the loading steps run and the match
// state is entered) and ends the match, so a match requested from the front
// end passes through loading and the match and returns to the front end; the
// other match modes keep their mode and do nothing.
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/match_services.h"

void matchflow_TitleRun() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void demo_MatchSetup() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pausemenu_AttractMovieRun() { global_SetGameMode(GAME_MODE_MAIN_MENU); }

void matchstart_Update() {
  scene3d_Init();
  global_SetGameMode(GAME_MODE_MATCH_END);
}
void kickoff_Update() {}
void matchflow_InMatchSetup() {
  global_Init();
  global_GameModePush(nullptr, GAME_MODE_MATCH_START, nullptr);
}
void periodbreak_Update() {}
void mftime_Run() {}
void celebrate_Run() {}
void mpenso_Update() {}
void kickoffwait_Update() {}


void matchflow_LineupReset() {}

// The shoot-out kick's set-up the penalty script runs first, and the
// substitution the substitution script stages (none pending).
struct Player;
void mpenso_Start() {}


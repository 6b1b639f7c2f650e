// Minimal versions of the front-end services, so that the game links and
// runs before the screens exist: default match options, no screens, no
// movies, no text; a screen that is not built yet returns to the main menu.
// Each function here is replaced, one by one, by the real module that
// provides it.
#include "frontend/frontend_services.h"

#include "shell/global.h"

std::int32_t mfhmain_State = 0;
std::int32_t pcfmv_bPlaying = 0;

std::int32_t mcondi_CameraGet() { return 2; }
std::int32_t mcondi_DayNightGet() { return 1; }
std::int32_t mcondi_FoulsGet() { return 1; }
std::int32_t mcondi_MatchLengthGet() { return 10; }
std::int32_t mcondi_RefereeGet() { return 1; }

void mfhsetup_DefaultsSet() {}

void mhelp_HelpShownClear() {}
std::int32_t mhelp_bHelpShownGet() { return 0; }
void mhelp_Input(User*) {}

std::int32_t mquick_RandomTeamGet() { return 0; }
MTeam* mteam_poFindTeamByName(const char*, std::int32_t) { return nullptr; }
std::int32_t mteam_YearIndexFromMask(std::uint32_t) { return 0; }

void mteam_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pcsides_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mtatics_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mquick_MatchStart() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhsquad_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mcondi_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pcsave_SaveRun() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pcsave_LoadRun() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhsetup_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhmain_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhfixtr_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhopts_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhgroup_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhrole_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhnews_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pccontrols_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void intro_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void wcwin_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void wcqual_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void wcelim_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void wcintro_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void histintro_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mhelp_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }

void pccontrols_ActivePortsMark() {}

std::int32_t pcsides_ComputerSideGet() { return 2; }
void pcsides_Reset() {}
void pcsides_ChoicesForget() {}
void mhelp_ScreenHook() {}
void mteam_Reset() {}
void mfhfixtr_Reset() {}
void mfhgroup_Reset() {}
void mfhmain_Reset() {}
void mfhnews_Reset() {}
void mfhopts_Reset() {}
void mfhrole_Reset() {}
void mfhsetup_Reset() {}
void mfhsquad_Reset() {}

void pcfmv_PlayById(std::int32_t) {}
std::int32_t pcfmv_IsIdle() { return 1; }
void pcfmv_Stop() {}
void pcfmv_FrameShow(std::int32_t) {}
std::int32_t pcfmv_CurrentFrameGet() { return 0; }
std::int32_t pcfmv_ExpectedFrameGet() { return 0; }
float pcfmv_FrameRateGet() { return 25.0f; }
void pcfmv_StreamPump() {}

// Minimal versions of the front-end services, so that the game links and
// runs before the screens exist: default match options, no screens, no
// movies, no text; a screen that is not built yet returns to the main menu.
// Each function here is replaced, one by one, by the real module that
// provides it.
#include "frontend/frontend_services.h"

#include "framework/qdx_input.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"

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

void mregion_Reset() {}
void mregion_Add(const MRegionDef*, std::int32_t, std::int32_t) {}
std::int32_t mregion_FindByName(const char*) { return -1; }
std::int32_t mregion_YGet(std::int32_t) { return 0; }
void mregion_DrawByName(const char*) {}
void mregion_DrawAtByName(const char*, std::int32_t, std::int32_t) {}
void mregion_ChoiceListSet(const char*, std::int32_t) {}
void mregion_ChoiceListClear() {}

void mteam_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void pcsides_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
// The main menu until it is built: Escape ends the program.
void pcgame_MainMenuRun() {
  const std::uint8_t* pKeys = QKeyboardGetState();
  if (pKeys != nullptr && (pKeys[0x01] & 0x80)) pcmain_bQuit = 1;
}
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
void pccontrols_DefaultSet() {}
void pccontrols_BindingsApply() {}

void pcconvert_Enter() {}
void pcconvert_Run() {}
void pcconvert_Leave() {}
void pcoutro_Enter() {}
void pcoutro_Run() {}
void pcoutro_Leave() {}

std::int32_t pcfe_ConvertNeeded() { return 0; }
std::int32_t pcfe_ScaleX640(std::int32_t x) { return x; }
std::int32_t pcfe_ScaleY480(std::int32_t y) { return y; }
std::int32_t pcfe_ScaleX(std::int32_t x) { return x * 640 / 512; }
std::int32_t pcfe_ScaleY(std::int32_t y) { return y * 480 / 240; }
void pcfe_ScreenSet(std::int32_t) {}
void pcfe_Start() {}
void pcfe_Stop() {}
std::int32_t pcsides_ComputerSideGet() { return 2; }

void pcfmv_PlayById(std::int32_t) {}
std::int32_t pcfmv_IsIdle() { return 1; }
void pcfmv_Stop() {}
void pcfmv_FrameShow(std::int32_t) {}
std::int32_t pcfmv_CurrentFrameGet() { return 0; }
std::int32_t pcfmv_ExpectedFrameGet() { return 0; }
float pcfmv_FrameRateGet() { return 25.0f; }
void pcfmv_StreamPump() {}

void pctext_FontSet(std::int32_t) {}
void pctext_PrintLeft(const char*, std::int32_t, std::int32_t, std::int32_t) {}
void pctext_PrintRight(const char*, std::int32_t, std::int32_t, std::int32_t) {}
void pctext_PrintCentred(const char*, std::int32_t, std::int32_t, std::int32_t) {}
std::int32_t pctext_WidthGet(const char*) { return 0; }
void pctext_MessageDraw() {}

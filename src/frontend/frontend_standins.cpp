// Minimal versions of the front-end services, so that the game links and
// runs before the screens exist: default match options, no screens, no
// movies, no text. Each function here is replaced, one by one, by the real
// module that provides it.
#include "frontend/frontend_services.h"

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

void mteam_Run() {}
void pcsides_Run() {}
void pcgame_MainMenuRun() {}
void mtatics_Run() {}
void mquick_MatchStart() {}
void mfhsquad_Run() {}
void mcondi_Run() {}
void pcsave_SaveRun() {}
void pcsave_LoadRun() {}
void mfhsetup_Run() {}
void mfhmain_Run() {}
void mfhfixtr_Run() {}
void mfhopts_Run() {}
void mfhgroup_Run() {}
void mfhrole_Run() {}
void mfhnews_Run() {}
void pccontrols_Run() {}
void intro_Run() {}
void wcwin_Run() {}
void wcqual_Run() {}
void wcelim_Run() {}
void wcintro_Run() {}
void histintro_Run() {}
void mhelp_Run() {}

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

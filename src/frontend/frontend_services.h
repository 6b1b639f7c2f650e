#pragma once
// The front-end screens as the rest of the game sees them: the screen
// handlers the front-end tick runs by game mode, match options, text output,
// movies, screen regions and the layout scaling.
#include <cstdint>

struct User;
struct MTeam;
struct MRegionDef;

// ---- Match options ---------------------------------------------------------------
std::int32_t mcondi_CameraGet();       // 0 Very Close .. 4 Very Far (default 2)
std::int32_t mcondi_DayNightGet();     // 1 day, 0 night
std::int32_t mcondi_FoulsGet();        // non-zero when fouls are called
std::int32_t mcondi_MatchLengthGet();  // minutes (default 10)
std::int32_t mcondi_RefereeGet();      // 0 Lenient, 1 Normal, 2 Harsh

// ---- History screens ---------------------------------------------------------------
extern std::int32_t mfhmain_State;
void mfhsetup_DefaultsSet();

// ---- Help panel ----------------------------------------------------------------------
void mhelp_HelpShownClear();
std::int32_t mhelp_bHelpShownGet();
void mhelp_Input(User* poUser);

// ---- Teams ---------------------------------------------------------------------------
std::int32_t mquick_RandomTeamGet();  // 0..153 into the quick-match team table
MTeam* mteam_poFindTeamByName(const char* pszName, std::int32_t iYearIndex);
std::int32_t mteam_YearIndexFromMask(std::uint32_t uMask);

// ---- Screen regions ------------------------------------------------------------------
void mregion_Reset();
void mregion_Add(const MRegionDef* poDef, std::int32_t iIndex, std::int32_t bSlide);
std::int32_t mregion_FindByName(const char* pszName);
std::int32_t mregion_YGet(std::int32_t iRegion);
void mregion_DrawByName(const char* pszName);
void mregion_DrawAtByName(const char* pszName, std::int32_t x, std::int32_t y);
void mregion_ChoiceListSet(const char* pszName, std::int32_t iChoice);
void mregion_ChoiceListClear();

// ---- Screen handlers run by the front-end tick ------------------------------------------
void mteam_Run();
void pcsides_Run();
void pcgame_MainMenuRun();
void mtatics_Run();
void mquick_MatchStart();
void mfhsquad_Run();
void mcondi_Run();
void pcsave_SaveRun();
void pcsave_LoadRun();
void mfhsetup_Run();
void mfhmain_Run();
void mfhfixtr_Run();
void mfhopts_Run();
void mfhgroup_Run();
void mfhrole_Run();
void mfhnews_Run();
void pccontrols_Run();
void intro_Run();
void wcwin_Run();
void wcqual_Run();
void wcelim_Run();
void wcintro_Run();
void histintro_Run();
void mhelp_Run();

// ---- Controls ------------------------------------------------------------------------
void pccontrols_ActivePortsMark();
void pccontrols_DefaultSet();
void pccontrols_BindingsApply();

// ---- Application states of the front end ------------------------------------------------
void pcconvert_Enter();
void pcconvert_Run();
void pcconvert_Leave();
void pcoutro_Enter();
void pcoutro_Run();
void pcoutro_Leave();

// ---- Front-end state -----------------------------------------------------------------
std::int32_t pcfe_ConvertNeeded();
std::int32_t pcfe_ScaleX640(std::int32_t x);  // 640 x 480 layout units to screen pixels
std::int32_t pcfe_ScaleY480(std::int32_t y);
std::int32_t pcfe_ScaleX(std::int32_t x);     // 512 x 240 virtual screen to screen pixels
std::int32_t pcfe_ScaleY(std::int32_t y);
void pcfe_ScreenSet(std::int32_t iSheet);
void pcfe_Start();
void pcfe_Stop();
std::int32_t pcsides_ComputerSideGet();  // 1 home, 2 away

// ---- Movies --------------------------------------------------------------------------
extern std::int32_t pcfmv_bPlaying;
void pcfmv_PlayById(std::int32_t iId);
std::int32_t pcfmv_IsIdle();
void pcfmv_Stop();
void pcfmv_FrameShow(std::int32_t bFlag);
std::int32_t pcfmv_CurrentFrameGet();
std::int32_t pcfmv_ExpectedFrameGet();
float pcfmv_FrameRateGet();  // 25.0 when no movie plays
void pcfmv_StreamPump();

// ---- Text output ---------------------------------------------------------------------
void pctext_FontSet(std::int32_t iFont);
void pctext_PrintLeft(const char* pszText, std::int32_t x, std::int32_t y, std::int32_t iLayer);
void pctext_PrintRight(const char* pszText, std::int32_t x, std::int32_t y, std::int32_t iLayer);
void pctext_PrintCentred(const char* pszText, std::int32_t x, std::int32_t y, std::int32_t iLayer);
std::int32_t pctext_WidthGet(const char* pszText);
void pctext_MessageDraw();

#pragma once
// The front-end screens as the rest of the game sees them: the screen
// handlers the front-end tick runs by game mode, match options, text output,
// movies, screen regions and the layout scaling.
#include <cstdint>

#include "frontend/demowatch.h"
#include "frontend/mteam_conf.h"
#include "frontend/listctrl.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pcgame.h"
#include "frontend/pctext.h"

struct DBPlayer;
struct MatchTeam;
struct User;

// ---- Match options ---------------------------------------------------------------
std::int32_t mcondi_CameraGet();       // 0 Very Close .. 4 Very Far (default 2)
std::int32_t mcondi_DayNightGet();     // 1 day, 0 night
std::int32_t mcondi_FoulsGet();        // non-zero when fouls are called
std::int32_t mcondi_MatchLengthGet();  // minutes (default 10)
std::int32_t mcondi_RefereeGet();      // 0 Lenient, 1 Normal, 2 Harsh
std::int32_t mcondi_ExtraTimeGet();    // 0 off, 1 on, 2 golden goal
std::int32_t mcondi_PenaltiesGet();    // non-zero when a level match goes to penalties
std::int32_t mcondi_OffsideGet();      // non-zero when offside is given
std::int32_t mcondi_CatchUpGet();
// Besides the match-conditions screen, the quick match and tests set them.
void mcondi_MatchLengthSet(std::int32_t iMinutes);
void mcondi_ExtraTimeSet(std::int32_t iExtraTime);
void mcondi_PenaltiesSet(std::int32_t bPenalties);
void mcondi_FoulsSet(std::int32_t bFouls);
void mcondi_RefereeSet(std::int32_t iReferee);
void mcondi_CameraSet(std::int32_t iCamera);

// ---- History screens ---------------------------------------------------------------
extern std::int32_t mfhmain_State;
// The hub's flag that the current edition's year is loaded.
extern std::int32_t mfhmain_bYearLoaded;
// The hub's forced score goes (a new history disarms it).
void mfhmain_ForcedScoreDisarm();
// The history is left for the main menu (its hub's "Quit History?" or a
// match's pause menu): the front end is in no history any more, the hub
// enters afresh, and no result waits to be entered.
void mfhmain_HistoryLeave();
// The history fixtures screen's chosen friendly opponent (a team id) and
// its flag that a choice waits to be taken.
extern std::uint32_t mfhfixtr_chosenTeam;
extern std::int32_t mfhfixtr_pendingChoice;
// The news screen's flag that news wait, and its flag of an arrival from the
// team sheet.
extern std::int32_t mfhnews_bPending;
extern std::int32_t mfhnews_bArrived;
// The history squad pages inside the team sheet (extended mode 54): the
// cursor moves (8, 9, 10, 11), select and back, and their drawing.
void mfhsquad_CursorReset();
void mfhsquad_Move(MatchTeam* poTeam, std::int32_t eDirection);
void mfhsquad_Select(MatchTeam* poTeam, std::int32_t* peNext);
void mfhsquad_Back(MatchTeam* poTeam, std::int32_t* peNext);
void mfhsquad_Draw();
// The confederation code of a team in the loaded tree (1..14, 16), 0 none.
std::int32_t mfhmain_ConfCodeGet(std::uint32_t TeamId);
void mfhsetup_DefaultsSet();

// ---- Help panel ----------------------------------------------------------------------
void mhelp_HelpShownClear();
std::int32_t mhelp_bHelpShownGet();
void mhelp_Input(User* poUser);
void mhelp_HelpShownToggle();

// ---- Teams ---------------------------------------------------------------------------
constexpr std::int32_t MQUICK_TEAMS = 154;
std::int32_t mquick_RandomTeamGet();  // 0..153 into the quick-match team table
// An entry of the quick-match team table: the team's name and its year mask.
const char* mquick_TeamNameGet(std::int32_t iEntry);
std::uint32_t mquick_YearMaskGet(std::int32_t iEntry);
// Restarts the quick-match draws from their first state (a new process
// starts there); the draws depend on nothing else.
void mquick_RandomReset(std::uint32_t uSeed);
// A team's entry in the confederation tables: the first, tables 0 to 5, with
// the edition's bit whose name (current language, else English) is the text.
using MTeam = ConferenceEntry;
MTeam* mteam_poFindTeamByName(const char* pszName, std::int32_t iYearIndex);
std::int32_t mteam_YearIndexFromMask(std::uint32_t uMask);

// ---- Screen handlers run by the front-end tick ------------------------------------------
void mteam_Run();
void pcsides_Run();
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
void pccontrols_Init();  // every port's active keys and buttons to the front end's set
void pccontrols_UsersConfigApply();  // each active user's control configuration, at match start

// ---- Screens not built yet that the built ones call --------------------------------------
int32_t pcsides_ComputerSideGet();  // 1 home, 2 away
void pcsides_Reset();          // the choose-sides screen enters afresh next time
void pcsides_ChoicesForget();  // ... and forgets its previous choices
void mhelp_ScreenHook();
// Re-arm the screens that the front-end start resets: team choice, the
// history screens (fixtures, groups, hub, news, options, roll of honour,
// set-up, squad) and the options screen.
void mteam_Reset();
void mfhfixtr_Reset();
void mfhgroup_Reset();
void mfhmain_Reset();
void mfhnews_Reset();
void mfhopts_Reset();
void mfhrole_Reset();
void mfhsetup_Reset();
void mfhsquad_Reset();
void options_ScreenReset();

// ---- Movies (frontend/pcfmv) ------------------------------------------------------------
extern std::int32_t pcfmv_bPlaying;
// 1 when the id's movie plays; 0 for an id with no movie or a failed start.
std::int32_t pcfmv_PlayById(std::int32_t iId);
std::int32_t pcfmv_IsIdle();
// Closes an open movie (also one that ended by itself); nothing when none is open.
void pcfmv_Stop();
void pcfmv_StopForMode();
// Shows the next frame; 1 when a stream error stopped the movie.
std::int32_t pcfmv_FrameShow(std::int32_t bFlag);
std::int32_t pcfmv_CurrentFrameGet();
std::int32_t pcfmv_ExpectedFrameGet();
float pcfmv_FrameRateGet();  // 25.0 when no movie plays
void pcfmv_StreamPump();
void pcfmv_TargetInit();  // by the front-end start

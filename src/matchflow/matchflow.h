#pragma once
// The match flow from the in-match set-up to the first touch of each period
// and on to the end: match start with its loading steps, the centre-spot
// wait, line-up panels, period break, kick-off, goal celebration, period end
// and the penalty shoot-out; and the front-end modes that frame a match
// (title prompt, demo set-up, attract movie).
#include <cstdint>

struct MatchTeam;
struct Player;
struct User;

// ---- Mode 24, 22, 72: set-up, match start, centre-spot wait ------------------------------
void matchflow_InMatchSetup();
// What every match sets up between its start (matchflow_MatchBegin) and its
// sides' kick-off set-up, a new match and the same sides played again
// alike: the players' records, the clock, the keepers' records, the users'
// markers and match words, the captions.
void matchflow_MatchSetup();
// Every player of the two sides numbered in the chain's order and given the
// kick-off set-up, and the referee's clip from its start: the first loading
// step of a new match, and the set-up of a match played again.
void matchflow_PlayersKickOffInit();
// Each flow mode's state of one match, and its reset to the start (see
// matchstate.h).
struct MatchStateBlock;
MatchStateBlock matchflow_MatchState();
void matchflow_MatchReset();
MatchStateBlock periodbreak_MatchState();
void periodbreak_Reset();
MatchStateBlock mftime_MatchState();
void mftime_Reset();
MatchStateBlock celebrate_MatchState();
void celebrate_Reset();
MatchStateBlock kickoff_MatchState();
void kickoff_Reset();
void matchstart_Enter();
void matchstart_Update();
// One loading step (0..6); returns 23 on the step that brings the scene up.
std::int32_t matchstart_LoadStep(std::int32_t iStep);
std::int32_t matchstart_StepGet();
// The 3D scene's start-up run by the last loading step (scene3d_Init); a
// headless run without a display hands in its own (null restores it).
void matchstart_SceneInitSet(void (*pfnInit)());
void kickoffwait_Enter();
void kickoffwait_Update();
std::int32_t kickoffwait_CounterGet();

// ---- Line-up panels -----------------------------------------------------------------------
constexpr std::int32_t MATCHFLOW_FORMATIONS = 19;
constexpr std::int32_t MATCHFLOW_LINEUP_ROWS = 7;
// Players per row (goalkeeper, sweeper, defence, defensive line, midfield,
// attacking line, attack) of each formation.
extern const std::int8_t matchflow_aaiLineupRows[MATCHFLOW_FORMATIONS][MATCHFLOW_LINEUP_ROWS];
void matchflow_LineupStart();
void matchflow_LineupReset();
void matchflow_LineupDraw();
void matchflow_LineupPanel(MatchTeam* poTeam);
// The name a panel shows in a row of n: the full name, or its last word when
// the full name is wider than the room between neighbours in the row, cut
// to the room when that is still wider.
void matchflow_LineupNameFit(const char* pszName, std::int32_t n, char* pszOut, std::int32_t cb);
std::int32_t matchflow_LineupPhaseGet();
// Where a panel puts the name of a row's k-th player (of n in the row) when
// the panel has c rows holding players and the row is the r-th of them.
void matchflow_LineupNamePlace(std::int32_t c, std::int32_t r, std::int32_t n, std::int32_t k, std::int32_t* px,
                               std::int32_t* py);

// ---- Mode 34: period break ------------------------------------------------------------------
void periodbreak_Enter();
void periodbreak_Update();
void periodbreak_Sequence();
void periodbreak_UserInput(User* pusr);
std::int32_t periodbreak_PhaseGet();
// The coin toss flipped, possession given by it and the ends swapped.
void periodbreak_EndsSwap();

// ---- Mode 23: kick-off -------------------------------------------------------------------------
void kickoff_Start();
void kickoff_Update();
void kickoff_MessageSet(const char* pszText);
// The kick-off message's box height in the message font (font 2): its cell
// and 10 pixels above and below.
std::int32_t kickoff_MessageBoxHeightGet();
const char* kickoff_MessageGet();
Player* kickoff_poTakerGet();
Player* kickoff_poPartnerGet();

// ---- Mode 64: goal celebration -------------------------------------------------------------
void celebrate_Enter();
void celebrate_Run();
void celebrate_UserInput(User* pusr);
void celebrate_End();
std::int32_t celebrate_CounterGet();
void celebrate_ScorerSet(Player* poScorer, std::int32_t iSide);
Player* celebrate_poScorerGet();

// ---- Mode 35: period end -----------------------------------------------------------------------
void mftime_Enter();
void mftime_Run();
void mftime_Sequence();
void mftime_UserInput(User* pusr);
std::int32_t mftime_RulesFriendly();
std::int32_t mftime_StepGet();
// The Play Again / Main Menu choice in font 2: the step between its rows and
// its box's height.
std::int32_t mftime_ChoiceRowStepGet();
std::int32_t mftime_ChoiceBoxHeightGet();
std::int32_t mftime_NextModeGet();
// The rule set of a tournament round by its play format (3, 5, 6, 7, 8) or
// the two-legged tie; each returns the next mode (23, 33 or 66).
std::int32_t mftime_RulesFormat(std::int32_t iFormat);
std::int32_t mftime_RulesTwoLegged();

// ---- Mode 66: shoot-out ------------------------------------------------------------------------
constexpr std::int32_t MPENSO_TABLE = 10;
struct MPensoState {
  std::int32_t iRow;          // kicks per side in the current row of five
  std::int32_t aiGoals[2];    // home, away
  std::int32_t aiKicks[2];
  std::int32_t iPhase;        // 0 first five, 1 sudden death, 2 level after five, 3/4 home/away win, 5 done
  std::int32_t bKickPending;
  std::int32_t bRowComplete;
  std::int32_t cTotal;
  std::int32_t iNextKick;     // countdown to the next kick's set-up
  std::int32_t aiResult[MPENSO_TABLE];  // 0 none, 1 scored, 2 missed; index row + 5 for away
  Player* poTaker;
};
extern MPensoState mpenso_oState;
void mpenso_Start();
void mpenso_Update();
void mpenso_UserInput(User* pusr);
void mpenso_RecordKick(std::int32_t bScored);
void mpenso_BallPlace();
void mpenso_Bindings();
// The decision step of the phase machine alone (phases 0..4).
void mpenso_PhaseStep();
void mpenso_Clear();

// ---- Front-end modes 8, 15, 83 -------------------------------------------------------------
void matchflow_TitleRun();
void demo_MatchSetup();
void pausemenu_AttractMovieStart();
void pausemenu_AttractMovieRun();
// Loads a team edition's squad into a side (1 home, 2 away) and sets the side
// up in the edition's formation; returns 0 when the database has no squad.
std::int32_t matchflow_SideLoad(std::int32_t iSide, std::int32_t iTeamId, std::int32_t iEdition);
// Draws two different quick-match entries whose squads load (the away side
// first, as the demo does); a team the database cannot find is drawn again,
// a bounded number of times. Returns 0 when no pair could be loaded.
std::int32_t matchflow_QuickTeamsSet();

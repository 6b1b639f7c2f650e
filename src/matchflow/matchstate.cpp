// The one start every match goes through, and the list of what belongs to
// one match.
//
// Every match starts here: a new match (the in-match set-up, the attract
// demo's match among them) and the same sides played again (Play Again after
// a friendly, a drawn history match replayed). The start first puts back
// every module's match record as the program starts it, before anything
// reads one, then sets up the ball and, from the ball, the camera.
//
// Kept across matches on purpose:
// - the options and the users' controls: the player's own choices;
// - the users, their ports and sides: the front end hands them to the match;
// - the match record's sides and squads, the injuries and bookings carried
//   between a history's matches, and a history's progress (its phase, first
//   leg and tables): the front end and the tournament own them;
// - the camera types, the animation, action and set-piece tables, the zone
//   and formation tables: read-only once built;
// - the random generator: one stream for the program's run (a seed restores
//   it for a recorded match);
// - the referee's call record (a count over the program's run that tests
//   read) and the in-match set-up's scene start-up routine (a headless run's
//   own);
// - the pause menu's pages: built again by each new match's set-up;
// - for a match played again, the period end that chose it: it runs on to
//   the kick-off, with the stage scores it keeps for the tournament record.
// Set up afresh after the start by the set-up that a new match and a match
// played again both go through (matchflow_MatchSetup, the sides' kick-off
// set-up, the players' own, the action table and the clock's start): the
// players, the clock, the keepers' records, the users' markers and match
// words, the captions (a shoot-out's marks among them), the match record's
// scores and statistics (the whole goal lists), the computer managers, the
// substitutions, the referee's actions and cards shown, the touch state;
// by the match entry: the referee's decision.
// Not gathered here: the rest of engine/'s and matchflow/'s file-scope
// words (the keepers' and players' decisions, each set piece's own words,
// the ball's flight path, the offside line, the collision spheres), which
// the step that uses them sets before it reads them; matches played after
// others equal the same matches played first in a new process, tick for
// tick (test_match_after_match, test_match_fresh).
#include "matchflow/matchstate.h"

#include "engine/ball.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/spscript.h"
#include "matchflow/camera.h"
#include "matchflow/demo.h"
#include "matchflow/matchflow.h"
#include "matchflow/replay.h"
#include "matchflow/restart.h"
#include "matchflow/usrctl.h"
#include "shell/global.h"
#include "shell/pause.h"

namespace {

void RestartReset() { matchstate_Clear(restart_oState); }
MatchStateBlock RestartState_() { return {"restart", &restart_oState, sizeof restart_oState}; }

void MpensoReset() { mpenso_Clear(); }
MatchStateBlock MpensoState_() { return {"mpenso", &mpenso_oState, sizeof mpenso_oState}; }

// A match quit from its pause menu leaves nobody pausing and nothing paused.
void PauseReset() {
  pause_FlagClear();
  global_SetPauseUser(nullptr);
}
MatchStateBlock PauseFlag_() { return {"pause", &pause_bFlag, sizeof pause_bFlag}; }
MatchStateBlock PauseUser_() { return {"pause user", &global.poPauseUser, sizeof global.poPauseUser}; }
MatchStateBlock Scorer_() { return {"scorer", &global.poScorer, sizeof global.poScorer}; }

// An attract demo's machine stops, unless this match is the demo (started
// before its set-up).
void DemoReset() {
  if (global_eGetExtendedGameMode() != GAME_MODE_DEMO) matchstate_Clear(demo_oMachine);
}
MatchStateBlock Demo_() { return {"demo", &demo_oMachine, sizeof demo_oMachine}; }

// The ball at the centre spot, free, as a new match has it.
void BallReset() {
  ball_Init(&ball_oBall);
  ball_Release(&ball_oBall);
}
MatchStateBlock Ball_() { return {"ball", &ball_oBall, sizeof ball_oBall}; }

struct Row {
  MatchStateBlock (*pfnBlock)();
  void (*pfnReset)();  // null: reset by the row above it
};

// In the order of the start: every record first, then the ball, then the
// camera from the ball.
const Row kaRows[] = {
    {matchflow_MatchState, matchflow_MatchReset},
    {periodbreak_MatchState, periodbreak_Reset},
    {mftime_MatchState, mftime_Reset},
    {celebrate_MatchState, celebrate_Reset},
    {Scorer_, nullptr},
    {kickoff_MatchState, kickoff_Reset},
    {MpensoState_, MpensoReset},
    {setp_MatchState, setp_MatchReset},
    {spscript_MatchState, spscript_MatchReset},
    {referee_MatchState, referee_MatchStart},
    {usrctl_MatchState, usrctl_Reset},
    {RestartState_, RestartReset},
    {replay_MatchState, replay_MatchReset},
    {PauseFlag_, PauseReset},
    {PauseUser_, nullptr},
    {Demo_, DemoReset},
    {Ball_, BallReset},
    {camera_MatchState, camera_MatchReset},
};
constexpr std::size_t kRows = sizeof kaRows / sizeof kaRows[0];

MatchStateBlock s_aoBlocks[kRows];
void (*s_pfnObserver)() = nullptr;

}  // namespace

void matchflow_MatchBegin() {
  for (const Row& r : kaRows)
    if (r.pfnReset) r.pfnReset();
  camera_Init();
  if (s_pfnObserver) s_pfnObserver();
}

std::size_t matchstate_BlocksGet(const MatchStateBlock** ppaBlocks) {
  for (std::size_t i = 0; i < kRows; i++) s_aoBlocks[i] = kaRows[i].pfnBlock();
  *ppaBlocks = s_aoBlocks;
  return kRows;
}

void matchstate_ObserverSet(void (*pfnObserver)()) { s_pfnObserver = pfnObserver; }

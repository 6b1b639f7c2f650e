// The one start every match goes through, and the list of what belongs to
// one match.
//
// Every match starts here: a new match (the in-match set-up, the attract
// demo's match among them) and the same sides played again (Play Again after
// a friendly or a quick start, a drawn history match replayed). The start
// first puts back every module's match record as the program starts it,
// before anything reads one, then sets up the ball and, from the ball, the
// camera. The period end's own record (mftime) is one of them: the period
// end that chose a match played again goes on to its kick-off from a fresh
// record, its first pass set; the stage scores it keeps for the tournament
// record are written at each period end before any reads them.
//
// The team sheets (the sides' squad copies with their flags, card states
// and suspensions, their pitch, bench and reserve lists, their formations):
// - a new match takes them as the front end hands them over, and keeps a
//   copy;
// - a friendly played again starts from that copy: nobody substituted,
//   booked or suspended by the matches played since, the same line-up and
//   formation, as a new match of the same sides has them (the 3D objects the
//   scene gave the squad records are left as they are: the scene is not
//   built again);
// - a history match replayed keeps them as the tournament carries them: the
//   bookings, suspensions and injuries of its matches (who was substituted
//   belongs to one match: the kick-off set-up forgets it, as every match's
//   does).
//
// Kept across matches on purpose:
// - the options and the users' controls: the player's own choices;
// - the users, their ports and sides: the front end hands them to the match;
// - the match record's sides and squads, and a history's progress (its
//   phase, first leg and tables): the front end and the tournament own them;
// - the camera types, the animation, action and set-piece tables, the zone
//   and formation tables: read-only once built;
// - the random generator: one stream for the program's run (a seed restores
//   it for a recorded match);
// - the referee's call record (a count over the program's run that tests
//   read) and the in-match set-up's scene start-up routine (a headless run's
//   own);
// - the pause menu's pages: built again by each new match's set-up.
// Set up afresh after the start by the set-up that a new match and a match
// played again both go through (matchflow_MatchSetup, the sides' kick-off
// set-up, the players' own, the action table and the clock's start): the
// players, the clock, the keepers' records, the users' markers and match
// words, the captions (a shoot-out's marks among them), the match record's
// scores and statistics (the whole goal lists), the computer managers, the
// substitutions, the referee's actions and cards shown, the touch state, the
// player speech's cool-downs and recent shouts (they decide whether a call
// draws from the random stream: a new match's are reset at its last loading
// step, a match played again's with its clock); by the match entry: the
// referee's decision.
// Not gathered here: the rest of engine/'s and matchflow/'s file-scope
// words (the keepers' and players' decisions, each set piece's own words,
// the ball's flight path, the offside line, the collision spheres), which
// the step that uses them sets before it reads them; matches played after
// others equal the same matches played first in a new process, tick for
// tick (test_match_after_match, test_match_fresh), and a friendly played
// again starts from a new match's team sheets (test_play_again_sheets).
#include "matchflow/matchstate.h"

#include "engine/ball.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/spscript.h"
#include "engine/team.h"
#include "matchflow/camera.h"
#include "matchflow/demo.h"
#include "matchflow/matcha.h"
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

// One side's team sheet as a new match took it over: its squad copy's
// records and the side's words that say who plays where.
struct Sheet {
  const DBPlayer* poBuffer;  // the squad copy it was taken from
  const Squad* poSquad;
  std::int32_t iSquadSize;
  std::int32_t iFormation;
  std::int32_t iSavedFormation;
  DBPlayer* apoLists[3];     // pitch, bench, reserves
  DBPlayer* apoCursors[3];
  DBPlayer aoPlayers[TEAM_SQUADSIZE_MAX];
};
Sheet s_aoSheets[2];
bool s_bSheetsKept = false;

MatchTeam* SideOf(std::int32_t k) { return k == 0 ? match_HomeTeamGet() : match_AwayTeamGet(); }

void SheetsKeep() {
  for (std::int32_t k = 0; k < 2; k++) {
    const MatchTeam* t = SideOf(k);
    Sheet& o = s_aoSheets[k];
    o.poBuffer = t->MySquad;
    o.poSquad = t->Squad;
    o.iSquadSize = t->MySquad && t->iSquadSize > 0 && t->iSquadSize <= TEAM_SQUADSIZE_MAX ? t->iSquadSize : 0;
    o.iFormation = t->iFormation;
    o.iSavedFormation = t->iSavedFormation;
    o.apoLists[0] = t->poPitchList;
    o.apoLists[1] = t->poBenchList;
    o.apoLists[2] = t->poReserveList;
    o.apoCursors[0] = t->poPitchCursor;
    o.apoCursors[1] = t->poBenchCursor;
    o.apoCursors[2] = t->poReserveCursor;
    for (std::int32_t i = 0; i < o.iSquadSize; i++) o.aoPlayers[i] = t->MySquad[i];
  }
  s_bSheetsKept = true;
}

// Each side that still plays from the squad copy the sheet was taken from
// gets it back; the records' 3D objects stay the scene's.
void SheetsRestore() {
  if (!s_bSheetsKept) return;
  for (std::int32_t k = 0; k < 2; k++) {
    MatchTeam* t = SideOf(k);
    const Sheet& o = s_aoSheets[k];
    if (t->MySquad != o.poBuffer || t->Squad != o.poSquad || t->iSquadSize != o.iSquadSize) continue;
    for (std::int32_t i = 0; i < o.iSquadSize; i++) {
      void* const po3D = t->MySquad[i].po3DObject;
      t->MySquad[i] = o.aoPlayers[i];
      t->MySquad[i].po3DObject = po3D;
    }
    t->iFormation = o.iFormation;
    t->iSavedFormation = o.iSavedFormation;
    t->poPitchList = o.apoLists[0];
    t->poBenchList = o.apoLists[1];
    t->poReserveList = o.apoLists[2];
    t->poPitchCursor = o.apoCursors[0];
    t->poBenchCursor = o.apoCursors[1];
    t->poReserveCursor = o.apoCursors[2];
  }
}

void Start() {
  for (const Row& r : kaRows)
    if (r.pfnReset) r.pfnReset();
  camera_Init();
}

}  // namespace

void matchflow_MatchBegin() {
  SheetsKeep();
  Start();
  if (s_pfnObserver) s_pfnObserver();
}

void matchflow_MatchBeginAgain(MatchAgain eKind) {
  Start();
  if (eKind == MatchAgain::kFriendly) SheetsRestore();
  if (s_pfnObserver) s_pfnObserver();
}

std::size_t matchstate_BlocksGet(const MatchStateBlock** ppaBlocks) {
  for (std::size_t i = 0; i < kRows; i++) s_aoBlocks[i] = kaRows[i].pfnBlock();
  *ppaBlocks = s_aoBlocks;
  return kRows;
}

void matchstate_ObserverSet(void (*pfnObserver)()) { s_pfnObserver = pfnObserver; }

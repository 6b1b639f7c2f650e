#pragma once
// The tournament, history and database subsystem as the rest of the game sees
// it: database players, squads, team names, stadiums, the results ticker and
// the tournament state of the match being played.
#include <cstdint>

#include "tournament/dbplayer.h"
#include "tournament/squad.h"
#include "tournament/tla.h"

struct Player;
struct Squad;

// ---- Database players (the accessors are in dbplayer.h) --------------------------
// Penalty taker of side 1 (home) or 2 (away); null when nobody is left.
Player* dbplayer_poPenaltyTakerChoose(std::int32_t iTeam, std::int32_t bShootOut);
// Team rating for a team id and edition (0..10); a team without one draws 1..6.
std::int32_t result_RatingGet(std::int32_t iTeam, std::int32_t iEdition);

// ---- Squads, stadiums, names -------------------------------------------------------
// Squads: squad.h (squadcache_*); names: tla.h (tla_*, kitname_Make).

// The stadium of the current match for an edition and, in the history mode,
// its round (stadium.h).
struct Round;
std::int32_t stadium_Choose(std::int32_t iEdition, const Round* pRound);
std::int32_t stadium_ModelGet(std::int32_t iStadium);
std::int32_t stadium_PitchGet(std::int32_t iStadium);    // 0..4
std::int32_t stadium_SpecialGet(std::int32_t iStadium);

void ticktape_Init();
void ticktape_Update();


// ---- Tournament state of the match -------------------------------------------------
struct TMFirstLeg {
  std::int32_t iHomeGoals;
  std::int32_t iAwayGoals;
  std::int32_t bPlayed;
};
extern TMFirstLeg tmglobal_FirstLeg;

std::int32_t tmglobal_FinalsGet();
// 0 normal time, 1 extra time, 2 replayed match, 3 penalties, 4 extra time of
// a replay, 5 decided.
std::int32_t tmglobal_MatchPhaseGet();
void tmglobal_MatchPhaseSet(std::int32_t iPhase);
void tmglobal_NormalTimeScoreSet(std::int32_t iHome, std::int32_t iAway);
void tmglobal_ExtraTimeScoreSet(std::int32_t iHome, std::int32_t iAway);
void tmglobal_ExtraTimeScoreAdd(std::int32_t iHome, std::int32_t iAway);
void tmglobal_PenaltyScoreSet(std::int32_t iHome, std::int32_t iAway);
std::int32_t tmglobal_RoundFormatGet();
std::int32_t tmglobal_TieBreakGet();  // 3 = two-legged
std::int32_t tmglobal_TournamentMatchGet();
void tmglobal_TournamentMatchSet(std::int32_t bFlag);
std::int32_t tmglobal_YearGet();  // 58..98

// Minimal versions of the tournament services not built yet, so that the
// game links and runs: no stadiums, ratings 3, no results ticker, a friendly
// match of the last edition. Each function here is
// replaced, one by one, by the real module that provides it.
#include "tournament/tournament_services.h"

TMFirstLeg tmglobal_FirstLeg;

namespace {
std::int32_t tmglobal_iMatchPhase = 0;
std::int32_t tmglobal_bTournamentMatch = 0;
}  // namespace


// A team missing from the database rates 1..5.
std::int32_t result_RatingGet(std::int32_t, std::int32_t) { return 3; }

std::int32_t stadium_Choose(std::int32_t) { return 0; }
std::int32_t stadium_ModelGet(std::int32_t) { return 0; }
std::int32_t stadium_PitchGet(std::int32_t) { return 0; }
std::int32_t stadium_SpecialGet(std::int32_t) { return 0; }

void ticktape_Init() {}
void ticktape_Update() {}

std::int32_t tmglobal_FinalsGet() { return 0; }
std::int32_t tmglobal_MatchPhaseGet() { return tmglobal_iMatchPhase; }
void tmglobal_MatchPhaseSet(std::int32_t iPhase) { tmglobal_iMatchPhase = iPhase; }
void tmglobal_NormalTimeScoreSet(std::int32_t, std::int32_t) {}
void tmglobal_ExtraTimeScoreSet(std::int32_t, std::int32_t) {}
void tmglobal_ExtraTimeScoreAdd(std::int32_t, std::int32_t) {}
void tmglobal_PenaltyScoreSet(std::int32_t, std::int32_t) {}
std::int32_t tmglobal_RoundFormatGet() { return 0; }
std::int32_t tmglobal_TieBreakGet() { return 0; }
std::int32_t tmglobal_TournamentMatchGet() { return tmglobal_bTournamentMatch; }
void tmglobal_TournamentMatchSet(std::int32_t bFlag) { tmglobal_bTournamentMatch = bFlag; }
std::int32_t tmglobal_YearGet() { return 98; }

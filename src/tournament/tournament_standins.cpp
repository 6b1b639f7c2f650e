// Minimal versions of the tournament services, so that the game links and
// runs before the tournament subsystem exists: no database (every flag reads
// 0, no squads, no names), a friendly match of the last edition. Each
// function here is replaced, one by one, by the real module that provides it.
#include "tournament/tournament_services.h"

#include "framework/qdx_assert.h"

TMFirstLeg tmglobal_FirstLeg;

namespace {
std::int32_t tmglobal_iMatchPhase = 0;
std::int32_t tmglobal_bTournamentMatch = 0;
}  // namespace

std::int32_t dbplayer_InjuredGet(const DBPlayer*) { return 0; }
void dbplayer_InjuredSet(DBPlayer*, std::int32_t) {}
void dbplayer_InjuryChangedSet(DBPlayer*, std::int32_t) {}
void dbplayer_SuspensionChangedSet(DBPlayer*, std::int32_t) {}
std::int32_t dbplayer_InjuryDayGet(const DBPlayer*) { return -1; }
std::int32_t dbplayer_InjuryMonthGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_InjuryYearGet(const DBPlayer*) { return 0; }
void dbplayer_InjuryDaySet(DBPlayer*, std::int32_t) {}
void dbplayer_InjuryMonthSet(DBPlayer*, std::int32_t) {}
void dbplayer_InjuryYearSet(DBPlayer*, std::int32_t) {}
std::int32_t dbplayer_InjuryTypeGet(const DBPlayer*) { return 0; }
void dbplayer_InjuryTypeSet(DBPlayer*, std::int32_t) {}
void dbplayer_PenaltyTakenSet(DBPlayer*, std::int32_t) {}
Player* dbplayer_poPenaltyTakerChoose(std::int32_t, std::int32_t) { return nullptr; }
std::int32_t dbplayer_PositionGet(const DBPlayer*, std::int32_t cPosition) {
  QDX_ASSERT(cPosition < 3);
  return 0;
}
void dbplayer_RedCardAdd(DBPlayer*) {}
void dbplayer_YellowCardAdd(DBPlayer*) {}
void dbplayer_SuspensionServe(DBPlayer*) {}
std::int32_t dbplayer_SetPieceTakerGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_StarterGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_BenchGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_ReserveGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_Reserve2Get(const DBPlayer*) { return 0; }
std::int32_t dbplayer_SuspendedGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_SubstitutedGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_TwoYellowsGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_SentOffGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_SentOffBookedGet(const DBPlayer*) { return 0; }
std::int32_t dbplayer_BookedGet(const DBPlayer*) { return 0; }
void dbplayer_SuspendedSet(DBPlayer*, std::int32_t) {}
void dbplayer_InSquadSet(DBPlayer*, std::int32_t) {}
void dbplayer_SubstitutedSet(DBPlayer*, std::int32_t) {}

// A team missing from the database rates 1..5.
std::int32_t result_RatingGet(std::int32_t, std::int32_t) { return 3; }

void squadcache_Clear() {}
Squad* squadcache_Load(std::int32_t, std::int32_t) { return nullptr; }
Squad* squadcache_Find(std::int32_t, std::int32_t) { return nullptr; }

std::int32_t stadium_Choose(std::int32_t) { return 0; }
std::int32_t stadium_ModelGet(std::int32_t) { return 0; }
std::int32_t stadium_PitchGet(std::int32_t) { return 0; }
std::int32_t stadium_SpecialGet(std::int32_t) { return 0; }

void ticktape_Init() {}
void ticktape_Update() {}

const char* tla_ShortNameGet(std::int32_t) { return ""; }
const char* tla_NameGet(std::int32_t) { return ""; }
const char* tla_TLAGet(std::int32_t) { return ""; }

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

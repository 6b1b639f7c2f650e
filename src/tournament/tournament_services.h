#pragma once
// The tournament, history and database subsystem as the rest of the game sees
// it: database players, squads, team names, stadiums, the results ticker and
// the tournament state of the match being played.
#include <cstdint>

#include "tournament/dbplayer.h"

struct Player;
struct Squad;

// ---- Database players ----------------------------------------------------------
std::int32_t dbplayer_InjuredGet(const DBPlayer* poDb);
void dbplayer_InjuredSet(DBPlayer* poDb, std::int32_t bFlag);
void dbplayer_InjuryChangedSet(DBPlayer* poDb, std::int32_t bFlag);
void dbplayer_SuspensionChangedSet(DBPlayer* poDb, std::int32_t bFlag);
// Injury end date: day (-1 no date: the month then counts matches out), month,
// two-digit year.
std::int32_t dbplayer_InjuryDayGet(const DBPlayer* poDb);
std::int32_t dbplayer_InjuryMonthGet(const DBPlayer* poDb);
std::int32_t dbplayer_InjuryYearGet(const DBPlayer* poDb);
void dbplayer_InjuryDaySet(DBPlayer* poDb, std::int32_t iValue);
void dbplayer_InjuryMonthSet(DBPlayer* poDb, std::int32_t iValue);
void dbplayer_InjuryYearSet(DBPlayer* poDb, std::int32_t iValue);
std::int32_t dbplayer_InjuryTypeGet(const DBPlayer* poDb);  // 0..8
void dbplayer_InjuryTypeSet(DBPlayer* poDb, std::int32_t iType);
void dbplayer_PenaltyTakenSet(DBPlayer* poDb, std::int32_t bFlag);
// Penalty taker of side 1 (home) or 2 (away); null when nobody is left.
Player* dbplayer_poPenaltyTakerChoose(std::int32_t iTeam, std::int32_t bShootOut);
// Position preference 0..2 (asserts "cPosition < 3").
std::int32_t dbplayer_PositionGet(const DBPlayer* poDb, std::int32_t cPosition);
void dbplayer_RedCardAdd(DBPlayer* poDb);
void dbplayer_YellowCardAdd(DBPlayer* poDb);
void dbplayer_SuspensionServe(DBPlayer* poDb);
std::int32_t dbplayer_SetPieceTakerGet(const DBPlayer* poDb);
std::int32_t dbplayer_StarterGet(const DBPlayer* poDb);
std::int32_t dbplayer_BenchGet(const DBPlayer* poDb);
std::int32_t dbplayer_ReserveGet(const DBPlayer* poDb);
std::int32_t dbplayer_Reserve2Get(const DBPlayer* poDb);
std::int32_t dbplayer_SuspendedGet(const DBPlayer* poDb);
std::int32_t dbplayer_SubstitutedGet(const DBPlayer* poDb);
std::int32_t dbplayer_TwoYellowsGet(const DBPlayer* poDb);
std::int32_t dbplayer_SentOffGet(const DBPlayer* poDb);
std::int32_t dbplayer_SentOffBookedGet(const DBPlayer* poDb);
std::int32_t dbplayer_BookedGet(const DBPlayer* poDb);
void dbplayer_SuspendedSet(DBPlayer* poDb, std::int32_t bFlag);
void dbplayer_InSquadSet(DBPlayer* poDb, std::int32_t bFlag);
void dbplayer_SubstitutedSet(DBPlayer* poDb, std::int32_t bFlag);

// Team rating 0..15 for the edition from two words of its database record.
std::int32_t result_RatingGet(std::int32_t iWord1, std::int32_t iWord2);

// ---- Squads, stadiums, names -------------------------------------------------------
void squadcache_Clear();
Squad* squadcache_Load(std::int32_t iTeam, std::int32_t iEdition);
Squad* squadcache_Find(std::int32_t iTeam, std::int32_t iEdition);

std::int32_t stadium_Choose(std::int32_t iTeam);
std::int32_t stadium_ModelGet(std::int32_t iStadium);
std::int32_t stadium_PitchGet(std::int32_t iStadium);    // 0..4
std::int32_t stadium_SpecialGet(std::int32_t iStadium);

void ticktape_Init();
void ticktape_Update();

const char* tla_ShortNameGet(std::int32_t iTeam);
const char* tla_NameGet(std::int32_t iTeam);
const char* tla_TLAGet(std::int32_t iTeam);

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

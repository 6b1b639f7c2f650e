#pragma once
// The history mode's tournament tree: one edition (qualifiers and finals) as
// linked lists of small nodes taken from static pools, the tournament globals
// and the accessors the rest of the tournament code uses.
#include <cstdint>

#include "shell/texts_data.h"

constexpr std::int32_t TMMAX_YEARS = 2;
constexpr std::int32_t TMMAX_CONFS = 15;
constexpr std::int32_t TMMAX_GROUPS = 100;
constexpr std::int32_t TMMAX_ROUNDS = 100;
constexpr std::int32_t TMMAX_TEAMS = 620;
constexpr std::int32_t TMMAX_FIXTURES = 800;
constexpr std::int32_t TMMAX_STADIUMS = 100;
// TM_MAX (500), the team-name id of a free slot, comes with the name table.
constexpr std::int32_t TM_NAME_MAX = 24;
constexpr std::int32_t TM_HUMAN_MAX = 4;
constexpr std::int32_t NEWQUAL_NUM_QUALIFIERS = 32;
constexpr std::int32_t TM_EDITIONS = 11;

// Play formats and tie-break codes of a round.
enum : std::uint32_t {
  FMT_HA = 1, FMT_ONCE = 2, FMT_KO1 = 3, FMT_TWICE = 4, FMT_KO2 = 5,
  FMT_KO = 6, FMT_KO3 = 7, FMT_KO4 = 8, FMT_HA1 = 9,
};
enum : std::uint32_t {
  TB_NONE = 0, TB_PO = 1, TB_GD = 2, TB_AGG = 3, TB_AGG2 = 4, TB_BYE = 5,
  TB_GD2 = 6, TB_GD1 = 7, TB_GD3 = 8,
};

// Fixture flag bits and result bits.
enum : std::uint8_t {
  FIX_PLAYED = 1, FIX_USER = 2, FIX_BYNAMEID = 4, FIX_SLOTB = 8,
  FIX_SLOTFILLED = 16, FIX_PLAYOFF = 32, FIX_SIMULATED = 64,
};
enum : std::uint8_t {
  RES_SCORE = 1, RES_EXTRA = 2, RES_PENALTIES = 4, RES_LOTS = 16, RES_LOTS_SECOND = 32,
};

struct TMTeam {
  std::uint32_t Name;
  std::uint32_t bTieBreak;
  std::uint8_t cPoints, cFor, cAgainst, cWon, cLost, cDrawn, cPlayed;
  TMTeam* pNext;
};

struct FixtureDate {
  std::uint8_t cDay, cMonth, cYear;
  FixtureDate* pNext;
};

struct Fixture {
  std::uint8_t cTeamA, cTeamB;
  std::uint8_t cScoreA, cScoreB;
  std::uint8_t cPenA, cPenB;
  std::uint8_t cExtraA, cExtraB;
  std::uint8_t cFlags;
  std::uint8_t cDate;
  std::uint8_t cResult;
  Fixture* pNext;
};

struct StadiumLink {
  std::uint16_t uId;
  StadiumLink* pNext;
};

struct TeamRating {
  std::uint32_t Name;
  std::uint32_t uWord;
  TeamRating* pNext;
};

struct Round {
  char szName[25];
  char szLongName[55];
  std::uint32_t uFormat;
  std::uint32_t uTieBreak;
  std::uint32_t bComplete;
  char szPlace1[55];
  char szPlace2[60];
  char szPlace3[25];
  char szPlace4[28];
  TMTeam* pTeams;
  FixtureDate* pDates;
  Round* pNext;
  Fixture* pFixtures;
  StadiumLink* pStadiums;
};

struct Group {
  char szName[28];
  std::uint32_t uCreated;
  std::uint32_t bComplete;
  TMTeam* pTeams;
  Round* pRounds;
  Group* pNext;
};

struct Confederation {
  char szName[28];
  std::uint32_t bComplete;
  Group* pGroups;
  Confederation* pNext;
};

struct Year {
  std::uint32_t uKey;
  std::uint32_t bComplete;
  Confederation* pConfs;
  Year* pNext;
};

struct HumanTeam {
  std::uint32_t Name;
  std::uint32_t uFlags;
};

struct RollOfHonourEntry {
  std::uint32_t Winner, RunnerUp, Third, Fourth;
};

struct NewQualifier {
  std::uint32_t Name;
  std::uint8_t bNew;
};

struct TMGlobal {
  std::int32_t iCurrentHuman;
  std::int32_t iYear = 98;
  std::int32_t bStarted;
  std::int32_t bQualifiersExtracted;
  std::int32_t bFinalsLoaded;
  std::int32_t bTournamentOver;
  char szReplaceName[56];
  HumanTeam aHumans[TM_HUMAN_MAX];
  std::int32_t cHumans;
  std::int32_t iStartYear;
  std::int32_t bPlayQualifiers;
  std::int32_t bSecondOption = 1;
  std::int32_t bHolderOption;
  std::uint8_t cNormalA, cNormalB, cExtraA, cExtraB, cPenA, cPenB;
  std::int32_t bSecondLeg;
  std::int32_t bFinals;
  std::int32_t iMatchPhase;
  std::uint32_t aHolders[TM_EDITIONS + 1];
  RollOfHonourEntry aRoll[TM_EDITIONS];
  std::int32_t iRoundFormat;
  std::int32_t iTieBreak;
  std::int32_t bTournamentMatch;
  NewQualifier aNewQual[NEWQUAL_NUM_QUALIFIERS];
  std::uint16_t newqual_iCurrentQualifier;
  std::int32_t iGroupIndex;
  char szLastWinner[56];
  TeamRating* pRatings;
  Year* pCurrentYear;  // cache, not saved
};

extern TMGlobal tmglobal;
extern Year* TheYearList;

// ---- Reports ------------------------------------------------------------------------
// A fault in the data or a misuse is written to the debug log with its source
// and counted; the tournament goes on.
void tmreport_Fault(const char* pszExpression, const char* pszSource);
std::int32_t tmreport_CountGet();
void tmreport_CountReset();

// ---- Pools --------------------------------------------------------------------------
void tmmain_PoolsReset();
void tmmain_TeamRatingsReset();
// Moves the tree pools' cursors back to their starts (a qualifying file read
// again); nodes and counters stay.
void tmmain_PoolCursorsRewind();
// Each returns the next node, or null (after a report) when the pool is full.
Year* tmmain_YearAlloc();
Confederation* tmmain_ConfAlloc();
Group* tmmain_GroupAlloc();
Round* tmmain_RoundAlloc();
TMTeam* tmmain_TeamAlloc();
Fixture* tmmain_FixtureAlloc();
FixtureDate* tmmain_FixtureDateAlloc();
TeamRating* tmmain_TeamRatingAlloc();
StadiumLink* tmmain_StadiumLinkAlloc();
struct TMPoolCounts {
  std::int32_t cYears, cConfs, cGroups, cRounds, cTeams, cFixtures, cDates, cRatings, cStadiums;
};
TMPoolCounts tmmain_PoolCountsGet();

void history_YearInit(Year* p);
void history_ConfInit(Confederation* p);
void history_GroupInit(Group* p);
void history_RoundInit(Round* p);
void tmteam_TeamInit(TMTeam* p);
void history_FixtureInit(Fixture* p);
void history_FixtureDateInit(FixtureDate* p);
void stadium_LinkInit(StadiumLink* p);

TeamRating* tmmain_TeamRatingAdd(std::uint32_t Name);
Year* tmmain_YearGet(std::int32_t bPlayQualifiers, std::int32_t bSecondOption);
void tmmain_CurrentYearCache();

// ---- Keys and editions --------------------------------------------------------------
std::int32_t tmdata_KeyIndexGet(const char* pszKey);
std::int32_t tmglobal_EditionGet();
std::uint32_t tmglobal_EditionMaskMake(std::int32_t iEdition);
std::uint32_t tmglobal_EditionMaskGet();
std::int32_t tmglobal_YearFromEditionGet(std::int32_t iEdition);
void tmglobal_Reset();
void tmglobal_HoldersReset();

// ---- Counting and indexing ----------------------------------------------------------
std::int32_t history_ConfCountGet(const Year* y);
Confederation* history_ConfGet(const Year* y, const char* pszName);
Confederation* history_ConfByIndexGet(const Year* y, std::int32_t n);
std::int32_t history_GroupCountGet(const Confederation* c);
Group* history_GroupGet(const Confederation* c, std::int32_t n);
std::int32_t history_RoundCountGet(const Group* g);
Round* history_RoundGet(const Group* g, std::int32_t n);
std::int32_t history_FixtureCountGet(const Round* r);
std::int32_t history_FixtureDateCountGet(const Round* r);
std::int32_t history_TeamCountGet(const Round* r);
std::int32_t tmteam_RoundTeamCountGet(const Round* r);
TMTeam* history_TeamEntryGet(const Round* r, std::int32_t n);
TMTeam* tmteam_TeamEntryGet(const Round* r, std::uint32_t Name);
std::uint32_t tmglobal_TeamIDGet(const Round* r, std::int32_t n);
FixtureDate* tmglobal_FixtureDateGet(const Round* r, std::int32_t n);
Fixture* history_FixtureGet(const Round* r, std::int32_t n);
Fixture* history_LastFixtureGet(const Round* r);
std::int32_t history_DateCountGet(const Round* r);
std::int32_t history_TeamIndexGet(const Round* r, std::uint32_t Name);
const char* tmteam_TeamNameGet(const Round* r, std::int32_t n);
std::int32_t tmteam_ConfRealTeamCount(const Confederation* c);
std::int32_t tmteam_GroupRealTeamCount(const Group* g);
std::int32_t tmteam_RoundRealTeamCount(const Round* r);
std::int32_t history_NameIDFixtureCount(const Round* r);
std::int32_t history_UserFixtureCount(const Round* r);
std::int32_t history_UserFixtureDateGet(const Round* r, std::int32_t n);
// A team-name id whose text is a real team (not empty, not a '*' code).
std::int32_t tmteam_IsProperName(std::uint32_t Name);
const char* tmteam_NameText(std::uint32_t Name);
// The id of a team-name text; -1 when no name has that text.
std::int32_t tmteam_NameFind(const char* pszName);

// ---- Fixture flags and results ------------------------------------------------------
std::int32_t tmglobal_FixturePlayedGet(const Fixture* f);
void history_FixturePlayedSet(Fixture* f, std::int32_t b);
std::int32_t history_FixtureUserGet(const Fixture* f);
void history_FixtureUserSet(Fixture* f, std::int32_t b);
std::int32_t history_FixtureByNameIDGet(const Fixture* f);
void history_FixtureByNameIDSet(Fixture* f, std::int32_t b);
std::int32_t history_FixtureSlotBGet(const Fixture* f);
void history_FixtureSlotBSet(Fixture* f, std::int32_t b);
std::int32_t history_FixtureSlotFilledGet(const Fixture* f);
void history_FixtureSlotFilledSet(Fixture* f, std::int32_t b);
std::int32_t history_FixturePlayOffGet(const Fixture* f);
void history_FixturePlayOffSet(Fixture* f, std::int32_t b);
std::int32_t tmglobal_FixtureSimulatedGet(const Fixture* f);
void history_FixtureSimulatedSet(Fixture* f, std::int32_t b);
void history_ScoreSet(Fixture* f, std::int32_t a, std::int32_t b);
void history_ExtraTimeScoreSet(Fixture* f, std::int32_t a, std::int32_t b);
void history_PenaltyScoreSet(Fixture* f, std::int32_t a, std::int32_t b);
void history_LotsSet(Fixture* f, std::int32_t bSecond);
void history_ScoreClear(Fixture* f);
void history_ExtraTimeScoreClear(Fixture* f);
void history_PenaltyScoreClear(Fixture* f);
void history_LotsClear(Fixture* f);
void history_ResultClear(Fixture* f);

// ---- Plain tmglobal accessors ---------------------------------------------------------
void tmglobal_YearSet(std::int32_t iYear);
void tmglobal_FinalsSet(std::int32_t bFinals);
std::int32_t tmglobal_CurrentHumanGet();
void tmglobal_RoundFormatSet(std::int32_t iFormat);
void tmglobal_TieBreakSet(std::int32_t iTieBreak);
std::int32_t tmglobal_GroupIndexGet();
void tmglobal_GroupIndexSet(std::int32_t i);

// ---- Human progress flags -------------------------------------------------------------
enum : std::uint32_t {
  TMF_FAILED = 1u << 0, TMF_QUALIFIED = 1u << 1, TMF_FLAG2 = 1u << 2, TMF_WON = 1u << 3,
  TMF_QUALIFIED_NEWS = 1u << 4, TMF_ELIMINATED = 1u << 5, TMF_FAILED_NEWS = 1u << 6,
  TMF_ELIMINATED_NEWS = 1u << 7, TMF_THIRD_PLACE = 1u << 8,
};
void tmgame_FailedToQualifySet(std::int32_t iHuman, std::int32_t b);
std::int32_t tmgame_FailedToQualifyGet(std::int32_t iHuman);
void tmgame_QualifiedSet(std::int32_t iHuman, std::int32_t b);
std::int32_t tmgame_QualifiedGet(std::int32_t iHuman);
void tmgame_Flag2Set(std::int32_t iHuman, std::int32_t b);
void tmgame_WonSet(std::int32_t iHuman, std::int32_t b);
void tmgame_WonNewsSet(std::int32_t iHuman, std::int32_t b);
void tmgame_QualifiedNewsSet(std::int32_t iHuman, std::int32_t b);
void tmgame_EliminatedSet(std::int32_t iHuman, std::int32_t b);
std::int32_t tmgame_EliminatedGet(std::int32_t iHuman);
void tmgame_FailedNewsSet(std::int32_t iHuman, std::int32_t b);
void tmgame_EliminatedNewsSet(std::int32_t iHuman, std::int32_t b);
void tmgame_Played3rdPlacePOSet(std::int32_t iHuman, std::int32_t b);
std::int32_t tmgame_IsPlayed3rdPlacePO(std::int32_t iHuman);
void tmgame_UserTeamFlagsClear(std::int32_t iHuman);
void tmmain_UserTeamFlagsClearAll();
// 1 when the team is one of the human teams.
std::int32_t tmgame_IsHumanTeam(std::uint32_t Name);

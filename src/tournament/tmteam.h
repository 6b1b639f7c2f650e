#pragma once
// Table rows, settling rounds, tie-breaks, places and placeholder codes.
#include <cstdint>

#include "tournament/tmtree.h"

struct RoundPlaces {
  std::uint32_t aName[4];  // 0 where there is no team
};

void tmteam_FixtureResultApply(Round* r, std::uint32_t Name, const Fixture* f, std::int32_t bFirst);
void tmteam_ResultRecord(Round* r, std::uint32_t Name, std::int32_t iFor, std::int32_t iAgainst);
std::int32_t history_TeamPointsGet(const TMTeam* t);
std::int32_t history_ResultsApply(Group* g, Round* r);
std::int32_t history_TieBreakApply(Round* r, std::int32_t bPlayOffExists);
std::int32_t history_TopTieResolve(Round* r, std::int32_t bPlayOffExists);
std::int32_t history_PlayOffNeeded(const Round* r);
std::int32_t tmteam_IsRoundDecided(const Round* r);
void tmteam_RoundOutcomeGet(const Group* g, const Round* r, RoundPlaces* pOut);
Round* history_RoundFindByNames(Year* y, const char* pszGroup, const char* pszRound, Group** ppGroup = nullptr);
const char* history_SlotCodeMake(const Group* g, const Round* r);
std::int32_t history_SlotCodeLookup(Year* y, const char* pszCode, const char* pszText, std::int32_t iPlace);
// 1 when the round named by the code of a round's n-th team has every fixture
// played, or no unplayed fixture with a filled open slot.
std::int32_t history_CodeTeamResolve(Year* y, const Round* r, std::int32_t n);
std::int32_t tmteam_PlaceCodeResolve(Year* y, const char* pszCode, std::uint32_t* pName, std::int32_t iPlace);
std::int32_t tmteam_GroupPlaceFind(Year* y, const char* pszCode, std::uint32_t* pName);
// The four best third-placed teams of groups "1" to "6" into the entries
// holding the thirds' code (id 418), once those groups are decided. The
// current human team third in its group is out (with its news) when it is
// left out, and not before: settling its group leaves it in.
void history_GroupCodesResolve(Year* y);
// Runners-up of groups "u1" to "u9": the best per game is marked "wcf", the
// other eight fill the second rounds of the first confederation's groups.
void history_UCodesResolve(Year* y);
// The "*ustat2/3" rule: the runners-up of round "1" of groups "u1", "u2" and
// "u4" (each round's second place code becomes the team's name) scored
// points x 10000 + goal difference x 100 + goals for; the two other than the
// lowest (the first of equal lowest) join the qualified list. Nothing is
// added unless all three rounds and runners-up exist.
void tmteam_UCodesRank(Year* y);
// Winners of groups "cmb1" to "cmb3": the weakest is marked "out" and put
// into the n-th entry of the round, the others "wcf".
void history_CombinedCodesResolve(Year* y, Round* pRound, std::int32_t n);
void history_PlaceholdersResolve(Year* y);
// The team with the most points among the winners (place 1) of the listed
// rounds, or the fewest among the places the codes name; -1 while any is
// undecided; the giving round's first place code becomes "out".
std::int32_t tmteam_WinnerGet(Year* y, const char* pszList, std::uint32_t* pName);
std::int32_t tmteam_LoserGet(Year* y, const char* pszList, std::uint32_t* pName);
std::int32_t history_IsStatCode(const Round* r, std::int32_t n);
std::int32_t history_IsLoserCode(const Round* r, std::int32_t n);
std::int32_t history_IsStat89Code(const Round* r, std::int32_t n);
std::int32_t history_IsCmbStatCode(const Round* r, std::int32_t n);
std::int32_t history_IsRandCode(const Round* r, std::int32_t n);
void history_YearCompleteCheck(Year* y);
void tmteam_GroupTablesCollect(Year* y);
void tmteam_GroupTablesSortAll(Year* y);
std::int32_t tmteam_GroupTeamCountGet(const Group* g);

// New qualifiers and the roll of honour.
void newqual_Clear(NewQualifier* pList);
void newqual_NewFlagsClear(NewQualifier* pList);
std::int32_t newqual_iCountGet();
std::int32_t newqual_Add(NewQualifier* pList, std::uint32_t Name);
void tmmain_RollOfHonourInit(std::int32_t iFirstEdition);
void tmmain_RollOfHonourDefaultsCopy(std::int32_t iFirst, std::int32_t iLast);
RollOfHonourEntry* tmmain_RollOfHonourEntryGet(std::int32_t iEdition);
void tmmain_RollOfHonourFromFinals(Year* y, RollOfHonourEntry* pEntry);

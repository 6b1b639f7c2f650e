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
std::int32_t tmteam_PlaceCodeResolve(Year* y, const char* pszCode, std::uint32_t* pName, std::int32_t iPlace);
std::int32_t tmteam_GroupPlaceFind(Year* y, const char* pszCode, std::uint32_t* pName);
// The four best third-placed teams of groups "1" to "6" into the entries
// holding the thirds' code (id 418), once those groups are decided.
void history_GroupCodesResolve(Year* y);
void history_PlaceholdersResolve(Year* y);
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

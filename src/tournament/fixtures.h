#pragma once
// Fixture construction: round-robin date arrangement lists, re-lettered at
// random before each round, and the date sort.
#include <cstdint>

#include "tournament/tmtree.h"

// The list of table 1 (single) or 2 (double) for n teams; null when none.
const char* history_PatternGet(std::int32_t iTable, std::int32_t n);
// Puts every list back as the program starts with it (tests).
void history_PatternsReset();
void history_PatternShuffle(char* pszList, std::int32_t n);
void history_PatternsShuffle();
std::int32_t history_FixtureDatesArrange(Round* r, std::int32_t iTeam1, std::int32_t iTeam2, std::int32_t iCount,
                                         std::int32_t cDates, std::int32_t iTable, std::int32_t cTeams);
std::int32_t history_IsTeamOnFixtureDate(const Round* r, std::int32_t iTeam, std::int32_t iDate);
std::int32_t history_IsTeamPlayingSameRealDate(const Round* r, std::int32_t iTeam, std::int32_t iDate);
void history_RoundFixturesBuild(Round* r, Group* g);
void history_GroupFixturesBuild(Group* g);
void history_ConfFixturesBuild(Confederation* c);
void history_YearFixturesBuild(Year* y);
void history_FixtureSwap(Fixture* a, Fixture* b);
void history_RoundFixturesSort(Round* r);
void history_YearFixturesSort(Year* y);
// -1, 0 or 1 as date a is before, on or after date b.
std::int32_t history_DateCompare(const FixtureDate* a, const FixtureDate* b);

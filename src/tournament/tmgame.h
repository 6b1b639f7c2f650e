#pragma once
// The history mode's game flow: starting an edition, stepping the tournament
// date around the human team's matches, entering its results, moving from the
// qualifiers to the finals, and the queries the screens use.
#include <cstdint>

#include "tournament/tmtree.h"

struct Squad;

// ---- Starting an edition ------------------------------------------------------------
void tmmain_YearStart(std::int32_t bPlayQualifiers, std::int32_t bSecondOption, std::int32_t iYear);
void tmmain_YearLoad(std::int32_t iYear, std::int32_t bPlayQualifiers);
void tmgame_FinalsLoad(std::int32_t iYear, std::int32_t bAfterQualifiers, Squad* pSquads, std::int32_t cHumans);
void tmmain_QualifiersAutoPlay();
std::int32_t tmmain_FreeTeamSlotFill(Year* y, std::uint32_t Name);
// Per confederation of the qualifying year: the proper teams of year y other
// than the edition's host and holder (32 counters).
void tmteam_ConfTeamCountsBuild(const Year* y, std::int32_t* pacCounts);
// Index of the qualifying confederation whose rounds hold the team; -1 when none.
std::int32_t tmteam_ConfIndexFind(const Year* pQual, std::uint32_t Name);

// Forgets the pending result, the stuck round and the qualified list.
void tmgame_FlowReset();

// ---- Stepping -----------------------------------------------------------------------
// The current year (qualifiers or finals) by the options and flags.
Year* tmgame_CurrentYearGet();
void tmgame_Step(Year* y, Squad* pSquads, std::int32_t iHuman, std::int32_t bPlayQualifiers);
void tmgame_DaySimulate();
// The human team's result waiting to be entered by tmgame_FixtureDateSettle:
// home and away are the fixture's first and second team; kind 0 the score,
// 1 a 0-10 defeat, 2 10-10, 3 the end-of-match score kept in tmglobal.
void tmgame_ResultPendingSet(std::int32_t iHome, std::int32_t iAway, std::int32_t iKind);
std::int32_t tmgame_ResultPendingGet();
void tmgame_FixtureDateSettle();
void tmgame_UserResultApply(std::int32_t iHuman, std::int32_t bPlayQualifiers, std::int32_t iHome, std::int32_t iAway,
                            std::int32_t iKind);
void tmgame_YearFinish();
// Simulates y at the last date until it is complete or a pass changes nothing.
void tmgame_YearPlayOut(Year* y);
// The round a loop that could not finish was left waiting on ("" when none).
const char* tmgame_StuckGet();

// ---- Qualifiers to finals -----------------------------------------------------------
void tmgame_QualifiersExtract();
void tmgame_FinalsAfterQualifiersLoad();
void tmgame_FinalsFill(Year* y, std::uint32_t Host, std::uint32_t Holder, std::int32_t cHumans);
void history_FinalsTeamsFill(Year* y, std::uint32_t Host, std::uint32_t Holder);
void tmgame_YearTeamsCollect(const Year* y);
// The qualified list: teams going to the finals, each once.
void history_QualifiedListClear();
void history_QualifiedListAdd(std::uint32_t Name);
std::int32_t history_QualifiedCountGet();
std::uint32_t history_QualifiedGet(std::int32_t n);

// ---- Queries ------------------------------------------------------------------------
std::int32_t tmgame_IsTeamInYear(const Year* y, std::uint32_t Name);
void tmgame_TeamReplace(Year* y, std::uint32_t NewName, std::uint32_t OldName);
std::int32_t history_FixtureFindByTeam(Year* y, std::uint32_t Name, Round** ppRound, Fixture** ppFixture,
                                       Confederation** ppConf = nullptr, Group** ppGroup = nullptr);
std::int32_t history_IsNextFixtureOfTeam(const Round* r, const Fixture* f, std::uint32_t Name);
void history_UserFixturesMark(Year* y);
std::int32_t tmgame_IsRoundStarted(const Round* r);
std::int32_t tmgame_AreDueFixturesPlayed(const Year* y);
// The same for the fixtures dated on or before the current date: the match
// day's other fixtures are played before the human team's match.
std::int32_t tmgame_AreFixturesDueByTodayPlayed(const Year* y);
void tmgame_UserFixtureDateSet();
const char* tmgame_RoundTitleGet();

// ---- Dates --------------------------------------------------------------------------
std::int32_t history_FixtureDateIsPast(const Round* r, const Fixture* f);
std::int32_t history_FixtureDateIsOnOrAfter(const Round* r, const Fixture* f);
void history_CurrentDateFromFixtureSet(const Round* r, const Fixture* f);
void history_CurrentDateFromRoundDateSet(const Round* r, std::int32_t iDate);
// Index of the round's latest date; -1 when it has none.
std::int32_t history_LatestFixtureDateGet(const Round* r);
void history_DateDecrement(std::int32_t* piDay, std::int32_t* piMonth, std::int32_t* piYear);
